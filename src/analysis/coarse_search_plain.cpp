// The reference coarse search: every loop as the method states it, in its
// order, with its tie rules, on the three triangular matrices. Slow (cubic)
// on purpose: it is what the fast engine is checked against.
#include <new>
#include <vector>

#include "analysis/coarse_search.hpp"

namespace trelvik {
namespace {

constexpr int32_t kNoGap = 999999999;
constexpr int32_t kNoOutAndReturn = -999999999;

struct PlainStore {
  int32_t n = 0;
  std::vector<int64_t> rowStart;
  std::vector<int32_t> d, g, w;  // distance, smallest closing gap, where it lies
  std::vector<int32_t> maxFwd, farFwd, maxBack, farBack;

  // Cell (i, j), i <= j.
  int64_t At(int32_t i, int32_t j) const { return rowStart[i] + j; }
  int32_t D(int32_t i, int32_t j) const { return d[At(i, j)]; }
};

void Allocate(PlainStore& s, int32_t n) {
  s.n = n;
  const int64_t cells = static_cast<int64_t>(n) * (n + 1) / 2;
  s.rowStart.assign(n, 0);
  for (int32_t i = 1; i < n; ++i) s.rowStart[i] = s.rowStart[i - 1] + (n - (i - 1) - 1);
  s.d.assign(cells, 0);
  s.g.assign(cells, 0);
  s.w.assign(cells, 0);
  s.maxFwd.assign(n, 0);
  s.farFwd.assign(n, 0);
  s.maxBack.assign(n, 0);
  s.farBack.assign(n, 0);
}

void FillMatrix(const FlightSamples& samples, PlainStore& s) {
  const int32_t n = s.n;
  for (int32_t i = 0; i < n; ++i) {
    s.farFwd[i] = i + 1 < n ? i + 1 : n - 1;
    s.farBack[i] = i > 0 ? i - 1 : 0;
  }
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = i; j < n; ++j) {
      const int32_t dij = j == i ? 0 : CellMetres(samples, i, j);
      s.d[s.At(i, j)] = dij;
      if (dij > s.maxFwd[i]) {
        s.maxFwd[i] = dij;
        s.farFwd[i] = j;
      }
      if (dij > s.maxBack[j]) {
        s.maxBack[j] = dij;
        s.farBack[j] = i;
      }
    }
  }
}

void TwoPoints(const PlainStore& s, CoarseResult& r) {
  if (s.n < 2) return;
  int32_t best = -1, bestI = 0;
  for (int32_t i = 0; i <= s.n - 2; ++i) {
    if (s.maxFwd[i] >= best) {
      best = s.maxFwd[i];
      bestI = i;
    }
  }
  r.twoPoints = {true, {bestI, s.farFwd[bestI]}};
}

void ThreePoints(const PlainStore& s, CoarseResult& r) {
  if (s.n < 3) return;
  int32_t best = -1, bestM = 1;
  for (int32_t m = 1; m <= s.n - 2; ++m) {
    const int32_t v = s.maxBack[m] + s.maxFwd[m];
    if (v >= best) {
      best = v;
      bestM = m;
    }
  }
  r.threePoints = {true, {s.farBack[bestM], bestM, s.farFwd[bestM]}};
}

void FourPoints(const PlainStore& s, CoarseResult& r) {
  if (s.n < 4) return;
  int32_t best = -1, bestA = 1, bestB = 2;
  for (int32_t a = 1; a <= s.n - 2; ++a) {
    for (int32_t b = a + 1; b <= s.n - 2; ++b) {
      const int32_t v = s.maxBack[a] + s.D(a, b) + s.maxFwd[b];
      if (v >= best) {
        best = v;
        bestA = a;
        bestB = b;
      }
    }
  }
  r.fourPoints = {true, {s.farBack[bestA], bestA, bestB, s.farFwd[bestB]}};
}

void FivePoints(const PlainStore& s, CoarseResult& r) {
  if (s.n < 5) return;
  int32_t best = -1, bestJ = 1, bestM = 2, bestK = 3;
  for (int32_t m = 2; m <= s.n - 3; ++m) {
    int32_t left = -1, leftJ = 1;
    for (int32_t j = 1; j <= m - 1; ++j) {
      const int32_t v = s.D(j, m) + s.maxBack[j];
      if (v >= left) {
        left = v;
        leftJ = j;
      }
    }
    int32_t right = -1, rightK = m + 1;
    for (int32_t k = m + 1; k <= s.n - 2; ++k) {
      const int32_t v = s.D(m, k) + s.maxFwd[k];
      if (v >= right) {
        right = v;
        rightK = k;
      }
    }
    if (left + right >= best) {
      best = left + right;
      bestJ = leftJ;
      bestM = m;
      bestK = rightK;
    }
  }
  r.fivePoints = {true, {s.farBack[bestJ], bestJ, bestM, bestK, s.farFwd[bestK]}};
}

