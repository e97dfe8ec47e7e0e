#pragma once
// WGS-84 constants, written as stored so that every result matches to the last digit.
namespace trelvik::wgs84 {

inline constexpr double kFlattening = 0.0033528106647474805;
inline constexpr double kOneMinusFlattening = 0.9966471893352525;
inline constexpr double kFlatteningBy16 = 0.00020955066654671753;
inline constexpr double kSemiMinorAxis = 6356752.314245179;
inline constexpr double kEccentricitySquared = 0.006694379990141317;
inline constexpr double kSecondEccentricitySquared = 0.006739496742276435;
inline constexpr double kOnePlusSecondEccentricitySquared = 1.006739496742276474;
inline constexpr double kUtmScaleTimesA = 6375585.7452;
inline constexpr double kFalseEasting = 500000.0;
inline constexpr double kFalseNorthingSouth = 10000000.0;

}  // namespace trelvik::wgs84
