#include "analysis/flight_samples.hpp"

#include <algorithm>

#include "geo/angles.hpp"
#include "geo/transverse_mercator.hpp"

namespace trelvik {

std::vector<int32_t> SampleIndexes(int32_t count) {
  std::vector<int32_t> indexes;
  if (count <= 0) return indexes;
  if (count <= kMaxSamples) {
    indexes.resize(count);
    for (int32_t i = 0; i < count; ++i) indexes[i] = i;
    return indexes;
  }
  // Starting the accumulator at `count` takes the first point; the sum over all
  // points is then exactly kMaxSamples * count, so the last point is taken too.
  indexes.reserve(kMaxSamples);
  int64_t accumulator = count;
  for (int32_t i = 0; i < count; ++i) {
    accumulator += kMaxSamples - 1;
    if (accumulator >= count) {
      indexes.push_back(i);
      accumulator -= count;
    }
  }
  return indexes;
}

FlightSamples SampleFlight(std::span<const TrackPoint> points) {
  FlightSamples samples;
  if (points.empty()) return samples;
  double minLon = SemicircleToRadians(points[0].lon);
  double maxLon = minLon;
  for (const TrackPoint& point : points) {
    const double lon = SemicircleToRadians(point.lon);
    minLon = std::min(minLon, lon);
    maxLon = std::max(maxLon, lon);
  }
  const double centralMeridian = (minLon + maxLon) / 2;

  samples.trackIndex = SampleIndexes(static_cast<int32_t>(points.size()));
  samples.x.resize(samples.trackIndex.size());
  samples.y.resize(samples.trackIndex.size());
  for (size_t s = 0; s < samples.trackIndex.size(); ++s) {
    const TrackPoint& point = points[samples.trackIndex[s]];
    const TmPoint projected = ProjectTm(SemicircleToRadians(point.lat, point.lon), centralMeridian);
    samples.x[s] = projected.x;
    samples.y[s] = projected.y;
  }
  return samples;
}

}  // namespace trelvik
