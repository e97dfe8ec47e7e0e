#pragma once
// The four views of the main list and their columns, and the text of each
// cell, produced only when the list asks for a row (the list is virtual).
#include <span>
#include <string>

#include "records/track_log.hpp"

namespace trelvik {

// Values as stored: 0 waypoints, 1 track log, 2 airspace list, 3 pilot list.
enum class ViewMode { Waypoints = 0, TrackLog = 1, Airspace = 2, PilotList = 3 };

struct ListColumn {
  const char* header;
  int widthChars;  // width in average character widths of the list font
};

// The UTM flag picks the second column set of the waypoint and track views.
std::span<const ListColumn> ColumnsFor(ViewMode mode, bool utm);

inline constexpr size_t kCellTextLimit = 79;

// Cell texts; `row` must be a valid index. Cut to kCellTextLimit characters.
std::string TrackCell(const TrackLog& log, int row, int column, bool utm);
std::string WaypointCell(const WaypointList& list, int row, int column, bool utm);

}  // namespace trelvik
