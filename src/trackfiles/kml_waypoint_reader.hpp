#pragma once
// Reads the waypoints of a KML waypoint file: the placemarks of the folders
// named "Waypoints" under kml / Document.
#include <string_view>
#include <vector>

#include "base/user_interface.hpp"
#include "records/waypoint.hpp"
#include "trackfiles/xml_choices.hpp"

namespace trelvik {

// Fills `waypoints` and returns their count, or -1 after an error (shown under
// "Parsing waypoint file") or a cancelled "Modify waypoint ID" question.
// `now` is the time every waypoint gets (the moment the reading started).
[[nodiscard]] int ReadKmlWaypoints(UserInterface& ui, std::string_view text, bool interactive,
                                   std::vector<Waypoint>& waypoints, TrackTime now,
                                   const ModifyIdQuestion& askModifyId = {});

}  // namespace trelvik
