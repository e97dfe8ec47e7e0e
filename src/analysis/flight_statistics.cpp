#include "analysis/flight_statistics.hpp"

#include <algorithm>
#include <cmath>

#include "analysis/track_legs.hpp"
#include "base/c_format.hpp"

namespace trelvik {
namespace {

constexpr double kClimbLimit = 9999;

std::string Clock(TrackTime time) {
  const SystemTime t = DateFromTrackTime(time);
  return CFormat("%02d:%02d:%02d", t.hour, t.minute, t.second);
}

}  // namespace

FlightStatistics ComputeFlightStatistics(std::span<const TrackPoint> points) {
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
  const TrackLegs legs(points);
  s.totalDistance = legs.TotalMetres();
  for (size_t i = 1; i < points.size(); ++i) {
    // Signed, so that a point stamped before the first one counts as early, not late.
    const int64_t sinceStart = static_cast<int64_t>(points[i].time) - s.firstTime;
    if (sinceStart > 10) s.topSpeed = std::max(s.topSpeed, legs.SpeedOverWindow(i, 10));
    if (sinceStart > 60) {
      const SpeedAndClimb recent = legs.RecentSpeedAndClimb(i);
      s.greatestMeanSpeed = std::max(s.greatestMeanSpeed, recent.speedKmh);
      s.leastClimb = std::min(s.leastClimb, recent.climbMs);
      s.greatestClimb = std::max(s.greatestClimb, recent.climbMs);
    }
  }
  s.averageSpeed = s.duration > 0 ? s.totalDistance / s.duration * 3.6 : 0;
  s.leastClimb = std::clamp(s.leastClimb, -kClimbLimit, kClimbLimit);
  s.greatestClimb = std::clamp(s.greatestClimb, -kClimbLimit, kClimbLimit);
  return s;
}

FlightStatisticsTexts FormatFlightStatistics(const FlightStatistics& s) {
  FlightStatisticsTexts t;
  const SystemTime day = DateFromTrackTime(s.firstTime);
  t.date = CFormat("%4d-%02d-%02d", day.year, day.month, day.day);
  t.start = Clock(s.firstTime);
  t.finish = Clock(s.lastTime);
  t.duration = CFormat("%d : %02d : %02d", static_cast<int>(s.duration / 3600), static_cast<int>(s.duration / 60 % 60),
                       static_cast<int>(s.duration % 60));
  t.highest = CFormat("%d m", s.highestAltitude);
  t.lowest = CFormat("%d m", s.lowestAltitude);
  t.meanSpeed = CFormat("%d km/h", static_cast<int>(std::lround(s.greatestMeanSpeed)));
  t.topSpeed = CFormat("%d km/h", static_cast<int>(std::lround(s.topSpeed)));
  t.distance = CFormat("%.1f km", s.totalDistance / 1000);
  return t;
}

std::array<std::string, 7> FormatOptimisedDistances(const OptimisationResult& r) {
  const double metres[7] = {r.twoPoints.total,       r.threePoints.total,  r.fourPoints.total, r.fivePoints.total,
                            r.outAndReturn.distance, r.flatTriangle.distance, r.faiTriangle.distance};
  std::array<std::string, 7> texts;
  for (int i = 0; i < 7; ++i) texts[i] = CFormat("%.2f", metres[i] / 1000);
  return texts;
}

}  // namespace trelvik
