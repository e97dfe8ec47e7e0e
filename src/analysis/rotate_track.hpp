#pragma once
// "Rotate Track": turns a selection of points so that the line from a start
// to an end position lies on the equator, starting at latitude 0, longitude 0.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/user_interface.hpp"
#include "geo/angles.hpp"
#include "records/track_log.hpp"

namespace trelvik {

inline constexpr std::string_view kRotateMenu = "Rotate Track";
inline constexpr std::string_view kRotateCaption = "Rotate track log";

// Before the dialog opens: "No positions loaded", "No position(s) selected",
// or the question "Only one position selected, continue ?". True to go on.
[[nodiscard]] bool CheckRotateSelection(UserInterface& ui, bool logLoaded, int32_t selectedCount);

// The four fields of the dialog, as typed.
struct RotateTrackFields {
  std::string startLatitude, startLongitude, endLatitude, endLongitude;
};

// The positions the dialog remembers while the program runs (radians).
struct RotatePositions {
  GeoPosition start;
  GeoPosition end;
};

// Reads the fields in order; the first fault is shown with caption "Decode
// position" and nothing is returned (the dialog stays open).
[[nodiscard]] std::optional<RotatePositions> ReadRotateFields(UserInterface& ui, const RotateTrackFields& fields);

// Rotates every point of `points` in place.
void RotatePoints(std::vector<TrackPoint>& points, const RotatePositions& positions);

// The rotated selection replaces the log's points; its description is cleared.
void InstallRotatedTrack(TrackLog& log, std::vector<TrackPoint> rotated);

}  // namespace trelvik
