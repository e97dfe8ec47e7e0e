#include "waypoints/winpilot_waypoints.hpp"

#include <cmath>
#include <cstdlib>

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "records/names.hpp"
#include "records/number_parsers.hpp"
#include "records/text_scan.hpp"
#include "settings/utf8_text.hpp"
#include "waypoints/text_reader_support.hpp"
#include "waypoints/waypoint_text.hpp"

namespace trelvik {
namespace {

constexpr size_t kMinimumFields = 6;
constexpr size_t kWrittenTextLength = 12;
constexpr double kRadiansPerDegree = 0.01745329251994;

// Degrees, a colon and decimal minutes, or degrees, minutes and seconds
// separated by colons, then directly the hemisphere letter.
bool ParseAngle(std::string_view field, bool isLatitude, Semicircle& angle) {
  field = TrimBlanks(field);
  if (field.size() < 2) return false;
  const char letter = ToUpper(field.back());
  int sign = 0;
  if (letter == (isLatitude ? 'N' : 'E')) sign = 1;
  if (letter == (isLatitude ? 'S' : 'W')) sign = -1;
  if (sign == 0) return false;
  const std::vector<std::string_view> parts = SplitFields(field.substr(0, field.size() - 1), ':');
  if (parts.size() < 2 || parts.size() > 3) return false;
  int32_t degrees = 0;
  double minutes = 0;
  double seconds = 0;
  if (TrimBlanks(parts[0]).empty() || ParseUnsignedInt(parts[0], degrees) != 0) return false;
  if (TrimBlanks(parts[1]).empty() || ParseUnsignedReal(parts[1], minutes) != 0) return false;
  if (parts.size() == 3 && (TrimBlanks(parts[2]).empty() || ParseUnsignedReal(parts[2], seconds) != 0)) return false;
  if (degrees >= (isLatitude ? 90 : 180) || !(minutes < 60.0) || !(seconds < 60.0)) return false;
  angle = RadiansToSemicircle(sign * (degrees + minutes / 60.0 + seconds / 3600.0) * kRadiansPerDegree);
  return true;
}

// Optional sign, a number with an optional fraction, then nothing, "M" or "F".
bool ParseAltitude(std::string_view field, int32_t& metres) {
  field = TrimBlanks(field);
  double factor = 1.0;
  if (!field.empty() && (field.back() == 'F' || field.back() == 'f')) {
    factor = kMetresPerFoot;
    field.remove_suffix(1);
  } else if (!field.empty() && (field.back() == 'M' || field.back() == 'm')) {
    field.remove_suffix(1);
  }
  double value = 0;
  if (ParseSignedReal(field, value) != 0 || !(std::fabs(value) < 1.0e8)) return false;
  metres = RoundHalfAway(value * factor);
  return true;
}

std::string DegreesMinutes(Semicircle angle, char positive, char negative) {
  const int32_t value = SemicircleToMilliMinute(angle);
  const int32_t magnitude = std::abs(value);
  return CFormat("%d:%02d.%03d%c", magnitude / 60000, magnitude / 1000 % 60, magnitude % 1000,
                 value >= 0 ? positive : negative);
}

// A text field of at most 12 characters; a comma would end the field, so it
// is written as a blank.
std::string WrittenText(std::string_view utf8) {
  std::string text = Utf8ToWindows1252(CutToCharacters(utf8, kWrittenTextLength));
  for (char& c : text) {
    if (c == ',') c = ' ';
  }
  return text;
}

}  // namespace

WaypointFileRead ReadWinPilotWaypoints(std::string_view bytes, const FileReadContext& context) {
  const bool fileIsUtf8 = IsValidUtf8(bytes);
  WaypointFileRead read;
  read.records.waypoints.reserve(50);
  for (const TextLine& line : NonEmptyLines(bytes)) {
    const std::vector<std::string_view> fields = SplitFields(line.text, ',');
    Waypoint waypoint;
    waypoint.time = context.now;
    int32_t number = 0;
    std::optional<std::string> name;
    if (fields.size() < kMinimumFields || TrimBlanks(fields[0]).empty() ||
        ParseUnsignedInt(fields[0], number) != 0 || !ParseAngle(fields[1], true, waypoint.lat) ||
        !ParseAngle(fields[2], false, waypoint.lon) || !ParseAltitude(fields[3], waypoint.alt) ||
        !(name = LenientId(FieldText(fields[5], fileIsUtf8)))) {
      return WaypointFileRead::Failure(CFormat("Bad line %d", line.number), kDecodingWinPilotFile, line.number);
    }
    const std::string_view type = TrimBlanks(fields[4]);
    waypoint.airport = !type.empty() && ToUpper(type.front()) == 'A' ? 1 : 0;
    // A description with commas of its own was cut into several fields.
    if (fields.size() > 6) {
      const size_t start = static_cast<size_t>(fields[6].data() - line.text.data());
      SetDescription(waypoint, FieldText(TrimBlanks(line.text.substr(start)), fileIsUtf8));
    }
    CopyToField(*name, waypoint.name);
    read.records.waypoints.push_back(waypoint);
  }
  return read;
}

FileWriteResult WriteWinPilotWaypoints(const WaypointFileRecords& records) {
  FileWriteResult result;
  int number = 0;
  for (const Waypoint& waypoint : records.waypoints) {
    result.bytes += CFormat("%d,%s,%s,%d,%c,%s,%s\r\n", ++number, DegreesMinutes(waypoint.lat, 'N', 'S').c_str(),
                            DegreesMinutes(waypoint.lon, 'E', 'W').c_str(), waypoint.alt,
                            waypoint.airport ? 'A' : 'T', WrittenText(NameOf(waypoint)).c_str(),
                            WrittenText(DescriptionOf(waypoint)).c_str());
  }
  return result;
}

}  // namespace trelvik
