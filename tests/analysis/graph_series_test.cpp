// The series behind the vario, glide and polar views: the checks before a
// view opens, the per-second interpolation, the values, their extremes and
// the polar samples, on tables of a few points.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "analysis/generated_tracks.hpp"
#include "analysis/graphs/graph_intervals.hpp"
#include "analysis/graphs/graph_series.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik {
namespace {

using testing::PointAt;
using testing::RecordedBox;
using testing::ScriptedUserInterface;

// A point `north` metres up the meridian, `seconds` after the start, at
// `metres` of GPS altitude.
TrackPoint At(uint32_t seconds, double north, double metres) {
  return PointAt(north, 0, seconds, static_cast<int32_t>(std::lround(metres * 10)));
}

RecordedBox Error(const std::string& text, const std::string& caption) { return {MessageKind::Error, text, caption}; }

struct RefusalCase {
  const char* name;
  GraphKind kind;
  std::vector<TrackPoint> points;
  int32_t interval;
  RecordedBox box;
};

class GraphRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(GraphRefusal, ShowsWhyNoViewOpens) {
  const RefusalCase& c = GetParam();
  ScriptedUserInterface ui;
  if (c.kind == GraphKind::Polar) {
    EXPECT_FALSE(PreparePolarSamples(ui, c.points, c.interval));
  } else {
    EXPECT_FALSE(PrepareSecondSeries(ui, c.points, c.kind, c.interval));
  }
  EXPECT_EQ(ui.boxes, std::vector<RecordedBox>{c.box});
}

const std::vector<TrackPoint> kTwoPoints30sApart = {At(0, 0, 1000), At(30, 300, 1030)};

INSTANTIATE_TEST_SUITE_P(
    Selections, GraphRefusal,
    ::testing::Values(
        RefusalCase{"VarioNothing", GraphKind::Vario, {}, 20, Error("No positions selected", "Show vario")},
        RefusalCase{"GlideNothing", GraphKind::Glide, {}, 20, Error("No positions selected", "Show glide")},
        RefusalCase{"PolarNothing", GraphKind::Polar, {}, 1, Error("No positions selected", "Show polar")},
        RefusalCase{
            "VarioOne", GraphKind::Vario, {At(0, 0, 1000)}, 20, Error("Less than 2 positions selected", "Show vario")},
        RefusalCase{
            "PolarOne", GraphKind::Polar, {At(0, 0, 1000)}, 1, Error("Less than 2 positions selected", "Show polar")},
        RefusalCase{"VarioIntervalAsLongAsTheFlight", GraphKind::Vario, kTwoPoints30sApart, 30,
                    Error("Flight time less than the climb rate interval (30 s)", "Show vario")},
        RefusalCase{"GlideIntervalLongerThanTheFlight", GraphKind::Glide, kTwoPoints30sApart, 45,
                    Error("Flight time less than the glide rate interval (45 s)", "Show glide")},
        RefusalCase{"VarioTimeRunsBackwards",
                    GraphKind::Vario,
                    {At(60, 0, 1000), At(0, 10, 1000)},
                    20,
                    Error("Flight time less than the climb rate interval (20 s)", "Show vario")},
        RefusalCase{"VarioSameTimeTwice",
                    GraphKind::Vario,
                    {At(0, 0, 1000), At(10, 100, 1000), At(10, 110, 1000), At(60, 500, 1000)},
                    20,
                    Error("Time error", "Show vario")},
        RefusalCase{"GlideStepBack",
                    GraphKind::Glide,
                    {At(0, 0, 1000), At(30, 100, 1000), At(29, 110, 1000), At(60, 500, 1000)},
                    20,
                    Error("Time error", "Show glide")},
        RefusalCase{"PolarIntervalAsManyAsPoints", GraphKind::Polar, kTwoPoints30sApart, 2,
                    Error("Position count less than the polar interval (2)", "Show polar")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GraphSeries, AbsurdSpansAreRefusedBeforeAnyAllocation) {
  // A broken time stamp 130 years on; a series of it would need 100 GB.
  for (const uint32_t span : {static_cast<uint32_t>(kMaxGraphSeconds + 1), 4000000000u}) {
    ScriptedUserInterface ui;
    std::vector<TrackPoint> points = {At(0, 0, 1000), At(0, 100, 1000)};
    points[0].time = 0;
    points[1].time = span;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(PrepareSecondSeries(ui, points, GraphKind::Vario, 20));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(100));
    EXPECT_EQ(ui.boxes, std::vector<RecordedBox>{Error("Vario data memory allocation", "Show vario")});
  }
}

TEST(GraphSeries, VarioInterpolatesEverySecondBetweenThePoints) {
  ScriptedUserInterface ui;
  const std::optional<SecondSeries> series = PrepareSecondSeries(ui, kTwoPoints30sApart, GraphKind::Vario, 20);
  ASSERT_TRUE(series);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(series->firstTime, kTwoPoints30sApart[0].time);
  EXPECT_EQ(series->seconds, 30);
  ASSERT_EQ(series->altitude.size(), 31u);  // a vario graph over 31 seconds
  const double metres = series->distance[30];
  EXPECT_NEAR(metres, 300, 0.5);
  for (size_t j = 0; j <= 30; ++j) {
    SCOPED_TRACE(j);
    EXPECT_NEAR(series->altitude[j], 1000.0 + j, 1e-9);
    EXPECT_NEAR(series->distance[j], metres * j / 30, 1e-9);
    // Nothing before a whole interval has passed, then 20 m in 20 s.
    EXPECT_NEAR(series->value[j], j < 20 ? 0.0 : 1.0, 1e-9);
  }
  EXPECT_NEAR(series->extremes.greatest, 1.0, 1e-9);
  EXPECT_EQ(series->extremes.greatestSecond, 20);
  EXPECT_EQ(series->extremes.least, 0);
  EXPECT_EQ(series->extremes.leastSecond, 0);
}

TEST(GraphSeries, GlideIsHeightPerMetreFlownOverTheInterval) {
  // 10 m/s north, sinking 1 m/s; then 10 s climbing on the spot.
  std::vector<TrackPoint> points = {At(0, 0, 1000), At(40, 400, 960), At(50, 400, 980)};
  ScriptedUserInterface ui;
  const std::optional<SecondSeries> series = PrepareSecondSeries(ui, points, GraphKind::Glide, 10);
  ASSERT_TRUE(series);
  ASSERT_EQ(series->value.size(), 51u);
  for (size_t j = 10; j <= 40; ++j) EXPECT_NEAR(series->value[j], -0.1, 1e-3) << j;
  // Over the last 10 s the glider flew nowhere: no glide to speak of.
  EXPECT_EQ(series->value[50], 0);
  EXPECT_NEAR(series->extremes.least, -0.1, 1e-3);
  // Second 49: 17 m up (1000 - 39 to 960 + 18) over the last 10 m flown.
  EXPECT_NEAR(series->extremes.greatest, 1.7, 0.01);
  EXPECT_EQ(series->extremes.greatestSecond, 49);
}

TEST(GraphSeries, PressureAltitudeServesWhenAnyPointHasOne) {
  std::vector<TrackPoint> points = {At(0, 0, 1000), At(30, 300, 1030), At(60, 600, 1060)};
  EXPECT_EQ(GraphAltitudes(points), (std::vector<double>{1000, 1030, 1060}));
  points[1].baroAlt = 1200;
  EXPECT_EQ(GraphAltitudes(points), (std::vector<double>{0, 1200, 0}));
}

struct ExtremesCase {
  const char* name;
  std::vector<double> values;
  GraphExtremes extremes;
};

class GraphExtremesOf : public ::testing::TestWithParam<ExtremesCase> {};

TEST_P(GraphExtremesOf, TakesTheFirstGreatestAndLeastAndKeepsASpan) {
  const GraphExtremes found = FindGraphExtremes(GetParam().values);
  const GraphExtremes& expected = GetParam().extremes;
  EXPECT_DOUBLE_EQ(found.greatest, expected.greatest);
  EXPECT_DOUBLE_EQ(found.least, expected.least);
  EXPECT_EQ(found.greatestSecond, expected.greatestSecond);
  EXPECT_EQ(found.leastSecond, expected.leastSecond);
}

INSTANTIATE_TEST_SUITE_P(Values, GraphExtremesOf,
                         ::testing::Values(ExtremesCase{"FirstOccurrenceWins", {0, 2, 2, -1, -1}, {2, -1, 1, 3}},
                                           ExtremesCase{"LevelFlightWidens", {0, 0, 0}, {0.05, -0.05, 0, 0}},
                                           ExtremesCase{"NarrowSpanWidens", {0, -0.02, 0.03}, {0.08, -0.07, 2, 1}},
                                           ExtremesCase{"OnlySinkStillReachesZero", {0, -3, -2}, {0, -3, 0, 1}},
                                           ExtremesCase{"Empty", {}, {0.05, -0.05, 0, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PolarSamples, CompareEachPointWithTheOneAnIntervalBefore) {
  // 10 m/s climbing 2 m/s, then 20 m/s sinking 1 m/s, one point every 10 s.
  const std::vector<TrackPoint> points = {At(0, 0, 1000), At(10, 100, 1020), At(20, 300, 1010)};
  ScriptedUserInterface ui;
  const auto one = PreparePolarSamples(ui, points, 1);
  ASSERT_TRUE(one);
  ASSERT_EQ(one->size(), 2u);
  EXPECT_NEAR((*one)[0].vertical, 20, 1e-9);
  EXPECT_EQ((*one)[0].seconds, 10);
  EXPECT_NEAR((*one)[0].climb, 2, 1e-9);
  EXPECT_NEAR((*one)[0].speed, 36, 0.2);  // the made-up points sit on a sphere
  EXPECT_NEAR((*one)[1].climb, -1, 1e-9);
  EXPECT_NEAR((*one)[1].speed, 72, 0.2);

  const auto two = PreparePolarSamples(ui, points, 2);
  ASSERT_TRUE(two);
  ASSERT_EQ(two->size(), 1u);
  EXPECT_EQ((*two)[0].seconds, 20);
  EXPECT_NEAR((*two)[0].climb, 0.5, 1e-9);
  EXPECT_NEAR((*two)[0].speed, 54, 0.2);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(PolarSamples, PairsWithoutATimeStepGiveNoSample) {
  // A repeated second and a step back: no rate exists there, and none is made
  // up by dividing by zero or by a wrapped-around time.
  const std::vector<TrackPoint> points = {At(0, 0, 1000), At(10, 100, 1010), At(10, 105, 1011), At(9, 110, 1012),
                                          At(20, 200, 1020)};
  ScriptedUserInterface ui;
  const auto samples = PreparePolarSamples(ui, points, 1);
  ASSERT_TRUE(samples);
  ASSERT_EQ(samples->size(), 2u);
  for (const PolarSample& sample : *samples) {
    EXPECT_GT(sample.seconds, 0);
    EXPECT_TRUE(std::isfinite(sample.climb));
    EXPECT_TRUE(std::isfinite(sample.speed));
  }
  EXPECT_EQ((*samples)[1].seconds, 11);
}

// ---- "Set view intervals" ----

struct IntervalCase {
  const char* name;
  std::array<std::string, 3> fields;
  std::optional<GraphIntervals> intervals;
};

class ViewIntervalFields : public ::testing::TestWithParam<IntervalCase> {};

TEST_P(ViewIntervalFields, TakeThreeWholeNumbersAboveZero) {
  ScriptedUserInterface ui;
  EXPECT_EQ(ReadGraphIntervalFields(ui, GetParam().fields), GetParam().intervals);
  const std::vector<RecordedBox> expected =
      GetParam().intervals ? std::vector<RecordedBox>{} : std::vector<RecordedBox>{Error("Bad input", "Decode input")};
  EXPECT_EQ(ui.boxes, expected);
}

INSTANTIATE_TEST_SUITE_P(Fields, ViewIntervalFields,
                         ::testing::Values(IntervalCase{"Numbers", {"30", " 15 ", "3"}, GraphIntervals{30, 15, 3}},
                                           IntervalCase{"Zero", {"20", "0", "1"}, std::nullopt},
                                           IntervalCase{"Empty", {"20", "20", ""}, std::nullopt},
                                           IntervalCase{"Negative", {"-5", "20", "1"}, std::nullopt},
                                           IntervalCase{"Fraction", {"20", "2.5", "1"}, std::nullopt},
                                           IntervalCase{"Letters", {"2O", "20", "1"}, std::nullopt},
                                           IntervalCase{"TooLarge", {"20", "20", "99999999999"}, std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ViewIntervalFields, ShowTheDefaults) {
  EXPECT_EQ(GraphIntervalFieldTexts(GraphIntervals{}), (std::array<std::string, 3>{"20", "20", "1"}));
}

}  // namespace
}  // namespace trelvik
