#pragma once
// Transverse Mercator (Redfearn's series) and the UTM zone rules on WGS-84.
#include <cstdint>

#include "geo/angles.hpp"

namespace trelvik {

struct UtmPosition {
  double easting = 0;   // metres, with the false easting
  double northing = 0;  // metres, with the false northing south of the equator
  int32_t zone = 0;     // 1..60; 0 into LatLonToUtm lets it choose
  char band = 0;        // latitude band letter, "C".."X" ("B" and "Y" beyond)
};

struct TmPoint {
  double x = 0;  // metres east of the central meridian
  double y = 0;  // metres north of the equator
};

// Transverse Mercator with scale 0.9996 about `centralMeridian` (radians),
// without false easting or northing: the flat frame for whole-flight geometry.
TmPoint ProjectTm(const GeoPosition& position, double centralMeridian);

// The latitude band letter of a latitude in radians.
char UtmBandLetter(double latitude);

// UTM of a position; a non-zero `utm.zone` on entry forces that zone (the band
// letter is still taken from the latitude). Polar latitudes use the same series.
void LatLonToUtm(const GeoPosition& position, UtmPosition& utm);

// Band letters up to "M" are southern; "N" and above northern.
GeoPosition UtmToLatLon(const UtmPosition& utm);

}  // namespace trelvik
