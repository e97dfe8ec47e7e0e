#include "instruments/flytec_e2e_support.hpp"

#include <fstream>
#include <iterator>
#include <thread>

#include "access/user_interface_channel.hpp"
#include "instruments/protocol_table.hpp"

namespace trelvik::testing {

uint32_t LineTimeChannel::TickMs() { return MonotonicTickMs() * speed_; }

void LineTimeChannel::Sleep(std::chrono::milliseconds duration) {
  if (realPauses.load()) std::this_thread::sleep_for(duration / speed_);
  RecordingChannel::Sleep(duration);
}

bool Datagrams::Send(std::string_view datagram) {
  std::lock_guard lock(mutex_);
  texts_.emplace_back(datagram.substr(4));
  return true;
}

std::vector<std::string> Datagrams::Texts() const {
  std::lock_guard lock(mutex_);
  return texts_;
}

SimRun::SimRun() : notifier_(datagrams, 1, [] { return MonotonicTickMs(); }) {
  commandLine.timeout = 2;  // one product pass
  (void)RegisterInstruments(table_);
  access_ = std::make_unique<GpsAccess>(table_, opener_);
  access_->SetCommandLine(&commandLine);
  access_->SetNotifier(&notifier_);
  recordPath = temp_.File("received.txt");
}

SimRun::~SimRun() { access_.reset(); }

bool SimRun::Start(const std::vector<std::string>& args) {
  std::vector<std::string> all = {family, "--record=" + recordPath};
  all.insert(all.end(), args.begin(), args.end());
  return sim_.Start(all);
}

std::string SimRun::Shown() const {
  std::string text;
  for (const RecordedMessage& m : channel.Messages()) text += m.text + " / " + m.caption + "\n";
  return text;
}

JobRequest SimRun::Request(AccessFunction function) {
  JobRequest request;
  request.function = function;
  request.protocol = protocol;
  request.option = option;
  request.ownerName = ownerName;
  request.utcOffsetForTn = utcOffsetForTn;
  request.portName = sim_.PtyPath();
  request.channel = &channel;
  request.onComplete = [this, function](GpsJob& job) {
    flightList = job.flightList;
    const CompletionContext context;
    switch (function) {
      case AccessFunction::DownloadTrackLog:
        CompleteTrackDownload(job, *access_, log, context);
        break;
      case AccessFunction::DownloadWaypoints:
        CompleteWaypointDownload(job, *access_, log, waypointList, context);
        break;
      case AccessFunction::DownloadCtr:
        CompleteCtrDownload(job, *access_, [this](std::any&& list) { ctrList = std::move(list); }, context);
        break;
      case AccessFunction::DownloadFlightList:
        CompleteFlightListDownload(job, *access_, context);
        break;
      default:
        CompleteUpload(job, *access_);
        break;
    }
    result = job.result;
  };
  return request;
}

bool SimRun::StartOnly(AccessFunction function) {
  access_->SetJobRunning(true);
  if (access_->StartGpsJob(Request(function)) == 0) return true;
  access_->SetJobRunning(false);
  return false;
}

bool SimRun::WaitForEnd(std::chrono::milliseconds limit) { return access_->WaitForGpsJobEnd(limit); }

int SimRun::Run(AccessFunction function, std::vector<Waypoint> waypoints, std::any ctr) {
  JobRequest request = Request(function);
  request.waypoints = std::move(waypoints);
  request.ctrList = std::move(ctr);
  return RunToEnd(std::move(request));
}

int SimRun::RunToEnd(JobRequest request) {
  access_->SetJobRunning(true);
  if (access_->StartGpsJob(std::move(request)) != 0) {
    access_->SetJobRunning(false);
    return -2;
  }
  if (!WaitForEnd(std::chrono::seconds(30))) return -2;
  return result.load();
}

int SimRun::RunPilotData(int32_t command, std::vector<std::string> texts) {
  JobRequest request = Request(AccessFunction::UploadPilotName);
  request.option = command;
  request.pilotData = std::move(texts);
  return RunToEnd(std::move(request));
}

int SimRun::Abort() { return access_->AbortGpsJob(channel); }

std::string SimRun::Received() const { return ReadWholeFile(recordPath); }

std::string SimRun::ReceivedAtLeast(size_t bytes, std::chrono::milliseconds limit) const {
  const auto end = std::chrono::steady_clock::now() + limit;
  std::string received = Received();
  while (received.size() < bytes && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    received = Received();
  }
  return received;
}

std::string CorpusFile(const std::string& name) {
  const std::string dir = FlightCorpusDir();
  return dir.empty() ? std::string() : dir + "/" + name;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace trelvik::testing
