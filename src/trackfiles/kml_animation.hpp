#pragma once
// The KML track that Google Earth plays back ("Save log for animation in GE"):
// a gx:Track with one time and one coordinate per point.
#include <span>

#include "records/track_point.hpp"
#include "trackfiles/file_format_flags.hpp"

namespace trelvik {

// Needs two points at least ("Less than 2 positions selected", caption "Save
// track animation file"). Times carry "Z" when `utcTimes`.
[[nodiscard]] FileWriteResult WriteKmlAnimation(std::span<const TrackPoint> points, bool utcTimes);

// The name the save dialog proposes: the first point's "%d-%02d-%02d_%02d-%02d".
[[nodiscard]] std::string KmlAnimationFileName(const TrackPoint& first);

}  // namespace trelvik
