#include "analysis/graphs/graph_texts.hpp"

#include "base/c_format.hpp"

namespace trelvik {
namespace {

std::string ClockLabel(const SecondSeries& series, int32_t second, double value, const char* which) {
  const SystemTime clock = DateFromTrackTime(series.firstTime + static_cast<TrackTime>(second));
  return CFormat("%02d:%02d:%02d:  %.2f (%s)", clock.hour, clock.minute, clock.second, value, which);
}

}  // namespace

std::string GreatestLabel(const SecondSeries& series) {
  return ClockLabel(series, series.extremes.greatestSecond, series.extremes.greatest, "max");
}

std::string LeastLabel(const SecondSeries& series) {
  return ClockLabel(series, series.extremes.leastSecond, series.extremes.least, "min");
}

std::string TimeReadout(GraphKind kind, const SecondSeries& series, const PlotArea& area, const TimeScale& scale, int x,
                        int y) {
  const int32_t second = SecondAtColumn(area, scale, series, x);
  const SystemTime clock = DateFromTrackTime(series.firstTime + static_cast<TrackTime>(second));
  const double value =
      static_cast<size_t>(second) < series.value.size() ? series.value[static_cast<size_t>(second)] : 0;
  const double pointed = scale.pixelsPerUnit > 0 ? (scale.zeroY - y) / scale.pixelsPerUnit : 0;
  return CFormat(kind == GraphKind::Vario ? "%02d:%02d:%02d   %.2f m/s  (%.2f)" : "%02d:%02d:%02d   %.2f  (%.2f)",
                 clock.hour, clock.minute, clock.second, value, pointed);
}

std::string PolarReadout(const PlotArea& area, int x, int y) {
  const PolarReading reading = PolarAt(area, x, y);
  return CFormat("%.2f Km/h,  %.2f m/s", reading.speed, reading.climb);
}

}  // namespace trelvik
