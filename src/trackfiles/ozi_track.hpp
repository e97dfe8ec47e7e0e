#pragma once
// OziExplorer track point files (".plt"), WGS 84 only, altitudes in feet and
// times as day numbers counted from 1899-12-30.
#include <span>
#include <string_view>

#include "records/track_point.hpp"
#include "trackfiles/file_format_flags.hpp"
#include "trackfiles/track_file_records.hpp"

namespace trelvik {

// Errors come back under "Decoding track log file". A count line of 0 (what
// gpsbabel writes) reads every point line that follows.
[[nodiscard]] TrackFileRead ReadOziTrack(std::string_view text);

// The whole file; `now` stamps the track's header line.
[[nodiscard]] FileWriteResult WriteOziTrack(std::span<const TrackPoint> points, TrackTime now);

// Feet into decimetres and back, rounded half away from zero.
[[nodiscard]] int32_t FeetToDecimetres(double feet);
[[nodiscard]] int32_t DecimetresToFeet(int32_t decimetres);

}  // namespace trelvik
