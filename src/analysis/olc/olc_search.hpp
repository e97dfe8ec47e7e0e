#pragma once
// The OLC scoring of one flight, step by step as the dialog's worker runs it:
// the distance matrix, the free distance (the flight optimisation's own open
// distance searches), the out-and-return flight and the two triangles.
#include <atomic>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "analysis/flight_samples.hpp"
#include "analysis/olc/olc_coarse.hpp"
#include "analysis/olc/olc_result.hpp"
#include "records/track_point.hpp"

namespace trelvik::olc {

// A flight needs this many points to be scored.
inline constexpr size_t kLeastOlcPoints = 5;

enum class OlcStep { DistanceMatrix, MaxDistance, OutAndReturn, Triangles };

// The status text of a step and the one shown when it was halted.
std::string_view StepText(OlcStep step);
std::string_view AbortedText(OlcStep step);
inline constexpr std::string_view kOptimisationCompleted = "Optimization completed";

enum class OlcOutcome { Completed, Halted, MemoryError };

class OlcSearch {
 public:
  // Samples the points and takes the memory of the search; throws
  // std::bad_alloc. Needs at least kLeastOlcPoints points.
  explicit OlcSearch(std::vector<TrackPoint> points, Engine engine = Engine::Fast);

  // Runs every step on the calling thread. `step` (may be empty) hears each
  // step as it begins; `halt`, set from another thread, ends the run at the
  // next row or block; `work` counts the current step's progress.
  using StepStarted = std::function<void(OlcStep)>;
  OlcOutcome Run(const std::atomic<bool>* halt, WorkCounter* work, const StepStarted& step);

  // Complete once Run returned Completed.
  const OlcResult& Result() const { return result_; }
  std::span<const TrackPoint> Points() const { return points_; }

 private:
  std::vector<TrackPoint> points_;
  Engine engine_;
  FlightSamples samples_;
  SampleMatrix matrix_;
  OlcResult result_;
};

// The whole scoring without a thread; nothing when the memory is not there.
std::optional<OlcResult> ScoreOlcFlight(std::span<const TrackPoint> points, Engine engine = Engine::Fast);

}  // namespace trelvik::olc
