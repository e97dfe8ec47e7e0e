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

namespace trelvik::testing {

inline const std::string kPmlrEnd = "$PMLR,06,00,02A9\r\n";
inline const std::string kPmlrProductRequest = "$PMLR,26,01,01,0339\r\n";

// "$PMLR,IDGPS,01,<fields>" with its XOR checksum.
inline std::string PmlrProduct(std::string_view fields) {
  std::string body = "PMLR,IDGPS,01," + std::string(fields);
  unsigned sum = 0;
  for (unsigned char c : body) sum ^= c;
  constexpr char kHex[] = "0123456789ABCDEF";
  return "$" + body + "*" + kHex[sum >> 4] + kHex[sum & 15] + "\r\n";
}

// `count` track entries numbered from `first` (16 bits, wrapping), 2 s apart.
inline std::string PointRun(uint32_t first, int count, uint32_t time = 1'400'000'000u) {
  std::string entries;
  for (int k = 0; k < count; ++k) {
    entries += PointBytes(static_cast<uint16_t>(first + static_cast<uint32_t>(k)), time + 2u * static_cast<uint32_t>(k),
                          100 * k, -50 * k, 1000 + k, 0);
  }
  return entries;
}

// The frames of a whole transfer: DEBUT, data frames of at most `perFrame`
// entries of `entrySize` bytes, FIN; numbered from `firstNumber`.
inline std::string Transfer(std::string_view kind, const std::string& entries, size_t entrySize, int perFrame,
                            uint8_t firstNumber = 0, std::string_view start = "DEBUT") {
  uint8_t number = firstNumber;
  std::string out = Frame(number++, kind, start);
  for (size_t at = 0; at < entries.size(); at += entrySize * static_cast<size_t>(perFrame)) {
    const std::string part = entries.substr(at, entrySize * static_cast<size_t>(perFrame));
    out += Frame(number++, kind, DataBody(static_cast<int>(part.size() / entrySize), part));
  }
  return out + Frame(number, kind, "FIN");
}

}  // namespace trelvik::testing
