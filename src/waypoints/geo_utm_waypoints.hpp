#pragma once
// The two plain-text waypoint formats of this program: positions as degrees,
// minutes and seconds ("$FormatGEO") or as UTM zone, easting and northing
// ("$FormatUTM"), one waypoint a line, in Windows-1252. An airport carries
// " [A]" after its description.
#include <string_view>

#include "trackfiles/file_answers.hpp"
#include "trackfiles/file_format_flags.hpp"
#include "trackfiles/waypoint_file_records.hpp"

namespace trelvik {

inline constexpr std::string_view kGeoWaypointMark = "$FormatGEO";
inline constexpr std::string_view kUtmWaypointMark = "$FormatUTM";

[[nodiscard]] WaypointFileRead ReadGeoWaypoints(std::string_view bytes, const FileReadContext& context);
[[nodiscard]] FileWriteResult WriteGeoWaypoints(const WaypointFileRecords& records);

[[nodiscard]] WaypointFileRead ReadUtmWaypoints(std::string_view bytes, const FileReadContext& context);
[[nodiscard]] FileWriteResult WriteUtmWaypoints(const WaypointFileRecords& records);

}  // namespace trelvik
