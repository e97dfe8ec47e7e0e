#pragma once
// The TopNav's waypoint download: one text line per waypoint, "@EOF" at the end.
#include <string_view>

#include "records/waypoint.hpp"

namespace trelvik::topnav {

enum class WaypointLine { Waypoint, Skipped, End, Bad };

// Decodes one line (CR removed). Waypoint: `waypoint` holds name, altitude and
// position. Skipped: a comment, an empty line or a type other than "TPT".
WaypointLine DecodeWaypointLine(std::string_view line, Waypoint& waypoint);

}  // namespace trelvik::topnav
