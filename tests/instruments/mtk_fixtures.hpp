#pragma once
// Hand-built MTK logger memory (sectors, records, settings changes) and the
// answers a logger gives, worked out here from the bytes.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/c_format.hpp"
#include "instruments/flytec_fixtures.hpp"

namespace trelvik::testing {

inline constexpr uint32_t kMtkBasicFormat = 0x1F;  // time, validity, latitude, longitude, height

template <typename T>
void AppendLe(std::vector<uint8_t>& bytes, T value) {
  uint8_t raw[sizeof(T)];
  std::memcpy(raw, &value, sizeof(T));  // the test host is little-endian, as the logger
  bytes.insert(bytes.end(), raw, raw + sizeof(T));
}

// One data record of the basic format, "*" and its checksum.
inline std::vector<uint8_t> MtkRecord(uint32_t unixTime, double lat, double lon, float height, uint16_t valid = 2) {
  std::vector<uint8_t> r;
  AppendLe<uint32_t>(r, unixTime);
  AppendLe<uint16_t>(r, valid);
  AppendLe<double>(r, lat);
  AppendLe<double>(r, lon);
  AppendLe<float>(r, height);
  uint8_t sum = 0;
  for (const uint8_t b : r) sum ^= b;
  r.push_back('*');
  r.push_back(sum);
  return r;
}

inline std::vector<uint8_t> MtkSettingsChange(uint8_t kind, uint32_t value) {
  std::vector<uint8_t> r(7, 0xAA);
  r.push_back(kind);
  AppendLe<uint32_t>(r, value);
  AppendLe<uint32_t>(r, 0xBBBBBBBB);
  return r;
}

// A 64 KB sector: header with `count` and `format`, then `records`, the rest 0xFF.
inline std::vector<uint8_t> MtkSector(uint16_t count, const std::vector<std::vector<uint8_t>>& records,
                                      uint32_t format = kMtkBasicFormat) {
  std::vector<uint8_t> s(0x10000, 0xFF);
  auto put16 = [&](size_t at, uint16_t v) {
    s[at] = static_cast<uint8_t>(v);
    s[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  put16(0, count);
  put16(2, static_cast<uint16_t>(format));
  put16(4, static_cast<uint16_t>(format >> 16));
  put16(6, 2);
  for (const size_t at : {8, 10, 12, 14, 16, 18}) put16(at, 0);
  put16(8, 50);
  put16(506, 0x3F2A);
  put16(508, 0xBBBB);
  put16(510, 0xBBBB);
  size_t at = 512;
  for (const std::vector<uint8_t>& r : records) {
    std::copy(r.begin(), r.end(), s.begin() + static_cast<ptrdiff_t>(at));
    at += r.size();
  }
  return s;
}

// The bytes of `sector` used by its header and records.
inline size_t MtkUsedBytes(size_t records, size_t recordSize = 28) { return 512 + records * recordSize; }

inline std::string MtkHex(const uint8_t* bytes, size_t n) {
  std::string hex;
  for (size_t i = 0; i < n; ++i) hex += CFormat("%02X", bytes[i]);
  return hex;
}

// The logger's answer carrying the chunk at `address` of `image`.
inline std::string MtkChunkAnswer(const std::vector<uint8_t>& image, uint32_t address) {
  return Sentence(CFormat("PMTK182,8,%08X,", address) + MtkHex(image.data() + address, 256));
}

inline std::string MtkRequestChunk(uint32_t address) { return Sentence(CFormat("PMTK182,7,%08X,00000100", address)); }

}  // namespace trelvik::testing
