#pragma once
// OziExplorer waypoint files (".wpt"): four header lines, then one line of
// comma-separated fields per waypoint, in Windows-1252. A comma inside a text
// field stands as the byte 209, the convention of those files.
#include <string_view>

#include "trackfiles/file_answers.hpp"
#include "trackfiles/file_format_flags.hpp"
#include "trackfiles/waypoint_file_records.hpp"

namespace trelvik {

inline constexpr std::string_view kOziWaypointMark = "OziExplorer Waypoint File";

[[nodiscard]] WaypointFileRead ReadOziWaypoints(std::string_view bytes, const FileReadContext& context);
[[nodiscard]] FileWriteResult WriteOziWaypoints(const WaypointFileRecords& records);

}  // namespace trelvik
