#include "analysis/graphs/graph_layout.hpp"

#include <algorithm>
#include <cmath>

namespace trelvik {
namespace {

// Half away from zero; far beyond any window the result is held at ±2^24 so
// that a wild value (a glide over a few centimetres) still gives a line the
// painter can clip.
int RoundPixel(double value) {
  constexpr double kLimit = 16777216.0;
  if (!(value == value)) return 0;
  value = std::clamp(value, -kLimit, kLimit);
  return static_cast<int>(std::lround(value));
}

int Rounded(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

PlotArea LayoutPlot(int width, int height, int previousPlotWidth) {
  PlotArea area;
  area.width = std::max(width, 0);
  area.height = std::max(height, 0);
  area.plotWidth = (area.width >= 200 && area.height >= 200) ? Rounded(0.9 * area.width) : previousPlotWidth;
  area.plotHeight = Rounded(0.9 * area.height);
  area.leftMargin = Rounded(0.05 * area.width);
  return area;
}

TimeScale ScaleTimeGraph(const PlotArea& area, const SecondSeries& series) {
  TimeScale scale;
  // Neither a window too small for a plot nor a series without a span may
  // leave a scale that divides by zero.
  scale.secondsPerPixel = area.plotWidth > 0 ? static_cast<double>(series.seconds) / area.plotWidth : 0;
  const double span = series.extremes.greatest - series.extremes.least;
  if (span > 0) {
    scale.pixelsPerUnit = area.plotHeight / span;
    scale.zeroY = RoundPixel((series.extremes.greatest * 0.9 / span + 0.05) * area.height);
  } else {
    scale.zeroY = area.height / 2;
  }
  return scale;
}

int ValueRow(const TimeScale& scale, double value) { return scale.zeroY - RoundPixel(value * scale.pixelsPerUnit); }

int32_t SecondAtColumn(const PlotArea& area, const TimeScale& scale, const SecondSeries& series, int x) {
  const double second = std::round((x - area.leftMargin) * scale.secondsPerPixel);
  return static_cast<int32_t>(std::clamp(second, 0.0, static_cast<double>(series.seconds)));
}

std::vector<PixelPoint> TimeCurve(const PlotArea& area, const TimeScale& scale, const SecondSeries& series) {
  std::vector<PixelPoint> curve{{area.leftMargin, scale.zeroY}};
  if (series.value.empty()) return curve;
  const int32_t last = static_cast<int32_t>(series.value.size()) - 1;
  const bool crowded = series.seconds > area.plotWidth;
  int32_t previous = 0;
  for (int j = 1; j <= area.plotWidth; ++j) {
    const int32_t second = std::min(static_cast<int32_t>(std::lround(j * scale.secondsPerPixel)), last);
    const int x = area.leftMargin + j;
    if (crowded) {
      if (second <= previous) continue;
      const double greatest = *std::max_element(series.value.begin() + previous + 1, series.value.begin() + second + 1);
      curve.push_back({x, ValueRow(scale, greatest)});
      previous = second;
    } else if (second != previous || j == area.plotWidth) {
      curve.push_back({x, ValueRow(scale, series.value[static_cast<size_t>(second)])});
      previous = second;
    }
  }
  return curve;
}

std::vector<PixelLine> TimeAxes(const PlotArea& area, const TimeScale& scale) {
  return {{{area.leftMargin, scale.zeroY}, {area.leftMargin + area.plotWidth, scale.zeroY}},
          {{area.leftMargin, 0}, {area.leftMargin, area.height}}};
}

std::vector<PixelLine> TimeTicks(const PlotArea& area, const TimeScale& scale) {
  std::vector<PixelLine> ticks;
  for (const int direction : {1, -1}) {
    for (int unit = 1; unit <= 99; ++unit) {
      const int y = ValueRow(scale, direction * unit);
      if (y < 0 || y >= area.height) break;
      ticks.push_back({{area.leftMargin - 10, y}, {area.leftMargin, y}});
    }
  }
  return ticks;
}

std::optional<PixelPoint> PolarDot(const PlotArea& area, const PolarSample& sample) {
  if (!(sample.speed <= kPolarSpeedSpan) || !(std::abs(sample.climb) <= kPolarClimbSpan)) return std::nullopt;
  return PixelPoint{area.leftMargin + RoundPixel(sample.speed * area.plotWidth / kPolarSpeedSpan),
                    area.height / 2 - RoundPixel(sample.climb * area.plotHeight / (2 * kPolarClimbSpan))};
}

std::vector<PixelLine> PolarAxes(const PlotArea& area) {
  const int axis = area.height / 2;
  return {{{area.leftMargin, axis}, {area.leftMargin + area.plotWidth, axis}},
          {{area.leftMargin, 0}, {area.leftMargin, area.height}}};
}

std::vector<PixelLine> PolarTicks(const PlotArea& area) {
  std::vector<PixelLine> ticks;
  const int axis = area.height / 2;
  for (int speed = 10; speed <= 70; speed += 10) {
    const int x = area.leftMargin + RoundPixel(speed * area.plotWidth / kPolarSpeedSpan);
    ticks.push_back({{x, axis - 10}, {x, axis + 10}});
  }
  for (int climb = -4; climb <= 4; ++climb) {
    const int y = axis - RoundPixel(climb * area.plotHeight / (2 * kPolarClimbSpan));
    ticks.push_back({{area.leftMargin - 10, y}, {area.leftMargin, y}});
  }
  return ticks;
}

PolarReading PolarAt(const PlotArea& area, int x, int y) {
  PolarReading reading;
  if (area.plotWidth > 0) reading.speed = (x - area.leftMargin) * kPolarSpeedSpan / area.plotWidth;
  if (area.plotHeight > 0) reading.climb = (area.height / 2 - y) * 2 * kPolarClimbSpan / area.plotHeight;
  return reading;
}

}  // namespace trelvik
