#include "automation/command_line_arguments.hpp"

#include <string_view>

#include "base/atomic_file.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {

std::string JoinArguments(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i] != nullptr ? argv[i] : "";
    if (i > 1) line += ' ';
    if (argument.find(' ') == std::string_view::npos) {
      line += argument;
      continue;
    }
    const size_t equals = argument.find('=');
    if (argument.starts_with('/') && equals != std::string_view::npos) {
      const std::string_view value = argument.substr(equals + 1);
      line += argument.substr(0, equals + 1);
      // A value the caller quoted already keeps its own quotes.
      if (value.starts_with('"')) {
        line += value;
      } else {
        line += '"';
        line += value;
        line += '"';
      }
    } else {
      line += '"';
      line += argument;
      line += '"';
    }
  }
  return line;
}

int ParseCommandLineArguments(int argc, const char* const* argv, UserInterface& ui, CommandLineResult& result,
                              const CommandLineHooks& hooks) {
  if (argc == 2 && argv[1] != nullptr && argv[1][0] != '\0' && FileExists(argv[1])) {
    result = {};
    CommandLineJob job;
    job.jobKind = JobKind::LogFile;
    job.fileName = CutToCharacters(argv[1], kFileNameLimit);
    result.job = std::move(job);
    return 0;
  }
  return ParseCommandLine(JoinArguments(argc, argv), ui, result, hooks);
}

}  // namespace trelvik
