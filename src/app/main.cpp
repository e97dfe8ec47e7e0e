// The program's entry: --help and --version first, then the choice between
// the window and the headless face, made before any Qt GUI object exists.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/display_probe.hpp"
#include "automation/command_line_arguments.hpp"
#include "automation/usage_text.hpp"
#include "base/headless_user_interface.hpp"
#include "base/message_box.hpp"

#ifdef TRELVIK_HAVE_QT
#include <QApplication>
#include <QDir>

#include "access/gps_access.hpp"
#include "access/job_table.hpp"
#include "access/posix_serial_link.hpp"
#include "records/track_stores.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"
#endif

namespace trelvik {
namespace {

// A line of options only ("/WIN=0", "/POSX=10") gives a record without a job.
bool NamesAJob(const CommandLineResult& parsed) { return parsed.job && parsed.job->jobKind != JobKind::None; }

// A job on the command line needs the batch run; until it is part of the
// program the job is refused with a message and counts as failed.
int RunCommandLineJob(const CommandLineJob&, UserInterface& ui) {
  ShowError(ui, "Command-line jobs are not available in this build", kParsingCaption);
  return kExitJobFailed;
}

int RunHeadless(int argc, char** argv) {
  HeadlessUserInterface& console = HeadlessUserInterface::Console();
  CommandLineResult parsed;
  if (ParseCommandLineArguments(argc, argv, console, parsed) < 0) return parsed.exitCode;
  if (!NamesAJob(parsed)) {
    const std::string usage = UsageText();
    std::fwrite(usage.data(), 1, usage.size(), stderr);
    return kExitUsage;
  }
  return RunCommandLineJob(*parsed.job, console);
}

#ifdef TRELVIK_HAVE_QT
int RunWindow(int argc, char** argv) {
  QApplication application(argc, argv);
  QtUserInterface ui;
  CommandLineResult parsed;
  if (ParseCommandLineArguments(argc, argv, ui, parsed) < 0) return parsed.exitCode;

  TrackStores& stores = TrackStores::Instance();
  MainWindowOptions options;
  options.commandLineJob = NamesAJob(parsed);
  if (parsed.job) {
    options.portName = parsed.job->portName;
    ui.SetDialogPosition(parsed.job->posX, parsed.job->posY);
  }
  // No instrument family has claimed its cells yet: the table stays empty and
  // the instrument commands stay disabled.
  JobTable jobTable;
  PosixLinkOpener linkOpener;
  GpsAccess access(jobTable, linkOpener);
  access.InitGpsAccess();
  std::string traceFolder = QDir::homePath().toStdString();
  MainWindow window(stores.Log(), stores.Waypoints(), ui, options);
  window.AttachGpsAccess(access, traceFolder);
  if (parsed.job && parsed.job->windowMode == WindowMode::Minimised) {
    window.showMinimized();
  } else {
    window.show();
  }
  if (NamesAJob(parsed)) window.SetExitCode(RunCommandLineJob(*parsed.job, ui));
  application.exec();
  return window.ExitCode();
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
  if (!trelvik::AsksForHiddenWindow(argc, argv) && trelvik::DisplayReachable()) {
    return trelvik::RunWindow(argc, argv);
  }
#endif
  return trelvik::RunHeadless(argc, argv);
}
