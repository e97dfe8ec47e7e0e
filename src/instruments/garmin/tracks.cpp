#include "instruments/garmin/tracks.hpp"

namespace trelvik::garmin {
namespace {

constexpr float kUnknownAltitude = 1.0e10f;  // Garmin sends 1.0e25 for "no altitude"

struct PointLayout {
  uint16_t type;
  size_t size;
  int newSegmentAt;  // -1: the type has no such mark
  bool altitude;
  bool depth;
};

constexpr PointLayout kPointLayouts[] = {
    {300, 13, 12, false, false}, {301, 21, 20, true, true},  {302, 25, 24, true, true},
    {303, 17, -1, true, false},  {304, 23, -1, true, false},
};

const PointLayout* PointLayoutOf(uint16_t type) {
  for (const PointLayout& layout : kPointLayouts) {
    if (layout.type == type) return &layout;
  }
  return nullptr;
}

int32_t Decimetres(float metres) {
  if (!(metres <= kUnknownAltitude)) return 0;
  const float tenths = metres * 10.0f + 0.5f;
  // Beyond what 32 bits hold no receiver reports a real altitude.
  if (!(tenths > -2.0e9f && tenths < 2.0e9f)) return 0;
  return static_cast<int32_t>(tenths);
}

}  // namespace

size_t TrackPointSize(uint16_t type) {
  const PointLayout* layout = PointLayoutOf(type);
  return layout != nullptr ? layout->size : 0;
}

int DecodeTrackPoint(uint16_t type, const GarminPacket& packet, TrackPoint& point) {
  point = TrackPoint{};
  const PointLayout* layout = PointLayoutOf(type);
  if (layout == nullptr || packet.size < layout->size) return type == 300 ? -1 : -2;
  point.lat = static_cast<Semicircle>(packet.U32(0));
  point.lon = static_cast<Semicircle>(packet.U32(4));
  point.time = packet.U32(8);
  if (point.time == 0xFFFFFFFFu || point.time == 0x7FFFFFFFu) point.time = 0;
  if (layout->altitude) point.gpsAlt = Decimetres(packet.F32(12));
  if (layout->depth) point.aux = packet.F32(16);
  if (layout->newSegmentAt >= 0 && packet.data[static_cast<size_t>(layout->newSegmentAt)] != 0) {
    point.flags = kNewSegment;
  }
  return 0;
}

GarminPacket EncodeTrackPoint(Semicircle lat, Semicircle lon, size_t size) {
  GarminPacket packet;
  packet.id = kPidTrackPoint;
  packet.size = static_cast<uint8_t>(size);
  packet.PutU32(0, static_cast<uint32_t>(lat));
  packet.PutU32(4, static_cast<uint32_t>(lon));
  return packet;
}

GarminPacket EncodeTrackHeader(uint16_t headerType, std::string_view name) {
  GarminPacket packet;
  packet.id = kPidTrackHeader;
  if (headerType == 311) {
    packet.size = 2;
    return packet;
  }
  name = name.substr(0, kTrackNameLimit);
  packet.data[0] = 1;
  packet.data[1] = 0;
  size_t at = 2;
  for (const char c : name) packet.data[at++] = static_cast<uint8_t>(c);
  packet.data[at++] = 0;
  packet.size = static_cast<uint8_t>(at);
  return packet;
}

}  // namespace trelvik::garmin
