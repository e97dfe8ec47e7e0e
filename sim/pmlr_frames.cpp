#include "pmlr_frames.hpp"

#include <cstdio>
#include <fstream>

namespace trelvik::sim {
namespace {

void Put32(std::string& out, uint32_t v) {
  out += static_cast<char>(v >> 24);
  out += static_cast<char>(v >> 16);
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v);
}

void Put24(std::string& out, int32_t v) {
  const auto u = static_cast<uint32_t>(v) & 0xFFFFFFu;
  out += static_cast<char>(u >> 16);
  out += static_cast<char>(u >> 8);
  out += static_cast<char>(u);
}

}  // namespace

bool PmlrCommandSumMatches(std::string_view line) {
  const size_t comma = line.rfind(',');
  if (comma == std::string_view::npos || comma + 5 > line.size()) return false;
  unsigned sum = 0;
  for (size_t i = 0; i <= comma; ++i) sum += static_cast<uint8_t>(line[i]);
  char text[8];
  std::snprintf(text, sizeof text, "%04X", sum & 0xFFFFu);
  return line.substr(comma + 1, 4) == text;
}

std::string PmlrFrame(uint8_t number, char kindLetter, uint8_t kindByte, std::string_view body, int sumError) {
  std::string frame;
  frame += static_cast<char>(0x8B);
  frame += static_cast<char>(number);
  frame += kindLetter;
  frame += static_cast<char>(kindByte);
  frame += body;
  unsigned sum = 0;
  for (const char c : frame) sum += static_cast<uint8_t>(c);
  sum = (sum + static_cast<unsigned>(sumError)) & 0xFFFFu;
  frame += static_cast<char>(sum >> 8);
  frame += static_cast<char>(sum & 0xFF);
  return frame + "\r\n";
}

std::string PmlrDataBody(int count, std::string_view entries) {
  std::string body(1, '\0');
  body += static_cast<char>(count);
  body += entries;
  return body;
}

std::string PointEntryBytes(uint16_t number, const LoggerFix& fix, uint8_t flag) {
  std::string e;
  e += static_cast<char>(number >> 8);
  e += static_cast<char>(number & 0xFF);
  Put32(e, GpsEpochSeconds(fix));
  Put32(e, static_cast<uint32_t>(Semicircles(fix.latDegrees)));
  Put32(e, static_cast<uint32_t>(Semicircles(fix.lonDegrees)));
  Put24(e, fix.altMetres * 10);
  e += static_cast<char>(flag);
  return e;
}

std::string WaypointEntryBytes(std::string_view name, uint32_t gpsTime, double latDegrees, double lonDegrees,
                               int altDecimetres) {
  std::string e(name.substr(0, 6));
  e.resize(6, ' ');
  Put32(e, gpsTime);
  Put32(e, static_cast<uint32_t>(Semicircles(latDegrees)));
  Put32(e, static_cast<uint32_t>(Semicircles(lonDegrees)));
  Put24(e, altDecimetres);
  e += '\0';
  return e;
}

void RecordBytes(const std::string& path, std::string_view bytes) {
  if (path.empty()) return;
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace trelvik::sim
