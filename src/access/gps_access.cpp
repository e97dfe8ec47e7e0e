#include "access/gps_access.hpp"

#include <new>
#include <system_error>
#include <thread>

#include "access/job_report.hpp"
#include "base/message_box.hpp"

namespace trelvik {
namespace {

constexpr const char* kStartCaption = "GPS access";

void ShowStartError(JobChannel& channel, std::string_view text, std::string_view caption = kStartCaption) {
  channel.ShowMessage(MessageKind::Error, text, caption);
}

}  // namespace

GpsAccess::GpsAccess(const JobTable& table, LinkOpener& linkOpener) : table_(table), linkOpener_(linkOpener) {}

GpsAccess::~GpsAccess() {
  std::unique_lock lock(mutex_);
  if (running_) running_->abort = true;
  ended_.wait(lock, [this] { return liveJobs_ == 0; });
}

void GpsAccess::InitGpsAccess() { trace_.ClearTrace(); }

int GpsAccess::StartGpsJob(JobRequest request) {
  ClearFailure();
  if (request.channel == nullptr) return -1;  // nowhere to report: a starter's mistake
  JobChannel& channel = *request.channel;
  const int function = static_cast<int>(request.function);
  const int protocol = static_cast<int>(request.protocol);
  if (function < 0 || function >= kAccessFunctionCount) {
    ShowStartError(channel, "Bad access type");
    return -1;
  }
  if (protocol < 0 || protocol >= kProtocolCount) {
    ShowStartError(channel, "Bad protocol type");
    return -1;
  }
  const JobRoutine routine = table_.Find(function, protocol);
  if (routine == nullptr) {
    ShowStartError(channel, "Unsupported access function");
    return -1;
  }

  std::unique_lock lock(mutex_);
  if (!request.tcpClient && running_ != nullptr) {
    lock.unlock();
    ShowStartError(channel, "Port/USB is being used");
    return -1;
  }
  std::unique_ptr<GpsJob> job(new (std::nothrow) GpsJob);
  if (!job) {
    lock.unlock();
    ShowStartError(channel, "Access data block memory allocation");
    return -1;
  }
  trace_.ClearTrace();
  job->channel = &channel;
  job->trace = &trace_;
  job->linkOpener = &linkOpener_;
  job->notifier = notifier_;
  job->commandLine = commandLine_;
  // A network session's job never opens the window's dialogs.
  job->trackListChooser = request.tcpClient ? request.sessionTrackChooser : trackListChooser_;
  job->fieldFormAsker = request.tcpClient ? nullptr : fieldFormAsker_;
  job->tcpClient = request.tcpClient;
  job->function = request.function;
  job->protocol = request.protocol;
  job->row = table_.Row(request.protocol);
  job->onComplete = std::move(request.onComplete);
  job->waypoints = std::move(request.waypoints);
  job->ctrList = std::move(request.ctrList);
  job->ownerName = std::move(request.ownerName);
  job->pilotData = std::move(request.pilotData);
  job->analysis = std::move(request.analysis);
  job->competitionCheck = std::move(request.competitionCheck);
  job->powerOffAfterTransfer = request.powerOffAfterTransfer;
  if (job->row == nullptr || !job->row->usb) {
    job->option = request.option;
    job->portName = request.portName.substr(0, kPortNameLimit);
  }

  GpsJob* const block = job.get();
  if (!request.tcpClient) running_ = block;
  ++liveJobs_;
  try {
    std::thread([this, routine, owned = std::move(job)]() mutable { RunJob(std::move(owned), routine); }).detach();
  } catch (const std::system_error&) {
    // The lambda (and with it the block) is gone already.
    if (running_ == block) running_ = nullptr;
    --liveJobs_;
    lock.unlock();
    ShowStartError(channel, "Could not create GPS access thread", "API32 call");
    return -1;
  }
  return 0;
}

void GpsAccess::RunJob(std::unique_ptr<GpsJob> job, JobRoutine routine) {
  // The gate was set before the thread began; taking the lock once here makes
  // the job wait until its starter has left StartGpsJob.
  { std::lock_guard lock(mutex_); }
  const int result = routine(*job);
  CompleteJob(*job, result);
  FreeGpsJob(std::move(job));
}

void GpsAccess::FreeGpsJob(std::unique_ptr<GpsJob> job) {
  const bool tcp = job->tcpClient;
  JobChannel* channel = job->channel;
  {
    // The abort command reaches the block through running_: unhook it first.
    std::lock_guard lock(mutex_);
    if (running_ == job.get()) running_ = nullptr;
  }
  job.reset();  // closes the port and drops the data nobody took
  if (tcp) channel->JobFreed();
  std::lock_guard lock(mutex_);
  --liveJobs_;
  ended_.notify_all();
}

int GpsAccess::AbortGpsJob(JobChannel& channel) {
  std::unique_lock lock(mutex_);
  if (running_ != nullptr) {
    running_->channel->ShowProgress("Aborting transfer");
    running_->abort = true;
    return 0;
  }
  lock.unlock();
  channel.ShowMessage(MessageKind::Error, "Port not in use", "Abort GPS access");
  return -1;
}

bool GpsAccess::WaitForGpsJobEnd(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  return ended_.wait_for(lock, limit, [this] { return liveJobs_ == 0; });
}

bool GpsAccess::JobExists() const {
  std::lock_guard lock(mutex_);
  return liveJobs_ > 0;
}

bool GpsAccess::RefuseWhenBusy(UserInterface& ui, std::string_view caption) const {
  if (!JobRunning()) return false;
  ShowError(ui, "Busy GPS driver", caption);
  return true;
}

}  // namespace trelvik
