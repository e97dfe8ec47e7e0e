#pragma once
// The texts the graph views write: the two labels of the extremes at the top
// left and the line under the mouse at the bottom left.
#include <string>

#include "analysis/graphs/graph_layout.hpp"

namespace trelvik {

// "%02d:%02d:%02d:  %.2f (max)" and "... (min)": the clock time of the
// greatest (least) value and the value, as the scale took it.
std::string GreatestLabel(const SecondSeries& series);
std::string LeastLabel(const SecondSeries& series);

// The mouse at (x, y) over a vario or glide view: the clock time of the
// second under the cursor, the series value there and, in brackets, the
// value the cursor's height stands for. Vario "%02d:%02d:%02d   %.2f m/s  (%.2f)",
// glide "%02d:%02d:%02d   %.2f  (%.2f)".
std::string TimeReadout(GraphKind kind, const SecondSeries& series, const PlotArea& area, const TimeScale& scale, int x,
                        int y);

// The mouse over the polar view: "%.2f Km/h,  %.2f m/s".
std::string PolarReadout(const PlotArea& area, int x, int y);

}  // namespace trelvik
