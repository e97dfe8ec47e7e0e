// A100: waypoint download (also competition mode's check) and upload.
#include <algorithm>

#include "access/job_report.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/garmin/waypoints.hpp"
#include "records/format_progress.hpp"

namespace trelvik::garmin {
namespace {

constexpr const char* kReadCaption = "Read GPS waypoints";
constexpr const char* kUploadCaption = "Upload waypoints";
constexpr int kStatusEvery = 5;

}  // namespace

int DownloadWaypoints(Session& session, bool checkOnly) {
  GpsJob& job = session.job;
  const uint16_t type = session.protocols.waypointType;
  if (session.protocols.waypointTransfer == 0) {
    return Fail(session, "E310 No waypoint log protocol defined", kReadCaption, false);
  }
  ShowProgress(job, "Requesting waypoint download");
  SendQuietly(session, Command(kCmdTransferWaypoints));
  GarminPacket packet;
  if (AwaitAck(session, kPidCommand,
               {"E300 Timeout while waiting for ack. packet", "E300 COM port error while waiting for ack. packet",
                "E301 Bad acknowledge packet type or format"},
               kReadCaption) < 0) {
    return -1;
  }
  if (Await(session, packet, IsRecords,
            {"E302 Timeout while waiting for record count packet", "E302 COM port error while waiting for count packet",
             "E303 Bad record count packet"},
            kReadCaption) < 0) {
    return -1;
  }
  const int count = packet.U16(0);
  SendQuietly(session, Ack(kPidRecords));
  const TrackTime now = JobUtcNow(job);
  const uint32_t start = JobTick(job);
  std::vector<Waypoint> waypoints;
  if (!checkOnly) waypoints.reserve(static_cast<size_t>(count));
  int received = 0;
  while (received < count) {
    if (Await(session, packet, nullptr,
              {"E305 Timeout while waiting for wpt. data packet",
               "E305 COM port error while waiting for wpt. data packet", ""},
              kReadCaption) < 0) {
      return -1;
    }
    if (JobAborted(job)) {
      SendAbort(session);
      return EndAborted(job);
    }
    Waypoint waypoint;
    const int rc = DecodeWaypoint(type, packet, now, waypoint);
    if (rc == -1) return Fail(session, "E306 Bad waypoint data packet", kReadCaption);
    if (rc < 0) return Fail(session, "E309 Bad waypoint data packet", kReadCaption);
    if (checkOnly) {
      CheckCompetitionWaypoint(job, waypoint);
    } else {
      waypoints.push_back(waypoint);
    }
    ++received;
    SendQuietly(session, Ack(kPidWaypoint));
    NotifyWaypointCount(job, received);
    if (received % kStatusEvery == 0) ShowProgress(job, FormatProgress("Waypoint % of % received", received, count));
  }
  if (Await(session, packet, IsTransferComplete,
            {"E308 Timeout while waiting for transfer complete packet",
             "E308 COM port error while waiting for transfer complete packet",
             "E307 Bad transfer complete packet type or format"},
            kReadCaption) < 0) {
    return -1;
  }
  SendQuietly(session, Ack(kPidTransferComplete));
  if (checkOnly) return 0;
  ShowProgress(
      job, FormatProgress("% of % waypoints read (", received, count) + SecondsText(JobTick(job) - start) + " secs)");
  job.waypoints = std::move(waypoints);
  // A unit that holds no waypoints gives nothing to install.
  return received > 0 ? 0 : -1;
}

int UploadWaypoints(Session& session) {
  GpsJob& job = session.job;
  const int count = static_cast<int>(std::min<size_t>(job.waypoints.size(), 0xFFFF));
  if (count == 0) return 0;
  if (session.protocols.waypointTransfer == 0) {
    return Fail(session, "E406 No waypoint log protocol defined", kUploadCaption, false);
  }
  SendQuietly(session, Records(static_cast<uint16_t>(count)));
  if (AwaitAck(session, kPidRecords,
               {"E400 Timeout while waiting for ack. packet", "E400 COM port error while waiting for ack. packet",
                "E401 Bad acknowledge packet type or format"},
               kUploadCaption) < 0) {
    return -1;
  }
  for (int i = 1; i <= count; ++i) {
    if (JobAborted(job)) {
      SendAbort(session);
      return EndAborted(job);
    }
    if (i % kStatusEvery == 0) ShowProgress(job, FormatProgress("Sending waypoint % of %", i, count));
    SendQuietly(session, EncodeWaypoint(session.protocols.waypointType, job.waypoints[static_cast<size_t>(i - 1)]));
    NotifyText(job, FormatProgress("Sent wpt %/%", i, count));
    if (AwaitAck(session, kPidWaypoint,
                 {"E402 Timeout while waiting for ack. packet", "E402 COM port error while waiting for ack. packet",
                  "E403 Bad acknowledge packet type or format"},
                 kUploadCaption) < 0) {
      return -1;
    }
  }
  ShowProgress(job, FormatProgress("Waypoint % of % sent", count, count));
  SendQuietly(session, TransferComplete(kCmdTransferWaypoints));
  if (AwaitAck(session, kPidTransferComplete,
               {"E404 Timeout while waiting for ack. packet", "E404 COM port error while waiting for ack. packet",
                "E405 Bad acknowledge packet type or format", false},
               kUploadCaption) < 0) {
    return -1;
  }
  PowerOffAfterTransfer(session, true);
  return 0;
}

}  // namespace trelvik::garmin
