#include "analysis/track_filters.hpp"

#include <gtest/gtest.h>

#include "analysis/generated_tracks.hpp"

namespace trelvik {
namespace {

using testing::PointAt;

std::vector<TrackPoint> Times(std::initializer_list<uint32_t> seconds) {
  std::vector<TrackPoint> points;
  for (const uint32_t t : seconds) points.push_back(PointAt(0, 0, t));
  return points;
}

std::vector<uint32_t> SecondsOf(const std::vector<TrackPoint>& points) {
  std::vector<uint32_t> seconds;
  for (const TrackPoint& p : points) seconds.push_back(p.time - points.front().time);
  return seconds;
}

TEST(TimestampFilter, DropsPointsBelowTheLastKeptTime) {
  std::vector<TrackPoint> points = Times({10, 20, 15, 18, 20, 30, 5});
  EXPECT_EQ(RemoveTimeReversals(points), 4);
  EXPECT_EQ(SecondsOf(points), (std::vector<uint32_t>{0, 10, 10, 20}));
}

TEST(TimestampFilter, CountsReversalsAgainstTheDirectPredecessor) {
  const TimeReversals found = CountTimeReversals(Times({10, 20, 15, 18, 17, 30}));
  EXPECT_EQ(found.count, 2);
  EXPECT_EQ(found.firstIndex, 2);
  EXPECT_EQ(CountTimeReversals(Times({1, 2, 2, 3})).firstIndex, -1);
}

TEST(VarioFilter, DropsEqualTimesAndSteepStepsKeepingTheReference) {
  std::vector<TrackPoint> points = {PointAt(0, 0, 0, 1000), PointAt(0, 0, 0, 1000),   // same time: dropped
                                    PointAt(0, 0, 1, 1200),                           // 20 m in 1 s: dropped
                                    PointAt(0, 0, 2, 1190),                           // 9.5 m/s from t0: kept
                                    PointAt(0, 0, 12, 1090)};                         // -1 m/s: kept
  EXPECT_EQ(RemoveVarioSpikes(points, 10), 2);
  EXPECT_EQ(SecondsOf(points), (std::vector<uint32_t>{0, 2, 12}));
}

TEST(VarioFilter, OffAtZeroAndForASinglePoint) {
  std::vector<TrackPoint> points = Times({0, 0, 0});
  EXPECT_EQ(RemoveVarioSpikes(points, 0), 0);
  std::vector<TrackPoint> one = Times({0});
  EXPECT_EQ(RemoveVarioSpikes(one, 5), 0);
  EXPECT_EQ(points.size(), 3u);
}

// `steps` one-second steps of the given lengths in metres, northwards.
std::vector<TrackPoint> Steps(const std::vector<double>& metres) {
  std::vector<TrackPoint> points = {PointAt(0, 0, 0)};
  double north = 0;
  for (size_t i = 0; i < metres.size(); ++i) points.push_back(PointAt(north += metres[i], 0, i + 1));
  return points;
}

TEST(SpeedAnalysisFilter, LeavesNineteenPointsAlone) {
  std::vector<double> wild(18, 5000);
  std::vector<TrackPoint> points = Steps(wild);
  ASSERT_EQ(points.size(), 19u);
  EXPECT_EQ(SpeedAnalysisFilter(points), 19);
}

TEST(SpeedAnalysisFilter, GivesZeroWithoutTenPlausibleStepsInARow) {
  // Every fifth step jumps 3 km in a second. The jumps are a fifth of the
  // steps, so 95 % of the count is reached only in the last bucket (limit
  // 298 m/s), and the jumps still break every run after four steps.
  std::vector<double> steps;
  for (int i = 0; i < 40; ++i) steps.push_back(i % 5 == 4 ? 3000 : 10);
  std::vector<TrackPoint> points = Steps(steps);
  EXPECT_EQ(SpeedAnalysisLimit(points), 99 * 3 + 1);
  const std::vector<TrackPoint> before = points;
  EXPECT_EQ(SpeedAnalysisFilter(points), 0);
  EXPECT_EQ(points.size(), before.size());  // left for the caller to judge
}

TEST(SpeedAnalysisFilter, DropsASpikeAndKeepsEqualTimes) {
  std::vector<double> steps(30, 10);
  std::vector<TrackPoint> points = Steps(steps);
  points[20].lat += 20000000;  // a spike some 100 km away
  TrackPoint same = points[25];
  points.insert(points.begin() + 26, same);  // a repeated fix: speed 0, kept
  const size_t before = points.size();
  EXPECT_EQ(SpeedAnalysisFilter(points), static_cast<int32_t>(before - 1));
  for (const TrackPoint& p : points) EXPECT_EQ(p.flags & ~kNewSegment, 0);
}

struct LimitCase {
  const char* name;
  int fastSteps;  // at 9.5 m/s; the rest at 8.5 m/s
  int32_t limit;
};

class SpeedLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(SpeedLimit, FollowsTheBucketWhereNinetyFivePercentIsReached) {
  // 100 points, 99 steps; 95 % of the point count is 95.
  std::vector<double> steps;
  for (int i = 0; i < 99; ++i) steps.push_back(i < 99 - GetParam().fastSteps ? 8.5 : 9.5);
  EXPECT_EQ(SpeedAnalysisLimit(Steps(steps)), GetParam().limit);
}

INSTANTIATE_TEST_SUITE_P(Buckets, SpeedLimit,
                         ::testing::Values(LimitCase{"ReachedInBucket8", 4, 25}, LimitCase{"ReachedInBucket9", 5, 28}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace trelvik
