#pragma once
// The argument forms of the OpenAir records: positions, radii and arcs. Each
// parser takes the whole argument (leading blanks already skipped) and either
// fills its outputs or returns false, leaving them as they were.
#include <cstdint>
#include <string_view>

#include "airspace/ctr_area.hpp"

namespace trelvik {

// DP and V X=: "latitude longitude", each DD, DD.dd, DD:MM, DD:MM.mm or
// DD:MM:SS.s followed by its hemisphere letter.
[[nodiscard]] bool ParseOpenAirPosition(std::string_view argument, LatLonDegrees& position);

// DB: "position, position".
[[nodiscard]] bool ParseOpenAirArcPoints(std::string_view argument, LatLonDegrees& start, LatLonDegrees& end);

// DC: a radius in nautical miles, or in kilometres with "km" / "KM".
[[nodiscard]] bool ParseOpenAirCircle(std::string_view argument, int32_t& radiusMetres);

// DA: "radius, start bearing, end bearing".
[[nodiscard]] bool ParseOpenAirArcAngles(std::string_view argument, int32_t& radiusMetres, double& startBearing,
                                         double& endBearing);

}  // namespace trelvik
