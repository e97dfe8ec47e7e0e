#include "geo/position_display.hpp"

#include "geo/angles.hpp"
#include "geo/position_text.hpp"
#include "geo/transverse_mercator.hpp"

namespace trelvik {

std::string LatitudeText(Semicircle lat) { return FormatLatLonText(SemicircleToCentiArcSec(lat), true); }
std::string LongitudeText(Semicircle lon) { return FormatLatLonText(SemicircleToCentiArcSec(lon), false); }

UtmTexts UtmCellTexts(Semicircle lat, Semicircle lon) {
  UtmPosition utm;
  LatLonToUtm(SemicircleToRadians(lat, lon), utm);
  return {FormatUtmZone(utm.zone, utm.band), FormatWholeMetres(utm.easting), FormatWholeMetres(utm.northing)};
}

}  // namespace trelvik
