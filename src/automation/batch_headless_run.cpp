#include "automation/batch_headless_run.hpp"

#include <condition_variable>
#include <mutex>
#include <optional>

#include "access/gps_access.hpp"
#include "access/user_interface_channel.hpp"
#include "automation/batch_gps_transfers.hpp"
#include "automation/batch_job_frame.hpp"
#include "automation/batch_log_file.hpp"
#include "automation/batch_run.hpp"
#include "base/message_box.hpp"

namespace trelvik {
namespace {

using namespace std::chrono_literals;

// How long the run waits, after its continuation, for the job's thread to say
// goodbye to the instrument and close the port.
constexpr std::chrono::milliseconds kJobEndWait = 10s;
// How often the wait for the continuation looks whether the job is still there.
constexpr std::chrono::milliseconds kJobPoll = 50ms;

// The continuation message the completion routine posts from the job's thread.
class ContinuationMailbox {
 public:
  void Post(int first, int second) {
    if (first != 1) return;
    std::lock_guard lock(mutex_);
    success_ = second == 1;
    posted_.notify_all();
  }
  // The posted success; nothing when the job ended without posting.
  std::optional<bool> Wait(const GpsAccess& access) {
    std::unique_lock lock(mutex_);
    while (!success_) {
      if (!access.JobExists()) break;
      posted_.wait_for(lock, kJobPoll);
    }
    return success_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::optional<bool> success_;
};

// Headless, the flight the split offers first is kept, as OK would, and the
// error stream says so.
SplitLogChooser TakeFirstFlight(UserInterface& ui) {
  return [&ui](const SplitLogDialog& dialog) -> std::optional<std::vector<int32_t>> {
    ShowInfo(ui, "1 taken", "Split track");
    return std::vector<int32_t>{dialog.preselected};
  };
}

}  // namespace

int RunHeadlessBatch(const CommandLineJob& job, HeadlessBatchServices services) {
  UserInterface& ui = services.ui;
  BatchJobFrame frame(job);
  UserInterfaceChannel channel(ui);
  ContinuationMailbox mailbox;
  CompletionContext completion;
  completion.exitAfterRun = true;  // headless, nothing is redrawn
  completion.postMainWindow = [&mailbox](int first, int second) { mailbox.Post(first, second); };
  completion.downloadFilter = DownloadFilterOf(services.settings);

  // Everything the job's thread uses is declared above, so it outlives the
  // access layer, whose destructor waits for that thread.
  GpsAccess access(services.table, services.linkOpener);
  access.InitGpsAccess();
  frame.Attach(access);
  access.SetTrackListChooser(services.trackListChooser);
  GpsBatchTransfers transfers(access, channel, services.log, services.waypoints, completion);

  BatchRunHooks hooks;
  hooks.notify = [&frame](std::string_view text) { frame.NotifyText(text); };
  hooks.chooseSplit = TakeFirstFlight(ui);
  hooks.chooseTrack = FirstTrackTaken(ui);
  BatchRun run(job, BatchRunContext{ui, transfers, services.log, services.waypoints, services.airspace, services.settings, true, hooks,
                                services.pilots});
  if (run.RunCommandLineJob() == 0 && run.TransferRunning()) {
    const std::optional<bool> success = mailbox.Wait(access);
    (void)run.ContinueCommandLineJob(success.value_or(false));
  }
  (void)access.WaitForGpsJobEnd(kJobEndWait);
  return run.ExitCode();
}

}  // namespace trelvik
