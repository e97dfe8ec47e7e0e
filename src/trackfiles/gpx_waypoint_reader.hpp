#pragma once
// Reads the <wpt> elements of a GPX file.
#include <string_view>
#include <vector>

#include "records/waypoint.hpp"
#include "trackfiles/waypoint_file_records.hpp"
#include "trackfiles/xml_choices.hpp"

namespace trelvik {

// The waypoints, or the error (under "Parsing waypoint file"), or Cancelled
// after a cancelled "Modify waypoint ID" question. Without `askModifyId` the
// reading is not interactive: a name that is not clean fails with "Bad ID".
// `now` is the time of waypoints that carry none.
[[nodiscard]] WaypointFileRead ReadGpxWaypoints(std::string_view text, TrackTime now,
                                              const ModifyIdQuestion& askModifyId = {});

}  // namespace trelvik
