#pragma once
// Tracks made up for the optimisation's tests and benchmarks.
#include <cstdint>
#include <vector>

#include "analysis/flight_samples.hpp"
#include "records/track_point.hpp"

namespace trelvik::testing {

// A point `north` and `east` metres from 46 N 8 E, `seconds` after a fixed start.
TrackPoint PointAt(double north, double east, uint32_t seconds, int32_t gpsAltDecimetres = 10000);

// A flight of `count` fixes one second apart that circles and wanders all
// day inside a disc of `radius` metres: with a radius below half the closing
// gap every pair of points qualifies for the loop searches.
std::vector<TrackPoint> FlightWithinDisc(int32_t count, double radius, uint32_t seed);

// A random walk of `count` fixes one second apart with steps up to `step` metres.
std::vector<TrackPoint> RandomWalkFlight(int32_t count, double step, uint32_t seed);

// A random walk like RandomWalkFlight whose log is as untidy as real ones:
// pauses in place, repeated times, a clock that steps back (even to before
// the first point), gaps of minutes
// to hours, segment starts anywhere (the first point may or may not carry
// one), altitude spikes and rare steps of hundreds of kilometres.
std::vector<TrackPoint> UntidyFlight(int32_t count, uint32_t seed);

// Samples on an integer grid of `cells` x `cells` points `spacing` metres
// apart: few distinct distances, so ties are everywhere.
FlightSamples GridSamples(int32_t n, int32_t cells, double spacing, uint32_t seed);

}  // namespace trelvik::testing
