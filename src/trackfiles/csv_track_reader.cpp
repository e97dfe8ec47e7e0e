#include <string>
#include <vector>

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "records/number_parsers.hpp"
#include "settings/utf8_text.hpp"
#include "trackfiles/csv_track.hpp"
#include "trackfiles/kml_values.hpp"
#include "trackfiles/text_lines.hpp"
#include "trackfiles/windows1252.hpp"
#include "trackfiles/xml_text.hpp"

namespace trelvik {
namespace {

constexpr const char* kReadCaption = "Read CSV track log file";
constexpr size_t kMaxFields = 20;
constexpr int kNone = -1;

// Up to 20 fields of a line, each without its quotes.
struct Fields {
  std::string_view field[kMaxFields];
  size_t count = 0;
};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The fields of a line; false when a quote stands inside an unquoted field or
// a quoted field is not closed. Blanks around a field are not part of it.
bool SplitFields(std::string_view line, char separator, Fields& fields) {
  line = Trim(line);
  fields.count = 0;
  size_t at = 0;
  while (at <= line.size() && fields.count < kMaxFields) {
    std::string_view field;
    size_t start = at;
    while (start < line.size() && line[start] == ' ') ++start;
    if (start < line.size() && line[start] == '"') {
      const size_t close = line.find('"', start + 1);
      if (close == std::string_view::npos) return false;
      field = line.substr(start + 1, close - start - 1);
      at = close + 1;
      while (at < line.size() && line[at] == ' ') ++at;
      if (at < line.size() && line[at] != separator) return false;
    } else {
      const size_t end = std::min(line.find(separator, at), line.size());
      field = line.substr(at, end - at);
      if (field.find('"') != std::string_view::npos) return false;
      at = end;
    }
    fields.field[fields.count++] = Trim(field);
    if (at >= line.size()) break;
    ++at;  // the separator
    if (at == line.size() && fields.count < kMaxFields) fields.field[fields.count++] = {};
  }
  return true;
}

struct Columns {
  char separator = ',';
  int time = kNone, lat = kNone, lon = kNone, gps = kNone, baro = kNone;
};

int FirstContaining(const Fields& fields, std::initializer_list<std::string_view> words) {
  for (size_t i = 0; i < fields.count; ++i) {
    for (const std::string_view word : words) {
      if (fields.field[i].find(word) != std::string_view::npos) return static_cast<int>(i);
    }
  }
  return kNone;
}

std::optional<Columns> HeaderColumns(std::string_view line) {
  std::string upper(line);
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  for (const char separator : {',', ';'}) {
    Fields fields;
    if (!SplitFields(upper, separator, fields)) continue;
    Columns columns;
    columns.separator = separator;
    columns.time = FirstContaining(fields, {"TIME", "DATE"});
    columns.lat = FirstContaining(fields, {"LATITUDE"});
    columns.lon = FirstContaining(fields, {"LONGITUDE"});
    columns.gps = FirstContaining(fields, {"H-GPS", "ALTITUDE", "HEIGHT"});
    columns.baro = FirstContaining(fields, {"H-BARO"});
    if (columns.time == kNone || columns.lat == kNone || columns.lon == kNone) continue;
    const int distinct[] = {columns.time, columns.lat, columns.lon, columns.gps};
    bool clash = false;
    for (int a = 0; a < 4; ++a) {
      for (int b = a + 1; b < 4; ++b) clash = clash || (distinct[a] != kNone && distinct[a] == distinct[b]);
    }
    if (!clash) return columns;
  }
  return std::nullopt;
}

// One data line into `point`; the error text (with %d for the line) otherwise.
const char* ParseDataLine(const Fields& line, const Columns& columns, TrackPoint& point) {
  const int needed = std::max({columns.time, columns.lat, columns.lon, columns.gps, columns.baro});
  if (static_cast<int>(line.count) <= needed) return "Error parsing line %d";
  const std::string_view* fields = line.field;
  // The date parser reads a zero-terminated text; no date needs more room.
  char timeText[64];
  const std::string_view timeField = fields[columns.time];
  if (timeField.size() >= sizeof timeText) return "Error decoding time on line %d";
  timeField.copy(timeText, timeField.size());
  timeText[timeField.size()] = '\0';
  TrackTime time = 0;
  bool hasZone = false;
  if (ParseXmlDateTime(timeText, time, hasZone) < 0) return "Error decoding time on line %d";
  double lat = 0, lon = 0;
  if (ParseSignedReal(fields[columns.lat], lat) < 0) return "Error decoding latitude on line %d";
  if (ParseSignedReal(fields[columns.lon], lon) < 0) return "Error decoding longitude on line %d";
  if (!(lat > -90 && lat < 90)) return "Latitude out of range on line %d";
  if (!(lon > -180 && lon < 180)) return "Longitude out of range on line %d";
  point = TrackPoint{};
  point.time = time;
  point.lat = DegreesToSemicircle(lat);
  point.lon = DegreesToSemicircle(lon);
  // An empty height field is a height the line does not give.
  if (columns.gps != kNone && !fields[columns.gps].empty()) {
    double metres = 0;
    if (ParseSignedReal(fields[columns.gps], metres) < 0 || metres < -100000 || metres > 100000) {
      return "Bad GPS height data on line %d";
    }
    point.gpsAlt = RoundHalfAway(metres * 10);
  }
  if (columns.baro != kNone && !fields[columns.baro].empty()) {
    double metres = 0;
    if (ParseSignedReal(fields[columns.baro], metres) < 0 || metres < -100000 || metres > 100000) {
      return "Bad pressure height data on line %d";
    }
    point.baroAlt = static_cast<int32_t>(metres);
  }
  return nullptr;
}

}  // namespace

TrackFileRead ReadCsvTrack(std::string_view bytes) {
  // Most files are ASCII or UTF-8 already and are read in place.
  std::string converted;
  std::string_view text = bytes;
  if (!IsValidUtf8(bytes)) {
    converted = FileTextToUtf8(bytes);
    text = converted;
  }
  TextLines lines(text);
  std::string_view line;
  std::optional<Columns> columns;
  if (lines.Next(line)) columns = HeaderColumns(line);
  if (!columns) return TrackFileRead::Failure("Could not determine items from header", kReadCaption, 1);

  TrackFileRead read;
  std::vector<TrackPoint>& points = read.records.points;
  points.reserve(1000);
  bool anyPressure = false;
  while (lines.Next(line)) {
    if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
    Fields fields;
    TrackPoint point;
    const char* error =
        SplitFields(line, columns->separator, fields) ? ParseDataLine(fields, *columns, point) : "Error parsing line %d";
    if (error != nullptr) {
      return TrackFileRead::Failure(CFormat(error, lines.Number()), kReadCaption, lines.Number());
    }
    anyPressure = anyPressure || point.baroAlt != 0;
    points.push_back(point);
  }
  // A pressure column of zeros holds no pressure altitudes.
  read.records.hasPressureAltitude = columns->baro != kNone && anyPressure ? 1 : 0;
  return read;
}

}  // namespace trelvik
