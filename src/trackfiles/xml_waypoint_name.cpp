#include "trackfiles/xml_waypoint_name.hpp"

#include "records/names.hpp"

namespace trelvik {

WaypointNameOutcome XmlWaypointNamer::Clean(const std::string& text, std::string& name) {
  if (CleanWaypointName(text, yesToAll_, name) >= 0) return WaypointNameOutcome::Take;
  if (yesToAll_ || !interactive_) return WaypointNameOutcome::BadId;
  const ModifyIdAnswer answer = ask_ ? ask_(text) : ModifyIdAnswer::Cancel;
  switch (answer) {
    case ModifyIdAnswer::YesToAll:
      yesToAll_ = true;
      [[fallthrough]];
    case ModifyIdAnswer::Yes:
      return CleanWaypointName(text, true, name) >= 0 ? WaypointNameOutcome::Take : WaypointNameOutcome::BadId;
    case ModifyIdAnswer::No:
      return WaypointNameOutcome::Skip;
    case ModifyIdAnswer::Cancel:
      break;
  }
  return WaypointNameOutcome::Cancel;
}

}  // namespace trelvik
