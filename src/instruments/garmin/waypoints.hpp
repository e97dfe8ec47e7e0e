#pragma once
// Waypoint records (A100 with D100..D155) to and from `Waypoint`. Pure code.
#include <cstdint>

#include "instruments/garmin/packets.hpp"
#include "records/waypoint.hpp"

namespace trelvik::garmin {

// Garmin's symbol numbers the program uses.
inline constexpr uint16_t kSymbolWaypointDot = 18;
inline constexpr uint16_t kSymbolAirport = 0x4000;

// The waypoint in a received packet of the unit's waypoint `type`. Records
// without a time of their own get `now`. 0; -1 when the packet is not a
// waypoint or shorter than the type needs; -2 when a D109/D110 type or
// attribute byte is wrong. `waypoint` is cleared first.
[[nodiscard]] int DecodeWaypoint(uint16_t type, const GarminPacket& packet, TrackTime now, Waypoint& waypoint);

// The waypoint packet (id 35) of `type`; only the fields that type carries.
GarminPacket EncodeWaypoint(uint16_t type, const Waypoint& waypoint);

// Smallest packet a waypoint of `type` arrives in; 0 for a type not served.
size_t WaypointMinimumSize(uint16_t type);

}  // namespace trelvik::garmin
