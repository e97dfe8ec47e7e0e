#include "ui/window_face.hpp"

#include <QApplication>
#include <memory>

#include "access/gps_access.hpp"
#include "access/job_table.hpp"
#include "access/posix_serial_link.hpp"
#include "airspace/airspace_list.hpp"
#include "instruments/protocol_table.hpp"
#include "records/track_stores.hpp"
#include "settings/settings_store.hpp"
#include "ui/airspace/airspace_commands.hpp"
#include "ui/analysis/analysis_commands.hpp"
#include "ui/analysis/graph_commands.hpp"
#include "ui/competition/competition_commands.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"
#include "ui/server_dialog.hpp"
#include "ui/waypoints/waypoint_commands.hpp"
#include "ui/window_batch_run.hpp"

namespace trelvik {

int RunWindowFace(int argc, char** argv, const WindowHooks& hooks) {
  QApplication application(argc, argv);
  QtUserInterface ui;
  SettingsStore store(DefaultSettingsPaths());
  (void)store.Load(ui);  // a failure is shown; the built-in defaults serve
  WindowStart start;
  int exitCode = 0;
  if (hooks.parse(ui, store.Values(), start, exitCode) < 0) return exitCode;
  // A run driven by the command line reads the settings but never writes them.
  store.SetCommandLineRun(start.commandLineJob);
  ui.SetDialogPosition(start.posX, start.posY);

  JobTable table;
  // A driver whose cells clash is a fault of the build; the others still serve.
  (void)RegisterInstruments(table);
  PosixLinkOpener linkOpener;
  AirspaceList airspace;
  MainWindowOptions options;
  options.commandLineJob = start.commandLineJob;
  TrackStores& stores = TrackStores::Instance();
  MainWindow window(stores.Log(), stores.Waypoints(), ui, options);
  std::unique_ptr<WindowBatchRun> run;
  // Declared last so that it goes first: its destructor waits for the job
  // threads, which use the window, the run and the stores to the last.
  GpsAccess access(table, linkOpener);
  access.InitGpsAccess();
  window.AttachGpsAccess(access, store.Values().traceDir);
  window.AttachSettingsStore(store);
  window.OfferInstrumentCommands(table);
  // The command groups register below; after AttachSettingsStore, whose plain
  // handlers they may replace.
  InstallAirspaceCommands(window, {airspace, stores.Waypoints(), store.Values(), ui, ui, {}, &table});
  InstallAnalysisCommands(window, {stores.Log(), store.Values(), ui, ui});
  InstallGraphCommands(window, {stores.Log(), ui, ui});
  InstallServerCommand(window, table, linkOpener, ui);
  InstallWaypointCommands(window, {stores.Waypoints(), store.Values(), ui, ui});
  PilotList ownPilots;
  PilotList& pilots = hooks.pilots != nullptr ? *hooks.pilots : ownPilots;
  InstallCompetitionCommands(window, {stores.Log(), store.Values(), pilots, ui, ui, start.commandLineJob});

  if (start.minimised) {
    window.showMinimized();
  } else {
    window.show();
  }
  if (start.commandLineJob) {
    run = std::make_unique<WindowBatchRun>(window, ui, access, hooks.job(), store.Values(), airspace, &pilots);
    if (!run->Start()) {
      window.close();
      return window.ExitCode();
    }
  }
  application.exec();
  window.close();  // the close sequence, when the loop ended some other way
  return window.ExitCode();
}

}  // namespace trelvik
