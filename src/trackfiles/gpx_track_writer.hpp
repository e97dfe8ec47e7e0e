#pragma once
// GPX 1.1 track files: all points in one segment of one track.
#include <span>

#include "records/track_point.hpp"
#include "trackfiles/file_format_flags.hpp"

namespace trelvik {

// The head every GPX file of the program starts with, up to and including
// "  </metadata>": `now` is the time of writing, the bounds those of `points`.
[[nodiscard]] std::string GpxHead(std::span<const TrackPoint> points, TrackTime now, int32_t programVersion);

[[nodiscard]] FileWriteResult WriteGpxTrack(std::span<const TrackPoint> points, TrackTime now);

}  // namespace trelvik
