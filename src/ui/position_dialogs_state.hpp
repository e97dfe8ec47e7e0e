#pragma once
// What the position dialogs keep between openings (owned by the main window).
#include "geo/angles.hpp"

namespace trelvik {

struct PositionDialogsState {
  GeoPosition distanceFrom;  // the distance calculator's From and To
  GeoPosition distanceTo;
  bool distanceUtm = false;  // its "&UTM" check box
};

}  // namespace trelvik
