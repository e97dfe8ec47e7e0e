// Any byte string as a command line: the parser must answer 0 or -1, never
// crash, hang or leave a job behind a refusal, and every job it accepts must
// keep the limits of its fields.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "automation/command_line.hpp"
#include "automation/command_line_instruments.hpp"
#include "settings/utf8_text.hpp"

namespace {

class QuietUserInterface : public trelvik::UserInterface {
 public:
  void ShowMessage(trelvik::MessageKind, std::string_view, std::string_view caption) override {
    if (caption != trelvik::kParsingCaption) std::abort();
    ++messages;
  }
  trelvik::Answer Ask(trelvik::QuestionKind, std::string_view, std::string_view) override { std::abort(); }
  std::optional<std::string> ChooseFile(const trelvik::FileDialogRequest&) override { std::abort(); }
  void SetStatus(std::string_view) override {}
  void SetProduct(std::string_view) override {}
  int messages = 0;
};

size_t Characters(std::string_view text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at += trelvik::Utf8CharacterLength(text, at)) ++count;
  return count;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  QuietUserInterface ui;
  trelvik::CommandLineHooks hooks;
  hooks.tickCount = [] { return 1u; };
  hooks.readFsPilotList = [](const std::string& path, trelvik::UserInterface&) { return path.size() % 2 ? 0 : -1; };
  hooks.enableCompetitionMode = [](bool) {};
  hooks.convertToKml = [](const trelvik::CommandLineJob& job, trelvik::UserInterface&) {
    return job.fileName.empty() ? -1 : 0;
  };
  trelvik::CommandLineResult result;
  const int rc = trelvik::ParseCommandLine(line, ui, result, hooks);
  Require(rc == 0 || rc == -1);
  Require(ui.messages <= 1);
  if (rc == -1) {
    Require(!result.job);
    return 0;
  }
  Require(ui.messages == 0);
  if (!result.job) return 0;
  const trelvik::CommandLineJob& job = *result.job;
  Require(Characters(job.fileName) <= trelvik::kFileNameLimit);
  Require(Characters(job.pilot) <= trelvik::kPilotLimit);
  Require(Characters(job.gliderId) <= trelvik::kGliderIdLimit);
  Require(Characters(job.notifyClass) <= trelvik::kNotifyClassLimit);
  Require(Characters(job.compDir) <= trelvik::kValueLimit);
  Require(job.timeout >= 0 && job.timeout <= trelvik::kTimeoutLimit);
  Require(!trelvik::CheckJobAgainstInstrument(job));
  return 0;
}
