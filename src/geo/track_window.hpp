#pragma once
// Speed and climb over the last seconds of a track log, walking back from one point.
#include <cstddef>
#include <span>

#include "records/track_point.hpp"

namespace trelvik {

struct SpeedAndClimb {
  double speedKmh = 0;
  double climbMs = 0;
};

// Over the last 60 s before points[index]; a point that starts a segment (or
// the first point) gives 0 and 0. A walk that reaches the start of the log or
// of its segment before 60 s are covered still divides by 60 s.
SpeedAndClimb RecentSpeedAndClimb(std::span<const TrackPoint> points, std::size_t index);

// Speed in km/h over the last `windowSeconds` before points[index], same walk.
double SpeedOverWindow(std::span<const TrackPoint> points, std::size_t index, int windowSeconds);

}  // namespace trelvik
