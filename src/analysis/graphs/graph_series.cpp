#include "analysis/graphs/graph_series.hpp"

#include <algorithm>
#include <new>

#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "geo/vincenty.hpp"

namespace trelvik {
namespace {

GeoPosition PositionOf(const TrackPoint& point) { return SemicircleToRadians(point.lat, point.lon); }

// "No positions selected" and "Less than 2 positions selected".
bool CheckSelection(UserInterface& ui, size_t count, GraphKind kind) {
  if (count == 0) {
    ShowError(ui, "No positions selected", GraphCaption(kind));
    return false;
  }
  if (count == 1) {
    ShowError(ui, "Less than 2 positions selected", GraphCaption(kind));
    return false;
  }
  return true;
}

bool TimesRise(std::span<const TrackPoint> points) {
  for (size_t i = 1; i < points.size(); ++i) {
    if (points[i].time <= points[i - 1].time) return false;
  }
  return true;
}

// Altitude and distance at every second, straight lines between the points.
// The times rise strictly and the series holds last − first + 1 entries.
void Interpolate(std::span<const TrackPoint> points, const std::vector<double>& altitudes, SecondSeries& series) {
  series.altitude[0] = altitudes[0];
  series.distance[0] = 0;
  double accumulated = 0;
  size_t second = 0;
  for (size_t i = 1; i < points.size(); ++i) {
    const uint32_t step = points[i].time - points[i - 1].time;
    const double metres = DistanceOrZero(PositionOf(points[i - 1]), PositionOf(points[i]));
    const double previousAltitude = altitudes[i - 1];
    const double rise = altitudes[i] - previousAltitude;
    for (uint32_t j = 1; j <= step; ++j) {
      series.altitude[second + j] = previousAltitude + rise * j / step;
      series.distance[second + j] = accumulated + j * metres / step;
    }
    accumulated += metres;
    second += step;
  }
}

void ComputeValues(GraphKind kind, int32_t interval, SecondSeries& series) {
  const size_t span = static_cast<size_t>(interval);
  for (size_t j = span; j < series.value.size(); ++j) {
    const double rise = series.altitude[j] - series.altitude[j - span];
    if (kind == GraphKind::Vario) {
      series.value[j] = rise / interval;
    } else {
      const double flown = series.distance[j] - series.distance[j - span];
      series.value[j] = flown != 0 ? rise / flown : 0;
    }
  }
}

}  // namespace

std::string_view GraphCaption(GraphKind kind) {
  switch (kind) {
    case GraphKind::Vario: return "Show vario";
    case GraphKind::Glide: return "Show glide";
    case GraphKind::Polar: return "Show polar";
  }
  return {};
}

std::string_view GraphTitle(GraphKind kind) {
  switch (kind) {
    case GraphKind::Vario: return "Vario view";
    case GraphKind::Glide: return "Glide view";
    case GraphKind::Polar: return "Polar view";
  }
  return {};
}

std::vector<double> GraphAltitudes(std::span<const TrackPoint> points) {
  const bool pressure = std::any_of(points.begin(), points.end(), [](const TrackPoint& p) { return p.baroAlt != 0; });
  std::vector<double> altitudes;
  altitudes.reserve(points.size());
  for (const TrackPoint& point : points) {
    altitudes.push_back(pressure ? static_cast<double>(point.baroAlt) : point.gpsAlt * 0.1);
  }
  return altitudes;
}

GraphExtremes FindGraphExtremes(const std::vector<double>& values) {
  GraphExtremes extremes;
  for (size_t j = 0; j < values.size(); ++j) {
    if (values[j] > extremes.greatest) {
      extremes.greatest = values[j];
      extremes.greatestSecond = static_cast<int32_t>(j);
    }
    if (values[j] < extremes.least) {
      extremes.least = values[j];
      extremes.leastSecond = static_cast<int32_t>(j);
    }
  }
  if (extremes.greatest - extremes.least < 0.1) {
    extremes.greatest += 0.05;
    extremes.least -= 0.05;
  }
  return extremes;
}

std::optional<SecondSeries> PrepareSecondSeries(UserInterface& ui, std::span<const TrackPoint> points, GraphKind kind,
                                                int32_t intervalSeconds) {
  const std::string_view caption = GraphCaption(kind);
  if (!CheckSelection(ui, points.size(), kind)) return std::nullopt;
  // Signed: a selection whose last time lies before its first has no duration.
  const int64_t seconds = static_cast<int64_t>(points.back().time) - static_cast<int64_t>(points.front().time);
  if (intervalSeconds < 1 || intervalSeconds >= seconds) {
    ShowError(ui,
              CFormat(kind == GraphKind::Vario ? "Flight time less than the climb rate interval (%d s)"
                                               : "Flight time less than the glide rate interval (%d s)",
                      intervalSeconds),
              caption);
    return std::nullopt;
  }
  if (!TimesRise(points)) {
    ShowError(ui, "Time error", caption);
    return std::nullopt;
  }
  SecondSeries series;
  try {
    if (seconds > kMaxGraphSeconds) throw std::bad_alloc();
    const size_t entries = static_cast<size_t>(seconds) + 1;
    series.altitude.resize(entries);
    series.distance.resize(entries);
    series.value.assign(entries, 0.0);
  } catch (const std::bad_alloc&) {
    ShowError(ui, "Vario data memory allocation", caption);
    return std::nullopt;
  }
  series.firstTime = points.front().time;
  series.seconds = static_cast<int32_t>(seconds);
  Interpolate(points, GraphAltitudes(points), series);
  ComputeValues(kind, intervalSeconds, series);
  series.extremes = FindGraphExtremes(series.value);
  return series;
}

std::optional<std::vector<PolarSample>> PreparePolarSamples(UserInterface& ui, std::span<const TrackPoint> points,
                                                            int32_t intervalPoints) {
  if (!CheckSelection(ui, points.size(), GraphKind::Polar)) return std::nullopt;
  if (intervalPoints < 1 || static_cast<size_t>(intervalPoints) >= points.size()) {
    ShowError(ui, CFormat("Position count less than the polar interval (%d)", intervalPoints),
              GraphCaption(GraphKind::Polar));
    return std::nullopt;
  }
  const std::vector<double> altitudes = GraphAltitudes(points);
  const size_t back = static_cast<size_t>(intervalPoints);
  std::vector<PolarSample> samples;
  samples.reserve(points.size() - back);
  for (size_t i = back; i < points.size(); ++i) {
    const int64_t step = static_cast<int64_t>(points[i].time) - static_cast<int64_t>(points[i - back].time);
    if (step <= 0) continue;
    PolarSample sample;
    sample.vertical = altitudes[i] - altitudes[i - back];
    sample.seconds = static_cast<double>(step);
    sample.climb = sample.vertical / sample.seconds;
    sample.speed = DistanceOrZero(PositionOf(points[i - back]), PositionOf(points[i])) / sample.seconds * 3.6;
    samples.push_back(sample);
  }
  return samples;
}

}  // namespace trelvik
