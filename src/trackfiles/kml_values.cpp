#include "trackfiles/kml_values.hpp"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

#include "geo/angles.hpp"
#include "trackfiles/decimal_digits.hpp"

namespace trelvik {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Optional sign, at least one digit, optionally "." and fraction digits.
bool Number(const char*& p, double& value) {
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  const char* digits = p;
  uint64_t sum = 0;
  p = SumDigits(p, sum);
  if (p == digits) return false;
  const std::string_view integer(digits, static_cast<size_t>(p - digits));
  std::string_view fraction;
  if (*p == '.') {
    const char* fractionStart = ++p;
    p = SumDigits(p, sum);
    fraction = std::string_view(fractionStart, static_cast<size_t>(p - fractionStart));
  }
  double parsed = 0;
  if (!DecimalFromDigits(integer, fraction, sum, parsed)) return false;
  value = negative ? -parsed : parsed;
  return true;
}

// "-"? then "0" or digits without a leading zero; "-0" is no canonical form.
// Moves `p` past the digits.
bool CanonicalWhole(const char*& p, const char* end) {
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  const char* digits = p;
  while (p < end && IsDigit(*p)) ++p;
  if (p == digits) return false;
  if (*digits == '0') return p == digits + 1 && !negative;
  return true;
}

// A canonical whole part, ".", six digits; "-0.000000" is no canonical form.
bool CanonicalFixed6(const char*& p, const char* end) {
  const char* start = p;
  const bool negative = p < end && *p == '-';
  const char* digits = negative ? p + 1 : p;
  if (negative) ++p;
  while (p < end && IsDigit(*p)) ++p;
  if (p == digits || (*digits == '0' && p != digits + 1)) return false;
  if (end - p < 7 || *p != '.') return false;
  for (int i = 1; i <= 6; ++i) {
    if (!IsDigit(p[i])) return false;
  }
  p += 7;
  if (negative) {
    bool allZero = true;
    for (const char* q = start + 1; q < p; ++q) allZero = allZero && (*q == '0' || *q == '.');
    if (allZero) return false;
  }
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

bool IsCanonicalKmlInteger(std::string_view item) {
  const char* p = item.data();
  const char* end = p + item.size();
  return CanonicalWhole(p, end) && p == end;
}

bool IsCanonicalKmlCoordinate(std::string_view item) {
  const char* p = item.data();
  const char* end = p + item.size();
  return CanonicalFixed6(p, end) && p < end && *p++ == ',' && CanonicalFixed6(p, end) && p < end && *p++ == ',' &&
         CanonicalWhole(p, end) && p == end;
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
