#pragma once
// "&Show CTR as waypoints" and "Set accuracy for segments".
#include <string>
#include <string_view>
#include <vector>

#include "airspace/airspace_list.hpp"
#include "base/user_interface.hpp"
#include "records/track_log.hpp"

namespace trelvik {

inline constexpr std::string_view kShowCtrCaption = "Show CTR";
inline constexpr std::string_view kSegErrorDialogTitle = "Set max. segment error";
inline constexpr std::string_view kSegErrorCaption = "Set segment error";
inline constexpr std::string_view kSegErrorExplanation =
    "The number of segments for a full circle can be found from N=2.2*sqrt(radius/error). For a 10km circle and "
    "10m error this gives 70 segments.";

// The outline of the first selected row's airspace (its points named after the
// row index) replaces the waypoint list and the airspace preview track. False
// after "No CTR selected", or when the outline gives no points (then nothing
// changes).
bool ShowCtrAsWaypoints(UserInterface& ui, AirspaceList& store, const std::vector<int>& selectedRows,
                        int32_t segError, TrackTime now, WaypointList& waypoints);

// The value the accuracy dialog shows.
std::string SegErrorFieldText(int32_t segError);

// OK in the accuracy dialog: the field as the new segment error in metres.
// False after "Missing input", "Bad input" or "Use 1m or greater".
[[nodiscard]] bool ParseSegErrorInput(UserInterface& ui, std::string_view field, int32_t& segError);

}  // namespace trelvik
