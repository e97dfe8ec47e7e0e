#pragma once
// WinPilot / Cambridge waypoint files (".dat"), in Windows-1252: one line of
// comma-separated fields per waypoint, without a header.
#include <string_view>

#include "trackfiles/file_answers.hpp"
#include "trackfiles/file_format_flags.hpp"
#include "trackfiles/waypoint_file_records.hpp"

namespace trelvik {

inline constexpr char kDecodingWinPilotFile[] = "Decoding WinPilot file";

[[nodiscard]] WaypointFileRead ReadWinPilotWaypoints(std::string_view bytes, const FileReadContext& context);
[[nodiscard]] FileWriteResult WriteWinPilotWaypoints(const WaypointFileRecords& records);

}  // namespace trelvik
