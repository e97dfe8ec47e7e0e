#include "waypoints/geo_utm_waypoints.hpp"

#include <cstdlib>
#include <string>

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

// The next blank-separated word of `rest`, which moves past it.
std::string_view NextWord(std::string_view& rest) {
  rest = rest.substr(std::min(rest.size(), rest.find_first_not_of(' ')));
  const size_t end = std::min(rest.size(), rest.find(' '));
  const std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  return word;
}

// The description that ends a line, and the airport mark "[x]" at its end.
void TakeDescription(std::string_view rest, bool fileIsUtf8, Waypoint& waypoint) {
  std::string_view text = TrimBlanks(rest);
  if (text.size() >= 3 && text[text.size() - 3] == '[' && text.back() == ']') {
    const char mark = text[text.size() - 2];
    waypoint.airport = mark == 'A' || mark == 'a' ? 1 : 0;
    text = TrimBlanks(text.substr(0, text.size() - 3));
  }
  SetDescription(waypoint, FieldText(text, fileIsUtf8));
}

std::string DescriptionText(const Waypoint& waypoint) {
  std::string text = Utf8ToWindows1252(DescriptionOf(waypoint));
  if (waypoint.airport) text += " [A]";
  return text;
}

// The hemisphere letter and the degrees, minutes and seconds after it, each
// word separated by any number of blanks.
bool TakeAngle(std::string_view& rest, bool isLatitude, Semicircle& angle) {
  rest = rest.substr(std::min(rest.size(), rest.find_first_not_of(' ')));
  if (rest.empty()) return false;
  const char letter = ToUpper(rest.front());
  if (isLatitude ? letter != 'N' && letter != 'S' : letter != 'E' && letter != 'W') return false;
  rest.remove_prefix(1);
  std::string text(1, letter);
  for (int i = 0; i < 3; ++i) {
    const std::string_view word = NextWord(rest);
    if (word.empty()) return false;
    text += ' ';
    text += word;
  }
  double radians = 0;
  if (ParseLatLonText(text, isLatitude, radians) != 0) return false;
  angle = RadiansToSemicircle(radians);
  return true;
}

bool TakeAltitude(std::string_view& rest, bool whole, int32_t& metres) {
  const std::string_view word = NextWord(rest);
  if (word.empty()) return false;
  double value = 0;
  if (whole) {
    int32_t number = 0;
    if (ParseSignedInt(word, number) != 0) return false;
    value = number;
  } else if (ParseSignedReal(word, value) != 0 || !(value < 1.0e8)) {
    return false;
  }
  metres = value < 0 ? 0 : RoundHalfAway(value);
  return true;
}

using LineReader = bool (*)(std::string_view rest, bool fileIsUtf8, Waypoint& waypoint);

bool ReadGeoLine(std::string_view rest, bool fileIsUtf8, Waypoint& waypoint) {
  if (!TakeAngle(rest, true, waypoint.lat) || !TakeAngle(rest, false, waypoint.lon)) return false;
  if (!TakeAltitude(rest, false, waypoint.alt)) return false;
  TakeDescription(rest, fileIsUtf8, waypoint);
  return true;
}

bool ReadUtmLine(std::string_view rest, bool fileIsUtf8, Waypoint& waypoint) {
  UtmZone zone;
  std::string zoneText(NextWord(rest));
  if (!zoneText.empty() && IsDigit(zoneText.back())) {
    std::string_view after = rest;
    const std::string_view band = NextWord(after);
    if (band.size() == 1 && IsLetter(band.front())) {
      zoneText += band;
      rest = after;
    }
  }
  if (ParseUtmZone(zoneText, zone) != 0) return false;
  UtmPosition utm;
  utm.zone = zone.zone;
  utm.band = zone.band;
  if (ParseDecimal(NextWord(rest), utm.easting) != 0 || !(utm.easting >= 0 && utm.easting <= 1000000)) return false;
  if (ParseDecimal(NextWord(rest), utm.northing) != 0 || !(utm.northing >= 0 && utm.northing <= 20000000)) {
    return false;
  }
  if (!TakeAltitude(rest, true, waypoint.alt)) return false;
  const GeoPosition position = UtmToLatLon(utm);
  // A position beyond the latitude bands C..X has no UTM text to be written in again.
  const char band = UtmBandLetter(position.lat);
  if (band < 'C' || band > 'X') return false;
  waypoint.lat = RadiansToSemicircle(position.lat);
  waypoint.lon = RadiansToSemicircle(position.lon);
  TakeDescription(rest, fileIsUtf8, waypoint);
  return true;
}

