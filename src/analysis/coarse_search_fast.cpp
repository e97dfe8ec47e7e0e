// The coarse engine the program uses. Same answers as CoarseSearchPlain, by
// other roads:
// - the matrix is full and row-major, computed row by row on both workers
//   with the vector form of CellMetres;
// - the 4- and 5-point searches read each sample's row once for its best
//   point before and after it;
// - the out-and-return search keeps, per start, the running maximum of the
//   outward leg, which makes it quadratic, and skips starts whose farthest
//   point cannot reach the best score;
// - the gap tables are filled by one worker while the other runs those searches;
// - the triangle search is pruned and vectorised (fast_triangles.cpp).
#include <algorithm>
#include <new>
#include <numeric>
#include <optional>

#include "analysis/coarse_kernels.hpp"
#include "analysis/coarse_search.hpp"
#include "analysis/fast_store.hpp"
#include "analysis/fast_triangles.hpp"
#include "analysis/parallel_workers.hpp"

namespace trelvik {
namespace {

using fast::Candidate;
using fast::Store;

constexpr int32_t kNoGap = 999999999;
constexpr int32_t kNoOutAndReturn = -999999999;
constexpr int32_t kRowsPerTask = 64;

void Allocate(Store& s, int32_t n, bool loops) {
  s.n = n;
  s.workers = OptimisationWorkerCount();
  s.d.Reset(static_cast<size_t>(n) * n);
  s.maxFwd.assign(n, 0);
  s.farFwd.assign(n, 0);
  s.maxBack.assign(n, 0);
  s.farBack.assign(n, 0);
  if (loops) s.lastWithinGap.assign(n, -1);
  if (loops && n >= 3) {
    s.gapRowStart.assign(n, 0);
    s.gapEnd.assign(n, 0);
    // Room for every cell; only the pages of the cells kept are ever touched.
    s.g.Reset(static_cast<size_t>(n) * (n - 1) / 2);
  }
}

// When the loop searches run (`triangles` set), each row is summarised for
// them while it is hot: the triangle search's block extremes and the last
// sample within the gap, where the gap table's row ends.
void FillMatrix(const FlightSamples& samples, int32_t loopFlightGap, Store& s, fast::TriangleSearch* triangles) {
  const int32_t n = s.n;
  RunOnWorkers(s.workers, [&](int worker) {
    for (int32_t i = worker; i < n; i += s.workers) {
      int32_t* row = s.Row(i);
      kernels::DistanceRow(samples.x.data(), samples.y.data(), n, i, row);
      if (triangles != nullptr) {
        triangles->SummariseRow(i);
        s.lastWithinGap[i] = kernels::LastBelow(row, i + 1, n, loopFlightGap);
      }
      // Only a strictly greater cell moves the farthest point off its default
      // neighbour, and the first one in loop order keeps a tie.
      const kernels::ValueAt fwd = kernels::FirstMax(row, i + 1, n);
      const bool fwdFound = fwd.index >= 0 && fwd.value > 0;
      s.maxFwd[i] = fwdFound ? fwd.value : 0;
      s.farFwd[i] = fwdFound ? fwd.index : (i + 1 < n ? i + 1 : n - 1);
      const kernels::ValueAt back = kernels::FirstMax(row, 0, i);
      const bool backFound = back.index >= 0 && back.value > 0;
      s.maxBack[i] = backFound ? back.value : 0;
      s.farBack[i] = backFound ? back.index : (i > 0 ? i - 1 : 0);
    }
  });
  s.largestCell = n > 0 ? *std::max_element(s.maxFwd.begin(), s.maxFwd.end()) : 0;
}

void TwoAndThreePoints(const Store& s, CoarseResult& r) {
  const int32_t n = s.n;
  if (n >= 2) {
    int32_t best = -1, at = 0;
    for (int32_t i = 0; i <= n - 2; ++i) {
      if (s.maxFwd[i] >= best) best = s.maxFwd[i], at = i;
    }
    r.twoPoints = {true, {at, s.farFwd[at]}};
  }
  if (n >= 3) {
    int32_t best = -1, at = 1;
    for (int32_t m = 1; m <= n - 2; ++m) {
      if (s.maxBack[m] + s.maxFwd[m] >= best) best = s.maxBack[m] + s.maxFwd[m], at = m;
    }
    r.threePoints = {true, {s.farBack[at], at, s.farFwd[at]}};
  }
}

// Per sample m: the best point before it by D(j, m) + maxBack[j] (1 <= j < m)
// and after it by D(m, k) + maxFwd[k] (m < k <= n - 2), the last of equals.
struct SideBests {
  std::vector<kernels::ValueAt> left, right;
};

void SideBestsOfRows(const Store& s, int32_t first, int32_t last, SideBests& sides) {
  for (int32_t m = first; m < last; ++m) {
    const int32_t* row = s.Row(m);
    if (m >= 1 && m + 1 <= s.n - 2) sides.right[m] = kernels::LastMaxOfSum(row, s.maxFwd.data(), m + 1, s.n - 1);
    if (m >= 2) sides.left[m] = kernels::LastMaxOfSum(row, s.maxBack.data(), 1, m);
  }
}

void FourAndFivePoints(const Store& s, const SideBests& sides, CoarseResult& r) {
  const int32_t n = s.n;
  if (n >= 4) {
    int32_t best = -1, a = 1;
    for (int32_t m = 1; m <= n - 3; ++m) {
      if (s.maxBack[m] + sides.right[m].value >= best) best = s.maxBack[m] + sides.right[m].value, a = m;
    }
    const int32_t b = sides.right[a].index;
    r.fourPoints = {true, {s.farBack[a], a, b, s.farFwd[b]}};
  }
  if (n >= 5) {
    int32_t best = -1, m = 2;
    for (int32_t c = 2; c <= n - 3; ++c) {
      if (sides.left[c].value + sides.right[c].value >= best) best = sides.left[c].value + sides.right[c].value, m = c;
    }
    const int32_t j = sides.left[m].index, k = sides.right[m].index;
    r.fivePoints = {true, {s.farBack[j], j, m, k, s.farFwd[k]}};
  }
}

// For start i the best turnpoint before end j is the last greatest D(i, k),
// i < k < j: a running maximum along the row.
void OutAndReturnRow(const Store& s, int32_t i, int32_t gap, Candidate& best) {
  const int32_t* row = s.Row(i);
  int32_t outward = row[i + 1], turnpoint = i + 1;
  for (int32_t j = i + 2; j < s.n; ++j) {
    const int32_t closing = row[j];
    if (closing < gap) {
      const Candidate candidate{2 * outward - closing, i, j, turnpoint};
      if (candidate.Beats(best)) best = candidate;
    }
    if (closing >= outward) outward = closing, turnpoint = j;
  }
}

void RaiseTo(std::atomic<int32_t>& shared, int32_t score) {
  int32_t seen = shared.load(std::memory_order_relaxed);
  while (score > seen && !shared.compare_exchange_weak(seen, score, std::memory_order_relaxed)) {
  }
}

// G as the reference fills it, along row k from the last sample down: the
// running value (G(k, j + 1)) gives way only to a strictly smaller D(k, j),
// and that only to a strictly smaller G(k - 1, j). Cells at or above the loop
// flight gap are left out: above the last j where D(k, j) or the kept
// G(k - 1, j) is below the gap, every term of the minimum is at or above it;
// below that j the terms left out cannot change a value under the gap. The
// fill has found each row's last D(k, j) below the gap.
void GapTables(Store& s) {
  const int32_t n = s.n;
  int64_t next = 0;
  for (int32_t k = 0; k <= n - 2; ++k) {
    const int32_t* rowK = s.Row(k);
    const int32_t upEnd = k > 0 ? s.gapEnd[k - 1] : 0;  // G(k - 1, j) kept for j < upEnd
    // The last D(k, j) below the limit at or after upEnd, else upEnd - 1.
    const int32_t top = std::max(s.lastWithinGap[k], upEnd - 1);
    s.gapRowStart[k] = next;
    s.gapEnd[k] = std::max(top + 1, k + 1);
    if (top < k + 1) continue;
    int32_t* row = s.g.data() + next;  // row[j - k - 1] = G(k, j)
    next += top - k;
    int32_t value = kNoGap;
    int32_t j = top;
    for (; j >= std::max(upEnd, k + 1); --j) {
      value = std::min(value, rowK[j]);
      row[j - k - 1] = value;
    }
    if (k == 0) continue;
    const int32_t* up = s.GapRow(k - 1);  // up[j - k] = G(k - 1, j)
    for (; j >= k + 1; --j) {
      value = std::min({value, rowK[j], up[j - k]});
      row[j - k - 1] = value;
    }
  }
  s.gapRowStart[n - 1] = next;
  s.gapEnd[n - 1] = n;
}

// W(k, l) of the reference: the start and end (start * 65536 + end) of the
// gap G(k, l) < the limit. Every cell takes its value from the first of its
// sources (the running value G(k, j + 1), D(k, j), G(k - 1, j)) that holds
// it, so following the sources back from (k, l) reaches the pair that the
// reference recorded; each cell on the way holds the same value, so it is kept.
int32_t GapWhere(const Store& s, int32_t k, int32_t l) {
  for (;;) {
    const int32_t value = s.GapRow(k)[l - k - 1];
    if (l + 1 < s.gapEnd[k] && s.GapRow(k)[l - k] == value) {
      ++l;
    } else if (s.Row(k)[l] == value) {
      return k * 65536 + l;
    } else {
      --k;  // from G(k - 1, l); never reached in row 0, whose values all come from D
    }
  }
}

}  // namespace

int CoarseSearchFast(const FlightSamples& samples, const CoarseOptions& options, const CoarsePhaseCallback& phase,
                     CoarseResult& result) {
  const int32_t n = samples.Count();
  const bool loops = options.loopSearches && options.loopFlightGap > 0;
  Store s;
  SideBests sides;
  std::vector<int32_t> startOrder;
  std::optional<fast::TriangleSearch> triangles;
  try {
    Allocate(s, n, loops);
    sides.left.assign(n, {-1, -1});
    sides.right.assign(n, {-1, -1});
    startOrder.resize(std::max(0, n - 2));
    if (loops) triangles.emplace(s);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  auto announce = [&phase](CoarsePhase p) {
    if (phase) phase(p);
  };
  CoarseResult r;
  announce(CoarsePhase::DistanceMatrix);
  FillMatrix(samples, options.loopFlightGap, s, triangles ? &*triangles : nullptr);
  announce(CoarsePhase::TwoPoints);
  announce(CoarsePhase::ThreePoints);
  TwoAndThreePoints(s, r);
  announce(CoarsePhase::FourPoints);
  announce(CoarsePhase::FivePoints);
  announce(CoarsePhase::OutAndReturn);

  // Starts with the farthest-reaching rows first, so that the running best
  // soon rules out the rest (2 D(i, k) - D(i, j) <= 2 maxFwd[i]).
  std::iota(startOrder.begin(), startOrder.end(), 0);
  std::stable_sort(startOrder.begin(), startOrder.end(),
                   [&s](int32_t a, int32_t b) { return s.maxFwd[a] > s.maxFwd[b]; });
  const bool gapTables = loops && n >= 3;
  const int32_t sideTasks = (n + kRowsPerTask - 1) / kRowsPerTask;
  const int32_t outTasks = loops ? (static_cast<int32_t>(startOrder.size()) + kRowsPerTask - 1) / kRowsPerTask : 0;
  const int32_t taskCount = (gapTables ? 1 : 0) + sideTasks + outTasks;
  std::atomic<int32_t> nextTask{0};
  std::atomic<int32_t> bestOutAndReturn{kNoOutAndReturn};
  std::vector<Candidate> outBests(s.workers, Candidate{kNoOutAndReturn});
  RunOnWorkers(s.workers, [&](int worker) {
    for (int32_t task = nextTask++; task < taskCount; task = nextTask++) {
      if (gapTables && task == 0) {
        GapTables(s);
        continue;
      }
      const int32_t t = task - (gapTables ? 1 : 0);
      if (t < sideTasks) {
        SideBestsOfRows(s, t * kRowsPerTask, std::min(n, (t + 1) * kRowsPerTask), sides);
        continue;
      }
      const int32_t from = (t - sideTasks) * kRowsPerTask;
      const int32_t to = std::min<int32_t>(startOrder.size(), from + kRowsPerTask);
      Candidate& best = outBests[worker];
      for (int32_t p = from; p < to; ++p) {
        const int32_t i = startOrder[p];
        if (2 * s.maxFwd[i] < std::max(best.score, bestOutAndReturn.load(std::memory_order_relaxed))) continue;
        OutAndReturnRow(s, i, options.loopFlightGap, best);
        RaiseTo(bestOutAndReturn, best.score);
      }
    }
  });
  FourAndFivePoints(s, sides, r);
  if (loops) {
    Candidate best{kNoOutAndReturn};
    for (const Candidate& c : outBests) {
      if (c.Beats(best)) best = c;
    }
    if (best.i >= 0 && best.score >= 0) r.outAndReturn = {true, {best.i, best.k, best.j}};
  }

  announce(CoarsePhase::Triangles);
  if (loops && n >= 3) {
    const fast::TriangleOutcome found = triangles->Run(options.loopFlightGap, options.stop);
    auto combination = [&s](const Candidate& c) {
      const int32_t where = GapWhere(s, c.i, c.j);
      return CoarseCombination{true, {where >> 16, c.i, c.k, c.j, where & 0xFFFF}};
    };
    if (!found.stopped && found.flat.i >= 0) r.flatTriangle = combination(found.flat);
    if (!found.stopped && found.fai.i >= 0) r.faiTriangle = combination(found.fai);
  }
  result = r;
  return 0;
}

}  // namespace trelvik
