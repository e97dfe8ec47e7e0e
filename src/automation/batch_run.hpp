#pragma once
// The unattended run of a command-line job: it starts the instrument transfer
// (or reads the file) the job names, and when the transfer has ended writes
// the output file, reports to the program that started it and says whether
// the program ends. The window drives it from its message loop; the headless
// face waits for the transfer in between (batch_headless.hpp).
#include <functional>
#include <memory>
#include <string_view>

#include "airspace/airspace_list.hpp"
#include "analysis/split_at_gaps.hpp"
#include "automation/batch_transfers.hpp"
#include "automation/command_line_job.hpp"
#include "base/user_interface.hpp"
#include "competition/pilot_list.hpp"
#include "records/track_log.hpp"
#include "settings/settings.hpp"
#include "trackfiles/file_answers.hpp"

namespace trelvik {

struct TrackListRequest;

// What the window (or the headless face) does for the run; every hook may be empty.
struct BatchRunHooks {
  std::function<void()> redrawTrackList;
  std::function<void()> redrawCtrList;
  std::function<void()> redrawWaypointList;
  // A file error cancelled EXIT: the window is shown normally so that the
  // user sees the problem.
  std::function<void()> showWindowNormally;
  // A text for the program that started the run ("Transfer started").
  std::function<void(std::string_view text)> notify;
  // The "Split Log" choice when a downloaded log holds several flights;
  // empty: the preselected line is taken.
  SplitLogChooser chooseSplit;
  // The choice among several tracks of a KML or GPX file; empty: the first.
  std::function<int(const TrackListRequest&)> chooseTrack;
  std::function<SystemTime()> utcNow;  // empty: the system clock
  // The "Modify waypoint ID" questions of a waypoint file; empty: none are
  // asked, and a name the strict formats refuse stops the reading.
  FileQuestionAsker askWaypointFile;
};

// The stores and services the run works on; all outlive the run.
struct BatchRunContext {
  UserInterface& ui;
  BatchTransfers& transfers;
  TrackLog& log;
  WaypointList& waypoints;
  AirspaceList& airspace;
  Settings& settings;  // loaded; the port and the analysis settings are read
  bool hiddenWindow;   // headless or WIN=0: nothing is asked
  BatchRunHooks hooks;
  // The pilot list (COMP_FS, or the competition state's list); null: none.
  PilotList* pilots = nullptr;
};

class BatchRun {
 public:
  BatchRun(const CommandLineJob& job, BatchRunContext context);
  ~BatchRun();
  BatchRun(const BatchRun&) = delete;
  BatchRun& operator=(const BatchRun&) = delete;

  // Called once while the window initialises, after the settings were
  // loaded. 0: the program goes on (a transfer may be under way); -1: it ends
  // now. The failure flag holds the exit code either way.
  [[nodiscard]] int RunCommandLineJob();
  // Called when the transfer has ended (the completion's continuation
  // message); `success` tells whether it delivered. True: the program ends.
  [[nodiscard]] bool ContinueCommandLineJob(bool success);

  // True while the run waits for its transfer.
  bool TransferRunning() const { return transferRunning_; }
  // EXIT, unless a file error cancelled it.
  bool ExitAfter() const;
  int ExitCode() const { return context_.transfers.FailureFlag(); }

 private:
  int StartTransfer(BatchTransferRequest request);
  int StartCtrUpload();
  int StartWaypointUpload();
  int StartPilotDataUpload();
  int StartCompetitionDownload();
  int WriteCompetitionOutput();
  // The result of a start step that ended without a transfer.
  int EndWithoutTransfer();
  SystemTime NowDate() const;  // the hook's clock, else the system's
  TrackTime Now() const;
  void WriteOutput();
  void CancelExit();

  std::unique_ptr<CommandLineJob> job_;
  BatchRunContext context_;
  bool transferRunning_ = false;
  bool exitCancelled_ = false;
};

}  // namespace trelvik
