#pragma once
// The readers hand their messages back; these tests check them as a caller
// with a user interface shows them.
#include <vector>

#include "trackfiles/file_read_report.hpp"
#include "trackfiles/track_file_records.hpp"
#include "trackfiles/waypoint_file_records.hpp"

namespace trelvik::testing {

// Shows the notices and the error of `read` on `ui`; the records (empty after
// a failure or a cancel).
template <typename Records>
Records Shown(UserInterface& ui, const FileReadOutcome<Records>& read) {
  ShowFileRead(ui, read);
  return read.records;
}

// The waypoints of `read` in `waypoints` and their count, or -1 after an error
// (shown on `ui`) or a cancel.
inline int ShownWaypoints(UserInterface& ui, const WaypointFileRead& read, std::vector<Waypoint>& waypoints) {
  if (!ShowFileRead(ui, read)) return -1;
  waypoints = read.records.waypoints;
  return read.records.Count();
}

}  // namespace trelvik::testing
