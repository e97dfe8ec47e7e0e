// Triangle search of the fast engine.
//
// For turnpoint 1 k and turnpoint 3 l the best turnpoint 2 m maximises
// D(k, m) + D(m, l). Its score can never exceed
//   D(k, l) - G(k, l) + max over k<m<l of D(k, m) + max over k<m<l of D(m, l)
// (both maxima are taken over the very cells that are summed), and for the
// FAI triangle never (25 D(k, l) + 24) / 7 - G(k, l), since the closing leg
// must reach 7/25 of the perimeter. A pair (k, l) whose bound is below a score
// already reached holds no triangle that could win or tie, so only the others
// are scanned, eight turnpoints at a time. Equal scores are settled by the
// loop indexes (the later candidate wins), which makes the answer independent
// of the order in which the two workers meet the pairs.
#include "analysis/fast_triangles.hpp"

#include <algorithm>
#include <climits>

#include "analysis/coarse_kernels.hpp"
#include "analysis/parallel_workers.hpp"

namespace trelvik::fast {
namespace {

constexpr int32_t kSeedStride = 16;

struct Shared {
  std::atomic<int32_t> flat{-1};
  std::atomic<int32_t> fai{-1};
  std::atomic<bool> stopped{false};
};

void RaiseTo(std::atomic<int32_t>& shared, int32_t score) {
  int32_t seen = shared.load(std::memory_order_relaxed);
  while (score > seen && !shared.compare_exchange_weak(seen, score, std::memory_order_relaxed)) {
  }
}

// The plain loop over turnpoint 2 in 64-bit arithmetic, for tracks whose cells
// are too long for the 32-bit kernel.
kernels::LegMaxima WideLegMaxima(const int32_t* rowK, const int32_t* rowL, int32_t begin, int32_t end,
                                 int32_t closing, bool withFai) {
  kernels::LegMaxima result{-1, -1};
  for (int32_t m = begin; m < end; ++m) {
    const int32_t legs = rowK[m] + rowL[m];
    result.flat = std::max(result.flat, legs);
    const int64_t leastLeg = (static_cast<int64_t>(legs) + closing) * 7 / 25;
    if (withFai && rowK[m] >= leastLeg && rowL[m] >= leastLeg && closing >= leastLeg) {
      result.fai = std::max(result.fai, legs);
    }
  }
  return result;
}

bool PassesFai(int32_t a, int32_t b, int32_t closing) {
  const int64_t leastLeg = (static_cast<int64_t>(a) + b + closing) * 7 / 25;
  return a >= leastLeg && b >= leastLeg && closing >= leastLeg;
}

// True when (score, k, l) comes after `best` (the turnpoint 2 still unknown).
bool MayBeat(int32_t score, int32_t k, int32_t l, const Candidate& best) {
  if (score != best.score) return score > best.score;
  if (k != best.i) return k > best.i;
  return l > best.j;
}

class PairScanner {
 public:
  PairScanner(const Store& store, int32_t gap) : s_(store), gap_(gap), wide_(store.largestCell > kernels::kFaiVectorLimit) {}

  // Scans turnpoint 2 of the pair (k, l) and keeps what beats the candidates.
  void Scan(int32_t k, int32_t l, bool withFai, Candidate& flat, Candidate& fai) const {
    const int32_t* rowK = s_.Row(k);
    const int32_t* rowL = s_.Row(l);
    const int32_t closing = rowK[l];
    const int32_t base = closing - s_.g[s_.GapAt(k, l)];
    const kernels::LegMaxima legs = wide_ ? WideLegMaxima(rowK, rowL, k + 1, l, closing, withFai)
                                          : kernels::TriangleLegMaxima(rowK, rowL, k + 1, l, closing, withFai);
    if (legs.flat >= 0 && MayBeat(legs.flat + base, k, l, flat)) {
      int32_t m = l - 1;
      while (rowK[m] + rowL[m] != legs.flat) --m;
      flat = {legs.flat + base, k, l, m};
    }
    if (legs.fai >= 0 && MayBeat(legs.fai + base, k, l, fai)) {
      int32_t m = l - 1;
      while (rowK[m] + rowL[m] != legs.fai || !PassesFai(rowK[m], rowL[m], closing)) --m;
      fai = {legs.fai + base, k, l, m};
    }
  }

