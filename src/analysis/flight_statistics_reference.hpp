#pragma once
// The flight statistics as first written, where every window walks back over
// the track and measures its own distances. Kept as the yardstick that the
// computation in use must equal bit for bit (tests and benchmarks); nothing
// in the program calls it.
#include <span>

#include "analysis/flight_statistics.hpp"

namespace trelvik {

FlightStatistics ComputeFlightStatisticsReference(std::span<const TrackPoint> points);

}  // namespace trelvik
