#pragma once
// The contest scores of one flight under every rule set, on a worker thread,
// so a dialog stays responsive while they are searched, with halt and close
// rules like the optimisation's.
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "analysis/contest/contest_scorer.hpp"

namespace trelvik::contest {

class ContestComputation {
 public:
  // Runs on the worker thread once per rule set, in the order of kContestRules.
  using Scored = std::function<void(ContestRules rules, const ContestScore& score)>;

  ContestComputation() = default;
  ~ContestComputation() { Close(); }
  ContestComputation(const ContestComputation&) = delete;
  ContestComputation& operator=(const ContestComputation&) = delete;

  // False when the thread cannot be started; nothing is then reported.
  [[nodiscard]] bool Start(std::vector<GeoFix> fixes, Scored onScored);
  // The searches end within a few milliseconds with the best found so far.
  void Halt() { halt_ = true; }
  // Halts and waits until the worker has left.
  void Close();
  bool IsFinished() const { return finished_.load(std::memory_order_acquire); }

 private:
  std::vector<GeoFix> fixes_;
  std::atomic<bool> halt_{false};
  std::atomic<bool> finished_{true};
  std::thread worker_;
};

inline constexpr ContestRules kContestRules[] = {ContestRules::XContest, ContestRules::Ffvl};

}  // namespace trelvik::contest
