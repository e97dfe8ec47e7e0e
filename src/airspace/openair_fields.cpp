#include "airspace/openair_fields.hpp"

#include "records/text_scan.hpp"

namespace trelvik {
namespace {

constexpr double kMetresPerNauticalMile = 1852.185;
constexpr double kMaxRadius = 10000;  // in the unit written
constexpr double kMaxBearing = 360;

// Degrees below `limit`, then ".dd", ":MM", ":MM.mm" or ":MM:SS.s", blanks and
// the hemisphere letter (either case).
bool ReadCoordinate(TextScanner& scan, int64_t limit, char positive, char negative, double& value) {
  int64_t degrees = 0;
  int digits = 0;
  if (!scan.ReadDigits(limit - 1, degrees, digits) || digits == 0) return false;
  double result = static_cast<double>(degrees);
  if (scan.AcceptDecimalPoint()) {
    result += scan.ReadFraction();
  } else if (scan.Accept(':')) {
    int64_t minutes = 0;
    if (!scan.ReadDigits(59, minutes, digits) || digits == 0) return false;
    double minuteValue = static_cast<double>(minutes);
    if (scan.AcceptDecimalPoint()) {
      minuteValue += scan.ReadFraction();
    } else if (scan.Accept(':')) {
      int64_t seconds = 0;
      if (!scan.ReadDigits(59, seconds, digits) || digits == 0) return false;
      double secondValue = static_cast<double>(seconds);
      if (scan.AcceptDecimalPoint()) secondValue += scan.ReadFraction();
      minuteValue += secondValue / 60.0;
    }
    result += minuteValue / 60.0;
  }
  scan.SkipBlanks();
  const char hemisphere = ToUpper(scan.Peek());
  if (hemisphere != positive && hemisphere != negative) return false;
  scan.Advance();
  value = hemisphere == negative ? -result : result;
  return true;
}

bool ReadPosition(TextScanner& scan, LatLonDegrees& position) {
  double lat = 0;
  double lon = 0;
  if (!ReadCoordinate(scan, 90, 'N', 'S', lat)) return false;
  scan.SkipBlanks();
  if (!ReadCoordinate(scan, 180, 'E', 'W', lon)) return false;
  position = {lat, lon};
  return true;
}

// What may stand after a complete position: the end, a blank or a comment.
bool PositionEnds(const TextScanner& scan) { return scan.AtEnd() || IsBlank(scan.Peek()) || scan.Peek() == '*'; }

// After the last field only blanks and an optional comment may follow.
bool OnlyCommentLeft(TextScanner& scan) {
  scan.SkipBlanks();
  return scan.AtEnd() || scan.Peek() == '*';
}

// A number in (0, 10000] with an optional fraction, optional blanks and
// "km" / "KM"; nautical miles without a unit.
bool ReadRadius(TextScanner& scan, bool commaAllowed, int32_t& metres) {
  int64_t whole = 0;
  int digits = 0;
  if (!scan.ReadDigits(static_cast<int64_t>(kMaxRadius), whole, digits)) return false;
  double value = static_cast<double>(whole);
  int fractionDigits = 0;
  if (scan.Accept('.') || (commaAllowed && scan.Accept(','))) value += scan.ReadFraction(&fractionDigits);
  if (digits + fractionDigits == 0 || !(value > 0) || value > kMaxRadius) return false;
  scan.SkipBlanks();
  double factor = kMetresPerNauticalMile;
  if (scan.Accept('k')) {
    if (!scan.Accept('m')) return false;
    factor = 1000;
  } else if (scan.Accept('K')) {
    if (!scan.Accept('M')) return false;
    factor = 1000;
  }
  metres = static_cast<int32_t>(value * factor + 0.5);
  return true;
}

bool ReadBearing(TextScanner& scan, double& bearing) {
  int64_t whole = 0;
  int digits = 0;
  if (!scan.ReadDigits(static_cast<int64_t>(kMaxBearing), whole, digits)) return false;
  double value = static_cast<double>(whole);
  int fractionDigits = 0;
  if (scan.Accept('.')) value += scan.ReadFraction(&fractionDigits);
  if (digits + fractionDigits == 0 || value > kMaxBearing) return false;
  bearing = value;
  return true;
}

bool ReadComma(TextScanner& scan) {
  scan.SkipBlanks();
  if (!scan.Accept(',')) return false;
  scan.SkipBlanks();
  return true;
}

}  // namespace

bool ParseOpenAirPosition(std::string_view argument, LatLonDegrees& position) {
  TextScanner scan(argument);
  scan.SkipBlanks();
  LatLonDegrees parsed;
  if (!ReadPosition(scan, parsed) || !PositionEnds(scan)) return false;
  position = parsed;
  return true;
}

bool ParseOpenAirArcPoints(std::string_view argument, LatLonDegrees& start, LatLonDegrees& end) {
  TextScanner scan(argument);
  scan.SkipBlanks();
  LatLonDegrees first;
  LatLonDegrees second;
  if (!ReadPosition(scan, first) || !ReadComma(scan) || !ReadPosition(scan, second) || !PositionEnds(scan)) {
    return false;
  }
  start = first;
  end = second;
  return true;
}

bool ParseOpenAirCircle(std::string_view argument, int32_t& radiusMetres) {
  TextScanner scan(argument);
  scan.SkipBlanks();
  int32_t metres = 0;
  if (!ReadRadius(scan, true, metres) || !OnlyCommentLeft(scan)) return false;
  radiusMetres = metres;
  return true;
}

bool ParseOpenAirArcAngles(std::string_view argument, int32_t& radiusMetres, double& startBearing,
                           double& endBearing) {
  TextScanner scan(argument);
  scan.SkipBlanks();
  int32_t metres = 0;
  double start = 0;
  double end = 0;
  if (!ReadRadius(scan, false, metres) || !ReadComma(scan) || !ReadBearing(scan, start) || !ReadComma(scan) ||
      !ReadBearing(scan, end) || !OnlyCommentLeft(scan)) {
    return false;
  }
  radiusMetres = metres;
  startBearing = start;
  endBearing = end;
  return true;
}

}  // namespace trelvik
