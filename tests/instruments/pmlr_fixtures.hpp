#pragma once
// Hand-built $PMLR binary frames for the MLR and LogIt tests.
#include <cstdint>
#include <string>
#include <string_view>

namespace trelvik::testing {

// 0x8B, number, kind ("T\x01" / "W\x02"), body, 16-bit sum high first, CR LF.
inline std::string Frame(uint8_t number, std::string_view kind, std::string_view body, int sumError = 0) {
  std::string frame = "\x8B";
  frame += static_cast<char>(number);
  frame += kind;
  frame += body;
  unsigned sum = 0;
  for (const char c : frame) sum += static_cast<uint8_t>(c);
  sum = (sum + static_cast<unsigned>(sumError)) & 0xFFFF;
  frame += static_cast<char>(sum >> 8);
  frame += static_cast<char>(sum & 0xFF);
  return frame + "\r\n";
}

inline void Put32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(v >> shift);
}

// An 18-byte track entry.
inline std::string PointBytes(uint16_t number, uint32_t time, int32_t lat, int32_t lon, int32_t altitude,
                              uint8_t flags) {
  std::string e;
  e += static_cast<char>(number >> 8);
  e += static_cast<char>(number & 0xFF);
  Put32(e, time);
  Put32(e, static_cast<uint32_t>(lat));
  Put32(e, static_cast<uint32_t>(lon));
  for (int shift = 16; shift >= 0; shift -= 8) e += static_cast<char>(static_cast<uint32_t>(altitude) >> shift);
  e += static_cast<char>(flags);
  return e;
}

// A data body: 0, the count, the entries.
inline std::string DataBody(int count, std::string_view entries) {
  std::string body(1, '\0');
  body += static_cast<char>(count);
  return body + std::string(entries);
}

}  // namespace trelvik::testing
