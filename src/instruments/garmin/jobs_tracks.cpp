// A300..A302: track log download, and track log upload (a waypoint list or
// an airspace outline shown on the unit as a track).
#include <algorithm>

#include "access/estimate_remaining.hpp"
#include "access/job_report.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/garmin/tracks.hpp"
#include "records/format_progress.hpp"

namespace trelvik::garmin {
namespace {

constexpr const char* kReadCaption = "Read GPS track log";
constexpr int kStatusEvery = 5;
constexpr size_t kMaxRecords = 0xFFFF;

// The size of each uploaded point: what the A300 and A301 units take, and
// for A302 units the size of their own point type.
size_t UploadPointSize(const GarminProtocolSet& protocols) {
  if (protocols.trackTransfer == 300) return TrackPointSize(300);
  if (protocols.trackTransfer == 301) return TrackPointSize(301);
  return TrackPointSize(protocols.trackPointType);
}

}  // namespace

int DownloadTrackLog(Session& session) {
  GpsJob& job = session.job;
  if (session.protocols.trackTransfer == 0) {
    return Fail(session, "E212 No track log protocol defined", kReadCaption, false);
  }
  ShowProgress(job, "Requesting track log download");
  SendQuietly(session, Command(kCmdTransferTracks));
  GarminPacket packet;
  if (AwaitAck(session, kPidCommand,
               {"E200 Timeout while waiting for data packet", "E200 COM port error while waiting for data packet",
                "E201 Bad acknowledge packet type or format"},
               kReadCaption) < 0) {
    return -1;
  }
  if (Await(session, packet, IsRecords,
            {"E202 Timeout while waiting for record count packet", "E202 COM port error while waiting for count packet",
             "E203 Bad record count packet"},
            kReadCaption) < 0) {
    return -1;
  }
  const int count = packet.U16(0);
  SendQuietly(session, Ack(kPidRecords));
  const uint32_t start = JobTick(job);
  job.points.clear();
  if (count > 0) {
    job.points.reserve(static_cast<size_t>(count));
    job.expectedCount = count;
    job.firstFixTick = start;
  }
  for (int i = 1; i <= count; ++i) {
    if (Await(session, packet, nullptr,
              {"E205 Timeout while waiting for log data packet",
               "E205 COM port error while waiting for log data packet", ""},
              kReadCaption) < 0) {
      return -1;
    }
    if (JobAborted(job)) {
      SendAbort(session);
      return EndAborted(job);
    }
    if (packet.id == kPidTrackPoint) {
      TrackPoint point;
      if (DecodeTrackPoint(session.protocols.trackPointType, packet, point) < 0) {
        return Fail(session, "E206 Packet type/length mismatch", kReadCaption);
      }
      if (job.points.empty()) point.flags = kNewSegment;
      job.points.push_back(point);
      NotifyPosition(job, point);
      SendQuietly(session, Ack(kPidTrackPoint));
    } else if (packet.id == kPidTrackHeader) {
      // The header's name is not kept: the next point's new-segment mark
      // tells where the track breaks.
      if (session.protocols.trackTransfer == 300) {
        return Fail(session, "E208 Packet type/protocol mismatch", kReadCaption);
      }
      SendQuietly(session, Ack(kPidTrackHeader));
    } else {
      return Fail(session, "E209 Bad data packet", kReadCaption);
    }
    if (i % kStatusEvery == 0) {
      const MinutesSeconds left = SplitRemaining(EstimateRemaining(job));
      ShowProgress(job, FormatProgress("Track position % of % (%m %s)", i, count, left.minutes, left.seconds));
      NotifyText(job, FormatProgress("Progress %/%", i, count));
    }
  }
  if (Await(session, packet, IsTransferComplete,
            {"E211 Timeout while waiting for transfer complete packet",
             "E211 COM port error while waiting for transfer complete packet",
             "E210 Bad transfer complete packet type or format"},
            kReadCaption) < 0) {
    return -1;
  }
  SendQuietly(session, Ack(kPidTransferComplete));
  const int64_t stored = static_cast<int64_t>(job.points.size());
  ShowProgress(job, FormatProgress("% track positions read (", stored) + SecondsText(JobTick(job) - start) + " secs)");
  if (stored == 0) {
    ReportError(job, "No points detected", kReadCaption);
    return -1;
  }
  PowerOffAfterTransfer(session, true);
  return 0;
}

int UploadTrackLog(Session& session, int ctrNumber, std::string_view trackName, const std::vector<Waypoint>& points) {
  GpsJob& job = session.job;
  const char* caption = ctrNumber != 0 ? "Upload CTR" : "Upload track log";
  const GarminProtocolSet& protocols = session.protocols;
  // One record of the count is the header, so the points must leave room for it.
  const int count = static_cast<int>(std::min(points.size(), kMaxRecords - 1));
  if (count == 0) return 0;
  if (protocols.trackTransfer == 0) return Fail(session, "E508 No track log protocol defined", caption, false);
  const bool header = protocols.trackTransfer != 300;
  SendQuietly(session, Records(static_cast<uint16_t>(header ? count + 1 : count)));
  if (AwaitAck(session, kPidRecords,
               {"E500 Timeout while waiting for ack. packet", "E500 COM port error while waiting for ack. packet",
                "E501 Bad acknowledge packet type or format"},
               caption) < 0) {
    return -1;
  }
  if (header) {
    const std::string_view name = trackName.empty() ? std::string_view(points[0].name) : trackName;
    const uint16_t headerType = protocols.trackTransfer == 301 ? 310 : protocols.trackHeaderType;
    SendQuietly(session, EncodeTrackHeader(headerType, name));
    if (AwaitAck(session, kPidTrackHeader,
                 {"E502 Timeout while waiting for ack. packet", "E502 COM port error while waiting for ack. packet",
                  "E503 Bad acknowledge packet type or format"},
                 caption) < 0) {
      return -1;
    }
  }
  const size_t pointSize = UploadPointSize(protocols);
  for (int i = 1; i <= count; ++i) {
    if (JobAborted(job)) {
      SendAbort(session);
      return EndAborted(job);
    }
    if (i % kStatusEvery == 0) {
      ShowProgress(job, ctrNumber != 0 ? FormatProgress("CTR %: Sending point % of %", ctrNumber, i, count)
                                       : FormatProgress("Sending point % of %", i, count));
    }
    const Waypoint& point = points[static_cast<size_t>(i - 1)];
    SendQuietly(session, EncodeTrackPoint(point.lat, point.lon, pointSize));
    if (AwaitAck(session, kPidTrackPoint,
                 {"E504 Timeout while waiting for ack. packet", "E504 COM port error while waiting for ack. packet",
                  "E505 Bad acknowledge packet type or format"},
                 caption) < 0) {
      return -1;
    }
  }
  ShowProgress(job, ctrNumber != 0 ? FormatProgress("CTR %: Point % of % sent", ctrNumber, count, count)
                                   : FormatProgress("Point % of % sent", count, count));
  SendQuietly(session, TransferComplete(kCmdTransferTracks));
  if (AwaitAck(session, kPidTransferComplete,
               {"E506 Timeout while waiting for ack. packet", "E506 COM port error while waiting for ack. packet",
                "E507 Bad acknowledge packet type or format", false},
               caption) < 0) {
    return -1;
  }
  PowerOffAfterTransfer(session, false);
  return 0;
}

}  // namespace trelvik::garmin
