#pragma once
// Reads the <wpt> elements of a GPX file.
#include <string_view>
#include <vector>

#include "base/user_interface.hpp"
#include "records/waypoint.hpp"
#include "trackfiles/xml_choices.hpp"

namespace trelvik {

// Fills `waypoints` and returns their count, or -1 after an error (shown under
// "Parsing waypoint file") or a cancelled "Modify waypoint ID" question.
// `now` is the time of waypoints that carry none.
[[nodiscard]] int ReadGpxWaypoints(UserInterface& ui, std::string_view text, bool interactive,
                                   std::vector<Waypoint>& waypoints, TrackTime now,
                                   const ModifyIdQuestion& askModifyId = {});

}  // namespace trelvik
