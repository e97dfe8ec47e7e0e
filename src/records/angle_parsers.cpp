#include "records/angle_parsers.hpp"

#include "records/text_scan.hpp"

namespace trelvik {
namespace {

// Returns +1 or -1 for a hemisphere letter of the right axis, 0 for anything else.
int HemisphereSign(char c, bool isLatitude) {
  switch (ToUpper(c)) {
    case 'N': return isLatitude ? 1 : 0;
    case 'S': return isLatitude ? -1 : 0;
    case 'E': return isLatitude ? 0 : 1;
    case 'W': return isLatitude ? 0 : -1;
    default: return 0;
  }
}

// DDMM[.mmm] below `limit`; returns minutes of arc or a negative code.
int ReadDegreesMinutes(TextScanner& scan, int64_t limit, bool pointRequired, double& arcMinutes) {
  int64_t value = 0;
  int digits = 0;
  if (!scan.ReadDigits(limit - 1, value, digits)) return kAngleOutOfRange;
  if (digits == 0) return kAngleBadText;
  // Minutes of 60 or more would silently shift the position by a degree.
  if (value % 100 >= 60) return kAngleOutOfRange;
  double fraction = 0;
  if (scan.Accept('.')) {
    fraction = scan.ReadFraction();
  } else if (pointRequired) {
    return kAngleBadText;
  }
  arcMinutes = static_cast<double>(value / 100 * 60 + value % 100) + fraction;
  return 0;
}

// One blank-separated group of ParseHemisphereFirstAngle: digits below `limit`
// and, when a decimal point follows, the fraction (which ends the angle).
bool ReadGroup(TextScanner& scan, int64_t limit, double& value, bool& hadFraction) {
  int64_t whole = 0;
  int digits = 0;
  if (!scan.ReadDigits(limit - 1, whole, digits) || digits == 0) return false;
  hadFraction = scan.AcceptDecimalPoint();
  value = static_cast<double>(whole) + (hadFraction ? scan.ReadFraction() : 0.0);
  return true;
}

// True when blanks and then a digit follow; the cursor moves past the blanks only then.
bool NextGroupFollows(TextScanner& scan) {
  TextScanner probe = scan;
  if (probe.SkipBlanks() == 0 || !IsDigit(probe.Peek())) return false;
  scan = probe;
  return true;
}

}  // namespace

int ParseNmeaAngle(std::string_view text, bool isLatitude, double& radians) {
  TextScanner scan(text);
  scan.SkipBlanks();
  double arcMinutes = 0;
  if (const int rc = ReadDegreesMinutes(scan, isLatitude ? 9000 : 18000, true, arcMinutes); rc < 0) return rc;
  const int sign = HemisphereSign(scan.Peek(), isLatitude);
  if (sign == 0) return kAngleBadText;
  scan.Advance();
  if (!scan.OnlyBlanksLeft()) return kAngleBadText;
  radians = sign * arcMinutes * kRadiansPerArcMinute;
  return 0;
}

int ParseNmeaAngleUnsigned(std::string_view text, double& radians) {
  TextScanner scan(text);
  scan.SkipBlanks();
  double arcMinutes = 0;
  if (const int rc = ReadDegreesMinutes(scan, 18000, false, arcMinutes); rc < 0) return rc;
  if (!scan.OnlyBlanksLeft()) return kAngleBadText;
  radians = arcMinutes * kRadiansPerArcMinute;
  return 0;
}

std::optional<HemisphereAngle> ParseHemisphereFirstAngle(std::string_view text, bool isLatitude) {
  TextScanner scan(text);
  scan.SkipBlanks();
  const int sign = HemisphereSign(scan.Peek(), isLatitude);
  if (sign == 0) return std::nullopt;
  scan.Advance();
  scan.SkipBlanks();

  bool hadFraction = false;
  double degrees = 0;
  if (!ReadGroup(scan, isLatitude ? 90 : 180, degrees, hadFraction)) return std::nullopt;
  if (!hadFraction && NextGroupFollows(scan)) {
    double minutes = 0;
    if (!ReadGroup(scan, 60, minutes, hadFraction)) return std::nullopt;
    degrees += minutes / 60;
    if (!hadFraction && NextGroupFollows(scan)) {
      double seconds = 0;
      if (!ReadGroup(scan, 60, seconds, hadFraction)) return std::nullopt;
      degrees += seconds / 3600;
    }
  }
  return HemisphereAngle{sign * degrees, scan.Position()};
}

}  // namespace trelvik
