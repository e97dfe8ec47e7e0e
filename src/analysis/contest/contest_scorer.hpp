#pragma once
// Exact scoring of a flight under an open-distance rule set: the best of the
// rule set's flight types over every choice of turnpoints among the fixes,
// found by branch and bound over ranges of fixes with bounds that never
// underestimate, so the result is the optimum (or, when halted, the best
// found with the bound still open).
#include <array>
#include <atomic>
#include <cstddef>
#include <span>

#include "analysis/contest/contest_rules.hpp"
#include "analysis/contest/fcc_distance.hpp"

namespace trelvik::contest {

// Fewer fixes than this do not make a flight to score.
inline constexpr size_t kLeastContestFixes = 5;

struct ContestScore {
  const FlightType* type = nullptr;  // null when nothing scored (too few fixes)
  double distance = 0.0;             // km, as the rules round it
  double score = 0.0;                // points
  std::array<size_t, 3> turnpoints{};
  size_t start = 0, finish = 0;            // free flight: the fixes it starts and ends at
  size_t closingIn = 0, closingOut = 0;    // triangle: the closing fixes
  double closing = 0.0;                    // km between them
  bool optimal = false;
  double upperBound = 0.0;  // points no solution can exceed; the score when optimal
  size_t nodes = 0;         // branches examined
};

// `halt`, set from another thread, ends the search within a few milliseconds.
ContestScore ScoreContestFlight(std::span<const GeoFix> fixes, ContestRules rules,
                                const std::atomic<bool>* halt = nullptr);

}  // namespace trelvik::contest
