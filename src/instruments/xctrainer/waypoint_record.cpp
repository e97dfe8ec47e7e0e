#include "instruments/xctrainer/waypoint_record.hpp"

#include <string>

#include "geo/angles.hpp"
#include "records/names.hpp"

namespace trelvik::xctrainer {
namespace {

constexpr double kSemicirclesPerUnit = 1988.410785185;  // 1/6000 degree
constexpr double kUnitsPerSemicircle = 0.0005029141902924;
constexpr size_t kNameAt = 7;
constexpr size_t kNameLength = 11;
constexpr size_t kLatAt = 22;
constexpr size_t kLonAt = 25;
constexpr size_t kSumAt = 28;

void Put24(WaypointRecord& record, size_t at, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  record[at] = static_cast<uint8_t>(bits);
  record[at + 1] = static_cast<uint8_t>(bits >> 8);
  record[at + 2] = static_cast<uint8_t>(bits >> 16);
}

int32_t Get24(std::span<const uint8_t, kWaypointRecordSize> record, size_t at) {
  const uint32_t bits = record[at] | (uint32_t{record[at + 1]} << 8) | (uint32_t{record[at + 2]} << 16);
  return static_cast<int32_t>(bits << 8) >> 8;
}

uint8_t Checksum(std::span<const uint8_t> record) {
  uint8_t sum = 0;
  for (size_t i = 2; i < kSumAt; ++i) sum = static_cast<uint8_t>(sum ^ record[i]);
  return sum;
}

}  // namespace

WaypointRecord EncodeWaypointRecord(const Waypoint& waypoint) {
  WaypointRecord record{};
  record[0] = '@';
  record[1] = '@';
  record[2] = 'W';
  record[3] = 'P';
  record[4] = 0x81;
  const auto alt = static_cast<uint16_t>(waypoint.alt < 0 ? 0 : waypoint.alt > 0xFFFF ? 0xFFFF : waypoint.alt);
  record[5] = static_cast<uint8_t>(alt >> 8);
  record[6] = static_cast<uint8_t>(alt);
  const std::string_view name(waypoint.name);
  for (size_t i = 0; i < kNameLength; ++i) record[kNameAt + i] = static_cast<uint8_t>(i < name.size() ? name[i] : ' ');
  record[18] = 'N';
  record[19] = 'O';
  record[20] = 0x06;
  record[21] = 0x00;
  Put24(record, kLatAt, RoundHalfAway(waypoint.lat * kUnitsPerSemicircle));
  Put24(record, kLonAt, RoundHalfAway(waypoint.lon * kUnitsPerSemicircle));
  record[kSumAt] = Checksum(record);
  record[29] = '\r';
  record[30] = '\n';
  return record;
}

int DecodeWaypointRecord(std::span<const uint8_t, kWaypointRecordSize> record, Waypoint& waypoint) {
  if (Checksum(record) != record[kSumAt]) return kRecordBadChecksum;
  constexpr char kLead[] = "@@WP";
  for (size_t i = 0; i < 4; ++i) {
    if (record[i] != static_cast<uint8_t>(kLead[i])) return kRecordBadLead + static_cast<int>(i);
  }
  std::string name;
  for (size_t i = 0; i < kNameLength; ++i) {
    const char c = static_cast<char>(record[kNameAt + i]);
    name += (c >= 0x20 && c < 0x7F) ? c : ' ';
  }
  waypoint = Waypoint{};
  waypoint.alt = (record[5] << 8) | record[6];
  waypoint.lat = RoundHalfAway(Get24(record, kLatAt) * kSemicirclesPerUnit);
  waypoint.lon = RoundHalfAway(Get24(record, kLonAt) * kSemicirclesPerUnit);
  CopyToField(name.substr(0, 6), waypoint.name);
  CopyToField(name, waypoint.description);
  return 0;
}

bool WaypointRecordReceiver::Feed(uint8_t byte) {
  if (filled_ == 0 && (byte == 0x11 || byte == 0x13)) return false;
  record_[filled_++] = byte;
  if (filled_ < kWaypointRecordSize) return false;
  filled_ = 0;
  return true;
}

}  // namespace trelvik::xctrainer
