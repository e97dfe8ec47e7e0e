#pragma once
// The command line's exact contest score: one status line naming the rules,
// the flight type, its distance and its points.
#include <span>

#include "analysis/contest/contest_rules.hpp"
#include "analysis/contest/fcc_distance.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

void ReportContestScore(UserInterface& ui, contest::ContestRules rules, std::span<const contest::GeoFix> fixes);

}  // namespace trelvik
