// Where the graph views draw and what they write: the plot area, the scales,
// the curve's vertices, the tick marks, the polar dots, the labels of the
// extremes and the mouse readouts, on small hand-made series.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/graphs/graph_layout.hpp"
#include "analysis/graphs/graph_texts.hpp"
#include "records/track_time.hpp"

namespace trelvik {
namespace {

// 2024-07-14 12:00:00 UTC.
TrackTime Noon() { return TrackTimeFromDate({2024, 7, 0, 14, 12, 0, 0, 0}); }

// A series of the given values, one a second from noon, with its extremes.
SecondSeries Series(std::vector<double> values) {
  SecondSeries series;
  series.firstTime = Noon();
  series.seconds = static_cast<int32_t>(values.size()) - 1;
  series.altitude.assign(values.size(), 0);
  series.distance.assign(values.size(), 0);
  series.value = std::move(values);
  series.extremes = FindGraphExtremes(series.value);
  return series;
}

struct LayoutCase {
  const char* name;
  int width, height, previousPlotWidth;
  PlotArea area;
};

class PlotLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PlotLayout, TakesTheWidthOnlyFromAWindowOfAtLeast200) {
  const LayoutCase& c = GetParam();
  const PlotArea area = LayoutPlot(c.width, c.height, c.previousPlotWidth);
  EXPECT_EQ(area.width, c.area.width);
  EXPECT_EQ(area.height, c.area.height);
  EXPECT_EQ(area.plotWidth, c.area.plotWidth);
  EXPECT_EQ(area.plotHeight, c.area.plotHeight);
  EXPECT_EQ(area.leftMargin, c.area.leftMargin);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PlotLayout,
                         ::testing::Values(LayoutCase{"Large", 1000, 500, 7, {1000, 500, 900, 450, 50}},
                                           LayoutCase{"Smallest", 200, 200, 7, {200, 200, 180, 180, 10}},
                                           LayoutCase{"Narrow", 150, 500, 321, {150, 500, 321, 450, 8}},
                                           LayoutCase{"Low", 500, 199, 321, {500, 199, 321, 179, 25}},
                                           LayoutCase{"Collapsed", 0, 0, 0, {0, 0, 0, 0, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TimeGraphScale, PlacesZeroBetweenTheExtremes) {
  const SecondSeries series = Series({0, 2, -1, 0, 1, 0, 0, 0, 0, 0});
  const PlotArea area = LayoutPlot(1000, 500, 0);
  const TimeScale scale = ScaleTimeGraph(area, series);
  EXPECT_DOUBLE_EQ(scale.secondsPerPixel, 9.0 / 900);
  EXPECT_DOUBLE_EQ(scale.pixelsPerUnit, 150);  // 450 pixels for 3 m/s
  EXPECT_EQ(scale.zeroY, 325);                 // (2 x 0.9 / 3 + 0.05) x 500
  EXPECT_EQ(ValueRow(scale, 2), 25);
  EXPECT_EQ(ValueRow(scale, -1), 475);
  // Whole units inside the window: 1 and 2 above zero, -1 below.
  EXPECT_EQ(TimeTicks(area, scale),
            (std::vector<PixelLine>{{{40, 175}, {50, 175}}, {{40, 25}, {50, 25}}, {{40, 475}, {50, 475}}}));
  EXPECT_EQ(TimeAxes(area, scale), (std::vector<PixelLine>{{{50, 325}, {950, 325}}, {{50, 0}, {50, 500}}}));
}

TEST(TimeGraphScale, NeverDividesByAZeroSpanOrWidth) {
  SecondSeries flat = Series({0, 0, 0});
  flat.extremes = {};  // no span at all, as a caller might leave it
  const PlotArea collapsed = LayoutPlot(0, 0, 0);
  const TimeScale scale = ScaleTimeGraph(collapsed, flat);
  EXPECT_TRUE(std::isfinite(scale.secondsPerPixel));
  EXPECT_TRUE(std::isfinite(scale.pixelsPerUnit));
  EXPECT_EQ(TimeCurve(collapsed, scale, flat), (std::vector<PixelPoint>{{0, 0}}));
  EXPECT_TRUE(TimeTicks(collapsed, scale).empty());
}

TEST(TimeGraphScale, ColumnsOutsideThePlotReadTheNearestEnd) {
  const SecondSeries series = Series({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  const PlotArea area = LayoutPlot(1000, 500, 0);
  const TimeScale scale = ScaleTimeGraph(area, series);
  EXPECT_EQ(SecondAtColumn(area, scale, series, 0), 0);
  EXPECT_EQ(SecondAtColumn(area, scale, series, 50), 0);
  EXPECT_EQ(SecondAtColumn(area, scale, series, 500), 5);  // 450 columns x 10/900 s
  EXPECT_EQ(SecondAtColumn(area, scale, series, 950), 10);
  EXPECT_EQ(SecondAtColumn(area, scale, series, 5000), 10);
}

TEST(TimeCurve, CrowdedColumnsTakeTheGreatestOfTheirSeconds) {
  // Ten seconds on three columns: seconds 1-3, 4-6 and 7-9.
  const SecondSeries series = Series({0, 1, 3, 2, -1, -2, -1, 0, 0.5, 0});
  PlotArea area;
  area.width = area.height = 100;
  area.plotWidth = 3;
  area.plotHeight = 90;
  area.leftMargin = 5;
  const TimeScale scale = ScaleTimeGraph(area, series);
  ASSERT_EQ(scale.secondsPerPixel, 3);
  EXPECT_EQ(TimeCurve(area, scale, series),
            (std::vector<PixelPoint>{
                {5, scale.zeroY}, {6, ValueRow(scale, 3)}, {7, ValueRow(scale, -1)}, {8, ValueRow(scale, 0.5)}}));
}

TEST(TimeCurve, SparseSecondsGetAVertexWhereTheSecondChangesAndAtTheEnd) {
  // Three seconds on four columns: seconds 1, 1, 2, 2 under columns 1 to 4.
  const SecondSeries series = Series({0, 1, -1});
  PlotArea area;
  area.width = area.height = 100;
  area.plotWidth = 4;
  area.plotHeight = 90;
  area.leftMargin = 5;
  const TimeScale scale = ScaleTimeGraph(area, series);
  EXPECT_EQ(TimeCurve(area, scale, series),
            (std::vector<PixelPoint>{
                {5, scale.zeroY}, {6, ValueRow(scale, 1)}, {8, ValueRow(scale, -1)}, {9, ValueRow(scale, -1)}}));
}

TEST(TimeCurve, WildValuesStayDrawable) {
  // A glide over a few centimetres reaches thousands; its vertex is held
  // within what a painter can clip.
  const SecondSeries series = Series({0, 1e12, -1e12, 0});
  const PlotArea area = LayoutPlot(400, 400, 0);
  for (const PixelPoint& vertex : TimeCurve(area, ScaleTimeGraph(area, series), series)) {
    EXPECT_LE(std::abs(vertex.y), 1 << 25);
  }
}

struct DotCase {
  const char* name;
  double speed, climb;
  std::optional<PixelPoint> dot;
};

class PolarDots : public ::testing::TestWithParam<DotCase> {};

TEST_P(PolarDots, StayInside70KmhAndFourMetresASecond) {
  // 700 x 400: plot 630 x 360, margin 35, axis at 200; 9 pixels per km/h, 45 per m/s.
  const PlotArea area = LayoutPlot(700, 400, 0);
  PolarSample sample;
  sample.speed = GetParam().speed;
  sample.climb = GetParam().climb;
  EXPECT_EQ(PolarDot(area, sample), GetParam().dot);
}

INSTANTIATE_TEST_SUITE_P(Samples, PolarDots,
                         ::testing::Values(DotCase{"Level", 0, 0, PixelPoint{35, 200}},
                                           DotCase{"Climbing", 35, 2, PixelPoint{350, 110}},
                                           DotCase{"CornerAbove", 70, 4, PixelPoint{665, 20}},
                                           DotCase{"CornerBelow", 70, -4, PixelPoint{665, 380}},
                                           DotCase{"TooFast", 75, 0, std::nullopt},
                                           DotCase{"ClimbingTooFast", 30, 4.01, std::nullopt},
                                           DotCase{"SinkingTooFast", 30, -4.5, std::nullopt},
                                           DotCase{"NoNumber", std::nan(""), 0, std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PolarScale, TicksEveryTenKmhAndEveryMetreASecond) {
  const PlotArea area = LayoutPlot(700, 400, 0);
  const std::vector<PixelLine> ticks = PolarTicks(area);
  ASSERT_EQ(ticks.size(), 7u + 9u);
  EXPECT_EQ(ticks.front(), (PixelLine{{125, 190}, {125, 210}}));  // 10 km/h
  EXPECT_EQ(ticks[6], (PixelLine{{665, 190}, {665, 210}}));       // 70 km/h
  EXPECT_EQ(ticks[7], (PixelLine{{25, 380}, {35, 380}}));         // -4 m/s
  EXPECT_EQ(ticks.back(), (PixelLine{{25, 20}, {35, 20}}));       // 4 m/s
  EXPECT_EQ(PolarAxes(area), (std::vector<PixelLine>{{{35, 200}, {665, 200}}, {{35, 0}, {35, 400}}}));
}

// ---- texts ----

TEST(GraphTexts, LabelTheExtremesWithTheirClockTimes) {
  std::vector<double> values(40, 0.0);
  values[20] = 2.345;
  values[35] = -1.5;
  const SecondSeries series = Series(values);
  EXPECT_EQ(GreatestLabel(series), "12:00:20:  2.35 (max)");
  EXPECT_EQ(LeastLabel(series), "12:00:35:  -1.50 (min)");
  // A level flight's scale was widened; the labels say so.
  const SecondSeries level = Series({0, 0, 0});
  EXPECT_EQ(GreatestLabel(level), "12:00:00:  0.05 (max)");
  EXPECT_EQ(LeastLabel(level), "12:00:00:  -0.05 (min)");
}

TEST(GraphTexts, ReadOutTheSecondAndHeightUnderTheMouse) {
  // 91 seconds on 900 columns: one second every ten columns.
  std::vector<double> values(91, 0.0);
  values[45] = 1.25;
  values[90] = -3;
  const SecondSeries series = Series(values);
  const PlotArea area = LayoutPlot(1000, 500, 0);
  const TimeScale scale = ScaleTimeGraph(area, series);
  const int row = ValueRow(scale, 0.5);
  EXPECT_EQ(TimeReadout(GraphKind::Vario, series, area, scale, 50 + 450, row), "12:00:45   1.25 m/s  (0.50)");
  EXPECT_EQ(TimeReadout(GraphKind::Glide, series, area, scale, 50 + 450, row), "12:00:45   1.25  (0.50)");
  // Beyond either end of the plot the readout holds at the series' ends.
  EXPECT_EQ(TimeReadout(GraphKind::Vario, series, area, scale, 999, scale.zeroY), "12:01:30   -3.00 m/s  (0.00)");
  EXPECT_EQ(TimeReadout(GraphKind::Vario, series, area, scale, 0, scale.zeroY), "12:00:00   0.00 m/s  (0.00)");
}

TEST(GraphTexts, ReadOutSpeedAndClimbOverThePolar) {
  const PlotArea area = LayoutPlot(700, 400, 0);
  EXPECT_EQ(PolarReadout(area, 350, 110), "35.00 Km/h,  2.00 m/s");
  EXPECT_EQ(PolarReadout(area, 35, 245), "0.00 Km/h,  -1.00 m/s");
  EXPECT_EQ(PolarReadout(LayoutPlot(0, 0, 0), 10, 10), "0.00 Km/h,  0.00 m/s");
}

}  // namespace
}  // namespace trelvik
