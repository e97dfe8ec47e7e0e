#pragma once
// The steps between neighbouring points of a track log, each distance measured
// once, so that the speed and climb over the last seconds before every point
// of a flight cost additions instead of ellipsoidal distances.
//
// The windows give the same doubles, bit for bit, as the walks of
// geo/track_window.hpp: each window still adds its steps newest first, in the
// walk's own order (a running sum would round differently), but it visits
// only steps whose time rises, at most one per second of the window.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/bulk_memory.hpp"
#include "geo/track_window.hpp"
#include "records/track_point.hpp"

namespace trelvik {

class TrackLegs {
 public:
  explicit TrackLegs(std::span<const TrackPoint> points);

  // Sum of every step's distance from the first point to the last, in order.
  double TotalMetres() const { return totalMetres_; }

  // As RecentSpeedAndClimb(points, index) and SpeedOverWindow(points, index, windowSeconds).
  SpeedAndClimb RecentSpeedAndClimb(std::size_t index) const;
  double SpeedOverWindow(std::size_t index, int windowSeconds) const;

 private:
  // A step from points[newer - 1] to points[newer] whose time rises.
  struct Rise {
    uint32_t newer = 0;
    uint32_t seconds = 0;
    double metres = 0;
    int32_t olderAltitude = 0;  // decimetres
  };
  struct Walk {
    double metres = 0;
    double oldestAltitude = 0;  // decimetres, interpolated at the window's start
  };

  bool StartsWalk(std::size_t index) const;
  Walk WalkBack(std::size_t index, double window) const;

  std::span<const TrackPoint> points_;
  template <typename T>
  using Bulk = std::vector<T, BulkAllocator<T>>;
  Bulk<Rise> rises_;
  // Per point: how many rises end at or before it, and the last point before
  // it that starts a segment (0 when none), where every walk stops.
  Bulk<uint32_t> risesUpTo_;
  Bulk<uint32_t> segmentStartBefore_;
  double totalMetres_ = 0;
};

}  // namespace trelvik
