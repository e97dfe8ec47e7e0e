#pragma once
// The fixes a contest scores: positions in degrees, one per moment of time.
#include <span>
#include <vector>

#include "analysis/contest/fcc_distance.hpp"
#include "records/track_point.hpp"

namespace trelvik::contest {

// A fix with the same time as the one kept before it adds nothing a contest
// counts and is dropped.
struct TimedFix {
  int64_t time;
  GeoFix fix;
};
std::vector<GeoFix> ContestFixes(std::span<const TimedFix> fixes);

// Every point of a track log (they carry no validity flag).
std::vector<GeoFix> ContestFixes(std::span<const TrackPoint> points);

}  // namespace trelvik::contest
