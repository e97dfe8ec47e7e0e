#include "waypoints/compegps_waypoints.hpp"

#include <cmath>
#include <strings.h>

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "geo/position_text.hpp"
#include "geo/transverse_mercator.hpp"
#include "records/names.hpp"
#include "records/number_parsers.hpp"
#include "records/text_scan.hpp"
#include "settings/utf8_text.hpp"
#include "waypoints/text_reader_support.hpp"
#include "waypoints/waypoint_text.hpp"

namespace trelvik {
namespace {

constexpr size_t kMinimumFields = 8;
constexpr double kRadiansPerDegree = 0.01745329251994;
constexpr double kDegreesPerRadian = 57.29577951308;
constexpr char kDegreeSign = '\xBA';
constexpr std::string_view kUtf8DegreeSign = "\xC2\xBA";
constexpr const char* kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                   "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// The blank-separated words of a line, each with where it starts.
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    const size_t start = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    if (at > start) words.push_back(line.substr(start, at - start));
  }
  return words;
}

bool IsDatumLine(std::string_view line) {
  const std::vector<std::string_view> words = Words(line);
  return words.size() == 3 && words[0] == "G" && words[1] == "WGS" && words[2] == "84";
}

// Decimal degrees, an optional degree sign, then the hemisphere letter. The
// letter gives the side, so a signed magnitude of older files reads the same.
bool ParseAngle(std::string_view word, bool isLatitude, Semicircle& angle) {
  if (word.empty()) return false;
  const char letter = ToUpper(word.back());
  int sign = 0;
  if (letter == (isLatitude ? 'N' : 'E')) sign = 1;
  if (letter == (isLatitude ? 'S' : 'W')) sign = -1;
  if (sign == 0) return false;
  word.remove_suffix(1);
  if (word.ends_with(kUtf8DegreeSign)) {
    word.remove_suffix(kUtf8DegreeSign.size());
  } else if (!word.empty() && word.back() == kDegreeSign) {
    word.remove_suffix(1);
  }
  double degrees = 0;
  if (ParseSignedReal(word, degrees) != 0 || !(std::fabs(degrees) <= (isLatitude ? 90.0 : 180.0))) return false;
  angle = RadiansToSemicircle(sign * std::fabs(degrees) * kRadiansPerDegree);
  return true;
}

bool ParseUtm(const std::vector<std::string_view>& words, Waypoint& waypoint) {
  UtmZone zone;
  UtmPosition utm;
  if (ParseUtmZone(words[2], zone) != 0 || ParseDecimal(words[3], utm.easting) != 0 ||
      ParseDecimal(words[4], utm.northing) != 0) {
    return false;
  }
  if (!(utm.easting >= 0 && utm.easting <= 1000000 && utm.northing >= 0 && utm.northing <= 20000000)) return false;
  utm.zone = zone.zone;
  utm.band = zone.band;
  const GeoPosition position = UtmToLatLon(utm);
  waypoint.lat = RadiansToSemicircle(position.lat);
  waypoint.lon = RadiansToSemicircle(position.lon);
  return true;
}

bool ReadWLine(std::string_view line, bool fileIsUtf8, Waypoint& waypoint) {
  const std::vector<std::string_view> words = Words(line);
  if (words.size() < kMinimumFields) return false;
  const std::optional<std::string> name = LenientId(FieldText(words[1], fileIsUtf8));
  if (!name) return false;
  if (words[2] == "A") {
    if (!ParseAngle(words[3], true, waypoint.lat) || !ParseAngle(words[4], false, waypoint.lon)) return false;
  } else if (!ParseUtm(words, waypoint)) {
    return false;
  }
  double altitude = 0;
  if (ParseSignedReal(words[7], altitude) != 0 || !(std::fabs(altitude) < 1.0e8)) return false;
  waypoint.alt = RoundHalfAway(altitude);
  if (words.size() > kMinimumFields) {
    const size_t start = static_cast<size_t>(words[8].data() - line.data());
    SetDescription(waypoint, FieldText(TrimBlanks(line.substr(start)), fileIsUtf8));
  }
  CopyToField(*name, waypoint.name);
  return true;
}

bool IsAirportType(std::string_view line) {
  std::string_view type = TrimBlanks(line.substr(1));
  type = type.substr(0, type.find(','));
  return strncasecmp(std::string(type).c_str(), "airport", 7) == 0 ||
         strncasecmp(std::string(type).c_str(), "airfield", 8) == 0;
}

}  // namespace

WaypointFileRead ReadCompeGpsWaypoints(std::string_view bytes, const FileReadContext& context) {
  const bool fileIsUtf8 = IsValidUtf8(bytes);
  const std::vector<TextLine> lines = NonEmptyLines(bytes);
  WaypointFileRead read;
  if (lines.empty()) return read;
  if (!IsDatumLine(lines[0].text)) return BadLine(lines[0].number, kDecodingCompeGpsFile);
  read.records.waypoints.reserve(20);
  bool lastWasWaypoint = false;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string_view text = lines[i].text;
    if (text.starts_with("W ")) {
      Waypoint waypoint;
      waypoint.time = context.now;
      if (!ReadWLine(text, fileIsUtf8, waypoint)) return BadLine(lines[i].number, kDecodingCompeGpsFile);
      read.records.waypoints.push_back(waypoint);
      lastWasWaypoint = true;
      continue;
    }
    if (text.starts_with("w ") && lastWasWaypoint && IsAirportType(text)) read.records.waypoints.back().airport = 1;
    lastWasWaypoint = false;
  }
  return read;
}

FileWriteResult WriteCompeGpsWaypoints(const WaypointFileRecords& records, TrackTime now) {
  const SystemTime t = DateFromTrackTime(now);
  const std::string stamp =
      CFormat("%d-%s-%d %02d:%02d:%02d", t.day, kMonths[(t.month + 11) % 12], t.year, t.hour, t.minute, t.second);
  FileWriteResult result;
  result.bytes = "G  WGS 84\r\nU  1\r\n";
  for (const Waypoint& waypoint : records.waypoints) {
    const double lat = SemicircleToRadians(waypoint.lat) * kDegreesPerRadian;
    const double lon = SemicircleToRadians(waypoint.lon) * kDegreesPerRadian;
    result.bytes += CFormat("W  %s A %.7f%c%c %.7f%c%c %s %d.000000 %s\r\n", std::string(NameOf(waypoint)).c_str(),
                            std::fabs(lat), kDegreeSign, lat < 0 ? 'S' : 'N', std::fabs(lon), kDegreeSign,
                            lon < 0 ? 'W' : 'E', stamp.c_str(), waypoint.alt,
                            Utf8ToWindows1252(DescriptionOf(waypoint)).c_str());
    result.bytes += CFormat("w %s,,,,,,,,,\r\n", waypoint.airport ? "Airport" : "Waypoint");
  }
  return result;
}

}  // namespace trelvik
