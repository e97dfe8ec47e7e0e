#pragma once
// What the distance calculator and the coordinate converter do with the texts
// of their fields: read them in the dialog's order, report the first fault
// under the field's caption, and produce the result texts. No widgets here.
#include <optional>
#include <string>

#include "base/user_interface.hpp"
#include "geo/angles.hpp"

namespace trelvik {

inline constexpr const char* kWgs84Note = "NOTE:  Only WGS84 is supported";

// One position of the distance calculator as typed: latitude and longitude, or
// zone, easting and northing.
struct PositionFields {
  std::string zone;
  std::string first;   // latitude or easting
  std::string second;  // longitude or northing
};

// Reads From, then To, and returns the text shown after "Distance (m):": the
// metres with two decimals, or "Error" when the distance did not converge.
// Nothing (after a message) when a field cannot be read.
std::optional<std::string> CalculateDistanceText(const PositionFields& from, const PositionFields& to, bool utm,
                                                 UserInterface& ui);

// The fields of a stored position in either mode ("%02d%c", "%07d" for UTM with
// the zone chosen from the position; the display form for degrees, zone empty).
PositionFields FieldsForPosition(const GeoPosition& position, bool utm);

struct DegreeTexts {
  std::string latitude;   // "%c %02d %02d %02d.%05d"
  std::string longitude;  // "%c %03d %02d %02d.%05d"
};
// "To &degrees" of the coordinate converter.
std::optional<DegreeTexts> ConvertUtmToDegrees(const std::string& zone, const std::string& easting,
                                               const std::string& northing, UserInterface& ui);

struct UtmTextFields {
  std::string zone;      // "%02d%c"
  std::string easting;   // "%012.4f"
  std::string northing;
};
// "To &UTM/UPS": an empty zone lets the position choose it; a filled one forces its number.
std::optional<UtmTextFields> ConvertDegreesToUtm(const std::string& latitude, const std::string& longitude,
                                                 const std::string& zone, UserInterface& ui);

}  // namespace trelvik
