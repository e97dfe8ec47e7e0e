#include "waypoints/seeyou_waypoints.hpp"

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

constexpr size_t kMaxFields = 8;
constexpr size_t kFieldsOfAWaypoint = 7;
constexpr double kRadiansPerDegree = 0.01745329251994;

// "DDMM.mmmN" or "DDDMM.mmmE": degrees of a fixed width, decimal minutes, hemisphere.
bool ParseAngle(std::string_view field, bool isLatitude, Semicircle& angle) {
  field = TrimBlanks(field);
  const size_t degreeDigits = isLatitude ? 2 : 3;
  if (field.size() < degreeDigits + 2) return false;
  const char letter = ToUpper(field.back());
  int sign = 0;
  if (letter == (isLatitude ? 'N' : 'E')) sign = 1;
  if (letter == (isLatitude ? 'S' : 'W')) sign = -1;
  if (sign == 0) return false;
  int32_t degrees = 0;
  for (size_t i = 0; i < degreeDigits; ++i) {
    if (!IsDigit(field[i])) return false;
    degrees = degrees * 10 + (field[i] - '0');
  }
  double minutes = 0;
  const std::string_view minuteText = field.substr(degreeDigits, field.size() - degreeDigits - 1);
  // Two digits of whole minutes, then the decimals.
  const bool twoDigits = minuteText.size() >= 2 && IsDigit(minuteText[0]) && IsDigit(minuteText[1]);
  if (!twoDigits || (minuteText.size() > 2 && minuteText[2] != '.')) return false;
  if (ParseUnsignedReal(minuteText, minutes) != 0) return false;
  if (degrees >= (isLatitude ? 90 : 180) || !(minutes < 60.0)) return false;
  angle = RadiansToSemicircle(sign * (degrees + minutes / 60.0) * kRadiansPerDegree);
  return true;
}

bool ParseElevation(std::string_view field, int32_t& metres) {
  field = TrimBlanks(field);
  double factor = 0;
  if (field.ends_with("ft") || field.ends_with("FT")) {
    factor = kMetresPerFoot;
    field.remove_suffix(2);
  } else if (field.ends_with("m") || field.ends_with("M")) {
    factor = 1.0;
    field.remove_suffix(1);
  } else {
    return false;
  }
  double value = 0;
  if (ParseSignedReal(field, value) != 0 || !(std::fabs(value) < 1.0e8)) return false;
  metres = RoundHalfAway(value * factor);
  return true;
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

std::string MilliMinutes(Semicircle angle, int degreeDigits, char positive, char negative) {
  const int32_t value = SemicircleToMilliMinute(angle);
  const int32_t magnitude = std::abs(value);
  return CFormat("%0*d%02d.%03d%c", degreeDigits, magnitude / 60000, magnitude / 1000 % 60, magnitude % 1000,
                 value >= 0 ? positive : negative);
}

}  // namespace

bool IsSeeYouWaypointFile(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return bytes.starts_with("Title") || bytes.starts_with("name");
}

std::vector<std::string> SplitQuotedFields(std::string_view line, size_t maxFields) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (c == ',' && !quoted && fields.size() < maxFields) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

WaypointFileRead ReadSeeYouWaypoints(std::string_view bytes, const FileReadContext& context) {
  const bool fileIsUtf8 = IsValidUtf8(bytes);
  const std::vector<TextLine> lines = NonEmptyLines(bytes);
  WaypointFileRead read;
  read.records.waypoints.reserve(50);
  for (size_t i = 1; i < lines.size(); ++i) {
    const TextLine& line = lines[i];
    if (line.text.starts_with("-----")) break;
    const std::vector<std::string> fields = SplitQuotedFields(line.text, kMaxFields);
    if (fields.size() < kFieldsOfAWaypoint) continue;
    Waypoint waypoint;
    waypoint.time = context.now;
    const std::string title = FieldText(TrimBlanks(fields[0]), fileIsUtf8);
    std::optional<std::string> name = LenientId(FieldText(fields[1], fileIsUtf8));
    if (!name) name = LenientId(title);
    if (title.empty() || !name || !ParseAngle(fields[3], true, waypoint.lat) ||
        !ParseAngle(fields[4], false, waypoint.lon) || !ParseElevation(fields[5], waypoint.alt)) {
      return BadLine(line.number, kDecodingWaypointFile);
    }
    const std::string_view style = TrimBlanks(fields[6]);
    waypoint.airport = style == "2" || style == "5" ? 1 : 0;
    // A title longer than the record holds is cut to it.
    SetDescription(waypoint, title);
    CopyToField(*name, waypoint.name);
    read.records.waypoints.push_back(waypoint);
  }
  return read;
}

FileWriteResult WriteSeeYouWaypoints(const WaypointFileRecords& records) {
  FileWriteResult result;
  result.bytes = "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n";
  for (const Waypoint& waypoint : records.waypoints) {
    const std::string_view title = DescriptionOf(waypoint).empty() ? NameOf(waypoint) : DescriptionOf(waypoint);
    result.bytes += CFormat("%s,%s,,%s,%s,%d.0m,%d,,,,\r\n", Quoted(title).c_str(),
                            std::string(NameOf(waypoint)).c_str(), MilliMinutes(waypoint.lat, 2, 'N', 'S').c_str(),
                            MilliMinutes(waypoint.lon, 3, 'E', 'W').c_str(), waypoint.alt, waypoint.airport ? 2 : 1);
  }
  return result;
}

}  // namespace trelvik
