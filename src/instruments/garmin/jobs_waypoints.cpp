// A100: waypoint download (also competition mode's check) and upload, over
// any link; the link's dialect gives the texts and whether packets are
// acknowledged.
#include <algorithm>

#include "access/debug_trace.hpp"
#include "access/job_report.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/garmin/waypoints.hpp"
#include "records/format_progress.hpp"

namespace trelvik::garmin {
namespace {

constexpr const char* kUploadCaption = "Upload waypoints";
constexpr int kStatusEvery = 5;

}  // namespace

int DownloadWaypoints(Session& session, bool checkOnly) {
  GpsJob& job = session.job;
  const WaypointDownloadTexts& texts = session.dialect->waypointDownload;
  const char* caption = texts.caption;
  const uint16_t type = session.protocols.waypointType;
  if (session.protocols.waypointTransfer == 0) return Fail(session, texts.noProtocol, caption, false);
  ShowProgress(job, "Requesting waypoint download");
  if (!texts.requestTrace.empty()) job.trace->TraceText(texts.requestTrace);
  if (Transmit(session, Command(kCmdTransferWaypoints), texts.commandNotSent, caption) < 0) return -1;
  GarminPacket packet;
  if (AwaitAck(session, kPidCommand, texts.commandAck, caption) < 0) return -1;
  if (Await(session, packet, IsRecords, texts.records, caption) < 0) return -1;
  const int count = packet.U16(0);
  Acknowledge(session, kPidRecords);
  const TrackTime now = JobUtcNow(job);
  const uint32_t start = JobTick(job);
  std::vector<Waypoint> waypoints;
  if (!checkOnly) waypoints.reserve(static_cast<size_t>(count));
  int received = 0;
  while (received < count) {
    if (Await(session, packet, nullptr, texts.data, caption) < 0) return -1;
    if (JobAborted(job)) {
      SendAbort(session);
      return EndAborted(job);
    }
    Waypoint waypoint;
    const int rc = DecodeWaypoint(type, packet, now, waypoint);
    if (rc == -1) return Fail(session, texts.badRecord, caption);
    if (rc < 0) return Fail(session, texts.badMarks, caption);
    if (checkOnly) {
      CheckCompetitionWaypoint(job, waypoint);
    } else {
      waypoints.push_back(waypoint);
      if (waypoints.size() == 1 && !texts.firstStatus.empty()) ShowProgress(job, texts.firstStatus);
    }
    ++received;
    Acknowledge(session, kPidWaypoint);
    NotifyWaypointCount(job, received);
    if (received % kStatusEvery == 0 && !texts.everyFifthStatus.empty()) {
      ShowProgress(job, FormatProgress(texts.everyFifthStatus, received, count));
    }
  }
  if (Await(session, packet, IsTransferComplete, texts.complete, caption) < 0) return -1;
  Acknowledge(session, kPidTransferComplete);
  if (checkOnly) return 0;
  ShowProgress(job, texts.finalStatus(received, count, JobTick(job) - start));
  job.waypoints = std::move(waypoints);
  // A unit that holds no waypoints gives nothing to install.
  return received > 0 ? 0 : -1;
}

int UploadWaypoints(Session& session) {
  GpsJob& job = session.job;
  const WaypointUploadTexts& texts = session.dialect->waypointUpload;
  const int count = static_cast<int>(std::min<size_t>(job.waypoints.size(), 0xFFFF));
  if (count == 0) return 0;
  if (session.protocols.waypointTransfer == 0) return Fail(session, texts.noProtocol, kUploadCaption, false);
  if (Transmit(session, Records(static_cast<uint16_t>(count)), texts.recordsNotSent, kUploadCaption) < 0) return -1;
  if (AwaitAck(session, kPidRecords, texts.recordsAck, kUploadCaption) < 0) return -1;
  for (int i = 1; i <= count; ++i) {
    if (JobAborted(job)) {
      SendAbort(session);
      return EndAborted(job);
    }
    if (i % kStatusEvery == 0) ShowProgress(job, FormatProgress("Sending waypoint % of %", i, count));
    const GarminPacket encoded =
        EncodeWaypoint(session.protocols.waypointType, job.waypoints[static_cast<size_t>(i - 1)]);
    if (Transmit(session, encoded, texts.waypointNotSent, kUploadCaption) < 0) return -1;
    NotifyText(job, FormatProgress("Sent wpt %/%", i, count));
    if (AwaitAck(session, kPidWaypoint, texts.waypointAck, kUploadCaption) < 0) return -1;
  }
  if (!texts.sentStatus.empty()) ShowProgress(job, FormatProgress(texts.sentStatus, count, count));
  if (Transmit(session, TransferComplete(kCmdTransferWaypoints), texts.completeNotSent, kUploadCaption) < 0) {
    return -1;
  }
  if (AwaitAck(session, kPidTransferComplete, texts.completeAck, kUploadCaption) < 0) return -1;
  if (!texts.doneStatus.empty()) ShowProgress(job, texts.doneStatus);
  PowerOffAfterTransfer(session, true);
  return 0;
}

}  // namespace trelvik::garmin
