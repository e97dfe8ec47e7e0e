#include "geo/track_window.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geo/angles.hpp"
#include "geo/vincenty.hpp"

namespace trelvik {
namespace {

// Steps along the meridian differ in length by a few parts in 100000.
constexpr double kSpeedTolerance = 0.01;  // km/h

// A glider flying due north: `step` metres every `seconds`, climbing `climbDm` per fix.
std::vector<TrackPoint> StraightTrack(int count, uint32_t seconds, double stepMetres, int32_t climbDm) {
  const double metresPerDegree = 111150.0;  // near 46 N
  std::vector<TrackPoint> points(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    TrackPoint& p = points[static_cast<size_t>(i)];
    p.time = 1000 + static_cast<uint32_t>(i) * seconds;
    p.lat = RadiansToSemicircle((46.0 + i * stepMetres / metresPerDegree) * M_PI / 180);
    p.lon = RadiansToSemicircle(7.5 * M_PI / 180);
    p.gpsAlt = 15000 + i * climbDm;
  }
  points[0].flags = kNewSegment;
  return points;
}

double StepMetres(const std::vector<TrackPoint>& points) {
  return DistanceOrZero(SemicircleToRadians(points[0].lat, points[0].lon),
                        SemicircleToRadians(points[1].lat, points[1].lon));
}

TEST(RecentSpeedAndClimbTest, FirstPointAndSegmentStartGiveZero) {
  std::vector<TrackPoint> points = StraightTrack(20, 10, 100, 20);
  points[0].flags = 0;
  SpeedAndClimb result = RecentSpeedAndClimb(points, 0);
  EXPECT_EQ(result.speedKmh, 0.0);
  EXPECT_EQ(result.climbMs, 0.0);
  points[12].flags = kNewSegment;
  result = RecentSpeedAndClimb(points, 12);
  EXPECT_EQ(result.speedKmh, 0.0);
  EXPECT_EQ(result.climbMs, 0.0);
}

TEST(RecentSpeedAndClimbTest, FullWindowOfWholeSteps) {
  const std::vector<TrackPoint> points = StraightTrack(20, 10, 100, 20);
  const SpeedAndClimb result = RecentSpeedAndClimb(points, 10);
  EXPECT_NEAR(result.speedKmh, StepMetres(points) * 6 * 0.06, kSpeedTolerance);
  EXPECT_NEAR(result.climbMs, 0.2, 1e-6);
}

TEST(RecentSpeedAndClimbTest, LastStepCountsOnlyItsShareOfTheWindow) {
  // 25 s steps: two whole steps (50 s) and 10/25 of the third.
  const std::vector<TrackPoint> points = StraightTrack(10, 25, 250, 50);
  const SpeedAndClimb result = RecentSpeedAndClimb(points, 6);
  EXPECT_NEAR(result.speedKmh, StepMetres(points) * 2.4 * 0.06, kSpeedTolerance);
  EXPECT_NEAR(result.climbMs, 120 * 0.001666667, 1e-9);
}

TEST(RecentSpeedAndClimbTest, ShortLogStillDividesBySixtySeconds) {
  const std::vector<TrackPoint> points = StraightTrack(4, 10, 100, 20);
  const SpeedAndClimb result = RecentSpeedAndClimb(points, 3);
  EXPECT_NEAR(result.speedKmh, StepMetres(points) * 3 * 0.06, kSpeedTolerance);
  EXPECT_NEAR(result.climbMs, 60 * 0.001666667, 1e-9);
}

TEST(RecentSpeedAndClimbTest, WalkStopsAfterUsingASegmentStart) {
  std::vector<TrackPoint> points = StraightTrack(20, 10, 100, 20);
  points[8].flags = kNewSegment;
  const SpeedAndClimb result = RecentSpeedAndClimb(points, 10);
  EXPECT_NEAR(result.speedKmh, StepMetres(points) * 2 * 0.06, kSpeedTolerance);
  EXPECT_NEAR(result.climbMs, 40 * 0.001666667, 1e-9);
}

TEST(RecentSpeedAndClimbTest, RepeatedAndBackwardTimesAddNothing) {
  std::vector<TrackPoint> points = StraightTrack(20, 10, 100, 20);
  std::vector<TrackPoint> withRepeat = points;
  withRepeat[9].time = withRepeat[8].time;  // the step 8->9 covers no time
  const SpeedAndClimb repeated = RecentSpeedAndClimb(withRepeat, 12);
  // Steps 12->10 (20 s), 10->9 (20 s), 9->8 (0 s: its distance is not added), 8->6 (20 s).
  EXPECT_NEAR(repeated.speedKmh, StepMetres(points) * 5 * 0.06, kSpeedTolerance);
  withRepeat[9].time = withRepeat[8].time - 5;
  const SpeedAndClimb backward = RecentSpeedAndClimb(withRepeat, 12);
  EXPECT_GT(backward.speedKmh, 0.0);
  EXPECT_LT(backward.speedKmh, 100.0);
}

TEST(SpeedOverWindowTest, AveragesOverTheWindow) {
  const std::vector<TrackPoint> points = StraightTrack(40, 10, 100, 0);
  EXPECT_NEAR(SpeedOverWindow(points, 30, 30), StepMetres(points) * 3 * 3.6 / 30, kSpeedTolerance);
  EXPECT_NEAR(SpeedOverWindow(points, 30, 25), StepMetres(points) * 2.5 * 3.6 / 25, kSpeedTolerance);
  // A window longer than the log: the distance flown still divides by the whole window.
  EXPECT_NEAR(SpeedOverWindow(points, 5, 100), StepMetres(points) * 5 * 3.6 / 100, kSpeedTolerance);
}

TEST(SpeedOverWindowTest, NothingToMeasure) {
  const std::vector<TrackPoint> points = StraightTrack(10, 10, 100, 0);
  EXPECT_EQ(SpeedOverWindow(points, 0, 30), 0.0);
  EXPECT_EQ(SpeedOverWindow(points, 5, 0), 0.0);
  EXPECT_EQ(SpeedOverWindow(points, 10, 30), 0.0);  // past the end
  EXPECT_EQ(RecentSpeedAndClimb(points, 10).speedKmh, 0.0);
  EXPECT_EQ(SpeedOverWindow({}, 0, 30), 0.0);
}

}  // namespace
}  // namespace trelvik
