#include "analysis/contest/contest_fixes.hpp"

#include "geo/angles.hpp"

namespace trelvik::contest {

std::vector<GeoFix> ContestFixes(std::span<const TimedFix> fixes) {
  std::vector<GeoFix> kept;
  kept.reserve(fixes.size());
  for (size_t i = 0; i < fixes.size(); ++i) {
    if (i == 0 || fixes[i].time != fixes[i - 1].time) kept.push_back(fixes[i].fix);
  }
  return kept;
}

std::vector<GeoFix> ContestFixes(std::span<const TrackPoint> points) {
  constexpr double kDegreesPerSemicircle = 180.0 / 2147483648.0;
  std::vector<TimedFix> timed;
  timed.reserve(points.size());
  for (const TrackPoint& point : points) {
    timed.push_back({point.time, {point.lat * kDegreesPerSemicircle, point.lon * kDegreesPerSemicircle}});
  }
  return ContestFixes(timed);
}

}  // namespace trelvik::contest
