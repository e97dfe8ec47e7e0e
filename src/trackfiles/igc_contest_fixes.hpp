#pragma once
// The fixes of an IGC file that a contest scores: valid B records only
// (validity "A"), as the contests leave out fixes the recorder marked void.
#include <string_view>
#include <vector>

#include "analysis/contest/fcc_distance.hpp"
#include "records/track_log.hpp"

namespace trelvik {

std::vector<contest::GeoFix> IgcContestFixes(std::string_view igcText);

// The fixes a contest counts in a log: from its IGC image when it has one (the
// image tells the fixes the recorder marked void), else every point.
std::vector<contest::GeoFix> ContestFixesOfLog(const TrackLog& log);

}  // namespace trelvik
