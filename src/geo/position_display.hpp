#pragma once
// Position texts as the lists and dialogs show them, built on the geodesy
// routines: the degree-minute-second display form, UTM zone, easting and
// northing in whole metres.
#include <string>

#include "records/track_point.hpp"

namespace trelvik {

std::string LatitudeText(Semicircle lat);
std::string LongitudeText(Semicircle lon);

struct UtmTexts {
  std::string zone;      // "%02d%c", zone chosen from the position
  std::string easting;   // "%07d", whole metres
  std::string northing;  // "%07d"
};
UtmTexts UtmCellTexts(Semicircle lat, Semicircle lon);

}  // namespace trelvik
