#include "analysis/statistics_dialog.hpp"

#include <exception>

#include "analysis/track_filters.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"

namespace trelvik {
namespace {

constexpr size_t kFewestPositions = 10;

}  // namespace

bool PrepareStatisticsPoints(UserInterface& ui, std::vector<TrackPoint>& points,
                             const StatisticsFilterSettings& settings) {
  if (points.empty()) {
    ShowError(ui, "No position(s) selected", kStatisticsInitCaption);
    return false;
  }
  if (points.size() < kFewestPositions) {
    ShowError(ui, "Too few positions selected", kStatisticsInitCaption);
    return false;
  }
  const int32_t removed = RemoveVarioSpikes(points, settings.varioFilter);
  if (removed > 0) {
    ShowInfo(ui, CFormat("%d positions have been removed due to vario filtering", removed), kStatisticsInitCaption);
  }
  if (settings.logFilter) {
    const size_t before = points.size();
    const int32_t left = SpeedAnalysisFilter(points);
    if (static_cast<size_t>(left) != before) {
      if (left > 9) {
        ShowInfo(ui, "Position(s) have been removed during track speed analysis", kStatisticsInitCaption);
      } else {
        ShowError(ui, "Too few positions left after track speed analysis", kStatisticsInitCaption);
        return false;
      }
    }
  }
  return true;
}

bool StatisticsComputation::Start(std::vector<TrackPoint> points, const OptimiseOptions& options,
                                  UserInterface* status, Finished onFinished) {
  Close();
  points_ = std::move(points);
  stop_ = false;
  finished_ = false;
  try {
    worker_ = std::thread([this, options, status, onFinished = std::move(onFinished)] {
      OptimisationResult result;
      const int code = OptimiseFlight(points_, options, result, status, &stop_);
      if (code < 0 && status != nullptr) ShowError(*status, kOptimiseMemoryError, kAnalysingTrackCaption);
      code_ = code;
      result_ = result;
      finished_.store(true, std::memory_order_release);
      if (onFinished) onFinished(code, result);
    });
  } catch (const std::exception&) {
    code_ = -1;
    finished_ = true;
    return false;
  }
  return true;
}

void StatisticsComputation::Halt(UserInterface* status) {
  stop_ = true;
  if (!IsFinished() && status != nullptr) status->SetStatus(kComputationHalted);
}

bool StatisticsComputation::CheckSaveAllowed(UserInterface& ui) const {
  if (IsFinished()) return true;
  ShowError(ui, "Statistics not yet finished", "Save track log");
  return false;
}

void StatisticsComputation::Close() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
}

}  // namespace trelvik
