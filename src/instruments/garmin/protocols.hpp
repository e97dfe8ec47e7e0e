#pragma once
// What a unit can do: its protocol capability array (A001) or, for older
// units, the built-in table; and whether the program can serve it. Pure code,
// shared by the serial and the USB links.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace trelvik::garmin {

// Twenty values in Garmin's order; 0 = not announced.
struct GarminProtocolSet {
  uint16_t productId = 0;
  uint16_t lowVersion = 0;  // version x 100
  uint16_t highVersion = 0;
  uint16_t physical = 0;          // Pxxx
  uint16_t link = 0;              // Lxxx
  uint16_t deviceCommand = 0;     // A010 / A011
  uint16_t transmission = 0;      // Txxx
  uint16_t waypointTransfer = 0;  // A100
  uint16_t waypointType = 0;      // D1xx
  uint16_t routeTransfer = 0;     // A200 / A201
  uint16_t routeHeaderType = 0;   // D200..D202
  uint16_t routeWaypointType = 0;
  uint16_t routeLinkType = 0;      // D210
  uint16_t trackTransfer = 0;      // A300..A302
  uint16_t trackHeaderType = 0;    // D310..D312
  uint16_t trackPointType = 0;     // D300..D304
  uint16_t proximityTransfer = 0;  // A400
  uint16_t proximityType = 0;      // D400, D403, D450
  uint16_t almanacTransfer = 0;    // A500
  uint16_t almanacType = 0;        // D500, D501, D550, D551

  bool operator==(const GarminProtocolSet&) const = default;
};

// Walks the 3-byte entries (tag, 16-bit number) of a capability array into
// `set`. 0, or -1 for a tag other than P, L, T, A where an entry is expected
// (a 'D' at the top level included). `bytes` must hold whole entries.
[[nodiscard]] int ParseProtocolArray(std::span<const uint8_t> bytes, GarminProtocolSet& set);

// The row of the built-in table for a unit that sends no capability array.
std::optional<GarminProtocolSet> BuiltInProtocols(uint16_t productId, int version);
// Every row, for the tests and the simulator's documentation.
std::span<const GarminProtocolSet> BuiltInProtocolTable();

enum class ProtocolCheck {
  Ok,
  UnsupportedLink,              // E180
  UnsupportedDeviceCommand,     // E181
  UnsupportedWaypointTransfer,  // E182
  UnsupportedWaypointType,      // E183
  UnsupportedTrackType,         // E185
};

// Whether the program can serve the unit; the first reason it cannot.
ProtocolCheck CheckProtocols(const GarminProtocolSet& set);
// The error text of a failed check ("E180 Unsupported link protocol").
std::string_view ProtocolCheckText(ProtocolCheck check);

bool IsSupportedWaypointType(uint16_t type);
bool IsSupportedTrackPointType(uint16_t type);

}  // namespace trelvik::garmin
