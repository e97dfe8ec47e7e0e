#pragma once
// The value lists inside KML track elements: whole numbers separated by single
// characters (<SecondsFromTimeOfFirstPoint>, <PressureAltitude>) and the
// "longitude,latitude[,altitude][,]" items of <coordinates>.
#include <cstdint>
#include <string_view>

#include "records/track_point.hpp"

namespace trelvik {

inline constexpr int kKmlListItem = 1;
inline constexpr int kKmlListEnd = 0;
inline constexpr int kKmlListBad = -1;

// An optional "-" and at least one digit, then the end or one separating
// character and the next item. kKmlListItem, kKmlListEnd, or kKmlListBad (also
// for a value beyond 32 bits and for a separator with nothing after it).
[[nodiscard]] int NextKmlInteger(const char*& cursor, int32_t& value);

struct KmlCoordinate {
  double lon = 0;     // degrees, |lon| < 180
  double lat = 0;     // degrees, |lat| < 90
  int32_t alt = 0;    // whole metres, 0 when the item has none
};

// One item of a normalised coordinates text (items separated by one blank).
// An item without altitude must be the last. kKmlListItem, kKmlListEnd or kKmlListBad.
[[nodiscard]] int NextKmlCoordinate(const char*& cursor, KmlCoordinate& coordinate);

// True when `item` (one integer item, without its separator) is exactly what
// "%d" prints for its value: no "+", no leading zeros, no "-0".
[[nodiscard]] bool IsCanonicalKmlInteger(std::string_view item);

// True when `item` (one coordinates item, without its separating blank) is
// exactly what "%.6f,%.6f,%d" prints for its values, so that the hash may take
// the text as it stands instead of formatting it again.
[[nodiscard]] bool IsCanonicalKmlCoordinate(std::string_view item);

// Degrees as stored angles and back; the writer's degrees are exact.
Semicircle DegreesToSemicircle(double degrees);
double SemicircleToDegrees(Semicircle angle);

}  // namespace trelvik
