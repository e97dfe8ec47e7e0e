#pragma once
// The fields of the "Edit Waypoint" dialog as texts, and their checks in the
// order the dialog reads them, the first failure shown under "Edit waypoint".
// Kept apart from the dialog so that the rules are tested without a window.
#include <optional>
#include <string>

#include "base/user_interface.hpp"
#include "records/waypoint.hpp"

namespace trelvik {

inline constexpr char kPointType[] = "Point";
inline constexpr char kAirfieldType[] = "Airfield";

struct WaypointEditFields {
  std::string id;
  std::string comment;
  std::string height;
  bool airfield = false;  // type "Airfield", else "Point"
  std::string timestamp;  // "%d-%02d-%02dT%02d:%02d:%02d", UTC
  // UTM mode
  std::string zone;
  std::string easting;
  std::string northing;
  // latitude/longitude mode
  std::string latitude;
  std::string longitude;
};

// A new waypoint: empty ID and comment, height 0, a point, carrying `now`.
[[nodiscard]] Waypoint NewWaypoint(TrackTime now);

// The texts the dialog shows for `waypoint`, the position in both forms.
[[nodiscard]] WaypointEditFields EditFieldsOf(const Waypoint& waypoint);

// The edited waypoint, or nothing after the first failing field's message.
[[nodiscard]] std::optional<Waypoint> CheckWaypointEdit(UserInterface& ui, const WaypointEditFields& fields, bool utm);

}  // namespace trelvik
