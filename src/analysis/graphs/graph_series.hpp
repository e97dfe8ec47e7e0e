#pragma once
// The data behind the vario, glide and polar views of the selected positions:
// one entry per second of the selection for the vario and glide views, one
// sample per point for the polar view, with the checks and messages that come
// before a view opens.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/user_interface.hpp"
#include "records/track_point.hpp"

namespace trelvik {

enum class GraphKind { Vario, Glide, Polar };

// "Show vario", "Show glide", "Show polar": the caption of every message of
// the command.
std::string_view GraphCaption(GraphKind kind);
// "Vario view", "Glide view", "Polar view".
std::string_view GraphTitle(GraphKind kind);

// A series of one entry per second longer than this (31 days) is refused
// before anything is allocated: such a span comes from a broken time stamp,
// and its series would not fit in memory.
inline constexpr int64_t kMaxGraphSeconds = 31LL * 24 * 3600;

// The altitude of each point in metres: the pressure altitude of every point
// when any of them has one, else the GPS altitude.
std::vector<double> GraphAltitudes(std::span<const TrackPoint> points);

// The greatest and least value of a series (both start at 0, so the zero line
// always lies between them) and the first seconds at which they occur. When
// they lie less than 0.1 apart they are moved 0.05 apart from each other, so
// that a scale always has a span.
struct GraphExtremes {
  double greatest = 0;
  double least = 0;
  int32_t greatestSecond = 0;
  int32_t leastSecond = 0;
};
GraphExtremes FindGraphExtremes(const std::vector<double>& values);

// The vario or glide series of a selection.
struct SecondSeries {
  TrackTime firstTime = 0;       // of the first selected point; entry j is this time + j
  int32_t seconds = 0;           // n, the last point's time less the first's; n + 1 entries
  std::vector<double> altitude;  // metres, interpolated between the points
  std::vector<double> distance;  // metres flown since the first point, interpolated likewise
  std::vector<double> value;     // m/s (vario) or metres of height per metre flown (glide)
  GraphExtremes extremes;
};

// Builds the vario (or glide) series of `points` over `intervalSeconds`.
// Shows, under GraphCaption(kind), and gives nothing: "No positions selected",
// "Less than 2 positions selected", "Flight time less than the climb rate
// interval (%d s)" (glide: "glide rate"), "Time error" for a point whose time
// does not rise, "Vario data memory allocation" when the series cannot be
// held (longer than kMaxGraphSeconds, or out of memory).
[[nodiscard]] std::optional<SecondSeries> PrepareSecondSeries(UserInterface& ui, std::span<const TrackPoint> points,
                                                              GraphKind kind, int32_t intervalSeconds);

struct PolarSample {
  double vertical = 0;  // metres
  double seconds = 0;
  double climb = 0;  // m/s
  double speed = 0;  // km/h
};

// One sample for each point from the `intervalPoints`-th on, against the
// point that many before it. A pair without a rise in time (same time, or
// time going back) has no rate and gives no sample. Shows, under "Show
// polar": "No positions selected", "Less than 2 positions selected",
// "Position count less than the polar interval (%d)".
[[nodiscard]] std::optional<std::vector<PolarSample>> PreparePolarSamples(UserInterface& ui,
                                                                          std::span<const TrackPoint> points,
                                                                          int32_t intervalPoints);

}  // namespace trelvik
