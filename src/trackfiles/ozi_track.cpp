#include "trackfiles/ozi_track.hpp"

#include <cmath>
#include <limits>

#include "base/c_format.hpp"
#include "records/number_parsers.hpp"
#include "trackfiles/kml_values.hpp"
#include "trackfiles/text_lines.hpp"

namespace trelvik {
namespace {

constexpr const char* kReadCaption = "Decoding track log file";
constexpr double kFirstDay = 32873;  // 1989-12-31, the day TrackTime 0 falls on
constexpr double kLastDay = kFirstDay + std::numeric_limits<TrackTime>::max() / 86400.0;
constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                   "jul", "aug", "sep", "oct", "nov", "dec"};

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// One point line; false when any field is out of its rule.
bool ParsePointLine(std::string_view line, TrackPoint& point) {
  FieldSplitter fields(line, ',');
  std::string_view lat, lon, skipped, feet, day;
  if (!fields.Next(lat) || !fields.Next(lon) || !fields.Next(skipped) || !fields.Next(feet) || !fields.Next(day)) {
    return false;
  }
  double latitude = 0, longitude = 0, altitude = 0, dayNumber = 0;
  if (ParseSignedReal(lat, latitude) < 0 || ParseSignedReal(lon, longitude) < 0) return false;
  if (!(latitude > -90 && latitude < 90 && longitude > -180 && longitude < 180)) return false;
  if (ParseSignedReal(feet, altitude) < 0 || altitude < -2000 || altitude > 30000) return false;
  if (ParseUnsignedReal(day, dayNumber) < 0 || dayNumber < kFirstDay || dayNumber >= kLastDay) return false;
  point = TrackPoint{};
  point.lat = DegreesToSemicircle(latitude);
  point.lon = DegreesToSemicircle(longitude);
  point.gpsAlt = FeetToDecimetres(altitude);
  point.time = static_cast<TrackTime>((dayNumber - kFirstDay) * 86400.0 + 0.5);
  return true;
}

}  // namespace

int32_t FeetToDecimetres(double feet) {
  const double decimetres = feet * 3.048;
  return static_cast<int32_t>(decimetres >= 0 ? decimetres + 0.5 : decimetres - 0.5);
}

int32_t DecimetresToFeet(int32_t decimetres) {
  const double feet = decimetres * 0.328084;
  return static_cast<int32_t>(feet >= 0 ? feet + 0.5 : feet - 0.5);
}

TrackFileRead ReadOziTrack(std::string_view text) {
  TextLines lines(text);
  std::string_view line;
  if (!lines.Next(line)) return TrackFileRead::Failure("Missing format line (1)", kReadCaption, 1);
  if (!StartsWith(line, "OziExplorer Track Point File")) {
    return TrackFileRead::Failure("Bad format line (1)", kReadCaption, 1);
  }
  if (!lines.Next(line)) return TrackFileRead::Failure("Missing map datum line (2)", kReadCaption, 2);
  if (line != "WGS 84") return TrackFileRead::Failure("Bad map datum line (2)", kReadCaption, 2);
  for (int skipped = 3; skipped <= 5; ++skipped) {
    if (!lines.Next(line)) return TrackFileRead::Failure("Missing line(s)", kReadCaption);
  }
  int32_t announced = 0;
  if (!lines.Next(line)) return TrackFileRead::Failure("Missing line(s)", kReadCaption);
  if (ParseSignedInt(line, announced) < 0 || announced < 0) {
    return TrackFileRead::Failure(CFormat("Bad line %d", lines.Number()), kReadCaption, lines.Number());
  }

  TrackFileRead read;
  std::vector<TrackPoint>& points = read.records.points;
  // The announced count is only believed as far as the text can hold it.
  points.reserve(std::min<size_t>(static_cast<size_t>(announced), text.size() / 16 + 1));
  const bool readToEnd = announced == 0;
  while (readToEnd || points.size() < static_cast<size_t>(announced)) {
    if (!lines.Next(line)) {
      if (readToEnd) break;
      return TrackFileRead::Failure("Missing line(s)", kReadCaption);
    }
    if (readToEnd && line.find_first_not_of(' ') == std::string_view::npos) continue;
    TrackPoint point;
    if (!ParsePointLine(line, point)) {
      return TrackFileRead::Failure(CFormat("Bad line %d", lines.Number()), kReadCaption, lines.Number());
    }
    points.push_back(point);
  }
  if (!points.empty()) points.front().flags = kNewSegment;
  return read;
}

FileWriteResult WriteOziTrack(std::span<const TrackPoint> points, TrackTime now) {
  const SystemTime stamp = DateFromTrackTime(now);
  std::string text =
      "OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\nReserved 3\r\n0,2,255,";
  text += CFormat("Trelvik track %02d.%02d.%02d %02d:%02d:%02d", stamp.day, stamp.month, stamp.year % 100,
                  stamp.hour, stamp.minute, stamp.second);
  text += "                  ,0,0,2,8421376\r\n";
  text += CFormat("%d\r\n", static_cast<int>(points.size()));
  for (const TrackPoint& point : points) {
    const SystemTime date = DateFromTrackTime(point.time);
    text += CFormat("  %.6f,  %.6f,%d,", SemicircleToDegrees(point.lat), SemicircleToDegrees(point.lon),
                    point.flags & kNewSegment);
    text += CFormat("%7d,%.7f, ", DecimetresToFeet(point.gpsAlt), point.time / 86400.0 + kFirstDay);
    text += CFormat("%02d-%s-%02d, %02d:%02d:%02d\r\n", date.day, kMonths[(date.month + 11) % 12], date.year % 100,
                    date.hour, date.minute, date.second);
  }
  return {std::move(text), std::nullopt};
}

}  // namespace trelvik
