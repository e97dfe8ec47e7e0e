#include "instruments/magellan/codec.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "access/nmea.hpp"
#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "records/angle_parsers.hpp"
#include "records/date_time_parsers.hpp"
#include "records/names.hpp"
#include "records/track_time.hpp"

namespace trelvik::magellan {
namespace {

constexpr size_t kLongestBody = 100;
constexpr size_t kSoftwareLimit = 40;
constexpr size_t kProductLimit = 60;
constexpr double kFeetToTenthsOfMetre = 3.048;
constexpr double kFeetToMetres = 0.3048;

int HexValue(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::vector<std::string_view> SplitFields(std::string_view sentence) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = sentence.find(',', start);
    fields.push_back(sentence.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

bool ParseInteger(std::string_view text, int32_t& value) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// Latitude, hemisphere, longitude, hemisphere from fields[1..4]: 0, or codes 1..10.
int ParsePosition(const std::vector<std::string_view>& fields, Semicircle& lat, Semicircle& lon) {
  if (fields.size() < 2) return 1;
  double latitude = 0;
  if (ParseNmeaAngleUnsigned(fields[1], latitude) < 0) return 2;
  // Compared in the converted unit, so that exactly 90 or 180 degrees fail.
  if (latitude >= 90 * 60 * kRadiansPerArcMinute) return 3;
  if (fields.size() < 3) return 4;
  if (fields[2] != "N" && fields[2] != "S") return 5;
  if (fields.size() < 4) return 6;
  double longitude = 0;
  if (ParseNmeaAngleUnsigned(fields[3], longitude) < 0) return 7;
  if (longitude >= 180 * 60 * kRadiansPerArcMinute) return 8;
  if (fields.size() < 5) return 9;
  if (fields[4] != "E" && fields[4] != "W") return 10;
  lat = RadiansToSemicircle(fields[2] == "S" ? -latitude : latitude);
  lon = RadiansToSemicircle(fields[4] == "W" ? -longitude : longitude);
  return 0;
}

// Altitude and unit from fields[5..6]: 0 with the value and the unit letter, or codes 11..14.
int ParseAltitude(const std::vector<std::string_view>& fields, int32_t& value, bool& feet) {
  if (fields.size() < 6) return 11;
  if (!ParseInteger(fields[5], value)) return 12;
  if (fields.size() < 7) return 13;
  if (fields[6] != "M" && fields[6] != "F") return 14;
  feet = fields[6] == "F";
  return 0;
}

// "ddmmyy": 0 with the date, 20 for a bad date, 21 above 999999.
int ParseDate(std::string_view text, SystemTime& date) {
  if (text.empty()) return 20;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 20;
    value = value * 10 + (c - '0');
    if (value > 999999) return 21;
  }
  const int day = static_cast<int>(value / 10000);
  const int month = static_cast<int>(value / 100 % 100);
  const int year = 2000 + static_cast<int>(value % 100);
  if (!IsValidCalendarDay(year, month, day)) return 20;
  date.year = static_cast<uint16_t>(year);
  date.month = static_cast<uint16_t>(month);
  date.day = static_cast<uint16_t>(day);
  return 0;
}

}  // namespace

int SentenceReceiver::Feed(uint8_t c) {
  if (c == '$') {
    state_ = State::Body;
    sentence_.assign(1, '$');
    sum_ = 0;
    return 0;
  }
  switch (state_) {
    case State::Idle: return 0;
    case State::Body:
      if (c == '*') {
        state_ = State::Hex1;
      } else if (sentence_.size() > kLongestBody) {
        state_ = State::Idle;
      } else {
        sentence_ += static_cast<char>(c);
        sum_ = static_cast<uint8_t>(sum_ ^ c);
      }
      return 0;
    case State::Hex1:
    case State::Hex2: {
      const int digit = HexValue(c);
      if (digit < 0) {
        state_ = State::Idle;
        return kBadChecksumDigit;
      }
      received_ = static_cast<uint8_t>(state_ == State::Hex1 ? digit << 4 : received_ | digit);
      state_ = state_ == State::Hex1 ? State::Hex2 : State::Cr;
      return 0;
    }
    case State::Cr:
      state_ = State::Idle;
      if (c != '\r' || received_ != sum_) return kBadCrOrChecksum;
      state_ = State::Lf;
      return 0;
    case State::Lf: state_ = State::Idle; return c == '\n' ? 1 : kNoLf;
  }
  return 0;
}

std::string_view SentenceName(std::string_view sentence) { return sentence.substr(0, sentence.find(',')); }

bool IsEndMark(std::string_view sentence) {
  const std::vector<std::string_view> fields = SplitFields(sentence);
  return fields[0] == "$PMGNCMD" && fields.size() > 1 && fields[1] == "END";
}

bool ParseVersion(std::string_view sentence, MagellanVersion& version) {
  const std::vector<std::string_view> fields = SplitFields(sentence);
  if (fields[0] != "$PMGNVER" || fields.size() < 4) return false;
  int32_t model = 0;
  (void)ParseInteger(fields[1], model);  // a model that is no number counts as 0
  version.model = model;
  version.software = std::string(fields[2].substr(0, kSoftwareLimit));
  double number = 0;
  const char* begin = version.software.data();
  const char* end = begin + version.software.size();
  const auto [stop, error] = std::from_chars(begin, end, number);
  version.softwareX100 = error == std::errc() && stop == end && std::abs(number) < 1e7
                             ? static_cast<int32_t>(std::lround(number * 100))
                             : 0;
  version.product = std::string(fields[3].substr(0, kProductLimit));
  return true;
}

std::string ProductDescription(const MagellanVersion& version) {
  return (version.product + ", SW " + version.software).substr(0, 80);
}

std::string_view TrackRefusal(const MagellanVersion& version) {
  if (version.model == 24 && version.softwareX100 < 314) return "E200 Model does not support time in track log";
  if (version.model == 30 && version.softwareX100 < 201) return "E200 Model does not support date in track log";
  return {};
}

int ParseTrackSentence(std::string_view sentence, TrackPoint& point) {
  const std::vector<std::string_view> fields = SplitFields(sentence);
  // A receiver without a fix may leave the other fields empty: such a
  // sentence is skipped before they are read.
  if (fields.size() > 8 && fields[8] != "A") return kNoFix;
  Semicircle lat = 0;
  Semicircle lon = 0;
  if (const int code = ParsePosition(fields, lat, lon); code != 0) return code;
  int32_t altitude = 0;
  bool feet = false;
  if (const int code = ParseAltitude(fields, altitude, feet); code != 0) return code;
  if (fields.size() < 8) return 15;
  TimeOfDay time;
  if (ParseHhmmss(fields[7], time) < 0) return 16;
  if (fields.size() < 9) return 17;
  if (fields.size() < 10) return 18;
  if (fields.size() < 11) return 19;
  SystemTime date;
  if (const int code = ParseDate(fields[10], date); code != 0) return code;
  point = TrackPoint{};
  point.time = TrackTimeFromDate(date) + time.secondsOfDay + (time.fraction >= 0.5 ? 1 : 0);
  point.lat = lat;
  point.lon = lon;
  point.gpsAlt = feet ? static_cast<int32_t>(altitude * kFeetToTenthsOfMetre + 0.5) : altitude * 10;
  return 0;
}

int ParseWaypointSentence(std::string_view sentence, Waypoint& waypoint) {
  const std::vector<std::string_view> fields = SplitFields(sentence);
  Semicircle lat = 0;
  Semicircle lon = 0;
  if (const int code = ParsePosition(fields, lat, lon); code != 0) return code;
  int32_t altitude = 0;
  bool feet = false;
  if (const int code = ParseAltitude(fields, altitude, feet); code != 0) return code;
  if (fields.size() < 8) return 15;
  std::string name;
  if (StrictWaypointName(fields[7], name) < 0) return 16;
  waypoint.lat = lat;
  waypoint.lon = lon;
  waypoint.alt = feet ? static_cast<int32_t>(altitude * kFeetToMetres + 0.5) : altitude;
  CopyToField(name, waypoint.name);
  CopyToField(fields.size() > 8 ? CleanDescription(fields[8]) : std::string(), waypoint.description);
  return 0;
}

namespace {

std::string FieldText(const char* text) { return NmeaFieldText(text, '-'); }

}  // namespace

std::string WaypointSentence(const Waypoint& waypoint) {
  const int32_t lat = std::abs(SemicircleToMilliMinute(waypoint.lat));
  const int32_t lon = std::abs(SemicircleToMilliMinute(waypoint.lon));
  std::string text = CFormat("$PMGNWPL,%04d.%03d,%c,%05d.%03d,%c,%04d,M,%s,%s", lat / 60000 * 100 + lat % 60000 / 1000,
                             lat % 1000, waypoint.lat < 0 ? 'S' : 'N', lon / 60000 * 100 + lon % 60000 / 1000,
                             lon % 1000, waypoint.lon < 0 ? 'W' : 'E', waypoint.alt < 0 ? 0 : waypoint.alt,
                             FieldText(waypoint.name).c_str(), FieldText(waypoint.description).c_str());
  FinishNmeaSentence(text);
  return text;
}

}  // namespace trelvik::magellan
