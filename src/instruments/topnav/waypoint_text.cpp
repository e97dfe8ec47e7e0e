#include "instruments/topnav/waypoint_text.hpp"

#include <span>
#include <string>
#include <vector>

#include "geo/angles.hpp"
#include "records/names.hpp"

namespace trelvik::topnav {
namespace {

constexpr size_t kTokens = 13;  // name, any, type, 4 of latitude, 4 of longitude, altitude, "m"
constexpr double kSemicirclesPerArcSecond = 2147483648.0 / (180.0 * 3600.0);

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    const size_t start = at;
    while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
    if (at > start) tokens.push_back(line.substr(start, at - start));
  }
  return tokens;
}

// A whole number below `limit` (no sign unless `signedValue`), or -1.
bool Number(std::string_view token, int64_t limit, bool signedValue, int64_t& value) {
  bool negative = false;
  if (signedValue && !token.empty() && token.front() == '-') {
    negative = true;
    token.remove_prefix(1);
  }
  if (token.empty() || token.size() > 9) return false;
  value = 0;
  for (const char c : token) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  return value < limit;
}

bool Angle(std::span<const std::string_view> t, char plus, char minus, int64_t degreeLimit, Semicircle& angle) {
  if (t[0].size() != 1 || (t[0][0] != plus && t[0][0] != minus)) return false;
  int64_t degrees = 0, minutes = 0, seconds = 0;
  if (!Number(t[1], degreeLimit, false, degrees) || !Number(t[2], 60, false, minutes) ||
      !Number(t[3], 60, false, seconds)) {
    return false;
  }
  const double arcSeconds = static_cast<double>(degrees * 3600 + minutes * 60 + seconds);
  angle = RoundHalfAway((t[0][0] == minus ? -arcSeconds : arcSeconds) * kSemicirclesPerArcSecond);
  return true;
}

}  // namespace

WaypointLine DecodeWaypointLine(std::string_view line, Waypoint& waypoint) {
  if (line.empty() || line.front() == ';') return WaypointLine::Skipped;
  if (line.substr(0, 4) == "@EOF") return WaypointLine::End;
  const std::vector<std::string_view> t = Tokens(line);
  if (t.empty()) return WaypointLine::Skipped;
  if (t.size() < 3) return WaypointLine::Bad;
  if (t[2] != "TPT") return WaypointLine::Skipped;
  if (t.size() != kTokens || t[12] != "m") return WaypointLine::Bad;
  waypoint = Waypoint{};
  int64_t alt = 0;
  if (!Angle(std::span(t).subspan(3, 4), 'N', 'S', 90, waypoint.lat) ||
      !Angle(std::span(t).subspan(7, 4), 'E', 'W', 180, waypoint.lon) || !Number(t[11], 1000000, true, alt)) {
    return WaypointLine::Bad;
  }
  waypoint.alt = alt < 0 ? 0 : static_cast<int32_t>(alt);
  std::string name(t[0].substr(0, 6));
  while (!name.empty() && name.back() == '_') name.pop_back();
  CopyToField(name, waypoint.name);
  return WaypointLine::Waypoint;
}

}  // namespace trelvik::topnav
