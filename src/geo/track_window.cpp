#include "geo/track_window.hpp"

#include <cstdint>

#include "geo/angles.hpp"
#include "geo/vincenty.hpp"

namespace trelvik {
namespace {

struct WindowWalk {
  double metres = 0;
  double oldestAltitude = 0;  // decimetres, interpolated at the window's start
};

// Walks back from points[index] until `window` seconds are covered, the log
// starts, or a point that starts a segment has been used.
WindowWalk Walk(std::span<const TrackPoint> points, std::size_t index, double window) {
  WindowWalk walk;
  walk.oldestAltitude = points[index].gpsAlt;
  double covered = 0;
  for (std::size_t i = index; i > 0; --i) {
    const TrackPoint& newer = points[i];
    const TrackPoint& older = points[i - 1];
    const double metres =
        DistanceOrZero(SemicircleToRadians(older.lat, older.lon), SemicircleToRadians(newer.lat, newer.lon));
    // Signed: a clock that steps back counts like a repeated time, not as ages.
    const int64_t step = static_cast<int64_t>(newer.time) - static_cast<int64_t>(older.time);
    if (step > 0) {
      if (covered + static_cast<double>(step) >= window) {
        const double share = (window - covered) / static_cast<double>(step);
        walk.metres += share * metres;
        walk.oldestAltitude += share * (older.gpsAlt - walk.oldestAltitude);
        return walk;
      }
      covered += static_cast<double>(step);
      walk.metres += metres;
      walk.oldestAltitude = older.gpsAlt;
    }
    if (older.flags & kNewSegment) break;
  }
  return walk;
}

bool StartsWalk(std::span<const TrackPoint> points, std::size_t index) {
  return index < points.size() && !(points[index].flags & kNewSegment);
}

}  // namespace

SpeedAndClimb RecentSpeedAndClimb(std::span<const TrackPoint> points, std::size_t index) {
  if (!StartsWalk(points, index)) return {};
  const WindowWalk walk = Walk(points, index, 60);
  SpeedAndClimb result;
  result.speedKmh = walk.metres * 0.06;
  result.climbMs = (points[index].gpsAlt - walk.oldestAltitude) * 0.001666667;
  return result;
}

double SpeedOverWindow(std::span<const TrackPoint> points, std::size_t index, int windowSeconds) {
  if (windowSeconds <= 0 || !StartsWalk(points, index)) return 0;
  const WindowWalk walk = Walk(points, index, windowSeconds);
  return walk.metres * 3.6 / windowSeconds;
}

}  // namespace trelvik
