#include "trackfiles/magellan_track.hpp"

#include <cmath>

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "records/angle_parsers.hpp"
#include "records/date_time_parsers.hpp"
#include "records/number_parsers.hpp"
#include "trackfiles/ozi_track.hpp"
#include "trackfiles/text_lines.hpp"

namespace trelvik {
namespace {

constexpr const char* kReadCaption = "Decoding track log file";
// The limits less a fraction of a millimetre: 90 degrees of minutes converted
// to radians come out a hair below M_PI / 2.
constexpr double kRightAngle = M_PI / 2 - 1e-10;
constexpr double kStraightAngle = M_PI - 1e-10;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The sentence between "$" and "*" when the checksum after "*" matches.
bool CheckedSentence(std::string_view line, std::string_view& body) {
  if (line.empty() || line.front() != '$') return false;
  const size_t star = line.find('*');
  if (star == std::string_view::npos || star + 3 != line.size()) return false;
  const int high = HexDigit(line[star + 1]);
  const int low = HexDigit(line[star + 2]);
  if (high < 0 || low < 0) return false;
  unsigned sum = 0;
  for (size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(line[i]);
  if (sum != static_cast<unsigned>(high * 16 + low)) return false;
  body = line.substr(1, star - 1);
  return true;
}

// An unsigned angle, signed by its hemisphere letter; false beyond `limit`.
bool ParseAngle(std::string_view digits, std::string_view hemisphere, char positive, char negative, double limit,
                double& radians) {
  if (ParseNmeaAngleUnsigned(digits, radians) < 0 || radians >= limit) return false;
  if (hemisphere.size() != 1 || (hemisphere[0] != positive && hemisphere[0] != negative)) return false;
  if (hemisphere[0] == negative) radians = -radians;
  return true;
}

enum class LineResult { Point, Skipped, Bad };

LineResult ParseTrackSentence(std::string_view body, TrackPoint& point) {
  FieldSplitter fields(body, ',');
  std::string_view f[11];
  for (std::string_view& field : f) {
    if (!fields.Next(field)) return LineResult::Bad;
  }
  std::string_view rest;
  if (fields.Next(rest) || f[0] != "PMGNTRK") return LineResult::Bad;
  double lat = 0, lon = 0;
  if (!ParseAngle(f[1], f[2], 'N', 'S', kRightAngle, lat) || !ParseAngle(f[3], f[4], 'E', 'W', kStraightAngle, lon)) {
    return LineResult::Bad;
  }
  int32_t altitude = 0;
  if (ParseSignedInt(f[5], altitude) < 0) return LineResult::Bad;
  int32_t decimetres = 0;
  if (f[6] == "M") {
    if (altitude > 200000000 || altitude < -200000000) return LineResult::Bad;
    decimetres = altitude * 10;
  } else if (f[6] == "F") {
    decimetres = FeetToDecimetres(altitude);
  } else {
    return LineResult::Bad;
  }
  TimeOfDay time;
  if (ParseHhmmss(f[7], time) < 0) return LineResult::Bad;
  int32_t date = 0;
  if (ParseUnsignedInt(f[10], date) < 0 || date > 999999) return LineResult::Bad;
  const int day = date / 10000, month = date / 100 % 100, year = 2000 + date % 100;
  // A day the calendar does not have has no time to stand for.
  if (!IsValidCalendarDay(year, month, day)) return LineResult::Bad;
  if (f[8] != "A") return LineResult::Skipped;
  point = TrackPoint{};
  point.lat = RadiansToSemicircle(lat);
  point.lon = RadiansToSemicircle(lon);
  point.gpsAlt = decimetres;
  point.time = TrackTimeFromDate(SystemTime{static_cast<uint16_t>(year), static_cast<uint16_t>(month), 0,
                                            static_cast<uint16_t>(day), 0, 0, 0, 0}) +
               time.secondsOfDay + (time.fraction >= 0.5 ? 1 : 0);
  return LineResult::Point;
}

}  // namespace

TrackFileRead ReadMagellanTrack(std::string_view text) {
  TrackFileRead read;
  std::vector<TrackPoint>& points = read.records.points;
  points.reserve(1000);
  TextLines lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    if (lines.Number() == 1 && line.substr(0, 9) == "$PMGNFMT,") continue;
    // Blank lines (a file that ends in empty lines) hold no sentence to check.
    if (line.find_first_not_of(' ') == std::string_view::npos) continue;
    std::string_view body;
    TrackPoint point;
    if (!CheckedSentence(line, body)) {
      return TrackFileRead::Failure(CFormat("Bad line %d", lines.Number()), kReadCaption, lines.Number());
    }
    if (body.substr(0, 11) == "PMGNCMD,END") break;
    switch (ParseTrackSentence(body, point)) {
      case LineResult::Point: points.push_back(point); break;
      case LineResult::Skipped: break;
      case LineResult::Bad:
        return TrackFileRead::Failure(CFormat("Bad line %d", lines.Number()), kReadCaption, lines.Number());
    }
  }
  if (!points.empty()) points.front().flags = kNewSegment;
  return read;
}

}  // namespace trelvik
