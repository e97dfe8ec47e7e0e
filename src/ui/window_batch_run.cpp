#include "ui/window_batch_run.hpp"

#include <QMetaObject>

#include "access/completion.hpp"
#include "access/gps_access.hpp"
#include "access/user_interface_channel.hpp"
#include "automation/batch_gps_transfers.hpp"
#include "automation/batch_job_frame.hpp"
#include "automation/batch_run.hpp"
#include "ui/choice_list_dialog.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {

struct WindowBatchRun::State {
  State(MainWindow& window, QtUserInterface& qtUi, GpsAccess& access, const CommandLineJob& job, Settings& settings,
        AirspaceList& airspace, PilotList* pilots)
      : window(window),
        frame(job),
        channel(qtUi),
        transfers(access, channel, downloaded, downloadedWaypoints, Completion(job, settings)),
        run(job, BatchRunContext{qtUi, transfers, window.Log(), window.Waypoints(), airspace, settings, false,
                                 Hooks(qtUi), pilots}) {
    frame.Attach(access);
  }

  // The job's thread installs into a log of its own; the window thread moves
  // it into the window's log with the continuation, so the list never reads a
  // log that another thread is replacing.
  CompletionContext Completion(const CommandLineJob& job, const Settings& settings) {
    CompletionContext context;
    context.exitAfterRun = job.exitAfter != 0;
    context.downloadFilter = DownloadFilterOf(settings);
    context.postMainWindow = [this](int first, int second) {
      if (first != 1) return;
      QMetaObject::invokeMethod(&window, [this, second] { Continue(second == 1); }, Qt::QueuedConnection);
    };
    return context;
  }

  BatchRunHooks Hooks(QtUserInterface& qtUi) {
    BatchRunHooks hooks;
    hooks.redrawTrackList = [this] { window.ShowView(ViewMode::TrackLog); };
    hooks.redrawCtrList = [this] { window.RefreshList(); };
    hooks.redrawWaypointList = [this] { window.ShowView(ViewMode::Waypoints); };
    hooks.showWindowNormally = [this] { window.showNormal(); };
    hooks.notify = [this](std::string_view text) { frame.NotifyText(text); };
    hooks.chooseSplit = QtSplitLogChooser(qtUi);
    hooks.chooseTrack = QtFileTrackChooser(qtUi);
    return hooks;
  }

  void Continue(bool success) {
    if (success && !downloaded.Empty()) {
      window.Log() = std::move(downloaded);
      downloaded = TrackLog();
      window.ShowView(ViewMode::TrackLog);
    }
    if (success && !downloadedWaypoints.waypoints.empty()) {
      window.Waypoints() = std::move(downloadedWaypoints);
      downloadedWaypoints = WaypointList();
      window.ShowView(ViewMode::Waypoints);
    }
    if (run.ContinueCommandLineJob(success)) window.close();
  }

  MainWindow& window;
  BatchJobFrame frame;
  UserInterfaceChannel channel;
  TrackLog downloaded;
  WaypointList downloadedWaypoints;
  GpsBatchTransfers transfers;
  BatchRun run;
};

WindowBatchRun::WindowBatchRun(MainWindow& window, QtUserInterface& qtUi, GpsAccess& access,
                               const CommandLineJob& job, Settings& settings, AirspaceList& airspace,
                               PilotList* pilots)
    : state_(std::make_unique<State>(window, qtUi, access, job, settings, airspace, pilots)) {}

WindowBatchRun::~WindowBatchRun() = default;

bool WindowBatchRun::Start() {
  const int started = state_->run.RunCommandLineJob();
  // The command line may have named the port.
  if (const Settings* settings = state_->window.AttachedSettings()) state_->window.SetPortName(settings->portName);
  return started == 0;
}

}  // namespace trelvik
