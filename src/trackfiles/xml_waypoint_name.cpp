#include "trackfiles/xml_waypoint_name.hpp"

#include "base/c_format.hpp"
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

std::optional<XmlStep> XmlWaypointNamer::CleanForReader(const std::string& text, std::string& name, int number,
                                                        std::string& error) {
  switch (Clean(text, name)) {
    case WaypointNameOutcome::Take: return std::nullopt;
    case WaypointNameOutcome::Skip: return XmlStep::Continue;
    case WaypointNameOutcome::Cancel: error.clear(); return XmlStep::Fail;
    case WaypointNameOutcome::BadId: break;
  }
  error = CFormat("Bad ID for waypoint %d", number);
  return XmlStep::Fail;
}

}  // namespace trelvik
