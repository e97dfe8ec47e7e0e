#pragma once
// Garmin MapSource files (".mps"): little-endian binary records after the
// "MsRcd" signature. The program writes one track, or its waypoints, and reads
// every track record of a file (one after the other) or its waypoint records.
#include <span>
#include <string_view>

#include "records/track_point.hpp"
#include "records/waypoint.hpp"
#include "trackfiles/file_format_flags.hpp"
#include "trackfiles/track_file_records.hpp"
#include "trackfiles/waypoint_file_records.hpp"

namespace trelvik {

// Seconds from 1970-01-01 to TrackTime 0.
inline constexpr uint32_t kUnixSecondsAtTrackTimeZero = 631065600;

[[nodiscard]] FileWriteResult WriteMapSourceTrack(std::span<const TrackPoint> points);
[[nodiscard]] FileWriteResult WriteMapSourceWaypoints(std::span<const Waypoint> waypoints);

// Errors come back under "Decoding MapSource file". Points have no pressure
// altitude and their times are not claimed to be UTC.
[[nodiscard]] TrackFileRead ReadMapSourceTrack(std::string_view bytes);
[[nodiscard]] WaypointFileRead ReadMapSourceWaypoints(std::string_view bytes);

// True when the bytes begin with the MapSource signature.
[[nodiscard]] bool IsMapSourceFile(std::string_view bytes);

}  // namespace trelvik
