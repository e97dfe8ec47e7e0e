// $PBRWPS sentences in, $PBRWPR sentences out.
#include <algorithm>
#include <cmath>

#include "access/nmea.hpp"
#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "instruments/flytec/codec.hpp"
#include "records/names.hpp"
#include "records/text_scan.hpp"

namespace trelvik::flytec {
namespace {

constexpr std::string_view kPrefix = "$PBRWPS,";
constexpr double kRadiansPerMinute = 0.0002908882086657;
constexpr double kMilliMinutesPerRadian = 3437746.770785;
constexpr size_t kIdLimit = 6;
constexpr size_t kNameLimit = 17;
constexpr int kAltitudeChars = 5;  // "-" or a digit, then at most four digits

int HexDigit(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// degrees * 100 + minutes, and the fraction of a minute, as radians.
double AngleRadians(int32_t degreesMinutes, double fraction) {
  const double minutes = (degreesMinutes / 100) * 60.0 + degreesMinutes % 100 + fraction;
  return minutes * kRadiansPerMinute;
}

// The first characters of `text` up to a blank, at most 6, upper-cased.
std::string ShortName(std::string_view text) {
  std::string name;
  for (char c : text) {
    if (IsBlank(c) || name.size() == kWaypointNameLength) break;
    name += ToUpper(c);
  }
  return name;
}

// |radians| in thousandths of a minute, rounded half up.
int64_t MilliMinutes(double radians) { return static_cast<int64_t>(std::fabs(radians) * kMilliMinutesPerRadian + 0.5); }

}  // namespace

void WaypointSentenceParser::Restart() {
  state_ = 0;
  matched_ = 0;
  current_ = WaypointSentence{};
}

int WaypointSentenceParser::Fail(int code) {
  Restart();
  return code;
}

int WaypointSentenceParser::Feed(uint8_t c) {
  if (state_ >= 2 && state_ <= 12 && c != '*') xor_ ^= c;
  switch (state_) {
    case 0:
    case 1:
      if (state_ == 1 && c == static_cast<uint8_t>(kPrefix[matched_])) {
        xor_ ^= c;
        if (++matched_ == kPrefix.size()) {
          state_ = 2;
          value_ = 0;
          fraction_ = 0;
          negative_ = false;
        }
        return 0;
      }
      // A mismatch is taken as in state 0: only a "$" starts a sentence.
      if (c == '$') {
        Restart();
        state_ = 1;
        matched_ = 1;
        xor_ = 0;
      } else {
        Restart();
      }
      return 0;
    case 2:
    case 6: {
      const bool latitude = state_ == 2;
      if (IsDigit(static_cast<char>(c))) {
        value_ = value_ * 10 + (c - '0');
        if (value_ >= (latitude ? 8960 : 17960)) return Fail(latitude ? -1 : -6);
        return 0;
      }
      if (c == '.') {
        state_ = latitude ? 3 : 7;
        fraction_ = 0;
        weight_ = 0.1;
        return 0;
      }
      if (c != ',') return Fail(latitude ? -2 : -7);
      break;  // the angle ends below
    }
    case 3:
    case 7:
      if (IsDigit(static_cast<char>(c))) {
        fraction_ += (c - '0') * weight_;
        weight_ *= 0.1;
        return 0;
      }
      if (c != ',') return Fail(state_ == 3 ? -3 : -8);
      break;
    case 4:
      if (c == 'N' || c == 'S') {
        if (c == 'S') current_.lat = -current_.lat;
        state_ = 5;
        return 0;
      }
      if (c != ',') return Fail(-4);
      state_ = 6;
      value_ = 0;
      fraction_ = 0;
      return 0;
    case 5:
      if (c != ',') return Fail(-5);
      state_ = 6;
      value_ = 0;
      fraction_ = 0;
      return 0;
    case 8:
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
    case 10:
      if (c == ',') {
        state_ = 11;
        return 0;
      }
      if (c == '*') {
        current_.name.clear();
        current_.alt = 0;
        state_ = 13;
        return 0;
      }
      if (c == '\r' || c == '\n') return Fail(-11);
      if (current_.id.size() == kIdLimit) return Fail(-12);
      current_.id += static_cast<char>(c);
      return 0;
    case 11:
      if (c == ',') {
        state_ = 12;
        value_ = 0;
        negative_ = false;
        altDigits_ = 0;
        return 0;
      }
      if (c == '\r' || c == '\n') return Fail(-13);
      if (current_.name.size() == kNameLimit) return Fail(-14);
      current_.name += static_cast<char>(c);
      return 0;
    case 12:
      if (c == '*') {
        current_.alt = negative_ ? -value_ : value_;
        state_ = 13;
        return 0;
      }
      if (c == '-' && altDigits_ == 0 && !negative_) {
        negative_ = true;
        return 0;
      }
      if (!IsDigit(static_cast<char>(c))) return Fail(-15);
      if (altDigits_ + (negative_ ? 1 : 0) == kAltitudeChars) return Fail(-16);
      value_ = value_ * 10 + (c - '0');
      ++altDigits_;
      return 0;
    case 13:
    case 14: {
      const int digit = HexDigit(c);
      if (digit < 0) return Fail(state_ == 13 ? -17 : -18);
      checksum_ = static_cast<uint8_t>(state_ == 13 ? digit << 4 : checksum_ | digit);
      ++state_;
      return 0;
    }
    case 15:
      if (c != '\r') return Fail(-19);
      state_ = 16;
      return 0;
    case 16:
      if (c != '\n') return Fail(-21);
      if (checksum_ != xor_) return Fail(-20);
      sentence_ = current_;
      Restart();
      return 1;
  }
  // A "," after latitude or longitude digits or fraction.
  const double radians = AngleRadians(value_, fraction_);
  if (state_ == 2 || state_ == 3) {
    current_.lat = radians;
    state_ = 4;
  } else {
    current_.lon = radians;
    state_ = 8;
  }
  return 0;
}

Waypoint WaypointFromSentence(const WaypointSentence& sentence, TrackTime now) {
  Waypoint waypoint;
  waypoint.lat = RadiansToSemicircle(sentence.lat);
  waypoint.lon = RadiansToSemicircle(sentence.lon);
  waypoint.alt = sentence.alt;
  waypoint.airport = 0;
  waypoint.time = now;
  std::string id = sentence.id;
  std::string name = sentence.name;
  CollapseBlanks(id);
  CollapseBlanks(name);
  std::string shortName = ShortName(id.empty() ? name : id);
  if (shortName.empty()) shortName = "Z";
  std::string description;
  for (char c : name) description += ToUpper(c);
  CopyToField(shortName, waypoint.name);
  CopyToField(description, waypoint.description);
  return waypoint;
}

void ApplyWaypointNaming(std::vector<Waypoint>& waypoints, WaypointNaming naming) {
  for (Waypoint& waypoint : waypoints) {
    const std::string_view name(waypoint.name);
    const std::string_view description(waypoint.description);
    switch (naming) {
      case WaypointNaming::OnlyName:
        if (description.empty()) CopyToField(std::string(name), waypoint.description);
        break;
      case WaypointNaming::OnlyId:
        CopyToField(std::string(name), waypoint.description);
        break;
      case WaypointNaming::IdAndName:
        CopyToField(std::string(name) + " " + std::string(description), waypoint.description);
        break;
    }
  }
}

std::string PBRWPR(const Waypoint& waypoint) {
  const double lat = SemicircleToRadians(waypoint.lat);
  const double lon = SemicircleToRadians(waypoint.lon);
  const int64_t latM = MilliMinutes(lat);
  const int64_t lonM = MilliMinutes(lon);
  const int32_t alt = std::clamp<int32_t>(waypoint.alt, 0, 9999);
  std::string text = CFormat("$PBRWPR,%04d.%03d,%c,%05d.%03d,%c,,%s,%04d",
                             static_cast<int>(latM / 60000 * 100 + latM / 1000 % 60), static_cast<int>(latM % 1000),
                             lat < 0 ? 'S' : 'N', static_cast<int>(lonM / 60000 * 100 + lonM / 1000 % 60),
                             static_cast<int>(lonM % 1000), lon < 0 ? 'W' : 'E',
                             FixedWidth(waypoint.description, 17).c_str(), alt);
  FinishNmeaSentence(text);
  return text;
}

}  // namespace trelvik::flytec
