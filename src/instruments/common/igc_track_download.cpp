#include "instruments/common/igc_track_download.hpp"

#include "access/job_report.hpp"
#include "instruments/common/read_loop.hpp"

namespace trelvik {

int ReceiveIgcTrack(GpsJob& job, IgcTrackReceiver& receiver, std::string& raw, std::chrono::milliseconds silence,
                    std::string_view caption, const std::function<void(size_t before)>& onPoints) {
  receiver.Start(job.points, raw);
  const ReadEnd end = ReadLoop(job, silence, true, [&](std::span<const uint8_t> bytes) {
    const size_t before = receiver.PointCount();
    const bool ok = receiver.Feed(bytes);
    onPoints(before);
    return ok;
  });
  if (ReportReadFailure(job, end, "E203 COM port read error", caption) < 0) return -1;
  const size_t before = receiver.PointCount();
  if (end == ReadEnd::TimedOut && receiver.Finish()) onPoints(before);
  if (receiver.Status().fault != IgcFault::None) {
    ReportError(job, IgcFaultText(receiver.Status()), caption);
    return -1;
  }
  return 0;
}

bool JoinTracks(std::vector<TrackPoint>& kept, std::vector<TrackPoint>& track) {
  if (kept.empty() || track.empty()) return false;
  if (kept.back().time < track.front().time) {
    track.front().flags &= ~kNewSegment;
    kept.insert(kept.end(), track.begin(), track.end());
    return true;
  }
  if (track.back().time < kept.front().time) {
    kept.front().flags &= ~kNewSegment;
    track.insert(track.end(), kept.begin(), kept.end());
    kept.swap(track);
    return true;
  }
  return false;
}

}  // namespace trelvik
