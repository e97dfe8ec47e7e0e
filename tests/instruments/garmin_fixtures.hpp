#pragma once
// Hand-built Garmin traffic, framed here from the link description, and a
// job on a scripted link.
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

#include "instruments/flytec_fixtures.hpp"

namespace trelvik::testing {

// Bytes from a list of values.
inline std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values) bytes += static_cast<char>(v);
  return bytes;
}

inline std::string Le16(unsigned value) {
  return Bytes({static_cast<int>(value & 0xFF), static_cast<int>(value >> 8)});
}

inline std::string Le32(uint32_t value) {
  return Bytes({static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF), static_cast<int>(value >> 24)});
}

inline std::string LeFloat(float value) {
  uint32_t bits = 0;
  static_assert(sizeof bits == sizeof value);
  std::memcpy(&bits, &value, sizeof bits);
  return Le32(bits);
}

// DLE id size data checksum DLE ETX, every 0x10 after the id doubled.
inline std::string Frame(int id, std::string_view data = {}) {
  unsigned sum = static_cast<unsigned>(id) + static_cast<unsigned>(data.size());
  for (const char c : data) sum += static_cast<uint8_t>(c);
  std::string body;
  body += static_cast<char>(data.size());
  body += data;
  body += static_cast<char>((0x100 - (sum & 0xFF)) & 0xFF);
  std::string frame = Bytes({0x10, id});
  for (const char c : body) {
    frame += c;
    if (c == 0x10) frame += c;
  }
  return frame + Bytes({0x10, 0x03});
}

inline std::string AckFrame(int id) { return Frame(6, Bytes({id, 0})); }
inline std::string CommandFrame(int command) { return Frame(10, Le16(static_cast<unsigned>(command))); }
inline std::string RecordsFrame(int count) { return Frame(27, Le16(static_cast<unsigned>(count))); }
inline std::string CompleteFrame(int command) { return Frame(12, Le16(static_cast<unsigned>(command))); }

inline std::string ProductFrame(int id, int version, std::string_view description) {
  return Frame(255, Le16(static_cast<unsigned>(id)) + Le16(static_cast<unsigned>(version)) + std::string(description) +
                        std::string(1, '\0'));
}

// A capability array from "L001,A010,..." entries.
inline std::string ArrayData(std::string_view list) {
  std::string bytes;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    bytes += list[start];
    bytes += Le16(static_cast<unsigned>(std::stoi(std::string(list.substr(start + 1, end - start - 1)))));
    start = end + 1;
  }
  return bytes;
}

inline const std::string kRequest = Frame(254);
inline const std::string kEtrexArray = "P000,L001,A010,A100,D108,A201,D202,D108,D210,A301,D310,D301,A500,D501";

// A job of the Garmin serial protocol on a scripted link.
struct GarminJob : ScriptedJob {
  GarminJob() { job.protocol = ProtocolType::GarminSerial; }

  // The product data exchange of a unit with a capability array.
  void Handshake(std::string_view array = kEtrexArray, int id = 130, int version = 280,
                 std::string_view description = "eTrex Legend") {
    script->Expect(kRequest).Answer(ProductFrame(id, version, description)).Expect(AckFrame(255));
    script->Answer(Frame(253, ArrayData(array))).Expect(AckFrame(253));
  }
};

}  // namespace trelvik::testing
