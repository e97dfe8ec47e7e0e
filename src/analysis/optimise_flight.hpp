#pragma once
// Distance scoring of one flight: open distance over 2..5 points, out-and-return,
// flat and FAI triangle, in one run.
#include <atomic>
#include <cstdint>
#include <span>
#include <string_view>

#include "analysis/optimisation_result.hpp"
#include "base/user_interface.hpp"
#include "records/track_point.hpp"

namespace trelvik {

enum class CoarseEngine {
  Fast,   // what the program uses
  Plain,  // the reference loops; for tests and benchmarks
};

struct OptimiseOptions {
  int32_t loopFlightGap = 800;      // the LoopFlightGap setting, metres; 0 = no loop searches
  bool noLoopOptimisation = false;  // the command line's NOLOOPOPT
  CoarseEngine engine = CoarseEngine::Fast;
};

inline constexpr std::string_view kAnalysingTrackCaption = "Analysing track";
inline constexpr std::string_view kOptimiseMemoryError = "Memory allocation error";

// Fills `result` (run flag 1) and returns 0, or returns -1 with `result`
// untouched and no progress text when the working store cannot be allocated
// (callers report kOptimiseMemoryError under kAnalysingTrackCaption).
// `progress`, when given, receives each stage's text through SetStatus, on
// the calling thread. `stop`, when given and set by another thread, ends the
// triangle search early and leaves both triangles at 0.
[[nodiscard]] int OptimiseFlight(std::span<const TrackPoint> points, const OptimiseOptions& options,
                                 OptimisationResult& result, UserInterface* progress = nullptr,
                                 const std::atomic<bool>* stop = nullptr);

}  // namespace trelvik
