// The transfers every Garmin cell runs once the unit is identified, and the
// serial cells: the product data step on the serial link, then one transfer.
#include <any>

#include "access/debug_trace.hpp"
#include "access/job_report.hpp"
#include "airspace/ctr_area.hpp"
#include "airspace/ctr_points.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/garmin/serial_packet_link.hpp"
#include "records/format_progress.hpp"

namespace trelvik::garmin {

int UploadCtrList(Session& session) {
  GpsJob& job = session.job;
  const CtrList* list = std::any_cast<CtrList>(&job.ctrList);
  if (list == nullptr) return 0;
  int result = 0;
  int number = 0;
  int firstEmpty = 0;
  for (const CtrArea& area : *list) {
    if (!area.selected) continue;
    if (JobAborted(job)) return EndAborted(job);
    ++number;
    std::vector<Waypoint> points;
    if (CtrToPoints(area, number, kDefaultCtrSegError, JobUtcNow(job), points) < 0 || points.empty()) {
      if (firstEmpty == 0) firstEmpty = number;
      continue;
    }
    // A failed airspace does not stop the others, but the job fails.
    if (UploadTrackLog(session, number, area.name, points) < 0) result = -1;
  }
  if (firstEmpty != 0) {
    ReportError(job, FormatProgress("No points for CTR % sent", firstEmpty), "Upload CTR");
    return -1;
  }
  return result;
}

int RunWaypointDownload(Session& session) { return DownloadWaypoints(session, false); }

int RunTrackDownload(Session& session) {
  GpsJob& job = session.job;
  if (job.competitionCheck && session.protocols.waypointTransfer != 0 && DownloadWaypoints(session, true) < 0) {
    return -1;
  }
  job.source = TrackSource::Garmin;
  job.signable = 1;
  job.utcTimes = 1;
  job.hasPressureAltitude = 0;
  return DownloadTrackLog(session);
}

int RunWaypointUpload(Session& session) { return UploadWaypoints(session); }

int RunWaypointsAsTrack(Session& session) { return UploadTrackLog(session, 0, {}, session.job.waypoints); }

namespace {

// The serial port: the product data step, then the transfer.
int SerialCell(GpsJob& job, int (*transfer)(Session&)) {
  SerialPacketLink link(job);
  Session session{job, link};
  if (RequestProductData(session) < 0) return -1;
  return transfer(session);
}

}  // namespace

int SerialDownloadWaypoints(GpsJob& job) {
  job.trace->ClearTrace();
  return SerialCell(job, RunWaypointDownload);
}

int SerialDownloadTrackLog(GpsJob& job) {
  job.trace->ClearTrace();
  return SerialCell(job, RunTrackDownload);
}

int SerialUploadWaypoints(GpsJob& job) { return SerialCell(job, RunWaypointUpload); }

int SerialUploadWaypointsAsTrack(GpsJob& job) { return SerialCell(job, RunWaypointsAsTrack); }

int SerialUploadCtr(GpsJob& job) { return SerialCell(job, UploadCtrList); }

}  // namespace trelvik::garmin
