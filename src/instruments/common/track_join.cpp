#include "instruments/common/track_join.hpp"

#include "access/estimate_remaining.hpp"
#include "access/job_report.hpp"
#include "base/c_format.hpp"
#include "records/format_progress.hpp"

namespace trelvik {

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

std::string OverlapText(const std::vector<TrackPoint>& kept, const std::vector<TrackPoint>& track) {
  return CFormat("Overlapping tracks (%08X,%08X)(%08X,%08X)", kept.front().time, kept.back().time, track.front().time,
                 track.back().time);
}

void ReportTrackPoint(GpsJob& job, const TrackPoint& point, size_t n, size_t every, bool receivingStatus) {
  if (n == 1) {
    if (receivingStatus) ShowProgress(job, "Receiving track log");
    job.firstFixTime = point.time;
    job.firstFixTick = JobTick(job);
  }
  NotifyPosition(job, point);
  if (every == 0 || n % every != 0) return;
  const MinutesSeconds left = SplitRemaining(EstimateRemaining(job));
  ShowProgress(job, FormatProgress("Track position % (%m %s)", static_cast<int64_t>(n), left.minutes, left.seconds));
  NotifyText(job, FormatProgress("Progress %/?", static_cast<int64_t>(n)));
}

}  // namespace trelvik
