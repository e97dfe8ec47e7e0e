#include <gtest/gtest.h>

#include "analysis/flight_statistics.hpp"
#include "analysis/generated_tracks.hpp"
#include "analysis/split_at_gaps.hpp"
#include "records/track_time.hpp"

namespace trelvik {
namespace {

using testing::PointAt;

// Points at the given seconds after 2012-02-29 12:00:00 UTC.
std::vector<TrackPoint> At(std::initializer_list<uint32_t> seconds) {
  SystemTime noon;
  noon.year = 2012, noon.month = 2, noon.day = 29, noon.hour = 12;
  std::vector<TrackPoint> points;
  for (const uint32_t s : seconds) {
    TrackPoint p = PointAt(0, 0, 0);
    p.time = TrackTimeFromDate(noon) + s;
    points.push_back(p);
  }
  return points;
}

TEST(FindGapSegments, GapOfExactlyTheGapTimeDoesNotSplitOneSecondMoreDoes) {
  EXPECT_EQ(FindGapSegments(At({0, 10, 1210}), 1200).size(), 1u);
  const std::vector<GapSegment> split = FindGapSegments(At({0, 10, 1211, 1220}), 1200);
  ASSERT_EQ(split.size(), 2u);
  EXPECT_EQ(split[1].first, 2);
  EXPECT_EQ(split[1].count, 2);
  EXPECT_EQ(split[1].seconds, 9u);
}

TEST(FindGapSegments, FallingTimesNeitherSplitNorMoveTheComparison) {
  std::vector<TrackPoint> points = At({100, 50, 1300, 1301});
  points[1].flags = kNewSegment;  // does not rise: ignored
  const std::vector<GapSegment> segments = FindGapSegments(points, 1200);
  ASSERT_EQ(segments.size(), 1u);  // 1300 - 100 is the gap, not 1300 - 50
  points[3].flags = kNewSegment;
  EXPECT_EQ(FindGapSegments(points, 1200).size(), 2u);
}

TEST(FindGapSegments, StopsAtAHundredSegments) {
  std::vector<uint32_t> seconds;
  std::vector<TrackPoint> points;
  for (uint32_t i = 0; i < 150; ++i) {
    auto one = At({i * 5000});
    points.push_back(one[0]);
  }
  const std::vector<GapSegment> segments = FindGapSegments(points, 1200);
  ASSERT_EQ(segments.size(), 100u);
  EXPECT_EQ(segments.back().count, 51);  // the last one runs to the end of the log
}

TEST(SplitAtGaps, ListsNewestFirstAndKeepsTheChosenInTimeOrder) {
  std::vector<TrackPoint> points = At({0, 60, 3000, 3060, 3125, 9000});
  SplitLogDialog shown;
  const int32_t count = SplitAtGaps(points, {.trackGapTime = 1200, .portName = "/dev/ttyUSB0", .modelName = "5020"},
                                    [&shown](const SplitLogDialog& dialog) {
                                      shown = dialog;
                                      return std::optional<std::vector<int32_t>>({2, 1});
                                    });
  EXPECT_EQ(shown.title, "Split track (/dev/ttyUSB0, 5020)");
  EXPECT_EQ(shown.preselected, 0);
  EXPECT_EQ(shown.lines, (std::vector<std::string>{"29-02-2012   14:30:00   0:00:00", "29-02-2012   12:50:00   0:02:05",
                                                   "29-02-2012   12:00:00   0:01:00"}));
  EXPECT_EQ(count, 5);
  ASSERT_EQ(points.size(), 5u);
  EXPECT_EQ(points[2].time - points[0].time, 3000u);
}

TEST(SplitAtGaps, TitleWithoutModelName) {
  std::vector<TrackPoint> points = At({0, 5000});
  std::string title;
  (void)SplitAtGaps(points, {.portName = "/dev/ttyS0"}, [&title](const SplitLogDialog& dialog) {
    title = dialog.title;
    return std::nullopt;
  });
  EXPECT_EQ(title, "Split track (/dev/ttyS0)");
}

TEST(SplitAtGaps, CancelOrNoChoiceGivesZero) {
  for (const auto& answer : {std::optional<std::vector<int32_t>>(), std::optional<std::vector<int32_t>>({})}) {
    std::vector<TrackPoint> points = At({0, 5000});
    EXPECT_EQ(SplitAtGaps(points, {}, [&](const SplitLogDialog&) { return answer; }), 0);
    EXPECT_TRUE(points.empty());
  }
}

TEST(SplitAtGaps, NothingToSplitOrNoSplitAsksNothing) {
  int asked = 0;
  const SplitLogChooser chooser = [&asked](const SplitLogDialog&) {
    ++asked;
    return std::nullopt;
  };
  std::vector<TrackPoint> one = At({0});
  EXPECT_EQ(SplitAtGaps(one, {}, chooser), 1);
  std::vector<TrackPoint> gapped = At({0, 5000});
  EXPECT_EQ(SplitAtGaps(gapped, {.noSplit = true}, chooser), 2);
  std::vector<TrackPoint> whole = At({0, 100, 200});
  EXPECT_EQ(SplitAtGaps(whole, {}, chooser), 3);
  EXPECT_EQ(asked, 0);
}

TEST(FlightStatistics, TimesHeightsDistanceAndSpeeds) {
  std::vector<TrackPoint> points;
  for (uint32_t i = 0; i <= 120; ++i) points.push_back(PointAt(10.0 * i, 0, 10000 + i, 10000 + 15 * static_cast<int32_t>(i)));
  points[0].flags = kNewSegment;
  const FlightStatistics s = ComputeFlightStatistics(points);
  EXPECT_EQ(s.duration, 120u);
  EXPECT_EQ(s.lowestAltitude, 1000);
  EXPECT_EQ(s.highestAltitude, 1180);
  EXPECT_NEAR(s.totalDistance, 1200, 5);
  EXPECT_NEAR(s.averageSpeed, 36, 0.2);
  EXPECT_NEAR(s.topSpeed, 36, 0.2);
  EXPECT_NEAR(s.greatestMeanSpeed, 36, 0.2);
  EXPECT_NEAR(s.greatestClimb, 1.5, 0.01);
  EXPECT_EQ(s.leastClimb, 0);
  const FlightStatisticsTexts t = FormatFlightStatistics(s);
  EXPECT_EQ(t.duration, "0 : 02 : 00");
  EXPECT_EQ(t.highest, "1180 m");
  EXPECT_EQ(t.meanSpeed, "36 km/h");
  EXPECT_EQ(t.distance, "1.2 km");
}

TEST(FlightStatistics, CorruptAltitudeClimbIsShownAsNineThousandNineHundredNinetyNine) {
  std::vector<TrackPoint> points;
  for (uint32_t i = 0; i <= 70; ++i) points.push_back(PointAt(0, 0, i, 10000));
  points.back().gpsAlt = 10000 + 120000000;  // 12000 km in 0..60 s
  const FlightStatistics s = ComputeFlightStatistics(points);
  EXPECT_EQ(s.greatestClimb, 9999);
}

TEST(FlightStatistics, EqualFirstAndLastTimeGiveNoAverageSpeed) {
  const FlightStatistics s = ComputeFlightStatistics(At({0, 0}));
  EXPECT_EQ(s.averageSpeed, 0);
}

TEST(FlightStatistics, DateAndClockTexts) {
  const FlightStatisticsTexts t = FormatFlightStatistics(ComputeFlightStatistics(At({0, 3725})));
  EXPECT_EQ(t.date, "2012-02-29");
  EXPECT_EQ(t.start, "12:00:00");
  EXPECT_EQ(t.finish, "13:02:05");
  EXPECT_EQ(t.duration, "1 : 02 : 05");
}

TEST(FlightStatistics, SevenDistancesInKilometres) {
  OptimisationResult r;
  r.twoPoints.total = 12345.678;
  r.faiTriangle.distance = 100000;
  const auto texts = FormatOptimisedDistances(r);
  EXPECT_EQ(texts[0], "12.35");
  EXPECT_EQ(texts[4], "0.00");
  EXPECT_EQ(texts[6], "100.00");
}

}  // namespace
}  // namespace trelvik
