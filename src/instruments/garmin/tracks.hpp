#pragma once
// Track log records (A300..A302 with D300..D304 points and D310..D312
// headers) to and from `TrackPoint`. Pure code.
#include <cstdint>
#include <string_view>

#include "instruments/garmin/packets.hpp"
#include "records/track_point.hpp"

namespace trelvik::garmin {

// The point in a received track point packet of the unit's point `type`.
// 0; -1 for a D300 shorter than 13 bytes; -2 for other types too short (or a
// type not served). `point` is cleared first; its newSegment flag is the
// unit's own.
[[nodiscard]] int DecodeTrackPoint(uint16_t type, const GarminPacket& packet, TrackPoint& point);

// Bytes of one point of `type` (D300 13 .. D302 25); 0 for a type not served.
size_t TrackPointSize(uint16_t type);

// An uploaded track point (id 34): the position only, time 0, no new-segment
// mark, `size` bytes long.
GarminPacket EncodeTrackPoint(Semicircle lat, Semicircle lon, size_t size);

// The track header (id 99) of an upload: D311 carries only its 16-bit index
// (0); every other header type shows the track (byte 0 = 1), in the default
// colour (byte 1 = 0), named `name` (cut to 50 characters) from byte 2.
GarminPacket EncodeTrackHeader(uint16_t headerType, std::string_view name);

inline constexpr size_t kTrackNameLimit = 50;

}  // namespace trelvik::garmin
