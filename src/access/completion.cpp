#include "access/completion.hpp"

#include "access/job_report.hpp"
#include "base/c_format.hpp"

namespace trelvik {
namespace {

void Call(const std::function<void()>& hook) {
  if (hook) hook();
}

void Post(const CompletionContext& context, int first, int second) {
  if (context.postMainWindow) context.postMainWindow(first, second);
}

void CopyIdentity(const GpsJob& job, TrackLog& log) {
  if (!job.modelName.empty()) log.modelName = job.modelName.substr(0, kModelNameLimit);
  if (!job.description.empty()) log.description = job.description.substr(0, kDescriptionLimit);
  if (!job.identity.empty()) log.identity = job.identity.substr(0, kIdentityLimit);
}

// The raw images come with the download that produced them, so a failed or
// aborted download leaves the old log and its images together.
void InstallRawImages(GpsJob& job, TrackLog& log) {
  const RawImage kept = job.row != nullptr ? job.row->rawImage : RawImage::None;
  if (job.rawIgc) {
    log.rawIgc = std::move(job.rawIgc->bytes);
    log.rawIgcDate = job.rawIgc->date;
    log.rawIgcMaker = std::move(job.rawIgc->maker);
    log.rawIgcSerial = std::move(job.rawIgc->serial);
    job.rawIgc.reset();
  } else if (kept != RawImage::IgcFile) {
    log.rawIgc.clear();
    log.rawIgcDate = 0;
    log.rawIgcMaker.clear();
    log.rawIgcSerial = "000";
  }
  if (job.rawLog) {
    log.rawLog = std::move(*job.rawLog);
    job.rawLog.reset();
  } else if (kept != RawImage::LoggerBytes) {
    log.rawLog.clear();
  }
}

}  // namespace

void CompleteTrackDownload(GpsJob& job, GpsAccess& access, TrackLog& log, const CompletionContext& context) {
  bool installed = false;
  if (job.result < 0) {
    access.SetFailed();
  } else if (access.JobRunning()) {
    InstallRawImages(job, log);
    if (context.downloadFilter) {
      const size_t before = job.points.size();
      context.downloadFilter(job.points);
      if (job.points.size() < before) {
        ReportInfo(job, CFormat("%d points removed by filter(s)", static_cast<int>(before - job.points.size())),
                   "Analyze track");
      }
    }
    log.points = std::move(job.points);
    job.points.clear();
    log.source = job.source;
    log.utcTimes = job.utcTimes;
    log.signable = job.signable;
    log.hasPressureAltitude = job.hasPressureAltitude;
    log.protocol = job.protocol;
    CopyIdentity(job, log);
    if (job.competitionCheck || context.competitionMode) {
      // The instrument's own IDs, or none: the previous pilot's never stay,
      // also when the waypoints were not searched (Garmin USB unticked).
      log.compId = job.compId < 0 ? -1 : job.compId;
      log.civlId = job.civlId < 0 ? -1 : job.civlId;
    } else {
      if (job.compId >= 0) log.compId = job.compId;
      if (job.civlId >= 0) log.civlId = job.civlId;
    }
    log.downloadTime = context.utcNow ? context.utcNow() : CurrentUtcTime();
    if (!context.exitAfterRun) Call(context.redrawTrackList);
    installed = true;
  }
  access.SetJobRunning(false);
  if (context.commandLineRun) {
    Post(context, 1, installed ? 1 : 0);
  } else if (context.competitionMode) {
    Post(context, 2, installed ? 1 : 0);
  }
}

void CompleteWaypointDownload(GpsJob& job, GpsAccess& access, TrackLog& log, WaypointList& list,
                              const CompletionContext& context) {
  bool installed = false;
  if (job.result < 0) {
    access.SetFailed();
  } else if (access.JobRunning()) {
    list.waypoints = std::move(job.waypoints);
    job.waypoints.clear();
    CopyIdentity(job, log);
    if (!context.exitAfterRun) Call(context.redrawWaypointList);
    installed = true;
  }
  access.SetJobRunning(false);
  if (context.commandLineRun) Post(context, 1, installed ? 1 : 0);
}

void CompleteFlightListDownload(GpsJob& job, GpsAccess& access, const CompletionContext& context) {
  if (job.result < 0) access.SetFailed();
  const bool success = job.result >= 0 && access.JobRunning();
  access.SetJobRunning(false);
  if (context.commandLineRun) Post(context, 1, success ? 1 : 0);
}

void CompleteCtrDownload(GpsJob& job, GpsAccess& access, const std::function<void(std::any&&)>& install,
                         const CompletionContext& context) {
  if (job.result >= 0 && access.JobRunning() && job.ctrList.has_value()) {
    if (install) install(std::move(job.ctrList));
    job.ctrList.reset();
    Call(context.redrawCtrList);
  }
  access.SetJobRunning(false);
}

void CompleteWaypointUpload(GpsJob& job, GpsAccess& access, const CompletionContext& context) {
  if (job.result < 0) {
    access.SetFailed();
  } else if (context.competitionMode && context.competitionBookkeeping) {
    context.competitionBookkeeping(job);
  }
  access.SetJobRunning(false);
}

void CompleteUpload(GpsJob&, GpsAccess& access) { access.SetJobRunning(false); }

void CompleteCommandLineStep(GpsJob& job, GpsAccess& access, const CompletionContext& context) {
  if (job.result < 0) access.SetFailed();
  access.SetJobRunning(false);
  Post(context, 1, job.result == 0 ? 1 : 0);
}

}  // namespace trelvik