WaypointFileRead ReadLines(std::string_view bytes, const FileReadContext& context, LineReader readLine) {
  FileAnswerReplay replay(context);
  StrictIdRule ids(replay, context.canAsk);
  const bool fileIsUtf8 = IsValidUtf8(bytes);
  const std::vector<TextLine> lines = NonEmptyLines(bytes);
  WaypointFileRead read;
  read.records.waypoints.reserve(20);
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string_view rest = lines[i].text;
    const std::string_view nameWord = NextWord(rest);
    Waypoint waypoint;
    waypoint.time = context.now;
    if (!readLine(rest, fileIsUtf8, waypoint)) return replay.Finish(BadLine(lines[i].number, kDecodingWaypointFile));
    std::string name;
    const IdStep step = ids.Clean(FieldText(nameWord, fileIsUtf8), name);
    if (step == IdStep::Stop) return replay.Finish(BadLine(lines[i].number, kDecodingWaypointFile));
    if (step == IdStep::Skip) continue;
    CopyToField(name, waypoint.name);
    read.records.waypoints.push_back(waypoint);
  }
  return replay.Finish(std::move(read));
}

struct Dms {
  char hemisphere;
  int32_t degrees, minutes, seconds, hundredths;
};

Dms ToDms(Semicircle angle, char positive, char negative) {
  const int32_t centi = SemicircleToCentiArcSec(angle);
  const int32_t magnitude = std::abs(centi);
  return {centi >= 0 ? positive : negative, magnitude / 360000, magnitude / 6000 % 60, magnitude / 100 % 60,
          magnitude % 100};
}

}  // namespace

WaypointFileRead ReadGeoWaypoints(std::string_view bytes, const FileReadContext& context) {
  return ReadLines(bytes, context, ReadGeoLine);
}

WaypointFileRead ReadUtmWaypoints(std::string_view bytes, const FileReadContext& context) {
  return ReadLines(bytes, context, ReadUtmLine);
}

FileWriteResult WriteGeoWaypoints(const WaypointFileRecords& records) {
  FileWriteResult result;
  result.bytes = std::string(kGeoWaypointMark) + "\r\n";
  for (const Waypoint& waypoint : records.waypoints) {
    const Dms lat = ToDms(waypoint.lat, 'N', 'S');
    const Dms lon = ToDms(waypoint.lon, 'E', 'W');
    result.bytes += CFormat("%-10s%c %02d %02d %02d.%02d    %c %03d %02d %02d.%02d %5d  %s\r\n",
                            std::string(NameOf(waypoint)).c_str(), lat.hemisphere, lat.degrees, lat.minutes,
                            lat.seconds, lat.hundredths, lon.hemisphere, lon.degrees, lon.minutes, lon.seconds,
                            lon.hundredths, waypoint.alt, DescriptionText(waypoint).c_str());
  }
  return result;
}

FileWriteResult WriteUtmWaypoints(const WaypointFileRecords& records) {
  FileWriteResult result;
  result.bytes = std::string(kUtmWaypointMark) + "\r\n";
  for (const Waypoint& waypoint : records.waypoints) {
    UtmPosition utm;
    LatLonToUtm(SemicircleToRadians(waypoint.lat, waypoint.lon), utm);
    const std::string name(NameOf(waypoint));
    result.bytes += CFormat("%s%*s%02d%c   %07d   %07d  %5d  %s\r\n", name.c_str(),
                            static_cast<int>(9 - name.size()), "", utm.zone, utm.band,
                            static_cast<int>(utm.easting + 0.5), static_cast<int>(utm.northing + 0.5), waypoint.alt,
                            DescriptionText(waypoint).c_str());
  }
  return result;
}

}  // namespace trelvik
