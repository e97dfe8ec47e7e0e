#pragma once
// The fixes of an IGC file that a contest scores: valid B records only
// (validity "A"), as the contests leave out fixes the recorder marked void.
#include <string_view>
#include <vector>

#include "analysis/contest/fcc_distance.hpp"

namespace trelvik {

std::vector<contest::GeoFix> IgcContestFixes(std::string_view igcText);

}  // namespace trelvik
