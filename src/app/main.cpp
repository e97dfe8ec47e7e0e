// The program's entry: --help and --version first, then the choice between
// the window and the headless face, made before any Qt GUI object exists.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/display_probe.hpp"
#include "automation/batch_conversion.hpp"
#include "automation/batch_headless.hpp"
#include "automation/command_line_arguments.hpp"
#include "automation/usage_text.hpp"
#include "base/headless_user_interface.hpp"
#include "base/message_box.hpp"
#include "server/headless_server.hpp"
#include "settings/settings_store.hpp"

#ifdef TRELVIK_HAVE_QT
#include "app/window_library.hpp"
#endif

namespace trelvik {
namespace {

// A line of options only ("/WIN=0", "/POSX=10") gives a record without a job.
bool NamesAJob(const CommandLineResult& parsed) { return parsed.job && parsed.job->jobKind != JobKind::None; }

int RunHeadless(int argc, char** argv) {
  HeadlessUserInterface& console = HeadlessUserInterface::Console();
  SettingsStore settings(DefaultSettingsPaths());
  (void)settings.Load(console);      // a failure is shown; the built-in defaults serve
  settings.SetCommandLineRun(true);  // a command-line run never writes the settings
  CommandLineResult parsed;
  PilotList pilots;
  // The conversion jobs run inside the parse, through these hooks.
  if (ParseCommandLineArguments(argc, argv, console, parsed, BatchCommandLineHooks(settings.Values(), &pilots)) < 0) {
    return parsed.exitCode;
  }
  if (parsed.job && parsed.job->server) return RunHeadlessServer(*parsed.job->server, console);
  if (!NamesAJob(parsed)) {
    const std::string usage = UsageText();
    std::fwrite(usage.data(), 1, usage.size(), stderr);
    return kExitUsage;
  }
  return RunHeadlessCommandLine(*parsed.job, console, settings.Values(), &pilots);
}

#ifdef TRELVIK_HAVE_QT
int RunWindow(RunWindowFaceEntry runWindowFace, int argc, char** argv) {
  CommandLineResult parsed;
  PilotList pilots;
  WindowHooks hooks;
  hooks.pilots = &pilots;
  hooks.parse = [&](UserInterface& ui, Settings& settings, WindowStart& start, int& exitCode) {
    // The conversion jobs run inside the parse, through these hooks.
    if (ParseCommandLineArguments(argc, argv, ui, parsed, BatchCommandLineHooks(settings, &pilots)) < 0) {
      exitCode = parsed.exitCode;
      return -1;
    }
    start.commandLineJob = NamesAJob(parsed);
    if (parsed.job) {
      start.minimised = parsed.job->windowMode == WindowMode::Minimised;
      start.portName = parsed.job->portName;
      start.posX = parsed.job->posX;
      start.posY = parsed.job->posY;
    }
    return 0;
  };
  hooks.job = [&]() -> const CommandLineJob& { return *parsed.job; };
  return runWindowFace(argc, argv, &hooks);
}
#endif

}  // namespace
}  // namespace trelvik

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts(trelvik::kVersionText);
    return trelvik::kExitSuccess;
  }
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    const std::string usage = trelvik::UsageText();
    std::fwrite(usage.data(), 1, usage.size(), stdout);
    return trelvik::kExitSuccess;
  }
#ifdef TRELVIK_HAVE_QT
  if (!trelvik::AsksForHiddenWindow(argc, argv) && !trelvik::AsksForServer(argc, argv) && trelvik::DisplayReachable()) {
    const trelvik::WindowLibrary window = trelvik::LoadWindowLibrary();
    if (window.run != nullptr) return trelvik::RunWindow(window.run, argc, argv);
    // The command-line jobs still run without the window.
    std::fprintf(stderr, "The window cannot be shown: %s\n", window.error.c_str());
  }
#endif
  return trelvik::RunHeadless(argc, argv);
}
