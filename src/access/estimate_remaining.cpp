#include "access/estimate_remaining.hpp"

#include "access/job_report.hpp"

namespace trelvik {
namespace {

int Capped(double seconds) {
  if (!(seconds > 0)) return 0;  // also NaN
  if (seconds >= kMaxRemainingSeconds) return kMaxRemainingSeconds;
  return static_cast<int>(seconds);
}

}  // namespace

int EstimateRemaining(const GpsJob& job, uint32_t nowTick) {
  const double elapsedMs = static_cast<double>(nowTick - job.firstFixTick);
  const int64_t received = static_cast<int64_t>(job.points.size());
  if (job.expectedCount > 0) {
    if (received == 0) return kMaxRemainingSeconds;
    return Capped(static_cast<double>(job.expectedCount - received) * elapsedMs * 0.001 /
                  static_cast<double>(received));
  }
  if (received == 0) return kMaxRemainingSeconds;
  const TrackTime last = job.points.back().time;
  // A last point before the first fix counts as nothing done yet.
  if (last <= job.firstFixTime) return kMaxRemainingSeconds;
  const double done = static_cast<double>(last - job.firstFixTime);
  const uint64_t end = static_cast<uint64_t>(job.firstFixTime) + job.expectedDuration;
  const double left = end > last ? static_cast<double>(end - last) : 0.0;
  return Capped(left * elapsedMs * 0.001 / done);
}

int EstimateRemaining(GpsJob& job) { return EstimateRemaining(job, JobTick(job)); }

}  // namespace trelvik
