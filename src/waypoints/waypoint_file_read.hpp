#pragma once
// Reads a waypoint file for a caller with a user interface (the window and the
// batch run): the file's bytes, its format recognised from its first bytes
// whatever type the user picked, the reader's questions asked, every fault
// shown where it happens.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/user_interface.hpp"
#include "records/waypoint.hpp"
#include "trackfiles/file_answers.hpp"

namespace trelvik {

inline constexpr char kReadingWaypointFile[] = "Reading waypoint file";

// The whole file, or nothing after "Error opening waypoint file" (with the
// system's text), "File buffer memory allocation", "Waypoint file read error"
// or "File is empty" was shown under `caption`.
[[nodiscard]] std::optional<std::string> ReadWaypointFileBytes(UserInterface& ui, const std::string& path,
                                                               std::string_view caption);

// The waypoints of a file's bytes; an empty list after "No waypoints found"
// was shown; nothing after a shown error or a cancelled question. Without
// `ask` the reading is not interactive: a name the strict formats refuse
// stops it. `now` is the time of waypoints the file gives none.
[[nodiscard]] std::optional<std::vector<Waypoint>> ReadWaypointFile(UserInterface& ui, std::string_view bytes,
                                                                    TrackTime now, const FileQuestionAsker& ask);

}  // namespace trelvik
