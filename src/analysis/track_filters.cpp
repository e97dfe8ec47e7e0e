#include "analysis/track_filters.hpp"

#include <cmath>

#include "geo/vincenty.hpp"

namespace trelvik {
namespace {

double Distance(const TrackPoint& a, const TrackPoint& b) {
  return DistanceOrZero(SemicircleToRadians(a.lat, a.lon), SemicircleToRadians(b.lat, b.lon));
}

// Speed in m/s between two points; 0 for equal times. A step back in time is
// measured by its size, like a step forward (a negative speed has no bucket).
double StepSpeed(const TrackPoint& earlier, const TrackPoint& later) {
  const int64_t seconds = static_cast<int64_t>(later.time) - static_cast<int64_t>(earlier.time);
  if (seconds == 0) return 0;
  return Distance(earlier, later) / static_cast<double>(seconds < 0 ? -seconds : seconds);
}

constexpr int32_t kMinimumForSpeedFilter = 20;
constexpr int32_t kBuckets = 100;
constexpr double kSpeedCeiling = 1000000;
constexpr int32_t kAnchorRun = 10;

}  // namespace

int32_t RemoveTimeReversals(std::vector<TrackPoint>& points) {
  if (points.empty()) return 0;
  size_t kept = 1;
  for (size_t i = 1; i < points.size(); ++i) {
    if (static_cast<int32_t>(points[i].time) >= static_cast<int32_t>(points[kept - 1].time)) {
      points[kept++] = points[i];
    }
  }
  points.resize(kept);
  return static_cast<int32_t>(kept);
}

TimeReversals CountTimeReversals(std::span<const TrackPoint> points) {
  TimeReversals found;
  for (size_t i = 1; i < points.size(); ++i) {
    if (points[i].time < points[i - 1].time) {
      if (found.count++ == 0) found.firstIndex = static_cast<int32_t>(i);
    }
  }
  return found;
}

int32_t RemoveVarioSpikes(std::vector<TrackPoint>& points, int32_t limit) {
  if (limit <= 0 || points.size() < 2) return 0;
  size_t kept = 1;  // points[kept - 1] is the reference
  for (size_t i = 1; i < points.size(); ++i) {
    const TrackPoint& reference = points[kept - 1];
    const int64_t seconds = static_cast<int64_t>(points[i].time) - static_cast<int64_t>(reference.time);
    bool drop = seconds == 0;
    if (!drop) {
      const double climb = (static_cast<double>(points[i].gpsAlt) - reference.gpsAlt) * 0.1 / static_cast<double>(seconds);
      drop = std::fabs(climb) >= limit;
    }
    if (!drop) points[kept++] = points[i];
  }
  const int32_t removed = static_cast<int32_t>(points.size() - kept);
  points.resize(kept);
  return removed;
}

int32_t SpeedAnalysisLimit(std::span<const TrackPoint> points) {
  int32_t histogram[kBuckets] = {};
  for (size_t i = 1; i < points.size(); ++i) {
    double speed = StepSpeed(points[i - 1], points[i]);
    if (speed > kSpeedCeiling) speed = kSpeedCeiling;
    const int32_t bucket = speed >= kBuckets - 1 ? kBuckets - 1 : static_cast<int32_t>(speed);
    ++histogram[bucket];
  }
  int32_t remaining = static_cast<int32_t>(static_cast<int64_t>(points.size()) * 19 / 20);
  int32_t bucket = 0;
  for (; bucket < kBuckets - 1; ++bucket) {
    remaining -= histogram[bucket];
    if (remaining <= 0) break;
  }
  return bucket * 3 + 1;
}

int32_t SpeedAnalysisFilter(std::vector<TrackPoint>& points) {
  const int32_t count = static_cast<int32_t>(points.size());
  if (count < kMinimumForSpeedFilter) return count;
  const double limit = SpeedAnalysisLimit(points);

  int32_t anchor = -1;
  for (int32_t i = 1, run = 0; i < count; ++i) {
    run = StepSpeed(points[i - 1], points[i]) < limit ? run + 1 : 0;
    if (run == kAnchorRun) {
      anchor = i;
      break;
    }
  }
  if (anchor < 0) return 0;

  std::vector<char> keep(count, 0);
  keep[anchor] = 1;
  for (int32_t i = anchor - 1, reference = anchor; i >= 0; --i) {
    if (StepSpeed(points[i], points[reference]) < limit) keep[i] = 1, reference = i;
  }
  for (int32_t i = anchor + 1, reference = anchor; i < count; ++i) {
    if (StepSpeed(points[reference], points[i]) < limit) keep[i] = 1, reference = i;
  }
  size_t kept = 0;
  for (int32_t i = 0; i < count; ++i) {
    if (keep[i]) points[kept++] = points[i];
  }
  points.resize(kept);
  return static_cast<int32_t>(kept);
}

}  // namespace trelvik
