#pragma once
// The waypoint-name rule of the XML waypoint readers: strict cleaning, and when
// that refuses a name, the "Modify waypoint ID" question (interactive reading)
// or a "Bad ID" error.
#include <optional>
#include <string>

#include "trackfiles/xml_choices.hpp"
#include "trackfiles/xml_walker.hpp"

namespace trelvik {

enum class WaypointNameOutcome { Take, Skip, Cancel, BadId };

class XmlWaypointNamer {
 public:
  XmlWaypointNamer(bool interactive, const ModifyIdQuestion& ask) : interactive_(interactive), ask_(ask) {}

  // Cleans `text` into `name`. Take: use the waypoint; Skip: leave it out;
  // Cancel: end the reading without a message; BadId: report "Bad ID".
  WaypointNameOutcome Clean(const std::string& text, std::string& name);

  // Clean as a reader acts on it for waypoint `number`: nothing when `name`
  // is to be taken; otherwise the reader's next step (Continue skips the
  // waypoint, Fail ends the reading with `error`, empty after Cancel).
  std::optional<XmlStep> CleanForReader(const std::string& text, std::string& name, int number, std::string& error);

 private:
  bool interactive_;
  const ModifyIdQuestion& ask_;
  bool yesToAll_ = false;
};

}  // namespace trelvik
