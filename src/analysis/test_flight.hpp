#pragma once
// The "&Test" flight: 2201 positions one second apart in UTM zone 32V, a
// straight start, a climb in circles drifting with the wind, a glide, a
// figure-eight and a final glide. Exercises the views, the track view and the
// optimisation without an instrument.
#include <vector>

#include "records/track_point.hpp"

namespace trelvik {

inline constexpr int kTestFlightPoints = 2201;

std::vector<TrackPoint> GenerateTestFlight();

}  // namespace trelvik
