#pragma once
// Conversions between the stored angle unit and radians or integer fractions of a degree.
#include <cstdint>

#include "records/track_point.hpp"

namespace trelvik {

struct GeoPosition {
  double lat = 0;  // radians, north positive
  double lon = 0;  // radians, east positive
};

inline constexpr double kRadiansPerSemicircle = 1.4629180792671596e-9;   // pi / 2^31
inline constexpr double kSemicirclesPerRadian = 683565275.5764316;       // 2^31 / pi
inline constexpr double kCentiArcSecPerSemicircle = 0.030174851417541504;
inline constexpr double kMilliMinutePerSemicircle = 0.005029141902924;

// Rounds half away from zero, as every angle conversion here does. Values
// beyond the 32-bit range (a longitude of exactly 180 degrees is 2^31
// semicircles) saturate instead of overflowing; NaN gives 0.
constexpr int32_t RoundHalfAway(double x) {
  if (x != x) return 0;
  if (x >= 2147483647.0) return INT32_MAX;
  if (x <= -2147483648.0) return INT32_MIN;
  return x >= 0 ? static_cast<int32_t>(x + 0.5) : static_cast<int32_t>(x - 0.5);
}

inline double SemicircleToRadians(Semicircle s) { return s * kRadiansPerSemicircle; }
inline GeoPosition SemicircleToRadians(Semicircle lat, Semicircle lon) {
  return {lat * kRadiansPerSemicircle, lon * kRadiansPerSemicircle};
}
inline Semicircle RadiansToSemicircle(double radians) { return RoundHalfAway(radians * kSemicirclesPerRadian); }
inline int32_t SemicircleToCentiArcSec(Semicircle s) { return RoundHalfAway(s * kCentiArcSecPerSemicircle); }
inline int32_t SemicircleToMilliMinute(Semicircle s) { return RoundHalfAway(s * kMilliMinutePerSemicircle); }

}  // namespace trelvik
