#pragma once
// CompeGPS waypoint files (".wpt"), in Windows-1252: a datum line "G  WGS 84",
// a unit line, then per waypoint a "W" line with its position and a "w" line
// with its type.
#include <string_view>

#include "records/track_time.hpp"
#include "trackfiles/file_answers.hpp"
#include "trackfiles/file_format_flags.hpp"
#include "trackfiles/waypoint_file_records.hpp"

namespace trelvik {

inline constexpr char kDecodingCompeGpsFile[] = "Decoding CompeGPS file";

[[nodiscard]] WaypointFileRead ReadCompeGpsWaypoints(std::string_view bytes, const FileReadContext& context);
// `now` is the date and time every "W" line carries.
[[nodiscard]] FileWriteResult WriteCompeGpsWaypoints(const WaypointFileRecords& records, TrackTime now);

}  // namespace trelvik
