#include <string>
#include <vector>

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "records/names.hpp"
#include "records/number_parsers.hpp"
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

// The fields of a line; nothing when a quote stands inside an unquoted field
// or a quoted field is not closed.
std::optional<std::vector<std::string>> SplitFields(std::string line, char separator) {
  CollapseBlanks(line);
  std::vector<std::string> fields;
  size_t at = 0;
  while (at <= line.size() && fields.size() < kMaxFields) {
    std::string field;
    size_t start = at;
    while (start < line.size() && line[start] == ' ') ++start;
    if (start < line.size() && line[start] == '"') {
      at = start;
      const size_t close = line.find('"', at + 1);
      if (close == std::string::npos) return std::nullopt;
      field = line.substr(at + 1, close - at - 1);
      at = close + 1;
      while (at < line.size() && line[at] == ' ') ++at;
      if (at < line.size() && line[at] != separator) return std::nullopt;
    } else {
      const size_t end = std::min(line.find(separator, at), line.size());
      field = line.substr(at, end - at);
      if (field.find('"') != std::string::npos) return std::nullopt;
      at = end;
    }
    fields.push_back(std::move(field));
    if (at >= line.size()) break;
    ++at;  // the separator
    if (at == line.size()) fields.emplace_back();
  }
  return fields;
}

struct Columns {
  char separator = ',';
  int time = kNone, lat = kNone, lon = kNone, gps = kNone, baro = kNone;
};

int FirstContaining(const std::vector<std::string>& fields, std::initializer_list<std::string_view> words) {
  for (size_t i = 0; i < fields.size(); ++i) {
    for (const std::string_view word : words) {
      if (fields[i].find(word) != std::string::npos) return static_cast<int>(i);
    }
  }
  return kNone;
}

std::optional<Columns> HeaderColumns(std::string_view line) {
  std::string upper(line);
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  for (const char separator : {',', ';'}) {
    const std::optional<std::vector<std::string>> fields = SplitFields(upper, separator);
    if (!fields) continue;
    Columns columns;
    columns.separator = separator;
    columns.time = FirstContaining(*fields, {"TIME", "DATE"});
    columns.lat = FirstContaining(*fields, {"LATITUDE"});
    columns.lon = FirstContaining(*fields, {"LONGITUDE"});
    columns.gps = FirstContaining(*fields, {"H-GPS", "ALTITUDE", "HEIGHT"});
    columns.baro = FirstContaining(*fields, {"H-BARO"});
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

std::string Trim(const std::string& text) {
  const size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// One data line into `point`; the error text (with %d for the line) otherwise.
const char* ParseDataLine(const std::vector<std::string>& fields, const Columns& columns, TrackPoint& point) {
  const int needed = std::max({columns.time, columns.lat, columns.lon, columns.gps, columns.baro});
  if (static_cast<int>(fields.size()) <= needed) return "Error parsing line %d";
  TrackTime time = 0;
  bool hasZone = false;
  if (ParseXmlDateTime(Trim(fields[columns.time]).c_str(), time, hasZone) < 0) {
    return "Error decoding time on line %d";
  }
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
  if (columns.gps != kNone && !Trim(fields[columns.gps]).empty()) {
    double metres = 0;
    if (ParseSignedReal(fields[columns.gps], metres) < 0 || metres < -100000 || metres > 100000) {
      return "Bad GPS height data on line %d";
    }
    point.gpsAlt = RoundHalfAway(metres * 10);
  }
  if (columns.baro != kNone && !Trim(fields[columns.baro]).empty()) {
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
  const std::string text = FileTextToUtf8(bytes);
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
    const std::optional<std::vector<std::string>> fields = SplitFields(std::string(line), columns->separator);
    TrackPoint point;
    const char* error = fields ? ParseDataLine(*fields, *columns, point) : "Error parsing line %d";
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
