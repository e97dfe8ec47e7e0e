// The thread routines of the Garmin serial cells: the product data step on
// the serial link, then one transfer.
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

int SerialDownloadWaypoints(GpsJob& job) {
  job.trace->ClearTrace();
  SerialPacketLink link(job);
  Session session{job, link};
  if (RequestProductData(session) < 0) return -1;
  return DownloadWaypoints(session, false);
}

int SerialDownloadTrackLog(GpsJob& job) {
  job.trace->ClearTrace();
  SerialPacketLink link(job);
  Session session{job, link};
  if (RequestProductData(session) < 0) return -1;
  if (job.competitionCheck && session.protocols.waypointTransfer != 0 && DownloadWaypoints(session, true) < 0) {
    return -1;
  }
  job.source = TrackSource::Garmin;
  job.signable = 1;
  job.utcTimes = 1;
  job.hasPressureAltitude = 0;
  return DownloadTrackLog(session);
}

int SerialUploadWaypoints(GpsJob& job) {
  SerialPacketLink link(job);
  Session session{job, link};
  if (RequestProductData(session) < 0) return -1;
  return UploadWaypoints(session);
}

int SerialUploadWaypointsAsTrack(GpsJob& job) {
  SerialPacketLink link(job);
  Session session{job, link};
  if (RequestProductData(session) < 0) return -1;
  return UploadTrackLog(session, 0, {}, job.waypoints);
}

int SerialUploadCtr(GpsJob& job) {
  SerialPacketLink link(job);
  Session session{job, link};
  if (RequestProductData(session) < 0) return -1;
  return UploadCtrList(session);
}

}  // namespace trelvik::garmin
