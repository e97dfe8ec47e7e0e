#pragma once
// The OLC scoring of one dialog on a worker thread. The worker reports only
// through the callbacks it is given (which must not touch widgets: queue
// them to the window thread) and through atomics the window reads: the halt
// flag it obeys, the work counter of its step and whether it has finished.
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "analysis/olc/olc_search.hpp"
#include "base/user_interface.hpp"

namespace trelvik::olc {

inline constexpr std::string_view kOlcInitCaption = "Initialize OLC statistics";
inline constexpr std::string_view kOlcInitDialogCaption = "Initialize OLC statistics dialog box";

// Longer flights cannot be claimed (the claim counts the end's time of day
// past the start's only once) and are refused before any memory is taken.
inline constexpr uint32_t kLongestClaimSeconds = 86400;

// The opening checks and the memory of the search, with the dialog's
// messages: fewer than kLeastOlcPoints points, a time span of a day or more
// (or times out of order by as much), no memory for the tables.
std::unique_ptr<OlcSearch> PrepareOlcSearch(UserInterface& ui, std::vector<TrackPoint> points);

class OlcComputation {
 public:
  // Both run on the worker thread.
  using StepStarted = std::function<void(std::string_view status)>;
  using Finished = std::function<void(OlcOutcome outcome)>;

  OlcComputation() = default;
  ~OlcComputation() { Close(); }
  OlcComputation(const OlcComputation&) = delete;
  OlcComputation& operator=(const OlcComputation&) = delete;

  // False when the thread cannot be started (nothing is then reported).
  [[nodiscard]] bool Start(std::unique_ptr<OlcSearch> search, StepStarted onStep, Finished onFinished);
  // "&Halt": the worker stops at its next row or block.
  void Halt() { halt_.store(true, std::memory_order_relaxed); }
  // Halts and waits until the worker has left.
  void Close();

  bool IsFinished() const { return finished_.load(std::memory_order_acquire); }
  // The search completed and was not halted: the claim may be saved.
  bool Completed() const { return IsFinished() && outcome_ == OlcOutcome::Completed; }
  // "%d %%" or "Done:", for the window's timer.
  std::string Progress() const;

  // Valid once Completed().
  const OlcResult& Result() const { return search_->Result(); }
  std::span<const TrackPoint> Points() const { return search_->Points(); }

 private:
  std::unique_ptr<OlcSearch> search_;
  std::atomic<bool> halt_{false};
  std::atomic<bool> finished_{true};
  OlcOutcome outcome_ = OlcOutcome::Halted;
  WorkCounter work_;
  std::thread worker_;
};

}  // namespace trelvik::olc