void OutAndReturn(const PlainStore& s, int32_t gap, CoarseResult& r) {
  int32_t best = kNoOutAndReturn, bestI = 0, bestK = 0, bestJ = 0;
  for (int32_t i = 0; i <= s.n - 3; ++i) {
    for (int32_t j = i + 2; j <= s.n - 1; ++j) {
      const int32_t dij = s.D(i, j);
      if (dij >= gap) continue;
      for (int32_t k = i + 1; k <= j - 1; ++k) {
        const int32_t score = 2 * s.D(i, k) - dij;
        if (score >= best) {
          best = score;
          bestI = i;
          bestK = k;
          bestJ = j;
        }
      }
    }
  }
  if (best >= 0) r.outAndReturn = {true, {bestI, bestK, bestJ}};
}

// G(k, l): the smallest distance between a start at or before sample k and an
// end at or after sample l; W(k, l): that start in the high 16 bits, that end
// in the low 16 bits.
void GapTables(PlainStore& s) {
  const int32_t n = s.n;
  int32_t value = kNoGap, where = 0;
  for (int32_t j = n - 1; j >= 1; --j) {
    if (s.D(0, j) < value) {
      value = s.D(0, j);
      where = j;
    }
    s.g[s.At(0, j)] = value;
    s.w[s.At(0, j)] = where;
  }
  for (int32_t k = 1; k <= n - 2; ++k) {
    value = kNoGap;
    where = 0;
    for (int32_t j = n - 1; j >= k + 1; --j) {
      if (s.D(k, j) < value) {
        value = s.D(k, j);
        where = k * 65536 + j;
      }
      if (s.g[s.At(k - 1, j)] < value) {
        value = s.g[s.At(k - 1, j)];
        where = s.w[s.At(k - 1, j)];
      }
      s.g[s.At(k, j)] = value;
      s.w[s.At(k, j)] = where;
    }
  }
}

void Triangles(PlainStore& s, const CoarseOptions& options, CoarseResult& r) {
  GapTables(s);
  const int32_t n = s.n;
  const int32_t gap = options.loopFlightGap;
  int32_t bestFlat = -1, bestFai = -1;
  CoarseCombination flat, fai;
  for (int32_t k = 0; k <= n - 3; ++k) {
    if (options.stop != nullptr && options.stop->load(std::memory_order_relaxed)) return;
    for (int32_t l = k + 2; l <= n - 1; ++l) {
      const int32_t gkl = s.g[s.At(k, l)];
      if (gkl >= gap) continue;
      const int32_t dkl = s.D(k, l);
      const int32_t wkl = s.w[s.At(k, l)];
      for (int32_t m = k + 1; m <= l - 1; ++m) {
        const int32_t a = s.D(k, m);
        const int32_t b = s.D(m, l);
        const int32_t perimeter = a + b + dkl;
        const int32_t score = perimeter - gkl;
        if (score >= bestFlat) {
          bestFlat = score;
          flat = {true, {wkl >> 16, k, m, l, wkl & 0xFFFF}};
        }
        // 64-bit so that the 28 % rule cannot overflow on absurd tracks.
        const int64_t leastLeg = static_cast<int64_t>(perimeter) * 7 / 25;
        if (a >= leastLeg && b >= leastLeg && dkl >= leastLeg && score >= bestFai) {
          bestFai = score;
          fai = {true, {wkl >> 16, k, m, l, wkl & 0xFFFF}};
        }
      }
    }
  }
  r.flatTriangle = flat;
  r.faiTriangle = fai;
}

}  // namespace

int CoarseSearchPlain(const FlightSamples& samples, const CoarseOptions& options, const CoarsePhaseCallback& phase,
                      CoarseResult& result) {
  PlainStore s;
  try {
    Allocate(s, samples.Count());
  } catch (const std::bad_alloc&) {
    return -1;
  }
  CoarseResult r;
  const bool loops = options.loopSearches && options.loopFlightGap > 0;
  auto announce = [&phase](CoarsePhase p) {
    if (phase) phase(p);
  };
  announce(CoarsePhase::DistanceMatrix);
  FillMatrix(samples, s);
  announce(CoarsePhase::TwoPoints);
  TwoPoints(s, r);
  announce(CoarsePhase::ThreePoints);
  ThreePoints(s, r);
  announce(CoarsePhase::FourPoints);
  FourPoints(s, r);
  announce(CoarsePhase::FivePoints);
  FivePoints(s, r);
  announce(CoarsePhase::OutAndReturn);
  if (loops) OutAndReturn(s, options.loopFlightGap, r);
  announce(CoarsePhase::Triangles);
  if (loops && s.n >= 3) Triangles(s, options, r);
  result = r;
  return 0;
}

}  // namespace trelvik
