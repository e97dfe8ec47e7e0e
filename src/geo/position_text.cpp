#include "geo/position_text.hpp"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "base/c_format.hpp"
#include "records/text_scan.hpp"

namespace trelvik {
namespace {

constexpr double kDegreesToRadiansRounded = 0.01745329251994;
constexpr double kDegreesPerArcSecond = 0.0002777777777777778;
constexpr double kArcSecondsPerRadian = 206264.8062471;

// Reads a hemisphere sign; returns +1, -1, or 0 when none stands there.
int ReadHemisphere(TextScanner& scan, bool isLatitude) {
  const char c = scan.Peek();
  const char positive = isLatitude ? 'N' : 'E';
  const char negative = isLatitude ? 'S' : 'W';
  int sign = 0;
  if (c == '+' || ToUpper(c) == positive) sign = 1;
  if (c == '-' || ToUpper(c) == negative) sign = -1;
  if (sign != 0) scan.Advance();
  return sign;
}

// A whole group of at least one digit, each digit keeping the value within `limit`.
bool ReadWhole(TextScanner& scan, int64_t limit, int64_t& value) {
  int digits = 0;
  return scan.ReadDigits(limit, value, digits) && digits > 0;
}

// True when blanks and then a digit follow; the blanks are consumed only then.
bool NextGroupFollows(TextScanner& scan) {
  TextScanner probe = scan;
  if (probe.SkipBlanks() == 0 || !IsDigit(probe.Peek())) return false;
  scan = probe;
  return true;
}

// Degrees, minutes, seconds: each group may end the text, carry a fraction
// (which ends the angle) or be followed by blanks and the next group.
bool ReadAngleDegrees(TextScanner& scan, bool isLatitude, double& degrees) {
  int64_t whole = 0;
  if (!ReadWhole(scan, isLatitude ? 89 : 179, whole)) return false;
  degrees = static_cast<double>(whole);
  if (scan.AcceptDecimalPoint()) {
    degrees += scan.ReadFraction();
    return true;
  }
  if (!NextGroupFollows(scan)) return true;
  if (!ReadWhole(scan, 59, whole)) return false;
  double minutes = static_cast<double>(whole);
  if (scan.AcceptDecimalPoint()) {
    minutes += scan.ReadFraction();
    degrees += minutes / 60;
    return true;
  }
  degrees += minutes / 60;
  if (!NextGroupFollows(scan)) return true;
  if (!ReadWhole(scan, 59, whole)) return false;
  double seconds = static_cast<double>(whole);
  if (scan.AcceptDecimalPoint()) seconds += scan.ReadFraction();
  degrees += seconds * kDegreesPerArcSecond;
  return true;
}

// Truncates toward zero into the int range; out-of-range and NaN values (typed
// or computed from nonsense input) are held at the range ends instead of
// overflowing.
int TruncateToInt(double value) {
  if (!(value > -2147483648.0)) return std::isnan(value) ? 0 : INT32_MIN;
  if (value >= 2147483647.0) return INT32_MAX;
  return static_cast<int>(value);
}

}  // namespace

std::string FormatLatLonText(int32_t centiArcSeconds, bool isLatitude) {
  const int64_t v = std::llabs(static_cast<int64_t>(centiArcSeconds));
  const char hemisphere = isLatitude ? (centiArcSeconds < 0 ? 'S' : 'N') : (centiArcSeconds < 0 ? 'W' : 'E');
  const int degrees = static_cast<int>(v / 360000);
  const int minutes = static_cast<int>(v / 6000 % 60);
  const int seconds = static_cast<int>(v / 100 % 60);
  const int hundredths = static_cast<int>(v % 100);
  return CFormat(isLatitude ? "%c %02d  %02d  %02d.%02d" : "%c %03d  %02d  %02d.%02d", hemisphere, degrees, minutes,
                 seconds, hundredths);
}

int ParseLatLonText(std::string_view text, bool isLatitude, double& radians) {
  TextScanner scan(text);
  scan.SkipBlanks();
  const int sign = ReadHemisphere(scan, isLatitude) < 0 ? -1 : 1;
  scan.SkipBlanks();
  double degrees = 0;
  if (!ReadAngleDegrees(scan, isLatitude, degrees) || !scan.OnlyBlanksLeft()) return -1;
  radians = sign * degrees * kDegreesToRadiansRounded;
  return 0;
}

int ParseUtmZone(std::string_view text, UtmZone& zone) {
  TextScanner scan(text);
  scan.SkipBlanks();
  int number = 0;
  for (int digits = 0; digits < 2 && IsDigit(scan.Peek()); ++digits) {
    number = number * 10 + (scan.Peek() - '0');
    scan.Advance();
  }
  if (number == 0) return kZoneMissing;
  if (number > 60) return kZoneAboveSixty;
  scan.SkipBlanks();
  const char band = ToUpper(scan.Peek());
  if (band < 'C' || band > 'X' || band == 'I' || band == 'O') return kZoneBadLetter;
  scan.Advance();
  if (!scan.OnlyBlanksLeft()) return kZoneTrailingText;
  zone = UtmZone{number, band};
  return 0;
}

std::string FormatUtmZone(int32_t zone, char band) { return CFormat("%02d%c", zone, band); }

int ParseDecimal(std::string_view text, double& value) {
  TextScanner scan(text);
  scan.SkipBlanks();
  double sign = 1;
  if (scan.Accept('-')) sign = -1;
  else scan.Accept('+');
  int64_t whole = 0;
  int digits = 0;
  while (IsDigit(scan.Peek())) {
    if (whole > 214748364) return kDecimalOverflow;
    whole = whole * 10 + (scan.Peek() - '0');
    scan.Advance();
    ++digits;
  }
  double fraction = 0;
  int fractionDigits = 0;
  if (scan.AcceptDecimalPoint()) fraction = scan.ReadFraction(&fractionDigits);
  if (digits + fractionDigits == 0) return kDecimalBadText;
  if (!scan.OnlyBlanksLeft()) return kDecimalTrailingText;
  value = sign * (static_cast<double>(whole) + fraction);
  return 0;
}

std::string FormatWholeMetres(double metres) { return CFormat("%07d", TruncateToInt(metres + 0.5)); }

std::string FormatConverterMetres(double metres) { return CFormat("%012.4f", metres); }

std::string FormatDegMinSec(double radians, bool isLatitude) {
  // Whole turns at most: anything larger is not an angle a position can have.
  const double s = std::isfinite(radians) ? std::fmin(std::fabs(radians), 2 * M_PI) * kArcSecondsPerRadian : 0.0;
  int64_t whole = static_cast<int64_t>(s);
  int64_t fraction = std::llround((s - static_cast<double>(whole)) * 100000);
  if (fraction > 99999) {
    ++whole;
    fraction = 0;
  }
  const char hemisphere = isLatitude ? (radians < 0 ? 'S' : 'N') : (radians < 0 ? 'W' : 'E');
  const int degrees = static_cast<int>(whole / 3600);
  const int minutes = static_cast<int>(whole % 3600 / 60);
  const int seconds = static_cast<int>(whole % 60);
  return CFormat(isLatitude ? "%c %02d %02d %02d.%05d" : "%c %03d %02d %02d.%05d", hemisphere, degrees, minutes,
                 seconds, static_cast<int>(fraction));
}

}  // namespace trelvik
