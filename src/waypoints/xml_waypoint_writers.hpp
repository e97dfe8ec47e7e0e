#pragma once
// The GPX 1.1 and Google Earth KML waypoint writers. Names and descriptions are
// UTF-8 with "&", "<", ">" and '"' escaped, so that any text leaves a file its
// readers can open.
#include <cstdint>

#include "records/track_time.hpp"
#include "trackfiles/file_format_flags.hpp"
#include "trackfiles/waypoint_file_records.hpp"

namespace trelvik {

// `now` is the metadata time; `programVersion` is 100 x major + minor.
[[nodiscard]] FileWriteResult WriteGpxWaypoints(const WaypointFileRecords& records, TrackTime now,
                                                int32_t programVersion);
[[nodiscard]] FileWriteResult WriteKmlWaypoints(const WaypointFileRecords& records);

}  // namespace trelvik
