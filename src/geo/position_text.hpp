#pragma once
// The text forms in which users type and read positions: latitude/longitude,
// UTM zone, easting and northing. Parsers return 0 or a negative code and
// write nothing on failure. Every number is formatted in the C locale.
#include <cstdint>
#include <string>
#include <string_view>

namespace trelvik {

// "N"/"S" or "E"/"W", then " %02d  %02d  %02d.%02d" (latitude) or
// " %03d  %02d  %02d.%02d" (longitude) from hundredths of an arc second.
std::string FormatLatLonText(int32_t centiArcSeconds, bool isLatitude);

// Optional hemisphere sign ("+", "-", N/S or E/W in either case) and blanks,
// then degrees (at most 89 or 179) with an optional fraction, or degrees and
// minutes (0..59), or degrees, minutes and seconds (0..59), the last group
// optionally with "." or "," and a fraction. Result in radians; -1 on failure.
[[nodiscard]] int ParseLatLonText(std::string_view text, bool isLatitude, double& radians);

inline constexpr int kZoneAboveSixty = -1;
inline constexpr int kZoneMissing = -2;
inline constexpr int kZoneBadLetter = -3;
inline constexpr int kZoneTrailingText = -4;

struct UtmZone {
  int32_t zone = 0;
  char band = 0;  // upper case
};

// One or two digits 1..60, optional blanks, a band letter C..H, J..N, P..X in
// either case, trailing blanks.
[[nodiscard]] int ParseUtmZone(std::string_view text, UtmZone& zone);

// "%02d%c", e.g. "32V".
std::string FormatUtmZone(int32_t zone, char band);

inline constexpr int kDecimalBadText = -1;       // no number where one must stand
inline constexpr int kDecimalOverflow = -2;      // integer part too long
inline constexpr int kDecimalTrailingText = -4;  // something other than blanks after the number

// Easting or northing: optional "+" or "-", digits, optional "." or "," and a
// fraction, trailing blanks.
[[nodiscard]] int ParseDecimal(std::string_view text, double& value);

// Whole metres "%07d" (value + 0.5 truncated), as the distance calculator and
// the waypoint editor show easting and northing.
std::string FormatWholeMetres(double metres);
// "%012.4f", as the coordinate converter shows easting and northing.
std::string FormatConverterMetres(double metres);

// "%c %02d %02d %02d.%05d" (latitude) or "%c %03d %02d %02d.%05d" (longitude):
// degrees, minutes, seconds and hundred-thousandths of a second.
std::string FormatDegMinSec(double radians, bool isLatitude);

}  // namespace trelvik
