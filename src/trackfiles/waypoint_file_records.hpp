#pragma once
// What every waypoint file format reads into and writes from.
#include <vector>

#include "records/waypoint.hpp"
#include "trackfiles/file_read_outcome.hpp"

namespace trelvik {

struct WaypointFileRecords {
  std::vector<Waypoint> waypoints;

  int Count() const { return static_cast<int>(waypoints.size()); }
};

using WaypointFileRead = FileReadOutcome<WaypointFileRecords>;

}  // namespace trelvik
