#pragma once
// The 31-byte binary waypoint record both instruments take and the XC
// Trainer sends: "@@WP", a flag byte, altitude, an 11-character name, four
// fixed bytes, latitude and longitude in 1/6000 degree, an XOR checksum, CR LF.
#include <array>
#include <cstdint>
#include <span>

#include "records/waypoint.hpp"

namespace trelvik::xctrainer {

inline constexpr size_t kWaypointRecordSize = 31;
using WaypointRecord = std::array<uint8_t, kWaypointRecordSize>;

// Codes of "E302 Format error %".
inline constexpr int kRecordBadChecksum = 2;
inline constexpr int kRecordBadLead = 3;  // 3..6: the first wrong one of "@@WP"

// The record an upload sends: negative altitudes become 0.
WaypointRecord EncodeWaypointRecord(const Waypoint& waypoint);
// 0 and `waypoint` filled (name, description, altitude, position), or a code.
[[nodiscard]] int DecodeWaypointRecord(std::span<const uint8_t, kWaypointRecordSize> record, Waypoint& waypoint);

// Collects records from the line. XON and XOFF are flow control only between
// records: inside one they are data (a coordinate byte may be 0x11).
class WaypointRecordReceiver {
 public:
  // Takes one byte; true when it completed a record, now in Record().
  bool Feed(uint8_t byte);
  std::span<const uint8_t, kWaypointRecordSize> Record() const { return record_; }

 private:
  WaypointRecord record_{};
  size_t filled_ = 0;
};

}  // namespace trelvik::xctrainer