  int32_t Gap() const { return gap_; }

 private:
  const Store& s_;
  int32_t gap_;
  bool wide_;
};

}  // namespace

TriangleSearch::TriangleSearch(const Store& store) : store_(store) {
  columnMax_.resize(store.workers);
  for (auto& row : columnMax_) row.assign(store.n, 0);
}

TriangleOutcome TriangleSearch::Run(int32_t loopFlightGap, const std::atomic<bool>* stop) {
  const Store& s = store_;
  const int32_t n = s.n;
  TriangleOutcome outcome;
  auto stopRequested = [stop] { return stop != nullptr && stop->load(std::memory_order_relaxed); };
  if (n < 3 || stopRequested()) {
    outcome.stopped = stopRequested();
    return outcome;
  }
  const PairScanner scanner(s, loopFlightGap);
  Shared shared;

  // A coarse grid of pairs first: real triangles whose scores let the full
  // pass skip most pairs from the start.
  Candidate seedFlat{-1}, seedFai{-1};
  for (int32_t k = 0; k <= n - 3; k += kSeedStride) {
    for (int32_t l = k + 2; l < n; l += kSeedStride) {
      if (s.g[s.GapAt(k, l)] < loopFlightGap) scanner.Scan(k, l, true, seedFlat, seedFai);
    }
  }
  shared.flat = seedFlat.score;
  shared.fai = seedFai.score;

  std::vector<Candidate> flats(s.workers, Candidate{-1}), fais(s.workers, Candidate{-1});
  RunOnWorkers(s.workers, [&](int worker) {
    std::vector<int32_t>& columnMax = columnMax_[worker];  // max over k < m < l of D(m, l)
    std::fill(columnMax.begin(), columnMax.end(), 0);
    Candidate& flat = flats[worker];
    Candidate& fai = fais[worker];
    int32_t folded = n - 1;  // rows folded into columnMax: folded .. n - 2
    for (int32_t k = n - 3 - worker; k >= 0; k -= s.workers) {
      if (stopRequested() || shared.stopped.load(std::memory_order_relaxed)) {
        shared.stopped = true;
        return;
      }
      while (folded > k + 1) {
        --folded;
        kernels::FoldMax(columnMax.data(), s.Row(folded), folded + 1, n);
      }
      const int32_t* rowK = s.Row(k);
      const int32_t* gapRow = s.g.data() + s.gapRowStart[k];  // gapRow[l - k - 1] = G(k, l)
      int32_t pruneFlat = std::max(flat.score, shared.flat.load(std::memory_order_relaxed));
      int32_t pruneFai = std::max(fai.score, shared.fai.load(std::memory_order_relaxed));
      int32_t rowMax = INT32_MIN;  // max over k < m < l of D(k, m)
      for (int32_t l = k + 2; l < n; ++l) {
        rowMax = std::max(rowMax, rowK[l - 1]);
        const int32_t gap = gapRow[l - k - 1];
        if (gap >= loopFlightGap) continue;
        const int32_t closing = rowK[l];
        const int32_t flatBound = closing - gap + rowMax + columnMax[l];
        const int64_t faiBound =
            std::min<int64_t>(flatBound, (25 * static_cast<int64_t>(closing) + 24) / 7 - gap);
        const bool withFai = faiBound >= pruneFai;
        if (flatBound < pruneFlat && !withFai) continue;
        scanner.Scan(k, l, withFai, flat, fai);
        if (flat.score > pruneFlat) {
          pruneFlat = flat.score;
          RaiseTo(shared.flat, pruneFlat);
        }
        if (fai.score > pruneFai) {
          pruneFai = fai.score;
          RaiseTo(shared.fai, pruneFai);
        }
      }
    }
  });
  if (shared.stopped) {
    outcome.stopped = true;
    return outcome;
  }
  outcome.flat = seedFlat;
  outcome.fai = seedFai;
  for (int worker = 0; worker < s.workers; ++worker) {
    if (flats[worker].Beats(outcome.flat)) outcome.flat = flats[worker];
    if (fais[worker].Beats(outcome.fai)) outcome.fai = fais[worker];
  }
  return outcome;
}

}  // namespace trelvik::fast
