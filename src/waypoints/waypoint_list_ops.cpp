#include "waypoints/waypoint_list_ops.hpp"

#include <algorithm>
#include <cstring>

#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"

namespace trelvik {
namespace {

constexpr const char* kSaveCaption = "Save waypoints";

}  // namespace

int AddWaypoint(UserInterface& ui, WaypointList& list, const Waypoint& waypoint) {
  if (list.waypoints.empty()) list.waypoints.reserve(50);
  for (size_t i = 0; i < list.waypoints.size(); ++i) {
    if (std::strncmp(list.waypoints[i].name, waypoint.name, sizeof waypoint.name) != 0) continue;
    const std::string question = CFormat("Waypoint %s already exists, overwrite ?", waypoint.name);
    if (AskYesNo(ui, question, "Insert waypoint") == Answer::Yes) {
      list.waypoints[i] = waypoint;
      return static_cast<int>(i);
    }
  }
  list.waypoints.push_back(waypoint);
  return list.Count() - 1;
}

void DeleteWaypointRows(WaypointList& list, std::vector<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  std::vector<Waypoint> kept;
  kept.reserve(list.waypoints.size());
  size_t next = 0;
  for (size_t i = 0; i < list.waypoints.size(); ++i) {
    if (next < rows.size() && rows[next] == static_cast<int>(i)) {
      ++next;
      continue;
    }
    kept.push_back(list.waypoints[i]);
  }
  list.waypoints = std::move(kept);
}

void InstallReadWaypoints(UserInterface& ui, WaypointList& list, std::vector<Waypoint> read) {
  const int count = static_cast<int>(read.size());
  if (!list.waypoints.empty() &&
      AskYesNo(ui, "Append new waypoints to existing list ?", "Read waypoint file") == Answer::Yes) {
    for (const Waypoint& waypoint : read) (void)AddWaypoint(ui, list, waypoint);
  } else {
    list.waypoints = std::move(read);
  }
  ui.SetStatus(CFormat("%d waypoints read", count));
}

int SaveWaypointFile(UserInterface& ui, const WaypointFileFormat& format, const std::vector<Waypoint>& selected,
                     const std::string& path, const WaypointWriteOptions& options) {
  if (selected.empty()) {
    ShowError(ui, "No waypoints selected", kSaveCaption);
    return -1;
  }
  if (format.write == nullptr) {
    ShowError(ui, "This file type cannot be written in this version", kSaveCaption);
    return -1;
  }
  WaypointFileRecords records;
  records.waypoints = selected;
  const FileWriteResult written = format.write(records, options);
  if (written.error) {
    ShowError(ui, written.error->text, written.error->caption);
    return -1;
  }
  if (const FileWriteError error = WriteFileAtomically(path, written.bytes)) {
    ShowSystemError(ui, "File write error", error.errorNumber);
    return -1;
  }
  ShowInfo(ui, "File written", kSaveCaption);
  return 0;
}

size_t WaypointExportEntry(int32_t stored) {
  return stored >= 1 && static_cast<size_t>(stored) <= WaypointFileSaveList().size() ? static_cast<size_t>(stored) : 1;
}

size_t WaypointImportEntry(int32_t stored) {
  return stored >= 1 && static_cast<size_t>(stored) <= WaypointFileOpenList().size() ? static_cast<size_t>(stored) : 1;
}

}  // namespace trelvik
