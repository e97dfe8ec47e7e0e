// Arbitrary packet data as a Garmin receiver's waypoint and track records:
// the first byte picks the record type, the rest is the packet's data. Every
// waypoint layout and track point layout must decode it or refuse it, with
// texts inside their fields and altitudes inside their limits; a waypoint
// decoded and encoded again must decode to the same position.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "instruments/garmin/tracks.hpp"
#include "instruments/garmin/waypoints.hpp"

namespace {

using namespace trelvik;
using namespace trelvik::garmin;

constexpr uint16_t kWaypointTypes[] = {100, 101, 102, 103, 104, 107, 108, 109, 110, 150, 151, 152, 154, 155};
constexpr uint16_t kPointTypes[] = {300, 301, 302, 303, 304};

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  GarminPacket packet;
  packet.size = static_cast<uint8_t>(std::min<size_t>(size - 1, kMaxPacketData));
  std::memcpy(packet.data.data(), data + 1, packet.size);
  const uint16_t waypointType = kWaypointTypes[data[0] % std::size(kWaypointTypes)];
  packet.id = kPidWaypoint;
  Waypoint w;
  if (DecodeWaypoint(waypointType, packet, 1000, w) == 0) {
    Check(std::strlen(w.name) <= 6 && std::strlen(w.description) <= 40);
    Check(w.alt >= -32768 && w.alt <= 32767);
    const GarminPacket again = EncodeWaypoint(waypointType, w);
    Waypoint back;
    Check(DecodeWaypoint(waypointType, again, 1000, back) == 0);
    Check(back.lat == w.lat && back.lon == w.lon);
  }
  packet.id = kPidTrackPoint;
  TrackPoint point;
  const int rc = DecodeTrackPoint(kPointTypes[data[0] % std::size(kPointTypes)], packet, point);
  Check(rc <= 0 && rc >= -2);
  if (rc == 0) Check(point.baroAlt == 0 && (point.flags & ~kNewSegment) == 0);
  return 0;
}
