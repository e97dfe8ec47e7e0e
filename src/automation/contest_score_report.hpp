#pragma once
// The command line's exact contest score: one status line naming the rules,
// the flight type, its distance and its points.
#include <span>
#include <vector>

#include "analysis/contest/contest_rules.hpp"
#include "analysis/contest/fcc_distance.hpp"
#include "base/user_interface.hpp"
#include "records/track_log.hpp"

namespace trelvik {

void ReportContestScore(UserInterface& ui, contest::ContestRules rules, std::span<const contest::GeoFix> fixes);

// The fixes a contest counts in a log: from its IGC image when it has one (the
// image keeps the fixes the recorder marked void apart), else every point.
std::vector<contest::GeoFix> ContestFixesOfLog(const TrackLog& log);

}  // namespace trelvik
