#include "instruments/iqbasic/codec.hpp"

#include <cmath>
#include <vector>

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "geo/position_text.hpp"
#include "records/date_time_parsers.hpp"
#include "records/names.hpp"

namespace trelvik::iqbasic {
namespace {

constexpr size_t kReplyLineLimit = 1000;
constexpr size_t kUploadNameWidth = 16;
constexpr int32_t kLowestAltitude = -2000;
constexpr int32_t kHighestAltitude = 10000;
constexpr double kMilliMinutesPerRadian = 3437746.770785;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SkipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
}

// Digits at `pos` (at least one); false when none stand there.
bool ReadNumber(std::string_view text, size_t& pos, int64_t& value) {
  const size_t start = pos;
  value = 0;
  while (pos < text.size() && IsDigit(text[pos]) && pos - start < 9) value = value * 10 + (text[pos++] - '0');
  return pos > start;
}

// The fields of a ";"-separated line.
std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t end = line.find(';', start);
    if (end == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
}

// Thousandths of an arc-minute, rounded half away from zero.
int32_t MilliMinutes(Semicircle angle) { return RoundHalfAway(SemicircleToRadians(angle) * kMilliMinutesPerRadian); }

std::string AngleText(Semicircle angle, bool latitude) {
  const int32_t m = MilliMinutes(angle);
  const uint32_t v = static_cast<uint32_t>(m < 0 ? -static_cast<int64_t>(m) : m);
  const char hemisphere = latitude ? (m < 0 ? 'S' : 'N') : (m < 0 ? 'W' : 'E');
  return latitude ? CFormat("%c  %02u'%02u.%03u", hemisphere, v / 60000, v / 1000 % 60, v % 1000)
                  : CFormat("%c %03u'%02u.%03u", hemisphere, v / 60000, v / 1000 % 60, v % 1000);
}

}  // namespace

std::string ACT21(int flightNumber) { return CFormat("ACT_21_%02X\r\n", flightNumber & 0xFF); }

std::string ACT32(const Waypoint& waypoint) {
  std::string name(waypoint.description);
  name.resize(kUploadNameWidth, ' ');
  int32_t alt = waypoint.alt;
  if (alt < kLowestAltitude) alt = kLowestAltitude;
  if (alt > kHighestAltitude) alt = kHighestAltitude;
  return "ACT_32_00\r\n" + name + ";" + AngleText(waypoint.lat, true) + ";" + AngleText(waypoint.lon, false) +
         CFormat(";%6d;   400\r\n", alt);
}

bool ReplyLineCollector::Feed(uint8_t c) {
  if (complete_) {
    line_.clear();
    complete_ = false;
    afterCr_ = false;
  }
  if (c == '\n') {
    complete_ = true;
    return true;
  }
  if (c == '\r') afterCr_ = true;
  if (!afterCr_ && line_.size() < kReplyLineLimit) line_ += static_cast<char>(c);
  return false;
}

bool ParseParameterValue(std::string_view text, uint32_t& value) {
  size_t pos = 0;
  SkipBlanks(text, pos);
  size_t end = text.size();
  while (end > pos && text[end - 1] == ' ') --end;
  const std::string_view digits = text.substr(pos, end - pos);
  if (digits.size() % 2 != 0 || digits.size() > 8) return false;
  uint32_t result = 0;
  for (size_t i = 0; i < digits.size(); i += 2) {
    const int high = HexDigit(digits[i]);
    const int low = HexDigit(digits[i + 1]);
    if (high < 0 || low < 0) return false;
    result |= static_cast<uint32_t>(high * 16 + low) << (4 * i);
  }
  value = result;
  return true;
}

std::string_view DeviceModel(uint32_t deviceType) { return deviceType == 0 ? "6015" : "IQ-BASIC"; }

std::string ProductText(std::string_view model, uint32_t software, uint32_t serial) {
  return CFormat("%.*s, SW %u.%u.%02u, S/N %u", static_cast<int>(model.size()), model.data(), software / 1000,
                 software / 100 % 10, software % 100, serial);
}

