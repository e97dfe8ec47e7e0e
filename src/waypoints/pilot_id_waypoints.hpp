#pragma once
// A pilot's competition and CIVL numbers stored in an instrument as waypoints
// whose positions spell the number's decimal digits in degrees, minutes and
// seconds of a northern, eastern position.
#include <cstdint>
#include <optional>
#include <string_view>

#include "records/waypoint.hpp"

namespace trelvik {

inline constexpr std::string_view kCompIdName = "COMPID";
inline constexpr std::string_view kCivlIdName = "CIVLID";

// "COMPID" or "CIVLID" with the comment "COMPID 12", at the position that
// encodes `id` (0..17999999), height 0, not an airport, carrying `now`.
[[nodiscard]] Waypoint PilotIdWaypoint(std::string_view label, int32_t id, TrackTime now);

// The number a waypoint's position spells; nothing when it spells none.
[[nodiscard]] std::optional<int32_t> DecodePilotId(const Waypoint& waypoint);

}  // namespace trelvik
