#include "automation/batch_gps_transfers.hpp"

#include "competition/competition_ids.hpp"

namespace trelvik {

GpsBatchTransfers::GpsBatchTransfers(GpsAccess& access, JobChannel& channel, TrackLog& log, WaypointList& waypoints,
                                     CompletionContext context)
    : access_(access), channel_(channel), log_(log), waypoints_(waypoints), context_(std::move(context)) {
  context_.commandLineRun = true;
}

int GpsBatchTransfers::Start(BatchTransferRequest request) {
  JobRequest job;
  job.protocol = request.protocol;
  job.option = request.option;
  job.portName = std::move(request.portName);
  job.utcOffsetForTn = request.utcOffsetForTn;
  job.channel = &channel_;
  switch (request.kind) {
    case BatchTransferKind::TrackDownload:
      job.function = AccessFunction::DownloadTrackLog;
      if (request.competitionCheck) job.competitionCheck = MakeCompetitionWaypointCheck(request.competitionSpecial);
      job.onComplete = [this](GpsJob& done) { CompleteTrackDownload(done, access_, log_, context_); };
      break;
    case BatchTransferKind::FlightList:
      job.function = AccessFunction::DownloadFlightList;
      job.onComplete = [this](GpsJob& done) { CompleteFlightListDownload(done, access_, context_); };
      break;
    case BatchTransferKind::PilotData:
      job.function = AccessFunction::UploadPilotName;
      job.pilotData = std::move(request.pilotData);
      // The run waits for the upload, and its result is the run's.
      job.onComplete = [this](GpsJob& done) { CompleteCommandLineStep(done, access_, context_); };
      break;
    case BatchTransferKind::CtrUpload:
      job.function = AccessFunction::UploadCtr;
      job.ctrList = std::move(request.ctrList);
      job.onComplete = [this](GpsJob& done) { CompleteCommandLineStep(done, access_, context_); };
      break;
    case BatchTransferKind::WaypointDownload:
      job.function = AccessFunction::DownloadWaypoints;
      job.onComplete = [this](GpsJob& done) { CompleteWaypointDownload(done, access_, log_, waypoints_, context_); };
      break;
    case BatchTransferKind::WaypointUpload:
      job.function = AccessFunction::UploadWaypoints;
      job.waypoints = std::move(request.waypoints);
      job.onComplete = [this](GpsJob& done) { CompleteCommandLineStep(done, access_, context_); };
      break;
  }
  // Busy before the thread exists: a job that fails at once must find the
  // flag set, or its completion would clear it before the starter sets it.
  access_.SetJobRunning(true);
  if (access_.StartGpsJob(std::move(job)) < 0) {
    access_.SetJobRunning(false);
    return -1;
  }
  return 0;
}

}  // namespace trelvik