bool ParseTrackListLine(std::string_view line, TrackListLine& entry) {
  const std::vector<std::string_view> fields = SplitFields(line);
  if (fields.size() < 5) return false;
  size_t pos = 0;
  SkipBlanks(fields[0], pos);
  int64_t number = 0;
  if (!ReadNumber(fields[0], pos, number)) return false;
  SkipBlanks(fields[0], pos);
  if (pos != fields[0].size() || number > 255) return false;
  CalendarDate date;
  ClockTime start;
  ClockTime duration;
  if (ParseDateDMY(fields[1], date) < 0 || ParseTimeHMS(fields[2], ':', start) < 0 ||
      ParseTimeHMS(fields[4], ':', duration) < 0) {
    return false;
  }
  SystemTime when;
  when.year = static_cast<uint16_t>(2000 + date.year);
  when.month = static_cast<uint16_t>(date.month);
  when.day = static_cast<uint16_t>(date.day);
  entry.flightNumber = static_cast<int>(number);
  entry.start = TrackTimeFromDate(when) + static_cast<TrackTime>(start.SecondsOfDay());
  entry.duration = static_cast<uint32_t>(duration.SecondsOfDay());
  return true;
}

bool ParseAngle(std::string_view text, bool latitude, Semicircle& angle) {
  size_t pos = 0;
  SkipBlanks(text, pos);
  if (pos >= text.size()) return false;
  const char h = static_cast<char>(text[pos] & ~0x20);
  const char positive = latitude ? 'N' : 'E';
  const char negative = latitude ? 'S' : 'W';
  if (h != positive && h != negative) return false;
  ++pos;
  SkipBlanks(text, pos);
  int64_t degrees = 0;
  if (!ReadNumber(text, pos, degrees) || degrees >= (latitude ? 90 : 180)) return false;
  SkipBlanks(text, pos);
  if (pos >= text.size() || text[pos] != '\'') return false;
  ++pos;
  SkipBlanks(text, pos);
  int64_t minutes = 0;
  if (!ReadNumber(text, pos, minutes) || minutes >= 60) return false;
  double fraction = 0;
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    double scale = 0.1;
    while (pos < text.size() && IsDigit(text[pos])) {
      fraction += (text[pos++] - '0') * scale;
      scale /= 10;
    }
  }
  if (pos != text.size()) return false;
  const double deg = static_cast<double>(degrees) + (static_cast<double>(minutes) + fraction) / 60.0;
  const double radians = deg * (M_PI / 180.0);
  angle = RadiansToSemicircle(h == negative ? -radians : radians);
  return true;
}

int ParseWaypointLine(std::string_view line, TrackTime now, Waypoint& waypoint) {
  const std::vector<std::string_view> fields = SplitFields(line);
  if (fields[0].empty()) return kEmptyName;
  if (fields.size() < 3) return kTooFewFields;
  int32_t alt = 0;
  if (fields.size() > 3) {
    std::string_view text = fields[3];
    size_t pos = 0;
    SkipBlanks(text, pos);
    double metres = 0;
    if (pos < text.size() && (ParseDecimal(text.substr(pos), metres) < 0 || std::fabs(metres) > 1e6)) {
      return kBadAltitude;
    }
    alt = static_cast<int32_t>(std::lround(metres));
  }
  Semicircle lat = 0;
  Semicircle lon = 0;
  if (!ParseAngle(fields[1], true, lat)) return kBadLatitude;
  if (!ParseAngle(fields[2], false, lon)) return kBadLongitude;
  Waypoint w;
  w.lat = lat;
  w.lon = lon;
  w.alt = alt;
  const std::string_view description = fields[0].substr(0, kWaypointDescriptionLength);
  CopyToField(description, w.description);
  std::string name(description.substr(0, description.find(' ')).substr(0, kWaypointNameLength));
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  CopyToField(name, w.name);
  w.time = now;
  w.airport = 0;
  waypoint = w;
  return 0;
}

bool EndsWaypointList(std::string_view line) {
  auto same = [](std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
    }
    return true;
  };
  return same(line, "no data") || same(line, "done");
}

}  // namespace trelvik::iqbasic
