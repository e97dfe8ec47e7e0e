#pragma once
// The coarse stage of the flight optimisation works on at most 2000 points of
// the flight, projected onto one Transverse Mercator plane, with distances in
// whole metres. Every coarse engine builds its distances with CellMetres so
// that all of them see the very same integers.
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "records/track_point.hpp"

namespace trelvik {

inline constexpr int32_t kMaxSamples = 2000;

// Plane distances beyond this are clamped. Only a track spread around the
// globe gets near it (the projection grows without bound far from its central
// meridian); the clamp keeps sums of four cells and the 28 % test inside 32 bits.
inline constexpr int32_t kMaxCellMetres = 500000000;

struct FlightSamples {
  std::vector<double> x;               // metres east of the central meridian
  std::vector<double> y;               // metres north
  std::vector<int32_t> trackIndex;     // the track point each sample stands for
  int32_t Count() const { return static_cast<int32_t>(trackIndex.size()); }
};

// The indexes of the points that become samples: all of them up to 2000
// points, else exactly 2000 spread by an error accumulator, first and last included.
std::vector<int32_t> SampleIndexes(int32_t count);

// Samples projected about the mean of the smallest and greatest longitude.
// Throws std::bad_alloc like any allocation; OptimiseFlight turns that into -1.
FlightSamples SampleFlight(std::span<const TrackPoint> points);

// The plane distance between two samples rounded to whole metres (add 0.5,
// truncate), clamped to kMaxCellMetres (NaN included).
inline int32_t CellMetres(double dx, double dy) {
  double rounded = std::sqrt(dx * dx + dy * dy) + 0.5;
  rounded = rounded < kMaxCellMetres ? rounded : kMaxCellMetres;
  return static_cast<int32_t>(rounded);
}

inline int32_t CellMetres(const FlightSamples& samples, int32_t i, int32_t j) {
  return CellMetres(samples.x[j] - samples.x[i], samples.y[j] - samples.y[i]);
}

}  // namespace trelvik
