#include "airspace/ctr_waypoints.hpp"

#include <algorithm>

#include "airspace/ctr_points.hpp"
#include "airspace/ctr_selection.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/number_parsers.hpp"
#include "records/text_scan.hpp"

namespace trelvik {

bool ShowCtrAsWaypoints(UserInterface& ui, AirspaceList& store, const std::vector<int>& selectedRows,
                        int32_t segError, TrackTime now, WaypointList& waypoints) {
  if (selectedRows.empty()) {
    ShowError(ui, "No CTR selected", kShowCtrCaption);
    return false;
  }
  const int row = *std::min_element(selectedRows.begin(), selectedRows.end());
  if (row < 0 || static_cast<size_t>(row) >= store.areas.size()) {
    ShowError(ui, "Program error", kCtrListActionCaption);
    return false;
  }
  std::vector<Waypoint> points;
  if (CtrToPoints(store.areas[static_cast<size_t>(row)], row, segError, now, points) < 0) return false;
  store.previewTrack = CtrPreviewTrack(points, now);
  waypoints.waypoints = std::move(points);
  return true;
}

std::string SegErrorFieldText(int32_t segError) { return CFormat("%d", segError); }

bool ParseSegErrorInput(UserInterface& ui, std::string_view field, int32_t& segError) {
  if (std::all_of(field.begin(), field.end(), [](char c) { return IsBlank(c); })) {
    ShowError(ui, "Missing input", kSegErrorCaption);
    return false;
  }
  int32_t value = 0;
  if (ParseSignedInt(field, value) != 0) {
    ShowError(ui, "Bad input", kSegErrorCaption);
    return false;
  }
  if (value <= 0) {
    ShowError(ui, "Use 1m or greater", kSegErrorCaption);
    return false;
  }
  segError = value;
  return true;
}

}  // namespace trelvik
