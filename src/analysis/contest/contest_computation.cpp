#include "analysis/contest/contest_computation.hpp"

#include <system_error>

namespace trelvik::contest {

bool ContestComputation::Start(std::vector<GeoFix> fixes, Scored onScored) {
  Close();
  fixes_ = std::move(fixes);
  halt_ = false;
  finished_ = false;
  try {
    worker_ = std::thread([this, onScored = std::move(onScored)] {
      for (ContestRules rules : kContestRules) {
        const ContestScore score = ScoreContestFlight(fixes_, rules, &halt_);
        if (onScored) onScored(rules, score);
      }
      finished_.store(true, std::memory_order_release);
    });
  } catch (const std::system_error&) {
    finished_ = true;
    return false;
  }
  return true;
}

void ContestComputation::Close() {
  halt_ = true;
  if (worker_.joinable()) worker_.join();
}

}  // namespace trelvik::contest
