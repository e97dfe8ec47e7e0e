#pragma once
// The one owner of the GPS access layer's process-wide state: the running-job
// pointer under its lock (the one-job gate), the window's busy flag
// `JobRunning`, the failure flag that becomes the exit code, and the debug
// trace. The program makes one; tests make their own.
#include <any>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "access/debug_trace.hpp"
#include "access/gps_job.hpp"
#include "access/job_channel.hpp"
#include "access/job_table.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

struct JobRequest {
  AccessFunction function = AccessFunction::DownloadTrackLog;
  ProtocolType protocol = ProtocolType::GarminSerial;
  int32_t option = 0;
  std::string portName;  // the port setting; cut to 80 characters
  JobChannel* channel = nullptr;  // required: the job's reports, and start errors
  std::function<void(GpsJob&)> onComplete;
  std::vector<Waypoint> waypoints;  // uploads
  std::any ctrList;                 // CTR upload
  std::string ownerName;            // owner-name upload
  std::vector<std::string> pilotData;  // pilot-data upload
  TrackAnalysisSettings analysis;   // all-tracks download
  CompetitionWaypointCheck competitionCheck;  // competition mode only
  bool powerOffAfterTransfer = false;         // the window's power-off check mark
  // A TCP session's job: runs outside the one-job gate and does not become
  // the running job; its channel hears JobFreed when it ends.
  bool tcpClient = false;
  // A TCP session's own track choice (the list goes to its client); the
  // access layer's chooser, which asks the window's user, never serves one.
  TrackListChooser* sessionTrackChooser = nullptr;
};

class GpsAccess {
 public:
  // `table` and `linkOpener` must outlive this object.
  GpsAccess(const JobTable& table, LinkOpener& linkOpener);
  // Asks a running job to stop and waits for every job thread to end: the
  // threads use this object to the last.
  ~GpsAccess();
  GpsAccess(const GpsAccess&) = delete;
  GpsAccess& operator=(const GpsAccess&) = delete;

  // Services handed to every job started afterwards; null for none.
  void SetNotifier(Notifier* notifier) { notifier_ = notifier; }
  void SetCommandLine(const CommandLineValues* commandLine) { commandLine_ = commandLine; }
  void SetTrackListChooser(TrackListChooser* chooser) { trackListChooser_ = chooser; }
  void SetFieldFormAsker(FieldFormAsker* asker) { fieldFormAsker_ = asker; }

  // Clears the trace; called once while the main window initialises.
  void InitGpsAccess();

  // 0 when the job's thread runs, -1 after the refusal has been shown on the
  // request's channel (caption "GPS access"). The caller sets JobRunning on 0.
  [[nodiscard]] int StartGpsJob(JobRequest request);
  // 0 when a running job was asked to stop ("Aborting transfer" on its
  // status line); -1 with "Port not in use" when none runs.
  int AbortGpsJob(JobChannel& channel);
  // At exit: waits up to 2000 ms for a job that still runs. True when none is left.
  bool WaitForGpsJobEnd(std::chrono::milliseconds limit = std::chrono::milliseconds(2000));
  bool JobExists() const;

  // The window's busy flag.
  bool JobRunning() const { return jobRunning_.load(); }
  void SetJobRunning(bool running) { jobRunning_.store(running); }
  // Shows "Busy GPS driver" under `caption` and returns true while a job runs.
  bool RefuseWhenBusy(UserInterface& ui, std::string_view caption) const;

  // The failure flag: cleared when a job starts, set by a failed job or step.
  void SetFailed() { exitCode_.store(1); }
  void ClearFailure() { exitCode_.store(0); }
  int ExitCode() const { return exitCode_.load(); }

  DebugTrace& Trace() { return trace_; }
  const DebugTrace& Trace() const { return trace_; }

 private:
  void RunJob(std::unique_ptr<GpsJob> job, JobRoutine routine);
  // Closes the port, drops the data still in the block, frees it and clears
  // the running-job pointer (a TCP job tells its channel instead).
  void FreeGpsJob(std::unique_ptr<GpsJob> job);

  const JobTable& table_;
  LinkOpener& linkOpener_;
  Notifier* notifier_ = nullptr;
  const CommandLineValues* commandLine_ = nullptr;
  TrackListChooser* trackListChooser_ = nullptr;
  FieldFormAsker* fieldFormAsker_ = nullptr;
  DebugTrace trace_;

  mutable std::mutex mutex_;      // guards running_ and liveJobs_
  std::condition_variable ended_;
  GpsJob* running_ = nullptr;     // the gated job; null when idle
  int liveJobs_ = 0;              // job threads not yet finished, TCP ones included
  std::atomic<bool> jobRunning_{false};
  std::atomic<int> exitCode_{0};
};

}  // namespace trelvik
