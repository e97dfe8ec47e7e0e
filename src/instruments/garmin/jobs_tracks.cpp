// A300..A302: track log download, and track log upload (a waypoint list or
// an airspace outline shown on the unit as a track).
#include <algorithm>

#include "access/debug_trace.hpp"
#include "access/estimate_remaining.hpp"
#include "access/job_report.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/garmin/tracks.hpp"
#include "records/format_progress.hpp"

namespace trelvik::garmin {
namespace {

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
  const TrackDownloadTexts& texts = session.dialect->trackDownload;
  const char* caption = texts.caption;
  if (session.protocols.trackTransfer == 0) return Fail(session, texts.noProtocol, caption, false);
  ShowProgress(job, "Requesting track log download");
  if (!texts.requestTrace.empty()) job.trace->TraceText(texts.requestTrace);
  if (Transmit(session, Command(kCmdTransferTracks), texts.commandNotSent, caption) < 0) return -1;
  GarminPacket packet;
  if (AwaitAck(session, kPidCommand, texts.commandAck, caption) < 0) return -1;
  if (Await(session, packet, IsRecords, texts.records, caption) < 0) return -1;
  const int count = packet.U16(0);
  Acknowledge(session, kPidRecords);
  const uint32_t start = JobTick(job);
  job.points.clear();
  if (count > 0) {
    job.points.reserve(static_cast<size_t>(count));
    job.expectedCount = count;
    job.firstFixTick = start;
  }
  for (int i = 1; i <= count; ++i) {
    if (Await(session, packet, nullptr, texts.data, caption) < 0) return -1;
    if (JobAborted(job)) {
      SendAbort(session);
      return EndAborted(job);
    }
    if (packet.id == kPidTrackPoint) {
      TrackPoint point;
      if (DecodeTrackPoint(session.protocols.trackPointType, packet, point) < 0) {
        return Fail(session, texts.badPoint, caption);
      }
      if (job.points.empty()) point.flags = kNewSegment;
      job.points.push_back(point);
      NotifyPosition(job, point);
      Acknowledge(session, kPidTrackPoint);
    } else if (packet.id == kPidTrackHeader) {
      // The header's name is not kept: the next point's new-segment mark
      // tells where the track breaks.
      if (session.protocols.trackTransfer == 300) return Fail(session, texts.headerMismatch, caption);
      Acknowledge(session, kPidTrackHeader);
    } else {
      return Fail(session, texts.badPacket, caption);
    }
    if (i == 2 && !texts.receivingStatus.empty()) ShowProgress(job, texts.receivingStatus);
    if (i % texts.progressEvery == 0) {
      if (texts.positionStatus) {
        const MinutesSeconds left = SplitRemaining(EstimateRemaining(job));
        ShowProgress(job, FormatProgress("Track position % of % (%m %s)", i, count, left.minutes, left.seconds));
      }
      NotifyText(job, FormatProgress("Progress %/%", i, count));
    }
  }
  if (Await(session, packet, IsTransferComplete, texts.complete, caption) < 0) return -1;
  Acknowledge(session, kPidTransferComplete);
  const int stored = static_cast<int>(job.points.size());
  ShowProgress(job, texts.finalStatus(stored, count, JobTick(job) - start));
  if (stored == 0) {
    ReportError(job, "No points detected", caption);
    return -1;
  }
  PowerOffAfterTransfer(session, true);
  return 0;
}

int UploadTrackLog(Session& session, int ctrNumber, std::string_view trackName, const std::vector<Waypoint>& points) {
  GpsJob& job = session.job;
  const TrackUploadTexts& texts = session.dialect->trackUpload;
  const char* caption = ctrNumber != 0 ? "Upload CTR" : "Upload track log";
  const GarminProtocolSet& protocols = session.protocols;
  // One record of the count is the header, so the points must leave room for it.
  const int count = static_cast<int>(std::min(points.size(), kMaxRecords - 1));
  if (count == 0) return 0;
  if (protocols.trackTransfer == 0) return Fail(session, texts.noProtocol, caption, false);
  const bool header = protocols.trackTransfer != 300;
  const uint16_t records = static_cast<uint16_t>(header ? count + 1 : count);
  if (Transmit(session, Records(records), texts.recordsNotSent, caption) < 0) return -1;
  if (AwaitAck(session, kPidRecords, texts.recordsAck, caption) < 0) return -1;
  if (header) {
    const std::string_view name = trackName.empty() ? std::string_view(points[0].name) : trackName;
    const uint16_t headerType = protocols.trackTransfer == 301 ? 310 : protocols.trackHeaderType;
    if (Transmit(session, EncodeTrackHeader(headerType, name), texts.headerNotSent, caption) < 0) return -1;
    if (AwaitAck(session, kPidTrackHeader, texts.headerAck, caption) < 0) return -1;
  }
  const size_t pointSize = UploadPointSize(protocols);
  const std::string_view pointNotSent = texts.pointNotSent[std::clamp(protocols.trackTransfer - 300, 0, 2)];
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
    if (Transmit(session, EncodeTrackPoint(point.lat, point.lon, pointSize), pointNotSent, caption) < 0) return -1;
    if (AwaitAck(session, kPidTrackPoint, texts.pointAck, caption) < 0) return -1;
  }
  if (texts.sentStatus) {
    ShowProgress(job, ctrNumber != 0 ? FormatProgress("CTR %: Point % of % sent", ctrNumber, count, count)
                                     : FormatProgress("Point % of % sent", count, count));
  }
  if (Transmit(session, TransferComplete(kCmdTransferTracks), texts.completeNotSent, caption) < 0) return -1;
  if (AwaitAck(session, kPidTransferComplete, texts.completeAck, caption) < 0) return -1;
  if (!texts.doneStatus.empty()) ShowProgress(job, texts.doneStatus);
  PowerOffAfterTransfer(session, false);
  return 0;
}

}  // namespace trelvik::garmin
