// The reference loops of the OLC loop searches, exactly as the method states
// them: every start and end of an out-and-return flight, every three
// turnpoints of a triangle. Cubic in the samples; for tests and benchmarks.
#include "analysis/olc/olc_engines.hpp"

namespace trelvik::olc {
namespace {

bool Halted(const std::atomic<bool>* halt) { return halt != nullptr && halt->load(std::memory_order_relaxed); }

}  // namespace

bool OutAndReturnPlain(const SampleMatrix& m, const std::atomic<bool>* halt, WorkCounter* work,
                       CoarseOutAndReturn& result) {
  const int32_t n = m.n;
  result = {};
  if (work != nullptr) work->Begin(n);
  int64_t best = 0;
  CoarseOutAndReturn chosen;
  for (int32_t i = 0; i + 2 < n; ++i) {
    if (Halted(halt)) return false;
    for (int32_t j = i + 2; j < n; ++j) {
      if (m.D(i, j) >= kOutAndReturnClosing) continue;
      for (int32_t k = i + 1; k < j; ++k) {
        const int64_t score = int64_t{m.D(i, k)} + m.D(k, j);
        if (score >= best) best = score, chosen = {true, i, k, j};
      }
    }
    if (work != nullptr) work->Add(1);
  }
  if (best > 0) result = chosen;
  return true;
}

bool TrianglesPlain(const SampleMatrix& m, const std::atomic<bool>* halt, WorkCounter* work, CoarseTriangles& result) {
  const int32_t n = m.n;
  result = {};
  if (work != nullptr) work->Begin(n);
  int64_t bestFree = 0, bestFai = 0;
  CoarseTriangles chosen;
  auto take = [&m](CoarseTriangle& t, int32_t k, int32_t mid, int32_t l, int64_t score) {
    const int32_t where = m.W(k, l);
    t = {true, where >> 16, k, mid, l, where & 0xFFFF, score};
  };
  for (int32_t k = 0; k + 2 < n; ++k) {
    if (Halted(halt)) return false;
    for (int32_t l = k + 2; l < n; ++l) {
      const int64_t closing = m.D(k, l);
      const int64_t gap = m.G(k, l);
      for (int32_t mid = k + 1; mid < l; ++mid) {
        const int64_t a = m.D(k, mid), b = m.D(mid, l);
        const int64_t perimeter = a + b + closing;
        if (!(5 * gap < perimeter)) continue;
        const int64_t score = perimeter - gap;
        if (score >= bestFree) bestFree = score, take(chosen.free, k, mid, l, score);
        const int64_t leastLeg = perimeter * 7 / 25;
        if (a >= leastLeg && b >= leastLeg && closing >= leastLeg && score >= bestFai) {
          bestFai = score, take(chosen.fai, k, mid, l, score);
        }
      }
    }
    if (work != nullptr) work->Add(1);
  }
  result = chosen;
  return true;
}

}  // namespace trelvik::olc
