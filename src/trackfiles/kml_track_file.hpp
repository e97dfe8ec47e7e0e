#pragma once
// The single-flight KML file of the command-line jobs: statistics and
// optimisation computed here, one trip folder in the file frame.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "analysis/optimise_flight.hpp"
#include "base/user_interface.hpp"
#include "trackfiles/kml_trip.hpp"

namespace trelvik {

struct KmlTrackFileTarget {
  // With `decided`, the file the caller has chosen and may replace (the batch
  // run's output file). Otherwise the command-line job's file name, to which
  // ".kml" is appended; an existing file is then replaced only with `overwrite`.
  std::string name;
  bool decided = false;
  bool overwrite = false;
};

// Fills the trip input's times, altitudes, distance, speeds and climbs from
// the points (no optimisation).
void FillKmlTripStatistics(std::span<const TrackPoint> points, KmlTripInput& input);

struct KmlTripFailure {
  std::string_view text;
  std::string_view caption;
};

// Statistics, optimisation and the trip folder of `input.points` (titled with
// the first point's date), appended to `buffer`. The caller sets the points and
// the flags of `input`; on failure the message to show.
[[nodiscard]] std::optional<KmlTripFailure> AppendAnalysedKmlTrip(TextBuffer& buffer, KmlTripInput& input,
                                                                  const OptimiseOptions& optimise,
                                                                  std::optional<std::string_view> instrument);

struct KmlTrackFileText {
  std::string text;                       // the whole file
  std::optional<KmlTripFailure> failure;  // set when there is no text
};

// The file `WriteKmlTrackFile` writes, as text: the file frame around one
// analysed trip folder. Fewer than five points fail with "Too few track
// positions" under "Write GoogleEarth file".
[[nodiscard]] KmlTrackFileText FormatKmlTrackFile(std::span<const TrackPoint> points, int32_t isSigned,
                                                  int32_t utcTimes, int32_t hasPressureAltitude,
                                                  std::optional<std::string_view> instrument,
                                                  const OptimiseOptions& optimise);

// 0 once the file is written, -1 after a failure (shown). `instrument` absent
// is written as "unknown".
[[nodiscard]] int WriteKmlTrackFile(UserInterface& ui, const KmlTrackFileTarget& target,
                                    std::span<const TrackPoint> points, int32_t isSigned, int32_t utcTimes,
                                    int32_t hasPressureAltitude, std::optional<std::string_view> instrument,
                                    const OptimiseOptions& optimise);

}  // namespace trelvik
