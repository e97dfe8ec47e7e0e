#pragma once
// An airspace outline as a list of points: what Garmin units get as a track,
// what "Show CTR as waypoints" lists and what the GPX and Google exports draw.
#include <cstdint>
#include <vector>

#include "airspace/ctr_area.hpp"
#include "records/track_point.hpp"
#include "records/waypoint.hpp"

namespace trelvik {

inline constexpr int32_t kDefaultCtrSegError = 10;  // metres

// The outline of `area` as waypoints named after `number` ("CABAAB" is point 1
// of airspace 1), arcs and circles cut into straight pieces that stay within
// `segError` metres of the curve. Returns 0, or -1 (nothing written to
// `points`) when the outline gives fewer than two points or cannot be computed.
[[nodiscard]] int CtrToPoints(const CtrArea& area, int number, int32_t segError, TrackTime now,
                              std::vector<Waypoint>& points);

// Name of point `index` of airspace `number`: "C", two letters, three letters.
void CtrPointName(int number, int index, char (&name)[7]);

// The preview track of an outline: the same positions, the first starting a
// segment, 5 s apart from `now`.
std::vector<TrackPoint> CtrPreviewTrack(const std::vector<Waypoint>& points, TrackTime now);

}  // namespace trelvik
