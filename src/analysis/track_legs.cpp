#include "analysis/track_legs.hpp"

#include <algorithm>

#include "analysis/parallel_workers.hpp"
#include "geo/angles.hpp"
#include "geo/vincenty.hpp"

namespace trelvik {

namespace {

// Below this many points the second worker's start costs more than it saves.
constexpr std::size_t kPointsForTwoWorkers = 2000;

double StepMetres(std::span<const TrackPoint> points, std::size_t newer) {
  const TrackPoint& a = points[newer - 1];
  const TrackPoint& b = points[newer];
  return DistanceOrZero(SemicircleToRadians(a.lat, a.lon), SemicircleToRadians(b.lat, b.lon));
}

}  // namespace

TrackLegs::TrackLegs(std::span<const TrackPoint> points) : points_(points) {
  risesUpTo_.resize(points.size());
  segmentStartBefore_.resize(points.size());
  rises_.reserve(points.size());
  // The ellipsoidal distances are most of the work and independent of one
  // another: the workers measure a contiguous share each, and the sums below
  // still add them in order.
  Bulk<double> steps(points.size());
  const int workers = points.size() >= kPointsForTwoWorkers ? OptimisationWorkerCount() : 1;
  RunOnWorkers(workers, [&](int worker) {
    const std::size_t first = std::max<std::size_t>(1, points.size() * worker / workers);
    const std::size_t last = points.size() * (worker + 1) / workers;
    for (std::size_t i = first; i < last; ++i) steps[i] = StepMetres(points, i);
  });
  uint32_t segmentStart = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    segmentStartBefore_[i] = segmentStart;
    if (points[i].flags & kNewSegment) segmentStart = static_cast<uint32_t>(i);
    if (i == 0) continue;
    const TrackPoint& older = points[i - 1];
    const TrackPoint& newer = points[i];
    const double metres = steps[i];
    totalMetres_ += metres;
    // Signed: a clock that steps back counts like a repeated time, which no window uses.
    const int64_t step = static_cast<int64_t>(newer.time) - static_cast<int64_t>(older.time);
    if (step > 0) rises_.push_back({static_cast<uint32_t>(i), static_cast<uint32_t>(step), metres, older.gpsAlt});
    risesUpTo_[i] = static_cast<uint32_t>(rises_.size());
  }
}

bool TrackLegs::StartsWalk(std::size_t index) const {
  return index < points_.size() && !(points_[index].flags & kNewSegment);
}

// The operations, their order and their types are those of the walk in
// geo/track_window.cpp; steps whose time does not rise change nothing there
// and are not visited here.
TrackLegs::Walk TrackLegs::WalkBack(std::size_t index, double window) const {
  Walk walk;
  walk.oldestAltitude = points_[index].gpsAlt;
  double covered = 0;
  const uint32_t stop = segmentStartBefore_[index];
  for (uint32_t r = risesUpTo_[index]; r > 0 && rises_[r - 1].newer > stop; --r) {
    const Rise& rise = rises_[r - 1];
    const double step = static_cast<double>(rise.seconds);
    if (covered + step >= window) {
      const double share = (window - covered) / step;
      walk.metres += share * rise.metres;
      walk.oldestAltitude += share * (rise.olderAltitude - walk.oldestAltitude);
      return walk;
    }
    covered += step;
    walk.metres += rise.metres;
    walk.oldestAltitude = rise.olderAltitude;
  }
  return walk;
}

SpeedAndClimb TrackLegs::RecentSpeedAndClimb(std::size_t index) const {
  if (!StartsWalk(index)) return {};
  const Walk walk = WalkBack(index, 60);
  SpeedAndClimb result;
  result.speedKmh = walk.metres * 0.06;
  result.climbMs = (points_[index].gpsAlt - walk.oldestAltitude) * 0.001666667;
  return result;
}

double TrackLegs::SpeedOverWindow(std::size_t index, int windowSeconds) const {
  if (windowSeconds <= 0 || !StartsWalk(index)) return 0;
  const Walk walk = WalkBack(index, windowSeconds);
  return walk.metres * 3.6 / windowSeconds;
}

}  // namespace trelvik
