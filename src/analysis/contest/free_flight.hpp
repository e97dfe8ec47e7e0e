#pragma once
// The longest free flight: a start, three turnpoints and a finish in the order
// flown, each leg rounded to 0.01 km as the contests count it.
#include <array>
#include <atomic>
#include <optional>

#include "analysis/contest/fcc_distance.hpp"

namespace trelvik::contest {

struct FreeFlightPath {
  double distance = 0.0;         // km, the sum of the rounded legs
  std::array<size_t, 5> fixes{};  // start, three turnpoints, finish
};

// Nothing when `halt` was set before the end or the track has fewer than five
// fixes. Exact: every fix is searched with bounds that never underestimate.
std::optional<FreeFlightPath> LongestFreeFlight(const FccTrack& track, const std::atomic<bool>* halt);

}  // namespace trelvik::contest
