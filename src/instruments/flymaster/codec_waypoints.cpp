// Waypoint sentences in both directions and the upload's acknowledgement.
#include <cmath>

#include "access/nmea.hpp"
#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "instruments/flymaster/codec.hpp"
#include "records/names.hpp"
#include "records/number_parsers.hpp"
#include "records/text_scan.hpp"

namespace trelvik::flymaster {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMilliMinutesPerRadian = 3437746.770785;
constexpr size_t kUploadNameLength = 16;
constexpr int kHighestAltitude = 9999;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Thousandths of a minute of an angle, rounded half away from zero on its magnitude.
int32_t MilliMinutes(Semicircle angle) {
  return RoundHalfAway(std::fabs(SemicircleToRadians(angle) * kMilliMinutesPerRadian));
}

// The name as the unit echoes it in a new-form acknowledgement.
std::string AckedName(std::string_view sent) {
  std::string name(sent);
  for (char& c : name) {
    c = ToUpper(c);
    if (!IsUpperLetter(c) && !IsDigit(c)) c = ' ';
  }
  return name;
}

}  // namespace

bool PrefixLineCollector::Feed(uint8_t c) {
  if (matched_ < prefix_.size()) {
    if (static_cast<char>(c) == prefix_[matched_]) {
      ++matched_;
    } else {
      matched_ = static_cast<char>(c) == prefix_[0] ? 1 : 0;
    }
    if (matched_ == prefix_.size()) {
      line_.assign(prefix_);
      awaitLf_ = false;
    }
    return false;
  }
  if (awaitLf_) {
    if (c != '\n') return false;
    matched_ = 0;
    awaitLf_ = false;
    return true;
  }
  if (c == '\r') {
    awaitLf_ = true;
  } else if (line_.size() < limit_) {
    line_ += static_cast<char>(c);
  }
  return false;
}

int CheckSentence(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
  const size_t star = line.find('*');
  if (star == std::string_view::npos) return 4;
  const int high = star + 1 < line.size() ? HexDigit(line[star + 1]) : -1;
  const int low = star + 2 < line.size() ? HexDigit(line[star + 2]) : -1;
  if (high < 0 || low < 0) return 1;
  if (star + 3 != line.size()) return 2;
  const std::string_view body = line.substr(0, star);
  if (NmeaChecksum(body) != (high << 4 | low)) return 3;
  size_t start = 0;
  for (;;) {
    const size_t comma = body.find(',', start);
    fields.push_back(body.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return 0;
}

int ParseWaypointLine(std::string_view line, WaypointLine& waypoint) {
  std::vector<std::string_view> fields;
  if (const int code = CheckSentence(line, fields); code != 0) return code;
  if (fields.size() < 7) return 5;
  WaypointLine parsed;
  if (ParseUnsignedReal(fields[1], parsed.lat) < 0) return 6;
  if (fields[2] != "N" && fields[2] != "S") return 7;
  if (ParseUnsignedReal(fields[3], parsed.lon) < 0) return 8;
  if (fields[4] != "E" && fields[4] != "W") return 9;
  if (ParseSignedReal(fields[5], parsed.alt) < 0) return 10;
  parsed.name = std::string(fields[6]);
  CollapseBlanks(parsed.name);
  if (parsed.name.empty()) return 11;
  if (fields[2] == "S") parsed.lat = -parsed.lat;
  if (fields[4] == "W") parsed.lon = -parsed.lon;
  int32_t flag = 0;
  parsed.landing = fields.size() > 7 && ParseUnsignedInt(fields[7], flag) == 0 && flag == 1;
  waypoint = std::move(parsed);
  return 0;
}

Waypoint WaypointFromLine(const WaypointLine& line, TrackTime now) {
  Waypoint w;
  w.lat = RadiansToSemicircle(line.lat * kPi / 180.0);
  w.lon = RadiansToSemicircle(line.lon * kPi / 180.0);
  w.alt = static_cast<int32_t>(line.alt + 0.5);
  std::string name;
  if (CleanWaypointName(line.name, true, name) < 0) name.clear();
  CopyToField(name, w.name);
  CopyToField(std::string_view(line.name).substr(0, kWaypointDescriptionLength), w.description);
  w.time = now;
  w.airport = line.landing ? 1 : 0;
  return w;
}

std::string PFMWPR(const Waypoint& waypoint, std::string& sentName) {
  const int32_t lat = MilliMinutes(waypoint.lat);
  const int32_t lon = MilliMinutes(waypoint.lon);
  sentName = SentenceText(waypoint.description, kUploadNameLength);
  sentName.resize(kUploadNameLength, ' ');
  const int32_t alt = waypoint.alt < 0 ? 0 : (waypoint.alt > kHighestAltitude ? kHighestAltitude : waypoint.alt);
  std::string body = CFormat("PFMWPR,%04d.%03d,%c,%05d.%03d,%c,,%s,%04d", lat / 60000 * 100 + lat / 1000 % 60,
                             lat % 1000, waypoint.lat < 0 ? 'S' : 'N', lon / 60000 * 100 + lon / 1000 % 60, lon % 1000,
                             waypoint.lon < 0 ? 'W' : 'E', sentName.c_str(), alt);
  if (waypoint.airport != 0) body += ",1";
  return PfmSentence(body, true);
}

int CheckWaypointAck(std::string_view line, std::string_view sentName, bool oldForm) {
  std::vector<std::string_view> fields;
  if (const int code = CheckSentence(line, fields); code != 0) return code;
  if (oldForm) {
    if (fields.size() < 2) return 5;
    return TrimTrailingBlanks(fields[1]) == TrimTrailingBlanks(sentName) ? 0 : 7;
  }
  if (fields.size() < 3) return 5;
  if (fields[1] != "ACK") return 6;
  return TrimTrailingBlanks(fields[2]) == TrimTrailingBlanks(AckedName(sentName)) ? 0 : 7;
}

}  // namespace trelvik::flymaster
