#pragma once
// The coarse stage of the flight optimisation: the best combinations of
// samples for every search, before the fine stage moves them onto the track.
//
// Two engines give the same answer. CoarseSearchPlain runs the loops exactly as
// the method describes them (triangular matrices, nested loops) and is kept as
// the reference that the tests hold the other one to. CoarseSearchFast is the
// one the program uses: a full row-major matrix, the out-and-return search
// reduced to running maxima, the triangle search pruned by bounds that no
// winning or tying candidate can fail, vector kernels and two threads.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>

#include "analysis/flight_samples.hpp"

namespace trelvik {

enum class CoarsePhase {
  DistanceMatrix,
  TwoPoints,
  ThreePoints,
  FourPoints,
  FivePoints,
  OutAndReturn,
  Triangles,
};

struct CoarseOptions {
  int32_t loopFlightGap = 800;  // metres; closing gap of out-and-return and triangles
  bool loopSearches = true;     // false: out-and-return and triangles skipped
  // Read before every turnpoint 1 of the triangle search; when set the
  // triangle search ends at once without a result. May be null.
  const std::atomic<bool>* stop = nullptr;
};

// One chosen combination: sample indexes in time order; only the first
// `count` entries are used (2..5).
struct CoarseCombination {
  bool found = false;
  std::array<int32_t, 5> samples{};
  bool operator==(const CoarseCombination&) const = default;
};

struct CoarseResult {
  CoarseCombination twoPoints, threePoints, fourPoints, fivePoints;
  CoarseCombination outAndReturn;  // start, turnpoint, end
  CoarseCombination flatTriangle;  // start, tp1, tp2, tp3, end
  CoarseCombination faiTriangle;
  bool operator==(const CoarseResult&) const = default;
};

// Called on the calling thread when a search begins, in the order of the
// enum; every phase is announced, even a skipped one.
using CoarsePhaseCallback = std::function<void(CoarsePhase)>;

// Both return 0, or -1 (before any phase is announced, `result` untouched)
// when the working store cannot be allocated.
[[nodiscard]] int CoarseSearchPlain(const FlightSamples& samples, const CoarseOptions& options,
                                    const CoarsePhaseCallback& phase, CoarseResult& result);
[[nodiscard]] int CoarseSearchFast(const FlightSamples& samples, const CoarseOptions& options,
                                   const CoarsePhaseCallback& phase, CoarseResult& result);

}  // namespace trelvik
