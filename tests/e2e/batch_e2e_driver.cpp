// The headless face of the program exactly as main() runs it, for the
// end-to-end tests to use while the program itself does not run jobs yet.
#include <cstdio>
#include <cstring>
#include <string>

#include "automation/batch_conversion.hpp"
#include "automation/batch_headless.hpp"
#include "automation/command_line_arguments.hpp"
#include "automation/usage_text.hpp"
#include "base/headless_user_interface.hpp"
#include "settings/settings_store.hpp"

int main(int argc, char** argv) {
  using namespace trelvik;
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts(kVersionText);
    return kExitSuccess;
  }
  HeadlessUserInterface& console = HeadlessUserInterface::Console();
  SettingsStore settings(DefaultSettingsPaths());
  (void)settings.Load(console);
  settings.SetCommandLineRun(true);
  CommandLineResult parsed;
  PilotList pilots;
  if (ParseCommandLineArguments(argc, argv, console, parsed, BatchCommandLineHooks(settings.Values(), &pilots)) < 0) {
    return parsed.exitCode;
  }
  if (!parsed.job || parsed.job->jobKind == JobKind::None) {
    const std::string usage = UsageText();
    std::fwrite(usage.data(), 1, usage.size(), stderr);
    return kExitUsage;
  }
  return RunHeadlessCommandLine(*parsed.job, console, settings.Values(), &pilots);
}
