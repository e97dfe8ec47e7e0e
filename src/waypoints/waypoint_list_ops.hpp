#pragma once
// The commands on the one waypoint list, apart from their dialogs: adding
// without duplicates, deleting the selected rows, installing a file's
// waypoints and saving the selected ones. The window calls them on its thread.
#include <string>
#include <vector>

#include "base/user_interface.hpp"
#include "records/track_log.hpp"
#include "waypoints/waypoint_file_formats.hpp"

namespace trelvik {

// Appends `waypoint`, or replaces the entry of the same short name when the
// user answers Yes to "Waypoint %s already exists, overwrite ?" ("Insert
// waypoint"); No goes on comparing with the later entries. Returns the row
// the waypoint went to.
int AddWaypoint(UserInterface& ui, WaypointList& list, const Waypoint& waypoint);

// Removes the rows (0-based, any order, duplicates allowed), keeping the order
// of the others.
void DeleteWaypointRows(WaypointList& list, std::vector<int> rows);

// The waypoints a file gave, into the list: with a list already there, "Append
// new waypoints to existing list ?" ("Read waypoint file"): Yes adds each with
// AddWaypoint, No replaces the list. Shows "%d waypoints read".
void InstallReadWaypoints(UserInterface& ui, WaypointList& list, std::vector<Waypoint> read);

// "Save waypoints": the selected waypoints in `format` to `path` (replaced
// atomically). "No waypoints selected" when there are none, "File written"
// after writing. 0, or -1 after a shown error.
[[nodiscard]] int SaveWaypointFile(UserInterface& ui, const WaypointFileFormat& format,
                                   const std::vector<Waypoint>& selected, const std::string& path,
                                   const WaypointWriteOptions& options);

// The stored 1-based dialog choices, values outside their lists taken as 1.
[[nodiscard]] size_t WaypointExportEntry(int32_t stored);
[[nodiscard]] size_t WaypointImportEntry(int32_t stored);

}  // namespace trelvik
