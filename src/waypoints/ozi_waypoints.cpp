#include "waypoints/ozi_waypoints.hpp"

#include <cmath>
#include <string>

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "records/names.hpp"
#include "records/number_parsers.hpp"
#include "settings/utf8_text.hpp"
#include "waypoints/text_reader_support.hpp"
#include "waypoints/waypoint_text.hpp"

namespace trelvik {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308;
constexpr double kRadiansPerDegree = 0.01745329251994;
constexpr int32_t kDayOfTimeBase = 32873;  // 1989-12-31 counted from 1899-12-30
constexpr double kSecondsPerDay = 86400.0;
constexpr int kHeaderLines = 4;
constexpr char kCommaInField = '\xD1';
constexpr int32_t kNoAltitudeFeet = -777;

std::string OziField(std::string_view bytes, bool fileIsUtf8) {
  std::string raw(bytes);
  if (!fileIsUtf8) {
    for (char& c : raw) {
      if (c == kCommaInField) c = ',';
    }
  }
  return FieldText(raw, fileIsUtf8);
}

std::string OziText(std::string_view utf8) {
  std::string text = Utf8ToWindows1252(utf8);
  for (char& c : text) {
    if (c == ',') c = kCommaInField;
  }
  return text;
}

bool ParseDegrees(std::string_view field, double limit, Semicircle& angle) {
  double degrees = 0;
  if (ParseSignedReal(field, degrees) != 0 || !(std::fabs(degrees) < limit)) return false;
  angle = RadiansToSemicircle(degrees * kRadiansPerDegree);
  return true;
}

// An empty day field, like 0, means the file gives no time.
bool ParseDay(std::string_view field, TrackTime now, TrackTime& time) {
  double day = 0;
  if (!TrimBlanks(field).empty() && ParseSignedReal(field, day) != 0) return false;
  if (!(day < 1.0e6)) return false;
  if (day == 0) {
    time = now;
    return true;
  }
  if (day < kDayOfTimeBase) day = kDayOfTimeBase;
  time = static_cast<TrackTime>((day - kDayOfTimeBase) * kSecondsPerDay + 0.5);
  return true;
}

bool ParseAltitude(std::string_view field, int32_t& metres) {
  double feet = 0;
  if (TrimBlanks(field).empty()) {
    metres = 0;
    return true;
  }
  if (ParseSignedReal(field, feet) != 0 || !(std::fabs(feet) < 1.0e8)) return false;
  metres = feet == kNoAltitudeFeet ? 0 : RoundHalfAway(feet * kMetresPerFoot);
  if (metres < 0) metres = 0;
  return true;
}

}  // namespace

WaypointFileRead ReadOziWaypoints(std::string_view bytes, const FileReadContext& context) {
  FileAnswerReplay replay(context);
  StrictIdRule ids(replay, context.canAsk);
  const bool fileIsUtf8 = IsValidUtf8(bytes);
  const std::vector<TextLine> lines = NonEmptyLines(bytes);
  WaypointFileRead read;
  read.records.waypoints.reserve(20);
  for (size_t i = kHeaderLines; i < lines.size(); ++i) {
    const TextLine& line = lines[i];
    const std::vector<std::string_view> fields = SplitFields(line.text, ',');
    Waypoint waypoint;
    std::string name;
    if (fields.size() < 6) return replay.Finish(BadLine(line.number, kDecodingWaypointFile));
    int32_t symbol = 0;
    if (!ParseDegrees(fields[2], 90.0, waypoint.lat) || !ParseDegrees(fields[3], 180.0, waypoint.lon) ||
        !ParseDay(fields[4], context.now, waypoint.time) || ParseSignedInt(fields[5], symbol) != 0) {
      return replay.Finish(BadLine(line.number, kDecodingWaypointFile));
    }
    if (fields.size() > 10) SetDescription(waypoint, TrimBlanks(OziField(fields[10], fileIsUtf8)));
    if (fields.size() > 14 && !ParseAltitude(fields[14], waypoint.alt)) {
      return replay.Finish(BadLine(line.number, kDecodingWaypointFile));
    }
    const IdStep step = ids.Clean(OziField(fields[1], fileIsUtf8), name);
    if (step == IdStep::Stop) return replay.Finish(BadLine(line.number, kDecodingWaypointFile));
    if (step == IdStep::Skip) continue;
    CopyToField(name, waypoint.name);
    read.records.waypoints.push_back(waypoint);
  }
  return replay.Finish(std::move(read));
}

FileWriteResult WriteOziWaypoints(const WaypointFileRecords& records) {
  FileWriteResult result;
  std::string& text = result.bytes;
  text = "OziExplorer Waypoint File Version 1.0\r\nWGS 84\r\nReserved 2\r\nReserved 3\r\n";
  int number = 0;
  for (const Waypoint& waypoint : records.waypoints) {
    const double day = waypoint.time / kSecondsPerDay + kDayOfTimeBase;
    const int32_t feet = RoundHalfAway(waypoint.alt * kFeetPerMetre);
    text += CFormat("%4d,%-14s,%11.6f,%11.6f,%.7f,%d, 1, 3, 0, 65535,%-40s, 0, 0, 0, %d\r\n", ++number,
                    std::string(NameOf(waypoint)).c_str(), SemicircleToRadians(waypoint.lat) * kDegreesPerRadian,
                    SemicircleToRadians(waypoint.lon) * kDegreesPerRadian, day, 0,
                    OziText(DescriptionOf(waypoint)).c_str(), feet);
  }
  return result;
}

}  // namespace trelvik
