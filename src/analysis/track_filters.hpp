#pragma once
// Filters that remove points no glider could have flown. Each works in place
// on a copy of the points and shrinks it; none ever fails.
#include <cstdint>
#include <span>
#include <vector>

#include "records/track_point.hpp"

namespace trelvik {

// The timestamp filter: keeps the first point and every point whose time (as a
// signed value) is not below the last kept point's. Returns the new count.
int32_t RemoveTimeReversals(std::vector<TrackPoint>& points);

struct TimeReversals {
  int32_t count = 0;       // points whose time is below their predecessor's
  int32_t firstIndex = -1;  // the first of them; -1 when none
};
TimeReversals CountTimeReversals(std::span<const TrackPoint> points);

// The vario filter (limit in whole m/s; 0 = off): drops every point that
// shares its reference's time or climbs or sinks from it at `limit` or more.
// Returns the number dropped.
int32_t RemoveVarioSpikes(std::vector<TrackPoint>& points, int32_t limit);

// The speed-analysis filter. Logs of fewer than 20 points are left alone.
// Returns the new count, or 0 when no run of 10 plausible steps exists; the
// points are then left as they were (the callers decide what too few means).
int32_t SpeedAnalysisFilter(std::vector<TrackPoint>& points);

// The speed limit (m/s) the filter derives from a log's step speeds: 3 i + 1
// for the bucket i in which 95 % of the point count is reached.
int32_t SpeedAnalysisLimit(std::span<const TrackPoint> points);

}  // namespace trelvik
