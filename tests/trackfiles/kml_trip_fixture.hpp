#pragma once
// A small flight with a hand-made optimisation result, shared by the trip
// writer tests: six points five seconds apart, 0.01 degree apart.
#include <vector>

#include "trackfiles/kml_trip.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik::testing {

inline TrackTime FixtureStart() { return TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 10, 0, 0, 0}); }

inline std::vector<TrackPoint> FixturePoints(size_t count = 6) {
  std::vector<TrackPoint> points(count);
  for (size_t i = 0; i < count; ++i) {
    TrackPoint& p = points[i];
    p.flags = i == 0 ? kNewSegment : 0;
    p.time = FixtureStart() + static_cast<TrackTime>(5 * i);
    p.lat = DegreesToSemicircle(47.0 + 0.01 * static_cast<double>(i));
    p.lon = DegreesToSemicircle(8.5 + 0.01 * static_cast<double>(i));
    p.gpsAlt = 10000 + 10 * static_cast<int32_t>(i);
    p.baroAlt = 990 + static_cast<int32_t>(i);
  }
  return points;
}

inline OptimisationResult FixtureOptimisation() {
  OptimisationResult r;
  r.optimised = 1;
  r.fivePoints = {{0, 1, 2, 3, 5}, {1000, 2000, 3000, 4000}, 10000};
  r.fourPoints = {{0, 1, 3, 5}, {1500, 2500, 3500}, 7500};
  r.threePoints = {{0, 2, 5}, {1234.5, 2345.6}, 3580.1};
  r.twoPoints = {{0, 5}, {5000}, 5000};
  r.outAndReturn = {0, 3, 5, 3000, 100, 5900};
  r.flatTriangle = {0, 1, 2, 4, 5, {1000, 1100, 1200}, 50, 3250};
  return r;  // no FAI triangle
}

inline KmlTripInput FixtureInput(const std::vector<TrackPoint>& points) {
  KmlTripInput in;
  in.points = points;
  in.firstTime = points.front().time;
  in.lastTime = points.back().time;
  in.duration = in.lastTime - in.firstTime;
  in.downloaded = FixtureStart() + 8 * 3600;
  in.isSigned = 1;
  in.hasIds = 1;
  in.compId = 56;
  in.civlId = 1234;
  in.utcTimes = 1;
  in.hasPressureAltitude = 1;
  in.lowestAltitude = 1000;
  in.highestAltitude = 1005;
  in.topSpeed = 35.4;
  in.greatestMeanSpeed = 30.5;
  in.totalDistance = 12345.678;
  in.averageSpeed = 20;
  in.leastClimb = -1.25;
  in.greatestClimb = 2.5;
  in.optimisation = FixtureOptimisation();
  in.loopFlightGap = 800;
  in.programVersion = 472;
  return in;
}

}  // namespace trelvik::testing
