#pragma once
// The joining of several flights downloaded one after another into one log,
// and the progress every binary track download shows while points arrive.
#include <string>
#include <vector>

#include "access/gps_job.hpp"

namespace trelvik {

// Adds `track` to `kept` before or after it, the later one continuing the
// earlier one's segment; false, and neither changed, when they overlap in
// time or either is empty.
[[nodiscard]] bool JoinTracks(std::vector<TrackPoint>& kept, std::vector<TrackPoint>& track);

// "Overlapping tracks (%08X,%08X)(%08X,%08X)": first and last times of the
// joined log, then of the new track. Both must hold points.
std::string OverlapText(const std::vector<TrackPoint>& kept, const std::vector<TrackPoint>& track);

// Point `n` (1-based) of the track being received into job.points: the first starts the remaining-time estimate (with
// "Receiving track log" when `receivingStatus`), every point goes to the calling program, and every `every` points the
// status shows the count and the estimate.
void ReportTrackPoint(GpsJob& job, const TrackPoint& point, size_t n, size_t every, bool receivingStatus);

}  // namespace trelvik
