#pragma once
#include <cstdint>

#include "records/track_point.hpp"

namespace trelvik {

struct Waypoint {
  Semicircle lat = 0;
  Semicircle lon = 0;
  int32_t alt = 0;            // whole metres
  char name[7] = {};          // at most 6 characters A-Z, 0-9, "-", zero-terminated
  char description[41] = {};  // at most 40 characters, zero-terminated
  TrackTime time = 0;
  int32_t airport = 0;        // 1 = airport / landing field
};
static_assert(sizeof(Waypoint) == 68, "Waypoint is 68 bytes");

}  // namespace trelvik
