#include "analysis/generated_tracks.hpp"

#include <cmath>
#include <random>

#include "geo/angles.hpp"

namespace trelvik::testing {
namespace {

constexpr double kStartLat = 46.0, kStartLon = 8.0;
constexpr double kMetresPerDegree = 111320.0;
constexpr uint32_t kStartTime = 1000000000;

}  // namespace

TrackPoint PointAt(double north, double east, uint32_t seconds, int32_t gpsAltDecimetres) {
  const double lat = kStartLat + north / kMetresPerDegree;
  const double lon = kStartLon + east / (kMetresPerDegree * std::cos(kStartLat * M_PI / 180));
  TrackPoint point;
  point.time = kStartTime + seconds;
  point.lat = RadiansToSemicircle(lat * M_PI / 180);
  point.lon = RadiansToSemicircle(lon * M_PI / 180);
  point.gpsAlt = gpsAltDecimetres;
  return point;
}

std::vector<TrackPoint> FlightWithinDisc(int32_t count, double radius, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<TrackPoint> points;
  points.reserve(count);
  double centreN = 0, centreE = 0, heading = 0;
  const double circle = radius * 0.25;
  for (int32_t i = 0; i < count; ++i) {
    // Thermal circles of a quarter of the radius around a centre that drifts.
    heading += 2 * M_PI / (20 + 10 * unit(random));
    centreN += (unit(random) - 0.5) * 6;
    centreE += (unit(random) - 0.5) * 6;
    const double reach = std::hypot(centreN, centreE);
    if (reach > radius - circle) {
      centreN *= (radius - circle) / reach;
      centreE *= (radius - circle) / reach;
    }
    TrackPoint point = PointAt(centreN + circle * std::cos(heading), centreE + circle * std::sin(heading),
                               static_cast<uint32_t>(i), 10000 + static_cast<int32_t>(500 * std::sin(i / 300.0)));
    if (i == 0) point.flags = kNewSegment;
    points.push_back(point);
  }
  return points;
}

std::vector<TrackPoint> RandomWalkFlight(int32_t count, double step, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::vector<TrackPoint> points;
  double north = 0, east = 0;
  for (int32_t i = 0; i < count; ++i) {
    north += step * unit(random);
    east += step * unit(random);
    points.push_back(PointAt(north, east, static_cast<uint32_t>(i)));
  }
  if (!points.empty()) points[0].flags = kNewSegment;
  return points;
}

std::vector<TrackPoint> UntidyFlight(int32_t count, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<TrackPoint> points;
  double north = 0, east = 0;
  int64_t seconds = 3 * 3600;
  int32_t altitude = 10000;
  int32_t pause = 0;
  for (int32_t i = 0; i < count; ++i) {
    const double event = unit(random);
    if (pause > 0) {
      --pause;  // standing still, time running
    } else if (event < 0.01) {
      pause = static_cast<int32_t>(5 + 100 * unit(random));
    } else if (event < 0.012) {
      north += 300000 * (unit(random) - 0.5);  // a position spike
    } else {
      north += 40 * (unit(random) - 0.5);
      east += 40 * (unit(random) - 0.5);
    }
    const double clock = unit(random);
    if (clock < 0.05) {
      // repeated time
    } else if (clock < 0.07) {
      seconds -= static_cast<int64_t>(1 + 120 * unit(random));
    } else if (clock < 0.071) {
      seconds -= static_cast<int64_t>(3600 + 10800 * unit(random));  // even before the first point
    } else if (clock < 0.075) {
      seconds += static_cast<int64_t>(60 + 7200 * unit(random));
    } else if (clock < 0.2) {
      seconds += static_cast<int64_t>(2 + 8 * unit(random));
    } else {
      seconds += 1;
    }
    if (seconds < 0) seconds = 0;
    altitude += static_cast<int32_t>(60 * (unit(random) - 0.5));
    if (unit(random) < 0.003) altitude += static_cast<int32_t>(2000000 * (unit(random) - 0.5));
    TrackPoint point = PointAt(north, east, static_cast<uint32_t>(seconds), altitude);
    if (unit(random) < (i == 0 ? 0.5 : 0.005)) point.flags = kNewSegment;
    points.push_back(point);
  }
  return points;
}

FlightSamples GridSamples(int32_t n, int32_t cells, double spacing, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int32_t> cell(0, cells - 1);
  FlightSamples samples;
  for (int32_t i = 0; i < n; ++i) {
    samples.x.push_back(cell(random) * spacing);
    samples.y.push_back(cell(random) * spacing);
    samples.trackIndex.push_back(i);
  }
  return samples;
}

}  // namespace trelvik::testing
