#include "waypoints/text_reader_support.hpp"

#include "base/c_format.hpp"
#include "records/names.hpp"
#include "waypoints/waypoint_text.hpp"

namespace trelvik {

WaypointFileRead BadLine(int lineNumber, std::string_view caption) {
  return WaypointFileRead::Failure(CFormat("Bad line %d", lineNumber), std::string(caption), lineNumber);
}

IdStep StrictIdRule::Clean(std::string_view field, std::string& name) {
  if (TrimBlanks(field).empty()) return IdStep::Stop;
  switch (namer_.Clean(std::string(field), name)) {
    case WaypointNameOutcome::Take: return IdStep::Take;
    case WaypointNameOutcome::Skip: return IdStep::Skip;
    case WaypointNameOutcome::Cancel:
    case WaypointNameOutcome::BadId: break;
  }
  return IdStep::Stop;
}

std::optional<std::string> LenientId(std::string_view field) {
  std::string name;
  if (CleanWaypointName(field, true, name) < 0) return std::nullopt;
  return name;
}

}  // namespace trelvik
