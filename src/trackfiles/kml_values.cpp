#include "trackfiles/kml_values.hpp"

#include <cmath>
#include <optional>
#include <string_view>

#include "base/c_format.hpp"
#include "geo/angles.hpp"

namespace trelvik {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Optional sign, at least one digit, optionally "." and fraction digits.
bool Number(const char*& p, double& value) {
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  const char* digits = p;
  while (IsDigit(*p)) ++p;
  if (p == digits) return false;
  const std::string_view integer(digits, static_cast<size_t>(p - digits));
  std::string_view fraction;
  if (*p == '.') {
    const char* fractionStart = ++p;
    while (IsDigit(*p)) ++p;
    fraction = std::string_view(fractionStart, static_cast<size_t>(p - fractionStart));
  }
  const std::optional<double> parsed = DecimalValue(integer, fraction);
  if (!parsed) return false;
  value = negative ? -*parsed : *parsed;
  return true;
}

constexpr double kMaxAltitudeMetres = 200000000.0;  // keeps altitude x 10 inside 32 bits

}  // namespace

int NextKmlInteger(const char*& cursor, int32_t& value) {
  const char* p = cursor;
  if (*p == '\0') return kKmlListEnd;
  const bool negative = *p == '-';
  if (negative) ++p;
  if (!IsDigit(*p)) return kKmlListBad;
  int64_t number = 0;
  while (IsDigit(*p)) {
    number = number * 10 + (*p - '0');
    if (number > INT32_MAX + int64_t{1}) return kKmlListBad;
    ++p;
  }
  if (negative) number = -number;
  if (number > INT32_MAX) return kKmlListBad;
  if (*p != '\0') {
    ++p;
    if (*p == '\0') return kKmlListBad;
  }
  value = static_cast<int32_t>(number);
  cursor = p;
  return kKmlListItem;
}

int NextKmlCoordinate(const char*& cursor, KmlCoordinate& coordinate) {
  const char* p = cursor;
  if (*p == '\0') return kKmlListEnd;
  KmlCoordinate item;
  if (!Number(p, item.lon) || *p++ != ',' || !Number(p, item.lat)) return kKmlListBad;
  bool hasAltitude = false;
  if (*p == ',') {
    ++p;
    double altitude = 0;
    if (IsDigit(*p) || *p == '+' || *p == '-') {
      if (!Number(p, altitude)) return kKmlListBad;
      if (!(std::fabs(altitude) < kMaxAltitudeMetres)) return kKmlListBad;
      // Add 0.5 and round down, so that the whole negative metres the writer
      // prints come back unchanged (truncation would turn -11 into -10).
      item.alt = static_cast<int32_t>(std::floor(altitude + 0.5));
      hasAltitude = true;
      if (*p == ',') ++p;
    }
  }
  if (*p != '\0' && *p != ' ') return kKmlListBad;
  if (!hasAltitude && *p != '\0') return kKmlListBad;
  if (!(std::fabs(item.lon) < 180.0) || !(std::fabs(item.lat) < 90.0)) return kKmlListBad;
  if (*p == ' ') {
    ++p;
    if (*p == '\0') return kKmlListBad;
  }
  coordinate = item;
  cursor = p;
  return kKmlListItem;
}

Semicircle DegreesToSemicircle(double degrees) {
  // As RadiansToSemicircle, but in 64 bits: 180 degrees (and anything that
  // rounds to it) is the same angle as -180, which is what 32 bits wrap it to.
  const double x = degrees * (M_PI / 180.0) * kSemicirclesPerRadian;
  const int64_t rounded = x >= 0 ? static_cast<int64_t>(x + 0.5) : static_cast<int64_t>(x - 0.5);
  return static_cast<Semicircle>(static_cast<uint32_t>(rounded));
}

double SemicircleToDegrees(Semicircle angle) { return angle * (180.0 / 2147483648.0); }

}  // namespace trelvik
