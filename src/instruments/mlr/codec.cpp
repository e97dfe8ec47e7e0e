#include "instruments/mlr/codec.hpp"

#include <cmath>

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "records/names.hpp"
#include "records/text_scan.hpp"

namespace trelvik::mlr {
namespace {

constexpr std::string_view kWplPrefix = "$GPWPL,";
constexpr double kRadiansPerMinute = 0.0002908882086657;
constexpr double kMilliMinutesPerRadian = 3437746.770785;
constexpr size_t kNameFieldLimit = 599;
constexpr size_t kWplDescriptionLimit = 21;
constexpr size_t kUploadDescriptionWidth = 22;
constexpr uint32_t kGpsLeapSeconds = 14;

int HexDigit(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "2.71" -> 2, 71: digits before "." and one or two after it.
void ParseVersion(std::string_view text, int& major, int& minor) {
  major = 0;
  minor = 0;
  size_t i = 0;
  while (i < text.size() && IsDigit(text[i])) major = major * 10 + (text[i++] - '0');
  if (i >= text.size() || text[i] != '.') return;
  ++i;
  for (int n = 0; n < 2 && i < text.size() && IsDigit(text[i]); ++n) minor = minor * 10 + (text[i++] - '0');
}

bool IsShortNameChar(char c) { return IsUpperLetter(c) || IsDigit(c) || c == '-'; }

std::string Padded(std::string_view text, size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

int64_t MilliMinutes(double radians) { return static_cast<int64_t>(std::fabs(radians) * kMilliMinutesPerRadian + 0.5); }

}  // namespace

Product InterpretProduct(const std::array<std::string, 5>& fields) {
  Product p;
  p.name = fields[0];
  p.serial = fields[2];
  p.shown = fields[4];
  ParseVersion(fields[3], p.major, p.minor);
  p.gpsTime =
      p.name.starts_with("SP24") && ((p.major == 2 && p.minor <= 71) || (p.major == 9 && p.minor >= 90) || p.major < 2);
  const char* format = "MLR %s SW%d.%02d";
  p.modelName = "MLR";
  if (p.name.starts_with("DGIFLY ")) {
    p.modelName = "Digifly";
    format = "Digifly %s SW%d.%02d";
  } else if (p.name.starts_with("CPILOT ")) {
    p.modelName = "CPilot";
    format = "CPilot %s SW%d.%02d";
  } else if (p.name.starts_with("COMO")) {
    p.modelName = "CoMo";
    format = "CoMo %s SW%d.%02d";
  }
  p.productLine = CFormat(format, p.shown.c_str(), p.major, p.minor);
  return p;
}

TrackPoint PointFromEntry(const pmlr::PointEntry& entry, bool gpsTime, bool first) {
  TrackPoint point;
  point.flags = first || entry.flags == 1 ? kNewSegment : 0;
  point.time = entry.time - pmlr::kGpsEpochOffset - (gpsTime ? kGpsLeapSeconds : 0);
  point.lat = entry.lat;
  point.lon = entry.lon;
  point.gpsAlt = entry.altitude;
  point.baroAlt = 0;
  return point;
}

Waypoint WaypointFromEntry(const pmlr::WaypointEntry& entry, TrackTime now) {
  Waypoint w;
  w.lat = entry.lat;
  w.lon = entry.lon;
  w.alt = GpsAltitudeMetres(entry.altitude);
  std::string name = entry.name;
  while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
  CopyToField(name, w.name);
  w.time = now;
  w.airport = 0;
  return w;
}

// ---- $GPWPL in ---------------------------------------------------------------

void WplParser::Restart() {
  state_ = 0;
  matched_ = 0;
  current_ = WplSentence{};
}

int WplParser::Fail(int code) {
  Restart();
  return code;
}

// One digit of degrees * 100 + minutes; "." goes to the fraction, "," on.
int WplParser::Digit(uint8_t c, int32_t limit, int tooLarge, int other, int nextState) {
  if (IsDigit(static_cast<char>(c))) {
    value_ = value_ * 10 + (c - '0');
    return value_ >= limit ? Fail(tooLarge) : 0;
  }
  if (c == '.') {
    state_ = nextState;
    return 0;
  }
  if (c == ',') {
    state_ = nextState + 1;
    return 0;
  }
  return Fail(other);
}

int WplParser::Feed(uint8_t c) {
  if (state_ >= 2 && state_ <= 10 && c != '*') xor_ ^= c;
  const auto angle = [this] { return ((value_ / 100) * 60.0 + value_ % 100 + fraction_) * kRadiansPerMinute; };
  switch (state_) {
    case 0:
    case 1:
      if (state_ == 1 && c == static_cast<uint8_t>(kWplPrefix[matched_])) {
        xor_ ^= c;
        if (++matched_ == kWplPrefix.size()) {
          state_ = 2;
          value_ = 0;
          fraction_ = 0;
          weight_ = 0.1;
        }
        return 0;
      }
      Restart();
      if (c == '$') {
        state_ = 1;
        matched_ = 1;
        xor_ = 0;
      }
      return 0;
    case 2:  // latitude
      return Digit(c, 8960, -1, -2, 3);
    case 3:  // its fraction
      if (IsDigit(static_cast<char>(c))) {
        fraction_ += (c - '0') * weight_;
        weight_ *= 0.1;
        return 0;
      }
      if (c != ',') return Fail(-3);
      state_ = 4;
      return 0;
    case 4:  // hemisphere, optional
      current_.lat = angle();
      value_ = 0;
      fraction_ = 0;
      weight_ = 0.1;
      if (c == 'N' || c == 'S') {
        if (c == 'S') current_.lat = -current_.lat;
        state_ = 5;
        return 0;
      }
      if (c != ',') return Fail(-4);
      state_ = 6;
      return 0;
    case 5:
      if (c != ',') return Fail(-5);
      state_ = 6;
      return 0;
    case 6:  // longitude
      return Digit(c, 17960, -6, -7, 7);
    case 7:
      if (IsDigit(static_cast<char>(c))) {
        fraction_ += (c - '0') * weight_;
        weight_ *= 0.1;
        return 0;
      }
      if (c != ',') return Fail(-8);
      state_ = 8;
      return 0;
    case 8:
      current_.lon = angle();
      if (c == 'E' || c == 'W') {
        if (c == 'W') current_.lon = -current_.lon;
        state_ = 9;
        return 0;
      }
      if (c != ',') return Fail(-9);
      state_ = 10;
      return 0;
    case 9:
      if (c != ',') return Fail(-10);
      state_ = 10;
      return 0;
    case 10:  // the name field
      if (c == '*') {
        state_ = 11;
        checksum_ = 0;
        return 0;
      }
      if (c == '\r' || c == '\n') return Fail(-13);
      if (current_.name.size() == kNameFieldLimit) return Fail(-14);
      current_.name += static_cast<char>(c);
      return 0;
    case 11:
    case 12: {
      const int digit = HexDigit(c);
      if (digit < 0) return Fail(state_ == 11 ? -17 : -18);
      checksum_ = static_cast<uint8_t>(checksum_ << 4 | digit);
      ++state_;
      return 0;
    }
    case 13:
      if (c != '\r') return Fail(-19);
      state_ = 14;
      return 0;
    case 14:
      if (c != '\n') return Fail(-21);
      if (checksum_ != xor_) return Fail(-20);
      sentence_ = std::move(current_);
      Restart();
      return 1;
  }
  return Fail(-21);
}

WplNameError SplitWplName(std::string_view field, WplName& name) {
  name = WplName{};
  size_t i = 0;
  while (i < field.size() && name.shortName.size() < kWaypointNameLength && IsShortNameChar(field[i])) {
    name.shortName += field[i++];
  }
  if (name.shortName.size() < kWaypointNameLength && i < field.size() && !IsBlank(field[i])) {
    return WplNameError::BadCharacter;
  }
  if (name.shortName.empty()) return WplNameError::Missing;
  while (i < field.size() && IsBlank(field[i])) ++i;
  if (i < field.size()) ++i;  // the symbol
  std::string description(field.substr(i, kWplDescriptionLimit));
  while (!description.empty() && IsBlank(description.back())) description.pop_back();
  name.description = std::move(description);
  return WplNameError::None;
}

// ---- $GPWPL out --------------------------------------------------------------

std::string GPWPL(const Waypoint& waypoint) {
  const double lat = SemicircleToRadians(waypoint.lat);
  const double lon = SemicircleToRadians(waypoint.lon);
  const int64_t latMm = MilliMinutes(lat);
  const int64_t lonMm = MilliMinutes(lon);
  const auto degreesMinutes = [](int64_t mm) { return static_cast<int>(mm / 60000 * 100 + mm / 1000 % 60); };
  std::string text =
      CFormat("$GPWPL,%04d.%03d,%c,%05d.%03d,%c,%s0%s", degreesMinutes(latMm), static_cast<int>(latMm % 1000),
              lat < 0 ? 'S' : 'N', degreesMinutes(lonMm), static_cast<int>(lonMm % 1000), lon < 0 ? 'W' : 'E',
              Padded(waypoint.name, kWaypointNameLength).c_str(),
              Padded(waypoint.description, kUploadDescriptionWidth).c_str());
  uint8_t sum = 0;
  for (size_t k = 1; k < text.size(); ++k) sum ^= static_cast<uint8_t>(text[k]);
  return text + CFormat("*%02X\r\n", sum);
}

}  // namespace trelvik::mlr
