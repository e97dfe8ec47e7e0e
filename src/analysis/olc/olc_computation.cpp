#include "analysis/olc/olc_computation.hpp"

#include <algorithm>
#include <new>
#include <system_error>

#include "analysis/olc/olc_texts.hpp"
#include "base/message_box.hpp"

namespace trelvik::olc {

std::unique_ptr<OlcSearch> PrepareOlcSearch(UserInterface& ui, std::vector<TrackPoint> points) {
  if (points.size() < kLeastOlcPoints) {
    ShowError(ui, "Number of positions must be 5 or more", kOlcInitCaption);
    return nullptr;
  }
  const auto [earliest, latest] = std::minmax_element(
      points.begin(), points.end(), [](const TrackPoint& a, const TrackPoint& b) { return a.time < b.time; });
  if (latest->time - earliest->time >= kLongestClaimSeconds) {
    ShowError(ui, "Positions span 24 hours or more", kOlcInitCaption);
    return nullptr;
  }
  try {
    return std::make_unique<OlcSearch>(std::move(points));
  } catch (const std::bad_alloc&) {
    ShowError(ui, "Could not allocate memory for distance table", kOlcInitDialogCaption);
    return nullptr;
  }
}

bool OlcComputation::Start(std::unique_ptr<OlcSearch> search, StepStarted onStep, Finished onFinished) {
  Close();
  search_ = std::move(search);
  halt_ = false;
  finished_ = false;
  work_.Begin(1);
  try {
    worker_ = std::thread([this, onStep = std::move(onStep), onFinished = std::move(onFinished)] {
      OlcStep current = OlcStep::DistanceMatrix;
      const OlcOutcome outcome = search_->Run(&halt_, &work_, [&](OlcStep step) {
        current = step;
        if (onStep) onStep(StepText(step));
      });
      if (onStep) {
        if (outcome == OlcOutcome::Completed) onStep(kOptimisationCompleted);
        if (outcome == OlcOutcome::Halted) onStep(AbortedText(current));
      }
      outcome_ = outcome;
      finished_.store(true, std::memory_order_release);
      if (onFinished) onFinished(outcome);
    });
  } catch (const std::system_error&) {
    finished_ = true;
    outcome_ = OlcOutcome::Halted;
    return false;
  }
  return true;
}

void OlcComputation::Close() {
  halt_ = true;
  if (worker_.joinable()) worker_.join();
}

std::string OlcComputation::Progress() const {
  if (IsFinished() && outcome_ == OlcOutcome::Completed) return "Done:";
  return ProgressText(work_.done.load(std::memory_order_relaxed), work_.total.load(std::memory_order_relaxed));
}

}  // namespace trelvik::olc
