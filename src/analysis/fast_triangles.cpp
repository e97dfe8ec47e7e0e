// Triangle search of the fast engine: branch and bound over blocks of 16 samples.
//
// For turnpoints k < m < l the score is D(k, m) + D(m, l) + D(k, l) - G(k, l).
// Every bound below is a maximum over the very cells that are summed, taken
// over a superset of the candidates, so it can never fall below a candidate's
// score:
// - a pair of blocks (K, L) of turnpoint 1 and 3: the best D(k, l) - G(k, l)
//   of its pairs plus the best, over the blocks M between, of
//   max D(K x M) + max D(M x L);
// - a block M of turnpoint 2 for the whole block pair: the best D(k, l) - G(k, l)
//   of its pairs plus max D(K x M) + max D(M x L); only the blocks M that pass
//   are ever looked at for the pairs of (K, L), mostly a handful of the dozens between;
// - a block M of turnpoint 2 for the pair (k, l): D(k, l) - G(k, l) + max D(k, M) + max D(M, l).
// The FAI triangle is further bounded by each of its legs, which must reach
// 7/25 of the perimeter: score <= (25 leg + 24) / 7 - G(k, l), with the
// closing leg and with the block maxima of the legs to turnpoint 2.
// Block pairs are taken best bound first, so the running best soon rules out
// most of them; whatever is at or above the running best is scanned eight
// turnpoints at a time, since a tie may still win. Equal scores are settled
// by the loop indexes (the later candidate wins), which makes the answer
// independent of the order in which the two workers meet the candidates.
#include "analysis/fast_triangles.hpp"

#include <algorithm>
#include <climits>

#include "analysis/coarse_kernels.hpp"
#include "analysis/parallel_workers.hpp"

