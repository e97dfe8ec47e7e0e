#pragma once
// Latitudes and longitudes as instruments and exchange files write them. On
// failure a negative code (or nothing) comes back and no output is written.
#include <cstddef>
#include <optional>
#include <string_view>

namespace trelvik {

inline constexpr double kRadiansPerArcMinute = 0.0002908882086657;

inline constexpr int kAngleBadText = -1;     // layout or a stray character
inline constexpr int kAngleOutOfRange = -2;  // degrees or minutes too large

// "DDMM.mmmH" / "DDDMM.mmmH": degrees and whole minutes run together, "." and
// the minute fraction, immediately followed by the hemisphere letter (N/S for a
// latitude, E/W for a longitude, either case; S and W negate). DDMM must stay
// below 9000 (latitude) or 18000 (longitude). Result in radians.
[[nodiscard]] int ParseNmeaAngle(std::string_view text, bool isLatitude, double& radians);

// The same digits without a hemisphere letter, below 18000; "." optional.
[[nodiscard]] int ParseNmeaAngleUnsigned(std::string_view text, double& radians);

struct HemisphereAngle {
  double degrees = 0;    // signed: south and west negative
  std::size_t end = 0;   // position in the text just after the parsed angle
};

// Hemisphere letter first, then "D M S.s", "D M.m" or "D.d" in blank-separated
// groups ("." or "," before a fraction); degrees below 90 or 180, minutes and
// seconds below 60. Text may follow the angle; `end` says where it starts.
[[nodiscard]] std::optional<HemisphereAngle> ParseHemisphereFirstAngle(std::string_view text, bool isLatitude);

}  // namespace trelvik
