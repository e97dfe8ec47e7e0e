#include "analysis/flight_statistics_reference.hpp"

#include <algorithm>

#include "geo/track_window.hpp"
#include "geo/vincenty.hpp"

namespace trelvik {

FlightStatistics ComputeFlightStatisticsReference(std::span<const TrackPoint> points) {
  FlightStatistics s;
  if (points.empty()) return s;
  s.firstTime = points.front().time;
  s.lastTime = points.back().time;
  s.duration = s.lastTime - s.firstTime;
  int32_t highest = -1000000, lowest = 1000000;
  for (const TrackPoint& p : points) {
    highest = std::max(highest, p.gpsAlt);
    lowest = std::min(lowest, p.gpsAlt);
  }
  s.highestAltitude = GpsAltitudeMetres(highest);
  s.lowestAltitude = GpsAltitudeMetres(lowest);
  for (size_t i = 1; i < points.size(); ++i) {
    s.totalDistance += DistanceOrZero(SemicircleToRadians(points[i - 1].lat, points[i - 1].lon),
                                      SemicircleToRadians(points[i].lat, points[i].lon));
    const int64_t sinceStart = static_cast<int64_t>(points[i].time) - s.firstTime;
    if (sinceStart > 10) s.topSpeed = std::max(s.topSpeed, SpeedOverWindow(points, i, 10));
    if (sinceStart > 60) {
      const SpeedAndClimb recent = RecentSpeedAndClimb(points, i);
      s.greatestMeanSpeed = std::max(s.greatestMeanSpeed, recent.speedKmh);
      s.leastClimb = std::min(s.leastClimb, recent.climbMs);
      s.greatestClimb = std::max(s.greatestClimb, recent.climbMs);
    }
  }
  s.averageSpeed = s.duration > 0 ? s.totalDistance / s.duration * 3.6 : 0;
  s.leastClimb = std::clamp(s.leastClimb, -9999.0, 9999.0);
  s.greatestClimb = std::clamp(s.greatestClimb, -9999.0, 9999.0);
  return s;
}

}  // namespace trelvik