namespace trelvik::fast {

struct SearchState {
  std::atomic<int32_t> flat{-1};  // best scores reached so far, by any worker
  std::atomic<int32_t> fai{-1};
  std::atomic<int32_t> nextPair{0};
  std::atomic<bool> stopped{false};
  std::vector<Candidate> flats, fais;  // one per worker
};

namespace {

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

// The base of a lane left out, low enough to keep the sums of the needs
// kernel inside 32 bits; the lane is skipped whatever the kernel says of it
// (past the last sample its block extremes are the tables' padding).
constexpr int32_t kLaneLeftOut = -(1 << 30);

bool PassesFai(int32_t a, int32_t b, int32_t closing) {
  const int64_t leastLeg = (static_cast<int64_t>(a) + b + closing) * 7 / 25;
  return a >= leastLeg && b >= leastLeg && closing >= leastLeg;
}

int32_t FaiCap(int32_t closing, int32_t gap) {
  return static_cast<int32_t>((25 * static_cast<int64_t>(closing) + 24) / 7 - gap);
}

// Whether legs a, b and closing leg c drawn from the ranges given can all pass
// the 28 % rule: 25 leg + 24 >= 7 P, i.e. 18 a + 24 >= 7 (b + c) and so on.
bool FaiPossible(int64_t aMin, int64_t aMax, int64_t bMin, int64_t bMax, int64_t cMin, int64_t cMax) {
  return 18 * aMax + 24 >= 7 * (bMin + cMin) && 18 * bMax + 24 >= 7 * (aMin + cMin) &&
         18 * cMax + 24 >= 7 * (aMin + bMin);
}

// kernels::MiddleBlockNeeds in 64-bit arithmetic, for tracks whose cells are
// too long for the 32-bit kernel.
void WideMiddleBlockNeeds(int32_t blockMaxK, int32_t blockMinK, const int32_t* blockMaxL, const int32_t* blockMinL,
                          const int32_t* closing, const int32_t* base, const int32_t* faiPerimeter, int32_t pruneFlat,
                          int32_t pruneFai, int32_t* needs) {
  for (int32_t lane = 0; lane < TriangleSearch::kBlock; ++lane) {
    const int64_t bound = static_cast<int64_t>(base[lane]) + blockMaxK + blockMaxL[lane];
    const bool fai = bound >= pruneFai && 25 * static_cast<int64_t>(closing[lane]) + 24 >= faiPerimeter[lane] &&
                     25 * static_cast<int64_t>(std::min(blockMaxK, blockMaxL[lane])) + 24 >= faiPerimeter[lane] &&
                     FaiPossible(blockMinK, blockMaxK, blockMinL[lane], blockMaxL[lane], closing[lane], closing[lane]);
    needs[lane] = (bound >= pruneFlat || fai ? kernels::kNeedFlat : 0) | (fai ? kernels::kNeedFai : 0);
  }
}

// True when (score, k, l) comes after `best` (its turnpoint 2 still unknown).
bool MayBeat(int32_t score, int32_t k, int32_t l, const Candidate& best) {
  if (score != best.score) return score > best.score;
  if (k != best.i) return k > best.i;
  return l > best.j;
}

bool StopSet(const std::atomic<bool>* stop) { return stop != nullptr && stop->load(std::memory_order_relaxed); }

int32_t Saturate(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

TriangleSearch::TriangleSearch(const Store& store) : s_(store), blocks_((store.n + kBlock - 1) / kBlock) {
  // Room for one block of lanes read past the last sample.
  const size_t table = static_cast<size_t>(store.n) * blocks_ + kBlock;
  const size_t square = static_cast<size_t>(blocks_) * blocks_;
  const size_t flags = static_cast<size_t>(store.workers) * blocks_;
  arena_.Reset(2 * table + 4 * square + flags);
  int32_t* next = arena_.data();
  auto carve = [&next](size_t count) {
    const std::span<int32_t> part(next, count);
    next += count;
    return part;
  };
  sampleBlockMax_ = carve(table);
  sampleBlockMin_ = carve(table);
  // The padding is read, never used; it is set so that nothing reads memory never written.
  std::fill(sampleBlockMax_.end() - kBlock, sampleBlockMax_.end(), 0);
  std::fill(sampleBlockMin_.end() - kBlock, sampleBlockMin_.end(), 0);
  closingMax_ = carve(square);
  faiClosingMax_ = carve(square);
  blockMax_ = carve(square);
  blockMin_ = carve(square);
  middleBlocks_ = carve(flags);
  pairs_.reserve(square / 2 + blocks_);
}

void TriangleSearch::SummariseRow(int32_t i) {
  // A chunk of whole blocks at a time through the row-wise kernel, then
  // spread into the tables, which are laid out by block.
  constexpr int32_t kChunkBlocks = 64;
  int32_t most[kChunkBlocks], least[kChunkBlocks];
  const int32_t n = s_.n;
  const int32_t* row = s_.Row(i);
  for (int32_t first = 0; first < blocks_; first += kChunkBlocks) {
    const int32_t from = first * kBlock;
    const int32_t count = std::min(n - from, kChunkBlocks * kBlock);
    kernels::BlockExtremes(row + from, count, most, least);
    const int32_t blocks = (count + kBlock - 1) / kBlock;
    for (int32_t b = 0; b < blocks; ++b) {
      sampleBlockMax_[static_cast<size_t>(first + b) * n + i] = most[b];
      sampleBlockMin_[static_cast<size_t>(first + b) * n + i] = least[b];
    }
  }
}

bool TriangleSearch::BlockMaxima(const std::atomic<bool>* stop) {
  const int32_t n = s_.n;
  for (int32_t a = 0; a < blocks_; ++a) {
    for (int32_t b = 0; b < blocks_; ++b) {
      int32_t most = 0, least = INT32_MAX;
      for (int32_t i = a * kBlock; i < std::min(n, (a + 1) * kBlock); ++i) {
        most = std::max(most, sampleBlockMax_[static_cast<size_t>(b) * n + i]);
        least = std::min(least, sampleBlockMin_[static_cast<size_t>(b) * n + i]);
      }
      blockMax_[static_cast<size_t>(a) * blocks_ + b] = most;
      blockMin_[static_cast<size_t>(a) * blocks_ + b] = least;
    }
  }
  return !StopSet(stop);
}

bool TriangleSearch::PairBounds(int32_t loopFlightGap, const std::atomic<bool>* stop) {
  const int32_t n = s_.n;
  const bool narrow = s_.largestCell <= kernels::kBlockKernelLimit;
  RunOnWorkers(s_.workers, [&](int worker) {
    for (int32_t a = worker; a < blocks_ && !StopSet(stop); a += s_.workers) {
      int32_t* closing = closingMax_.data() + static_cast<size_t>(a) * blocks_;
      int32_t* fai = faiClosingMax_.data() + static_cast<size_t>(a) * blocks_;
      std::fill(closing, closing + blocks_, INT32_MIN);
      std::fill(fai, fai + blocks_, INT32_MIN);
      for (int32_t k = a * kBlock; k < std::min(n - 2, (a + 1) * kBlock); ++k) {
        const int32_t* rowK = s_.Row(k);
        const int32_t* gapRow = s_.GapRow(k);  // gapRow[l - k - 1] = G(k, l)
        const int32_t end = s_.gapEnd[k];
        if (end <= k + 2) continue;
        if (narrow) {
          kernels::ClosingBlockMaxima(rowK + k + 2, gapRow + 1, k + 2, end, loopFlightGap, closing, fai);
          continue;
        }
        for (int32_t l = k + 2; l < end; ++l) {
          const int32_t gap = gapRow[l - k - 1];
          if (gap >= loopFlightGap) continue;
          const int32_t b = l / kBlock;
          closing[b] = std::max(closing[b], rowK[l] - gap);
          fai[b] = std::max(fai[b], FaiCap(rowK[l], gap));
        }
      }
    }
  });
  if (StopSet(stop)) return false;
  pairs_.clear();
  for (int32_t first = 0; first < blocks_; ++first) {
    for (int32_t last = first; last < blocks_; ++last) {
      const int32_t closing = closingMax_[static_cast<size_t>(first) * blocks_ + last];
      const int32_t fai = faiClosingMax_[static_cast<size_t>(first) * blocks_ + last];
      if (closing == INT32_MIN) continue;  // no pair of these blocks closes within the gap
      int32_t legs = 0;
      int64_t faiLegs = INT64_MIN;
      const int32_t closingMin = blockMin_[static_cast<size_t>(first) * blocks_ + last];
      const int32_t closingMost = blockMax_[static_cast<size_t>(first) * blocks_ + last];
      for (int32_t middle = first; middle <= last; ++middle) {
        const int32_t a = blockMax_[static_cast<size_t>(first) * blocks_ + middle];
        const int32_t b = blockMax_[static_cast<size_t>(middle) * blocks_ + last];
        legs = std::max(legs, a + b);
        if (FaiPossible(blockMin_[static_cast<size_t>(first) * blocks_ + middle], a,
                        blockMin_[static_cast<size_t>(middle) * blocks_ + last], b, closingMin, closingMost)) {
          faiLegs = std::max(faiLegs, std::min<int64_t>(static_cast<int64_t>(closing) + a + b, FaiCap(std::min(a, b), 0)));
        }
      }
      const int32_t flatBound = Saturate(static_cast<int64_t>(closing) + legs);
      pairs_.push_back({first, last, flatBound, Saturate(std::min<int64_t>(faiLegs, fai))});
    }
  }
  // Greatest bound first, then in the order the pairs were listed; a plain
  // sort with the blocks as tie-break needs no scratch buffer, unlike a stable one.
  std::sort(pairs_.begin(), pairs_.end(), [](const BlockPair& a, const BlockPair& b) {
    if (a.flatBound != b.flatBound) return a.flatBound > b.flatBound;
    return a.first != b.first ? a.first < b.first : a.last < b.last;
  });
  return true;
}

void TriangleSearch::ScanBlockPair(const BlockPair& pair, int32_t loopFlightGap, SearchState& state, int worker) {
  const int32_t n = s_.n;
  const bool wide = s_.largestCell > kernels::kFaiVectorLimit;
  const bool wideNeeds = s_.largestCell > kernels::kBlockKernelLimit;
  Candidate& flat = state.flats[worker];
  Candidate& fai = state.fais[worker];
  int32_t pruneFlat = std::max(flat.score, state.flat.load(std::memory_order_relaxed));
  int32_t pruneFai = std::max(fai.score, state.fai.load(std::memory_order_relaxed));
  if (pair.flatBound < pruneFlat && pair.faiBound < pruneFai) return;
  // The blocks of turnpoint 2 that some pair of these blocks may use, by the
  // bounds of the whole block pair; the pairs below look at no other block.
  int32_t* middles = middleBlocks_.data() + static_cast<size_t>(worker) * blocks_;
  int32_t middleCount = 0;
  {
    const size_t pairCell = static_cast<size_t>(pair.first) * blocks_ + pair.last;
    for (int32_t m = pair.first; m <= pair.last; ++m) {
      const int32_t a = blockMax_[static_cast<size_t>(pair.first) * blocks_ + m];
      const int32_t b = blockMax_[static_cast<size_t>(m) * blocks_ + pair.last];
      const int64_t bound = static_cast<int64_t>(closingMax_[pairCell]) + a + b;
      const bool maybeFai =
          std::min<int64_t>({bound, faiClosingMax_[pairCell], FaiCap(std::min(a, b), 0)}) >= pruneFai &&
          FaiPossible(blockMin_[static_cast<size_t>(pair.first) * blocks_ + m], a,
                      blockMin_[static_cast<size_t>(m) * blocks_ + pair.last], b, blockMin_[pairCell],
                      blockMax_[pairCell]);
      if (bound >= pruneFlat || maybeFai) middles[middleCount++] = m;
    }
  }
  if (middleCount == 0) return;
  const int32_t kEnd = std::min(n - 2, (pair.first + 1) * kBlock);
  // Each turnpoint 1 reads a line or two from rows far apart in memory; asking
  // for all of them at once overlaps the waits.
  for (int32_t k = pair.first * kBlock; k < kEnd; ++k) {
    const int32_t l = std::max(k + 2, pair.last * kBlock);
    if (l >= s_.gapEnd[k]) continue;
    __builtin_prefetch(s_.GapRow(k) + (l - k - 1));
    __builtin_prefetch(s_.GapRow(k) + (std::min(s_.gapEnd[k], (pair.last + 1) * kBlock) - k - 2));
    __builtin_prefetch(s_.Row(k) + l);
    __builtin_prefetch(s_.Row(k) + std::min(n, (pair.last + 1) * kBlock) - 1);
  }
  // Turnpoints 3 go in lanes of one block, l = l0 + lane, so that each block
  // of turnpoint 2 is judged for all of them at once.
  const int32_t l0 = pair.last * kBlock;
  const bool flatPossible = pair.flatBound >= pruneFlat;
  for (int32_t k = pair.first * kBlock; k < kEnd; ++k) {
    const int32_t* rowK = s_.Row(k);
    const int32_t* gapRow = s_.GapRow(k);
    const int32_t lBegin = std::max(k + 2, l0);
    const int32_t lEnd = std::min(s_.gapEnd[k], l0 + kBlock);
    if (lBegin >= lEnd) continue;
    int32_t closing[kBlock], base[kBlock], faiPerimeter[kBlock];
    bool active[kBlock];
    bool any = false;
    for (int32_t lane = 0; lane < kBlock; ++lane) {
      const int32_t l = l0 + lane;
      closing[lane] = 0;
      base[lane] = kLaneLeftOut;
      faiPerimeter[lane] = INT32_MAX;
      active[lane] = false;
      if (l < lBegin || l >= lEnd) continue;
      const int32_t gap = gapRow[l - k - 1];
      if (gap >= loopFlightGap) continue;
      const int64_t perimeter = 7 * (static_cast<int64_t>(pruneFai) + gap);
      // A pair whose flat bound is below the running best gives only FAI
      // triangles, and only through a closing leg that allows one.
      if (!flatPossible && 25 * static_cast<int64_t>(rowK[l]) + 24 < perimeter) continue;
      closing[lane] = rowK[l];
      base[lane] = rowK[l] - gap;
      faiPerimeter[lane] = static_cast<int32_t>(std::min<int64_t>(perimeter, INT32_MAX));
      active[lane] = true;
      any = true;
    }
    if (!any) continue;
    // Turnpoint 2 block by block, skipping blocks that cannot reach the running best.
    int32_t bestFlat[kBlock], bestFai[kBlock], flatBlock[kBlock], faiBlock[kBlock];
    std::fill_n(bestFlat, kBlock, -1);
    std::fill_n(bestFai, kBlock, -1);
    const int32_t firstBlock = (k + 1) / kBlock;
    int32_t needs[kBlock];
    for (int32_t i = 0; i < middleCount; ++i) {
      const int32_t b = middles[i];
      if (b < firstBlock) continue;
      // Turnpoint 2 lies before turnpoint 3: l - 1 >= b * kBlock.
      const int32_t fromLane = std::max(0, b * kBlock + 1 - l0);
      if (fromLane >= kBlock) break;
      const size_t column = static_cast<size_t>(b) * s_.n;
      if (wideNeeds) {
        WideMiddleBlockNeeds(sampleBlockMax_[column + k], sampleBlockMin_[column + k], &sampleBlockMax_[column + l0],
                             &sampleBlockMin_[column + l0], closing, base, faiPerimeter, pruneFlat, pruneFai, needs);
      } else {
        kernels::MiddleBlockNeeds(sampleBlockMax_[column + k], sampleBlockMin_[column + k],
                                  &sampleBlockMax_[column + l0], &sampleBlockMin_[column + l0], closing, base,
                                  faiPerimeter, pruneFlat, pruneFai, needs);
      }
      for (int32_t lane = fromLane; lane < kBlock; ++lane) {
        if (!active[lane] || needs[lane] == 0) continue;
        const bool needFai = (needs[lane] & kernels::kNeedFai) != 0;
        const int32_t l = l0 + lane;
        const int32_t* rowL = s_.Row(l);
        const int32_t begin = std::max(k + 1, b * kBlock), end = std::min(l, (b + 1) * kBlock);
        const kernels::LegMaxima legs = wide ? WideLegMaxima(rowK, rowL, begin, end, closing[lane], needFai)
                                             : kernels::TriangleLegMaxima(rowK, rowL, begin, end, closing[lane], needFai);
        if (legs.flat >= 0 && legs.flat >= bestFlat[lane]) bestFlat[lane] = legs.flat, flatBlock[lane] = b;
        if (legs.fai >= 0 && legs.fai >= bestFai[lane]) bestFai[lane] = legs.fai, faiBlock[lane] = b;
      }
    }
    // A skipped block holds nothing at or above the running best, so the
    // last turnpoint 2 of a score that reaches it lies in a scanned block.
    for (int32_t lane = 0; lane < kBlock; ++lane) {
      if (bestFlat[lane] < 0) continue;  // no block scanned: left out, or nothing reaches the best
      const int32_t l = l0 + lane;
      const int32_t* rowL = s_.Row(l);
      const int32_t score = bestFlat[lane] + base[lane];
      if (bestFlat[lane] >= 0 && score >= pruneFlat && MayBeat(score, k, l, flat)) {
        int32_t m = std::min(l, (flatBlock[lane] + 1) * kBlock) - 1;
        while (rowK[m] + rowL[m] != bestFlat[lane]) --m;
        flat = {score, k, l, m};
        if (flat.score > pruneFlat) {
          pruneFlat = flat.score;
          RaiseTo(state.flat, pruneFlat);
        }
      }
      const int32_t faiScore = bestFai[lane] + base[lane];
      if (bestFai[lane] >= 0 && faiScore >= pruneFai && MayBeat(faiScore, k, l, fai)) {
        int32_t m = std::min(l, (faiBlock[lane] + 1) * kBlock) - 1;
        while (rowK[m] + rowL[m] != bestFai[lane] || !PassesFai(rowK[m], rowL[m], closing[lane])) --m;
        fai = {faiScore, k, l, m};
        if (fai.score > pruneFai) {
          pruneFai = fai.score;
          RaiseTo(state.fai, pruneFai);
        }
      }
    }
  }
}

TriangleOutcome TriangleSearch::Run(int32_t loopFlightGap, const std::atomic<bool>* stop) {
  TriangleOutcome outcome;
  auto stopRequested = [stop] { return StopSet(stop); };
  if (s_.n < 3) return outcome;
  if (stopRequested() || !BlockMaxima(stop) || !PairBounds(loopFlightGap, stop)) {
    outcome.stopped = true;
    return outcome;
  }
  SearchState state;
  state.flats.assign(s_.workers, Candidate{-1});
  state.fais.assign(s_.workers, Candidate{-1});
  RunOnWorkers(s_.workers, [&](int worker) {
    for (int32_t p = state.nextPair++; p < static_cast<int32_t>(pairs_.size()); p = state.nextPair++) {
      if (stopRequested()) {
        state.stopped = true;
        return;
      }
      ScanBlockPair(pairs_[p], loopFlightGap, state, worker);
    }
  });
  if (state.stopped) {
    outcome.stopped = true;
    return outcome;
  }
  for (int worker = 0; worker < s_.workers; ++worker) {
    if (state.flats[worker].Beats(outcome.flat)) outcome.flat = state.flats[worker];
    if (state.fais[worker].Beats(outcome.fai)) outcome.fai = state.fais[worker];
  }
  return outcome;
}

}  // namespace trelvik::fast
