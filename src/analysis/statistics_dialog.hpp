#pragma once
// The flight statistics dialog without its window: preparing the selected
// points, and the worker thread that optimises the flight while the dialog
// stays responsive, with its halt, save and close rules.
#include <atomic>
#include <functional>
#include <string_view>
#include <thread>
#include <vector>

#include "analysis/optimise_flight.hpp"
#include "base/user_interface.hpp"
#include "records/track_point.hpp"

namespace trelvik {

inline constexpr std::string_view kStatisticsCheckCaption = "Get flight statistics";
inline constexpr std::string_view kStatisticsInitCaption = "Initialize track statistics dialog box";
inline constexpr std::string_view kComputationHalted = "Computation halted";
inline constexpr std::string_view kLogDescriptionLabel = "&Log description (max. 8000 chars.):";

struct StatisticsFilterSettings {
  int32_t varioFilter = 0;  // the VarioFilter setting, m/s; 0 = off
  bool logFilter = true;    // the LogFilter setting (false when NOCHECK was given)
};

// Runs the vario and speed-analysis filters on the selected (already split)
// points with the dialog's messages. False when the dialog must close.
[[nodiscard]] bool PrepareStatisticsPoints(UserInterface& ui, std::vector<TrackPoint>& points,
                                           const StatisticsFilterSettings& settings);

// The optimisation run of one statistics dialog on a worker thread.
//
// Thread rules: `status` receives the progress texts and, on failure, the
// error box from the worker thread, so the window's UserInterface must accept
// calls from any thread and must not wait for the window thread while Close()
// may be waiting for the worker (queue the texts, do not block on them).
class StatisticsComputation {
 public:
  using Finished = std::function<void(int code, const OptimisationResult& result)>;

  StatisticsComputation() = default;
  ~StatisticsComputation() { Close(); }
  StatisticsComputation(const StatisticsComputation&) = delete;
  StatisticsComputation& operator=(const StatisticsComputation&) = delete;

  // Starts optimising a copy of `points`. `onFinished` (may be empty) runs on
  // the worker thread once the run ends, halted or not. False when the thread
  // cannot be started (the run is then marked finished with code -1).
  [[nodiscard]] bool Start(std::vector<TrackPoint> points, const OptimiseOptions& options, UserInterface* status,
                           Finished onFinished);

  // "&Halt computation": asks the run to stop and, while it has not finished,
  // shows kComputationHalted in the status field.
  void Halt(UserInterface* status);

  // "&Save" is allowed once the run has finished; otherwise shows
  // "Statistics not yet finished" (caption "Save track log").
  [[nodiscard]] bool CheckSaveAllowed(UserInterface& ui) const;

  // "E&xit" or closing: asks the run to stop and waits until the worker has
  // left, so the points it reads are never freed under it.
  void Close();

  bool IsFinished() const { return finished_.load(std::memory_order_acquire); }
  // Valid once IsFinished().
  int Code() const { return code_; }
  const OptimisationResult& Result() const { return result_; }

 private:
  std::vector<TrackPoint> points_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{true};
  int code_ = 0;
  OptimisationResult result_;
  std::thread worker_;
};

}  // namespace trelvik
