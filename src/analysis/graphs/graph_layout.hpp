#pragma once
// Where the vario, glide and polar views draw: the plot area taken from the
// window's client size, the scales, the curve and dots in pixels, the tick
// marks. Pixel coordinates run from the client area's top left corner, y down.
#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/graphs/graph_series.hpp"

namespace trelvik {

struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

struct PixelLine {
  PixelPoint from;
  PixelPoint to;
  bool operator==(const PixelLine&) const = default;
};

// The client area (W x H) and the plot inside it: 90 % of the width and the
// height, 5 % of the width to the left of the vertical axis.
struct PlotArea {
  int width = 0;
  int height = 0;
  int plotWidth = 0;
  int plotHeight = 0;
  int leftMargin = 0;
};

// The plot width follows the client width only while the client is at least
// 200 x 200; a smaller window keeps `previousPlotWidth`.
PlotArea LayoutPlot(int width, int height, int previousPlotWidth);

// ---- vario and glide ----

struct TimeScale {
  double secondsPerPixel = 0;  // s: seconds of the series per pixel column
  double pixelsPerUnit = 0;    // k: pixels per m/s (vario) or per unit of glide
  int zeroY = 0;               // y0: the row of the value 0
};

TimeScale ScaleTimeGraph(const PlotArea& area, const SecondSeries& series);

// The row of `value` on the scale.
int ValueRow(const TimeScale& scale, double value);

// The curve from (left margin, y0) to the right end of the plot, one vertex
// per pixel column at most. With more seconds than columns each column takes
// the greatest value of the seconds it covers; otherwise a vertex is set
// wherever the column reaches a new second, and at the last column.
std::vector<PixelPoint> TimeCurve(const PlotArea& area, const TimeScale& scale, const SecondSeries& series);

// The axes: the zero line across the plot, the vertical axis over the whole
// height at the left margin.
std::vector<PixelLine> TimeAxes(const PlotArea& area, const TimeScale& scale);

// Tick marks 10 pixels long left of the vertical axis at every whole unit
// above and below zero that lies inside the window, at most 99 each way.
std::vector<PixelLine> TimeTicks(const PlotArea& area, const TimeScale& scale);

// The entry under column x: round((x − left margin) · s), held inside the series.
int32_t SecondAtColumn(const PlotArea& area, const TimeScale& scale, const SecondSeries& series, int x);

// ---- polar ----

inline constexpr double kPolarSpeedSpan = 70;  // km/h across the plot width
inline constexpr double kPolarClimbSpan = 4;   // m/s above and below the axis

// The dot of a sample, or nothing when its speed lies beyond 70 km/h or its
// climb beyond ±4 m/s.
std::optional<PixelPoint> PolarDot(const PlotArea& area, const PolarSample& sample);

// The speed axis at half height across the plot, the climb axis at the left margin.
std::vector<PixelLine> PolarAxes(const PlotArea& area);

// Speed ticks every 10 km/h from 10 to 70 (10 pixels above and below the
// axis) and climb ticks at −4..4 m/s (10 pixels left of the axis).
std::vector<PixelLine> PolarTicks(const PlotArea& area);

// The speed (km/h) and climb (m/s) that a pixel stands for.
struct PolarReading {
  double speed = 0;
  double climb = 0;
};
PolarReading PolarAt(const PlotArea& area, int x, int y);

}  // namespace trelvik
