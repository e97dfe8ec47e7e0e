#pragma once
// One logged position: seven 32-bit words, the layout every Part exchanges.
#include <cstdint>

#include "records/track_time.hpp"

namespace trelvik {

// Signed 32-bit angle, 2^31 = 180 degrees.
using Semicircle = int32_t;

inline constexpr int32_t kNewSegment = 1;  // TrackPoint::flags bit 0

struct TrackPoint {
  int32_t flags = 0;  // bit 0: starts a segment; all other bits 0
  TrackTime time = 0;
  Semicircle lat = 0;
  Semicircle lon = 0;
  int32_t gpsAlt = 0;   // decimetres
  int32_t baroAlt = 0;  // whole metres, 0 = none
  float aux = 0.0f;     // auxiliary sensor (Garmin depth), written as IGC ENL
};
static_assert(sizeof(TrackPoint) == 28, "TrackPoint is seven 32-bit words");

// GPS altitude in whole metres, rounded half away from zero.
constexpr int32_t GpsAltitudeMetres(int32_t decimetres) {
  return decimetres >= 0 ? (decimetres + 5) / 10 : -((5 - decimetres) / 10);
}

}  // namespace trelvik
