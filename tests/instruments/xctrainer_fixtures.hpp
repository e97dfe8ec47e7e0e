#pragma once
// Hand-built XC Trainer / TopNav traffic for the job tests and the fault
// sweep: MXP and TNCM lines, binary waypoint records and TopNav waypoint
// lines, written from the protocol description rather than by the codecs.
#include <cstdint>
#include <string>

#include "base/c_format.hpp"
#include "instruments/flytec_fixtures.hpp"

namespace trelvik::testing {

// 2024-07-15 00:00:00 as a TrackTime.
inline constexpr TrackTime kJuly15 = 1089936000u;

// `body` and the XOR of its characters as two hex digits.
inline std::string XorSummed(const std::string& body) {
  uint8_t sum = 0;
  for (const char c : body) sum = static_cast<uint8_t>(sum ^ static_cast<uint8_t>(c));
  return body + CFormat("%02X", sum);
}

// Two's complement in `digits` hex digits.
inline std::string HexField(int64_t value, int digits) {
  const uint64_t mask = (uint64_t{1} << (4 * digits)) - 1;
  return CFormat("%0*llX", digits, static_cast<unsigned long long>(static_cast<uint64_t>(value) & mask));
}

// "@xc"/"@tn", firmware 1234, S/N 0x1234, 2024-07-15 10:00:00, datum 1, interval 1.
inline std::string MxpHeaderLine(const char* id, int positions, int format) {
  return XorSummed(CFormat("%s123412340024071510000001%04X01%d00", id, positions, format)) + "\r\n";
}

// Position `record` at `offset` seconds, latitude/longitude in 1/24000 degree.
inline std::string MxpPositionLine(int record, int offset, int32_t lat, int32_t lon, int alt, int gpsAlt = -1) {
  std::string body = HexField(record, 4) + HexField(offset, 4) + "03" + HexField(lat, 6) + HexField(lon, 6) +
                     HexField(alt, 4);
  if (gpsAlt >= 0) body += HexField(gpsAlt, 4);
  return XorSummed(body) + "\r\n";
}

// 78 characters: "@TN", the format character, S/N 0x1234, 2024-07-15.
inline std::string TncmHeaderLine(char format) {
  return std::string("@TN?") + format + "1234V1.00 240715000000001E XC Trainer" + std::string(28, '0') + "  000000\r\n";
}

inline std::string TncmTimeLine(int hour, int minute, int second) {
  return CFormat("%02d%02d%02d00001AC0\r\n", hour, minute, second);
}

// Latitude and longitude in 1/6000 degree, then one or two altitudes, padded to 30 or 34 characters.
inline std::string TncmPositionLine(int32_t lat, int32_t lon, int alt, int gpsAlt = -1) {
  std::string line = HexField(lat, 6) + HexField(lon, 6) + HexField(alt, 4);
  if (gpsAlt >= 0) line += HexField(gpsAlt, 4);
  return line + std::string(14, '0') + "\r\n";
}

// A block: its time line and `count` positions going north by one unit a line.
inline std::string TncmBlock(int hour, int minute, int second, int count, int32_t lat = 278546) {
  std::string block = TncmTimeLine(hour, minute, second);
  for (int i = 0; i < count; ++i) block += TncmPositionLine(lat + i, 48810, 1500 + i);
  return block;
}

// The 31-byte record: "@@WP", the flag, altitude (big-endian), 11 name
// characters, "NO" 0x06 0x00, latitude and longitude (24-bit little-endian,
// 1/6000 degree), the XOR of bytes 2..27, CR LF.
inline std::string WaypointRecordBytes(const std::string& name, int alt, int32_t lat, int32_t lon,
                                       uint8_t flag = 0x81, int sumError = 0) {
  std::string r = "@@WP";
  r += static_cast<char>(flag);
  r += static_cast<char>((alt >> 8) & 0xFF);
  r += static_cast<char>(alt & 0xFF);
  std::string padded = name.substr(0, 11);
  padded.resize(11, ' ');
  r += padded;
  r += std::string("NO\x06\x00", 4);
  for (const int32_t v : {lat, lon}) {
    for (int shift = 0; shift < 24; shift += 8) r += static_cast<char>((v >> shift) & 0xFF);
  }
  uint8_t sum = 0;
  for (size_t i = 2; i < r.size(); ++i) sum = static_cast<uint8_t>(sum ^ static_cast<uint8_t>(r[i]));
  r += static_cast<char>(sum + sumError);
  return r + "\r\n";
}

inline constexpr double kSemicirclesPer24000th = 497.1026962963;
inline constexpr double kSemicirclesPer6000th = 1988.410785185;

struct XcTrainerJob : ScriptedJob {
  explicit XcTrainerJob(ProtocolType protocol) { job.protocol = protocol; }
};

inline std::string ShownMessages(const ScriptedJob& s) {
  std::string text;
  for (const RecordedMessage& m : s.channel.Messages()) text += m.text + " / " + m.caption + "\n";
  return text;
}

}  // namespace trelvik::testing
