#include "geo/position_calculations.hpp"

#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "geo/position_text.hpp"
#include "geo/transverse_mercator.hpp"
#include "geo/vincenty.hpp"

namespace trelvik {

namespace {

constexpr const char* kMissingInput = "Missing input";

// Reads one angle; `caption` names the field ("Reading FROM latitude").
bool ReadAngle(const std::string& text, bool isLatitude, const std::string& caption, UserInterface& ui,
               double& radians) {
  if (text.empty()) {
    ShowError(ui, kMissingInput, caption);
    return false;
  }
  if (ParseLatLonText(text, isLatitude, radians) < 0) {
    ShowError(ui, isLatitude ? "Bad latitude input" : "Bad longitude input", caption);
    return false;
  }
  return true;
}

bool ReadZone(const std::string& text, const char* badText, const std::string& caption, UserInterface& ui,
              UtmZone& zone) {
  if (text.empty()) {
    ShowError(ui, kMissingInput, caption);
    return false;
  }
  if (ParseUtmZone(text, zone) < 0) {
    ShowError(ui, badText, caption);
    return false;
  }
  return true;
}

bool ReadMetres(const std::string& text, const std::string& caption, UserInterface& ui, double& metres) {
  if (text.empty()) {
    ShowError(ui, kMissingInput, caption);
    return false;
  }
  if (ParseDecimal(text, metres) < 0) {
    ShowError(ui, "Bad input", caption);
    return false;
  }
  return true;
}

// One side of the distance calculator; `side` is "FROM" or "TO".
bool ReadPosition(const PositionFields& fields, bool utm, const std::string& side, UserInterface& ui,
                  GeoPosition& position) {
  const std::string reading = "Reading " + side + " ";
  if (!utm) {
    GeoPosition read;
    if (!ReadAngle(fields.first, true, reading + "latitude", ui, read.lat)) return false;
    if (!ReadAngle(fields.second, false, reading + "longitude", ui, read.lon)) return false;
    position = read;
    return true;
  }
  UtmZone zone;
  UtmPosition read;
  if (!ReadZone(fields.zone, "Bad zone input", reading + "zone", ui, zone)) return false;
  if (!ReadMetres(fields.first, reading + "easting", ui, read.easting)) return false;
  if (!ReadMetres(fields.second, reading + "northing", ui, read.northing)) return false;
  read.zone = zone.zone;
  read.band = zone.band;
  position = UtmToLatLon(read);
  return true;
}

}  // namespace

std::optional<std::string> CalculateDistanceText(const PositionFields& from, const PositionFields& to, bool utm,
                                                 UserInterface& ui) {
  GeoPosition start;
  GeoPosition end;
  if (!ReadPosition(from, utm, "FROM", ui, start) || !ReadPosition(to, utm, "TO", ui, end)) return std::nullopt;
  double metres = 0;
  if (VincentyDistance(start, end, metres) < 0) return std::string("Error");
  return CFormat("%.2f", metres);
}

PositionFields FieldsForPosition(const GeoPosition& position, bool utm) {
  if (!utm) {
    return {"", FormatLatLonText(SemicircleToCentiArcSec(RadiansToSemicircle(position.lat)), true),
            FormatLatLonText(SemicircleToCentiArcSec(RadiansToSemicircle(position.lon)), false)};
  }
  UtmPosition projected;
  LatLonToUtm(position, projected);
  return {FormatUtmZone(projected.zone, projected.band), FormatWholeMetres(projected.easting),
          FormatWholeMetres(projected.northing)};
}

std::optional<DegreeTexts> ConvertUtmToDegrees(const std::string& zone, const std::string& easting,
                                               const std::string& northing, UserInterface& ui) {
  UtmZone parsedZone;
  UtmPosition utm;
  if (!ReadZone(zone, "Bad input", "Decoding zone string", ui, parsedZone)) return std::nullopt;
  if (!ReadMetres(easting, "Decoding easting string", ui, utm.easting)) return std::nullopt;
  if (!ReadMetres(northing, "Decoding northing string", ui, utm.northing)) return std::nullopt;
  utm.zone = parsedZone.zone;
  utm.band = parsedZone.band;
  const GeoPosition position = UtmToLatLon(utm);
  return DegreeTexts{FormatDegMinSec(position.lat, true), FormatDegMinSec(position.lon, false)};
}

std::optional<UtmTextFields> ConvertDegreesToUtm(const std::string& latitude, const std::string& longitude,
                                                 const std::string& zone, UserInterface& ui) {
  GeoPosition position;
  if (!ReadAngle(latitude, true, "Decoding latitude string", ui, position.lat)) return std::nullopt;
  if (!ReadAngle(longitude, false, "Decoding longitude string", ui, position.lon)) return std::nullopt;
  UtmPosition utm;
  if (!zone.empty()) {
    UtmZone forced;
    if (ParseUtmZone(zone, forced) < 0) {
      ShowError(ui, "Bad zone input", "Decoding longitude string");
      return std::nullopt;
    }
    utm.zone = forced.zone;
  }
  LatLonToUtm(position, utm);
  return UtmTextFields{FormatUtmZone(utm.zone, utm.band), FormatConverterMetres(utm.easting),
                       FormatConverterMetres(utm.northing)};
}

}  // namespace trelvik
