// The KML waypoint reader on arbitrary bytes, quietly and asking about names.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/silent_user_interface.hpp"
#include "waypoint_checks.hpp"
#include "trackfiles/kml_waypoint_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  SilentUserInterface ui;
  for (const bool interactive : {false, true}) {
    std::vector<Waypoint> waypoints;
    const int count = ReadKmlWaypoints(ui, input, interactive, waypoints, 0, fuzz::CyclingModifyIdAnswers(size));
    fuzz::CheckWaypoints(count, waypoints);
  }
  return 0;
}
