// The log memory: 64 KB sectors, each a 512-byte header and then records of
// the fields its format mask names, with settings-change records between them.
#include <cmath>
#include <cstring>

#include "geo/angles.hpp"
#include "instruments/mtk/codec.hpp"

namespace trelvik::mtk {
namespace {

constexpr size_t kHeaderSize = 512;
constexpr uint16_t kSectorFilling = 0xFFFF;
constexpr uint16_t kHeaderMark = 0x3F2A;
constexpr uint32_t kHeaderEnd = 0xBBBBBBBB;
constexpr size_t kSettingsRecordSize = 16;
constexpr uint8_t kSettingsMark = 0xAA;
constexpr uint8_t kFormatChange = 2;
constexpr uint32_t kUnixToTrackTime = 631065600;  // 1970-01-01 to 1989-12-31
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

// Format mask bits.
enum : uint32_t {
  kUtc = 1u << 0,
  kValid = 1u << 1,
  kLatitude = 1u << 2,
  kLongitude = 1u << 3,
  kHeight = 1u << 4,
  kSatellites = 1u << 13,
  kElevation = 1u << 14,
  kAzimuth = 1u << 15,
  kSnr = 1u << 16,
};
// Sizes of the fields of bits 0..19; the satellite list (bit 13) and its
// parts (14..16) are sized per satellite.
constexpr size_t kFieldSize[20] = {4, 2, 8, 8, 4, 4, 4, 2, 4, 2, 2, 2, 2, 0, 0, 0, 0, 2, 2, 8};
constexpr uint16_t kNoFix = 1;  // validity bit

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
double LeDouble(const uint8_t* p) {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}
float LeFloat(const uint8_t* p) {
  const uint32_t bits = Le32(p);
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

bool HeaderValid(const uint8_t* sector) {
  return Le16(sector + 10) == 0 && Le16(sector + 14) == 0 && Le16(sector + 18) == 0 &&
         Le16(sector + 506) == kHeaderMark && Le32(sector + 508) == kHeaderEnd;
}

// A sector still being filled ends at a word of 0xFFFFFFFF, or at its last
// bytes when they are too few for one and never written.
bool IsUnwritten(const uint8_t* p, const uint8_t* end) {
  const ptrdiff_t n = end - p < 4 ? end - p : 4;
  for (ptrdiff_t i = 0; i < n; ++i) {
    if (p[i] != 0xFF) return false;
  }
  return true;
}

bool IsSettingsRecord(const uint8_t* p, const uint8_t* end) {
  if (end - p < static_cast<ptrdiff_t>(kSettingsRecordSize)) return false;
  for (size_t i = 0; i < 7; ++i) {
    if (p[i] != kSettingsMark) return false;
  }
  return true;
}

// The values of one data record that a track point needs.
struct Record {
  bool hasTime = false, hasPosition = false, hasHeight = false, noFix = false;
  uint32_t utc = 0;
  double lat = 0, lon = 0;
  float height = 0;
};

// Reads the record at `p`: its size (fields, "*" and checksum) or a negative
// data-block code.
ptrdiff_t ReadRecord(const uint8_t* p, const uint8_t* end, uint32_t mask, Record& record) {
  const uint8_t* q = p;
  auto room = [&](size_t n) { return end - q >= static_cast<ptrdiff_t>(n); };
  for (int bit = 0; bit < 20; ++bit) {
    if ((mask & (1u << bit)) == 0) continue;
    if (bit == 13) {
      if (!room(4)) return -1;
      const size_t count = Le16(q + 2);
      size_t each = 4;
      if (mask & kElevation) each += 2;
      if (mask & kAzimuth) each += 2;
      if (mask & kSnr) each += 2;
      const size_t size = count == 0 ? 4 : count * each;
      if (!room(size)) return -1;
      q += size;
      continue;
    }
    const size_t size = kFieldSize[bit];
    if (size == 0) continue;
    if (!room(size)) return -1;
    if (bit == 0) record.utc = Le32(q);
    if (bit == 1) record.noFix = (Le16(q) & kNoFix) != 0;
    if (bit == 2) record.lat = LeDouble(q);
    if (bit == 3) record.lon = LeDouble(q);
    if (bit == 4) record.height = LeFloat(q);
    q += size;
  }
  record.hasTime = (mask & kUtc) != 0;
  record.hasPosition = (mask & kLatitude) != 0 && (mask & kLongitude) != 0;
  record.hasHeight = (mask & kHeight) != 0;
  if (!room(2)) return -1;
  if (q[0] != '*') return -2;
  uint8_t sum = 0;
  for (const uint8_t* b = p; b < q; ++b) sum = static_cast<uint8_t>(sum ^ *b);
  if (q[1] != sum) return -3;
  return q + 2 - p;
}

// A point, or false for a record that makes none: no fix, no time or a time
// before the track time base, no position or one off the globe.
bool PointOf(const Record& record, TrackPoint& point) {
  if (record.noFix || !record.hasTime || !record.hasPosition || record.utc < kUnixToTrackTime) return false;
  if (!(std::fabs(record.lat) <= 90.0) || !(std::fabs(record.lon) <= 180.0)) return false;
  point = TrackPoint{};
  point.time = record.utc - kUnixToTrackTime;
  point.lat = RadiansToSemicircle(record.lat * kRadiansPerDegree);
  point.lon = RadiansToSemicircle(record.lon * kRadiansPerDegree);
  if (record.hasHeight && std::isfinite(record.height) && std::fabs(record.height) < 1e6f) {
    point.gpsAlt = static_cast<int32_t>(record.height * 10.0f);
  }
  return true;
}

}  // namespace

LogDecode DecodeMtkLog(std::span<const uint8_t> image, std::vector<TrackPoint>& points) {
  for (size_t start = 0; start + kSectorSize <= image.size(); start += kSectorSize) {
    const uint8_t* sector = image.data() + start;
    const uint8_t* end = sector + kSectorSize;
    if (!HeaderValid(sector)) return {LogFault::BadHeader, 0};
    const uint16_t count = Le16(sector);
    if (count == 0) continue;
    uint32_t mask = Le32(sector + 2);
    uint32_t records = 0;
    const uint8_t* p = sector + kHeaderSize;
    while (p < end) {
      if (count != kSectorFilling && records == count) break;
      if (count == kSectorFilling && IsUnwritten(p, end)) break;
      if (IsSettingsRecord(p, end)) {
        if (p[7] == kFormatChange) mask = Le32(p + 8);
        p += kSettingsRecordSize;
        continue;
      }
      Record record;
      const ptrdiff_t size = ReadRecord(p, end, mask, record);
      if (size < 0) return {LogFault::BadData, static_cast<int>(-size)};
      p += size;
      ++records;
      TrackPoint point;
      if (!PointOf(record, point)) continue;
      if (points.empty()) point.flags = kNewSegment;
      points.push_back(point);
    }
  }
  return {};
}

}  // namespace trelvik::mtk
