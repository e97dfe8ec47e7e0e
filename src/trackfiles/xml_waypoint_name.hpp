#pragma once
// The waypoint-name rule of the XML waypoint readers: strict cleaning, and when
// that refuses a name, the "Modify waypoint ID" question (interactive reading)
// or a "Bad ID" error.
#include <string>

#include "trackfiles/xml_choices.hpp"

namespace trelvik {

enum class WaypointNameOutcome { Take, Skip, Cancel, BadId };

class XmlWaypointNamer {
 public:
  XmlWaypointNamer(bool interactive, const ModifyIdQuestion& ask) : interactive_(interactive), ask_(ask) {}

  // Cleans `text` into `name`. Take: use the waypoint; Skip: leave it out;
  // Cancel: end the reading without a message; BadId: report "Bad ID".
  WaypointNameOutcome Clean(const std::string& text, std::string& name);

 private:
  bool interactive_;
  const ModifyIdQuestion& ask_;
  bool yesToAll_ = false;
};

}  // namespace trelvik
