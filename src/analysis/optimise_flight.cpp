#include "analysis/optimise_flight.hpp"

#include <chrono>
#include <new>

#include "analysis/coarse_search.hpp"
#include "analysis/fine_search.hpp"
#include "base/c_format.hpp"

namespace trelvik {
namespace {

std::string_view PhaseText(CoarsePhase phase) {
  switch (phase) {
    case CoarsePhase::DistanceMatrix: return "Computing distance matrix";
    case CoarsePhase::TwoPoints: return "Computing greatest distance (2 points)";
    case CoarsePhase::ThreePoints: return "Computing greatest distance (3 points)";
    case CoarsePhase::FourPoints: return "Computing greatest distance (4 points)";
    case CoarsePhase::FivePoints: return "Computing greatest distance (5 points)";
    case CoarsePhase::OutAndReturn: return "Computing out-and-return distance";
    case CoarsePhase::Triangles: return "Computing triangle distance";
  }
  return {};
}

}  // namespace

int OptimiseFlight(std::span<const TrackPoint> points, const OptimiseOptions& options, OptimisationResult& result,
                   UserInterface* progress, const std::atomic<bool>* stop) {
  const auto started = std::chrono::steady_clock::now();
  FlightSamples samples;
  try {
    samples = SampleFlight(points);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  CoarseOptions coarseOptions;
  coarseOptions.loopFlightGap = options.loopFlightGap;
  coarseOptions.loopSearches = !options.noLoopOptimisation && options.loopFlightGap > 0;
  coarseOptions.stop = stop;
  const CoarsePhaseCallback announce = [progress](CoarsePhase phase) {
    if (progress != nullptr) progress->SetStatus(PhaseText(phase));
  };
  CoarseResult coarse;
  const int code = options.engine == CoarseEngine::Plain ? CoarseSearchPlain(samples, coarseOptions, announce, coarse)
                                                         : CoarseSearchFast(samples, coarseOptions, announce, coarse);
  if (code < 0) return -1;

  OptimisationResult refined;
  RefineOnTrack(points, samples, coarse, options.loopFlightGap, refined);
  refined.optimised = 1;
  result = refined;
  if (progress != nullptr) {
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    progress->SetStatus(CFormat("Computing completed (%d.%03d secs)", static_cast<int>(elapsed / 1000),
                                static_cast<int>(elapsed % 1000)));
  }
  return 0;
}

}  // namespace trelvik
