// Units older than the capability protocol (A001) answer the product request
// but send no capability array; what they support is known per product id and
// software version from Garmin's published table of such units. Only units
// with the L001 link protocol and the A010 device commands are listed, since
// the program serves no others.
#include <array>

#include "instruments/garmin/protocols.hpp"

namespace trelvik::garmin {
namespace {

constexpr uint16_t kAnyVersionHigh = 65535;

struct Unit {
  uint16_t id;
  uint16_t low;
  uint16_t high;
  uint16_t waypoint;     // D1xx of A100, also the route waypoint type
  uint16_t route;        // A200 or A201
  uint16_t routeHeader;  // D200..D202
  bool track;            // A300 with D300
  uint16_t proximity;    // data type of A400; 0 = no A400
  uint16_t almanac;      // data type of A500
};

constexpr GarminProtocolSet Row(const Unit& u) {
  GarminProtocolSet set;
  set.productId = u.id;
  set.lowVersion = u.low;
  set.highVersion = u.high;
  set.link = 1;
  set.deviceCommand = 10;
  set.waypointTransfer = 100;
  set.waypointType = u.waypoint;
  set.routeTransfer = u.route;
  set.routeHeaderType = u.routeHeader;
  set.routeWaypointType = u.waypoint;
  set.routeLinkType = u.route == 201 ? 210 : 0;
  set.trackTransfer = u.track ? 300 : 0;
  set.trackPointType = u.track ? 300 : 0;
  set.proximityTransfer = u.proximity != 0 ? 400 : 0;
  set.proximityType = u.proximity;
  set.almanacTransfer = 500;
  set.almanacType = u.almanac;
  return set;
}

constexpr Unit All(uint16_t id, uint16_t waypoint, uint16_t route, uint16_t header, bool track, uint16_t proximity,
                   uint16_t almanac) {
  return {id, 0, kAnyVersionHigh, waypoint, route, header, track, proximity, almanac};
}

// clang-format off
constexpr Unit kUnits[] = {
    All(7, 100, 200, 200, false, 0, 500),
    All(13, 100, 200, 201, true, 400, 500),
    All(14, 100, 200, 200, false, 400, 500),
    All(15, 151, 200, 200, false, 151, 500),
    All(18, 100, 200, 200, true, 400, 500),
    All(22, 152, 200, 200, true, 152, 500),
    All(23, 100, 201, 201, true, 400, 500),
    All(24, 100, 201, 201, true, 400, 500),
    All(25, 100, 200, 200, true, 400, 500),
    {29, 0, 399, 101, 200, 201, true, 101, 500},
    {29, 400, kAnyVersionHigh, 102, 200, 201, true, 102, 500},
    All(31, 100, 200, 201, true, 0, 500),
    All(35, 100, 200, 200, true, 400, 500),
    {36, 0, 299, 152, 200, 200, true, 152, 500},
    {36, 300, kAnyVersionHigh, 152, 200, 200, true, 0, 500},
    All(39, 151, 201, 201, true, 0, 500),
    All(41, 100, 201, 201, true, 0, 500),
    All(42, 100, 200, 200, true, 400, 500),
    All(44, 101, 200, 201, true, 101, 500),
    All(45, 152, 200, 201, true, 0, 500),
    All(47, 100, 200, 201, true, 0, 500),
    All(48, 154, 200, 201, true, 0, 501),
    All(49, 102, 200, 201, true, 102, 501),
    All(50, 152, 200, 201, true, 0, 501),
    All(53, 152, 200, 201, true, 0, 501),
    All(55, 100, 201, 201, true, 0, 500),
    All(56, 100, 201, 201, true, 0, 500),
    All(59, 100, 201, 201, true, 0, 500),
    All(61, 100, 201, 201, true, 0, 500),
    All(62, 100, 201, 201, true, 0, 500),
    All(71, 155, 201, 201, true, 0, 501),
    All(72, 104, 201, 201, true, 0, 501),
    All(73, 103, 201, 201, true, 0, 501),
    All(74, 100, 201, 201, true, 0, 500),
    All(76, 102, 201, 201, true, 102, 501),
    {77, 0, 300, 100, 201, 201, true, 400, 501},
    {77, 301, 349, 103, 201, 201, true, 403, 501},
    {77, 350, 360, 103, 201, 201, true, 0, 501},
    {77, 361, kAnyVersionHigh, 103, 201, 201, true, 403, 501},
    All(87, 103, 201, 201, true, 403, 501),
    All(88, 102, 201, 201, true, 102, 501),
    All(95, 103, 201, 201, true, 403, 501),
    All(96, 103, 201, 201, true, 403, 501),
    All(97, 103, 201, 201, true, 0, 501),
    All(100, 103, 201, 201, true, 403, 501),
    All(105, 103, 201, 201, true, 403, 501),
    All(106, 103, 201, 201, true, 403, 501),
    All(112, 152, 201, 201, true, 0, 501),
};
// clang-format on

constexpr std::array<GarminProtocolSet, std::size(kUnits)> MakeTable() {
  std::array<GarminProtocolSet, std::size(kUnits)> table{};
  for (size_t i = 0; i < std::size(kUnits); ++i) table[i] = Row(kUnits[i]);
  return table;
}

constexpr std::array<GarminProtocolSet, std::size(kUnits)> kTable = MakeTable();
static_assert(kTable.size() == 48);

}  // namespace

std::span<const GarminProtocolSet> BuiltInProtocolTable() { return kTable; }

std::optional<GarminProtocolSet> BuiltInProtocols(uint16_t productId, int version) {
  for (const GarminProtocolSet& row : kTable) {
    if (row.productId == productId && row.lowVersion <= version && version <= row.highVersion) return row;
  }
  return std::nullopt;
}

}  // namespace trelvik::garmin
