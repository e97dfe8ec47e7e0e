#include "automation/command_line.hpp"

#include "automation/command_line_instruments.hpp"
#include "automation/command_line_options.hpp"
#include "automation/command_line_tokenizer.hpp"
#include "automation/usage_text.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {
namespace {

// A refused line ends the program with its own code, so that a calling script
// never takes a typing mistake for a job that was done.
int EndParsing(CommandLineResult& result) {
  result.job.reset();
  result.exitCode = kExitUsage;
  return -1;
}

int Refuse(UserInterface& ui, CommandLineResult& result, std::string_view text) {
  ShowError(ui, text, kParsingCaption);
  return EndParsing(result);
}

// Conversions run while the line is parsed and end the program: 0 after a
// conversion that was done, 1 after one that failed or could not run.
int RunConversion(const CommandLineJob& job, UserInterface& ui, CommandLineResult& result,
                  const CommandLineHooks& hooks) {
  result.job.reset();
  if (!hooks.convertToKml) {
    ShowError(ui, "Conversion to KML is not available", kParsingCaption);
    result.exitCode = kExitJobFailed;
  } else {
    result.exitCode = hooks.convertToKml(job, ui) < 0 ? kExitJobFailed : kExitSuccess;
  }
  return -1;
}

}  // namespace

int ParseCommandLine(std::string_view text, UserInterface& ui, CommandLineResult& result,
                     const CommandLineHooks& hooks) {
  result = {};
  // The line ends at a NUL, as it would for the program that built it.
  std::string_view line = text.substr(0, text.find('\0'));
  if (line.empty()) return 0;

  if (line.front() == '"') {
    const size_t closing = line.find('"', 1);
    if (closing == std::string_view::npos) return Refuse(ui, result, "Bad double apostrophe (\") balance");
    line = line.substr(1, closing - 1);
    if (line.empty()) return 0;
  }

  CommandLineJob job;
  if (line.front() != '/') {
    job.jobKind = JobKind::LogFile;
    job.fileName = CutToCharacters(line, kFileNameLimit);
    result.job = std::move(job);
    return 0;
  }

  OptionContext context{job, ui, hooks};
  CommandLineTokenizer tokenizer(line);
  for (;;) {
    const CommandLineToken token = tokenizer.Next();
    if (token.kind == CommandLineToken::Kind::End) break;
    if (token.kind == CommandLineToken::Kind::Stray) {
      return Refuse(ui, result, CFormat("Error at position %d", token.position));
    }
    if (ApplyCommandLineOption(token, context) < 0) return EndParsing(result);  // after the option's message
  }

  if (const std::optional<std::string_view> refusal = CheckJobAgainstInstrument(job)) {
    return Refuse(ui, result, *refusal);
  }
  if (job.jobKind == JobKind::CompLog && context.pilotListLoaded && hooks.enableCompetitionMode) {
    hooks.enableCompetitionMode(job.compSpecial != 0);
  }
  if (job.scoreRules && job.jobKind != JobKind::Igc2Kml && job.jobKind != JobKind::LogFile) {
    return Refuse(ui, result, "SCORE needs IGC2KML or LOGFILE");
  }
  if (job.jobKind == JobKind::Igc2Kml || job.jobKind == JobKind::Dat2Kml) return RunConversion(job, ui, result, hooks);

  result.job = std::move(job);
  return 0;
}

}  // namespace trelvik
