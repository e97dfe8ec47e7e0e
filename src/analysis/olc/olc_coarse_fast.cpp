// The OLC loop searches the dialog runs: the same answers as the reference
// loops, by branch and bound over blocks of 16 samples.
//
// For turnpoints k < m < l the perimeter is D(k, m) + D(m, l) + D(k, l) and a
// triangle counts when 5 G(k, l) < perimeter. For one pair (k, l) both the
// score perimeter - G(k, l) and the closing test grow with the legs over
// turnpoint 2, so the pair's best triangle is the one with the longest legs,
// and it counts exactly when any of the pair's triangles at that score do.
// The pair needs legs of at least 5 G(k, l) - D(k, l) + 1 to count at all.
//
// Bounds are maxima over the very cells that are summed, taken over a
// superset of the candidates, so none falls below a candidate's score:
// - a pair of blocks of turnpoints 1 and 3: the best D(k, l) - G(k, l) of its
//   pairs that can count, plus the best over the blocks between of
//   max D(block 1 x M) + max D(M x block 3);
// - one pair (k, l) and one block M of turnpoint 2: D(k, l) - G(k, l) +
//   max D(k, M) + max D(M, l), tested eight blocks at a time.
// The FAI triangle is further bounded by each of its legs, which must reach
// 7/25 of the perimeter. Block pairs are taken best bound first, so the
// running best soon rules out most of them; a bound equal to the running best
// is still scanned, since the later of equal candidates wins.
#include <algorithm>
#include <climits>
#include <vector>

#include "analysis/coarse_kernels.hpp"
#include "analysis/olc/olc_engines.hpp"

namespace trelvik::olc {
namespace {

constexpr int32_t kBlock = 16;

bool Halted(const std::atomic<bool>* halt) { return halt != nullptr && halt->load(std::memory_order_relaxed); }

// The greatest (score, i, j, k) in lexicographic order: the last of equal
// scores in the reference's loop order.
struct Best {
  int64_t score;
  int32_t i = -1, j = -1, k = -1;
  bool LosesTo(int64_t s, int32_t a, int32_t b) const {
    if (s != score) return s > score;
    if (a != i) return a > i;
    return b > j;
  }
};

// Per sample and block of 16 samples: the greatest and the least distance to it.
struct BlockTables {
  int32_t blocks = 0;
  std::vector<int32_t> sampleMax, sampleMin;  // [i * blocks + b]
  std::vector<int32_t> blockMax, blockMin;    // [a * blocks + b]

  explicit BlockTables(const SampleMatrix& m) : blocks((m.n + kBlock - 1) / kBlock) {
    const size_t table = static_cast<size_t>(m.n) * blocks;
    sampleMax.resize(table);
    sampleMin.resize(table);
    for (int32_t i = 0; i < m.n; ++i) {
      kernels::BlockExtremes(m.Row(i), m.n, &sampleMax[static_cast<size_t>(i) * blocks],
                             &sampleMin[static_cast<size_t>(i) * blocks]);
    }
    blockMax.assign(static_cast<size_t>(blocks) * blocks, 0);
    blockMin.assign(static_cast<size_t>(blocks) * blocks, INT32_MAX);
    for (int32_t i = 0; i < m.n; ++i) {
      const size_t a = static_cast<size_t>(i / kBlock) * blocks;
      for (int32_t b = 0; b < blocks; ++b) {
        blockMax[a + b] = std::max(blockMax[a + b], sampleMax[static_cast<size_t>(i) * blocks + b]);
        blockMin[a + b] = std::min(blockMin[a + b], sampleMin[static_cast<size_t>(i) * blocks + b]);
      }
    }
  }
  const int32_t* MaxOf(int32_t i) const { return &sampleMax[static_cast<size_t>(i) * blocks]; }
  const int32_t* MinOf(int32_t i) const { return &sampleMin[static_cast<size_t>(i) * blocks]; }
  int32_t BlockMax(int32_t a, int32_t b) const { return blockMax[static_cast<size_t>(a) * blocks + b]; }
  int32_t BlockMin(int32_t a, int32_t b) const { return blockMin[static_cast<size_t>(a) * blocks + b]; }
};

// The 28 % rule with the reference's integer division.
bool PassesFai(int64_t a, int64_t b, int64_t closing) {
  const int64_t leastLeg = (a + b + closing) * 7 / 25;
  return a >= leastLeg && b >= leastLeg && closing >= leastLeg;
}

// The greatest score an FAI triangle can reach when one of its legs is `leg`:
// the perimeter is at most (25 leg + 24) / 7.
int64_t FaiCap(int64_t leg, int64_t gap) { return (25 * leg + 24) / 7 - gap; }

// Whether legs drawn from the ranges given can all pass the 28 % rule.
bool FaiPossible(int64_t aMin, int64_t aMax, int64_t bMin, int64_t bMax, int64_t cMin, int64_t cMax) {
  return 18 * aMax + 24 >= 7 * (bMin + cMin) && 18 * bMax + 24 >= 7 * (aMin + cMin) &&
         18 * cMax + 24 >= 7 * (aMin + bMin);
}

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN / 8, INT32_MAX / 8)); }

// Cells short enough for the vector kernels everywhere below.
bool KernelsFit(const SampleMatrix& m) { return m.largestCell <= kernels::kBlockKernelLimit; }

class TriangleSearch {
 public:
  TriangleSearch(const SampleMatrix& m, const BlockTables& t) : m_(m), t_(t) {}

  bool Run(const std::atomic<bool>* halt, WorkCounter* work, CoarseTriangles& result) {
    if (!PairBounds(halt)) return false;
    if (work != nullptr) work->Begin(static_cast<int64_t>(pairs_.size()));
    for (const BlockPair& pair : pairs_) {
      if (Halted(halt)) return false;
      if (pair.flatBound >= free_.score || pair.faiBound >= fai_.score) Scan(pair);
      if (work != nullptr) work->Add(1);
    }
    result = {Chosen(free_), Chosen(fai_)};
    return true;
  }

 private:
  struct BlockPair {
    int32_t first, last;  // blocks of turnpoint 1 and turnpoint 3
    int64_t flatBound, faiBound;
  };

  bool PairBounds(const std::atomic<bool>* halt) {
    const int32_t n = m_.n, blocks = t_.blocks;
    for (int32_t first = 0; first < blocks; ++first) {
      if (Halted(halt)) return false;
      for (int32_t last = first; last < blocks; ++last) {
        int64_t legs = 0, faiLegs = -1;
        const int64_t closingMin = t_.BlockMin(first, last), closingMax = t_.BlockMax(first, last);
        for (int32_t middle = first; middle <= last; ++middle) {
          const int64_t a = t_.BlockMax(first, middle), b = t_.BlockMax(middle, last);
          legs = std::max(legs, a + b);
          if (FaiPossible(t_.BlockMin(first, middle), a, t_.BlockMin(middle, last), b, closingMin, closingMax)) {
            faiLegs = std::max(faiLegs, std::min(a + b, FaiCap(std::min(a, b), 0) - closingMin));
          }
        }
        int64_t flatBound = -1, faiBound = -1;
        for (int32_t k = first * kBlock; k < std::min(n - 2, (first + 1) * kBlock); ++k) {
          const int32_t* rowK = m_.Row(k);
          for (int32_t l = std::max(k + 2, last * kBlock); l < std::min(n, (last + 1) * kBlock); ++l) {
            const int64_t closing = rowK[l], gap = m_.G(k, l);
            if (closing + legs <= 5 * gap) continue;  // no triangle of this pair counts
            flatBound = std::max(flatBound, closing - gap + legs);
            if (faiLegs >= 0 && closing + faiLegs > 5 * gap) {
              faiBound = std::max(faiBound, std::min(closing - gap + faiLegs, FaiCap(closing, gap)));
            }
          }
        }
        if (flatBound >= 0) pairs_.push_back({first, last, flatBound, faiBound});
      }
    }
    std::stable_sort(pairs_.begin(), pairs_.end(),
                     [](const BlockPair& a, const BlockPair& b) { return a.flatBound > b.flatBound; });
    return true;
  }

  void Scan(const BlockPair& pair) {
    const int32_t n = m_.n;
    for (int32_t k = pair.first * kBlock; k < std::min(n - 2, (pair.first + 1) * kBlock); ++k) {
      const int32_t* rowK = m_.Row(k);
      const int32_t *maxK = t_.MaxOf(k), *minK = t_.MinOf(k);
      for (int32_t l = std::max(k + 2, pair.last * kBlock); l < std::min(n, (pair.last + 1) * kBlock); ++l) {
        const int64_t closing = rowK[l], gap = m_.G(k, l);
        const int64_t base = closing - gap;
        const int64_t counts = 5 * gap - closing + 1;  // least legs of a triangle that counts
        const int64_t flatLegs = std::max(free_.score - base, counts);
        const int64_t faiLegs = std::max(fai_.score - base, counts);
        const int32_t *maxL = t_.MaxOf(l), *minL = t_.MinOf(l);
        const int32_t firstBlock = (k + 1) / kBlock, lastBlock = (l - 1) / kBlock;
        const kernels::BlockNeeds needs = kernels::PairBlockNeeds(
            maxK, minK, maxL, minL, firstBlock, lastBlock + 1, static_cast<int32_t>(closing), static_cast<int32_t>(gap),
            Clamp32(flatLegs), Clamp32(faiLegs), Clamp32(std::max<int64_t>(fai_.score, 0)));
        if (!needs.flat && !needs.fai) continue;
        const int32_t* rowL = m_.Row(l);
        int64_t bestFlat = -1, bestFai = -1;
        int32_t flatBlock = -1, faiBlock = -1;
        for (int32_t b = firstBlock; b <= lastBlock; ++b) {
          const int64_t legsBound = int64_t{maxK[b]} + maxL[b];
          const bool needFlat = legsBound >= flatLegs;
          const bool needFai = needs.fai && legsBound >= faiLegs &&
                               FaiCap(std::min({int64_t{maxK[b]}, int64_t{maxL[b]}, closing}), gap) >= fai_.score &&
                               FaiPossible(minK[b], maxK[b], minL[b], maxL[b], closing, closing);
          if (!needFlat && !needFai) continue;
          const int32_t begin = std::max(k + 1, b * kBlock), end = std::min(l, (b + 1) * kBlock);
          const kernels::LegMaxima found =
              kernels::TriangleLegMaxima(rowK, rowL, begin, end, static_cast<int32_t>(closing), needFai);
          if (found.flat >= 0 && found.flat >= bestFlat) bestFlat = found.flat, flatBlock = b;
          if (found.fai >= 0 && found.fai >= bestFai) bestFai = found.fai, faiBlock = b;
        }
        // A skipped block holds nothing at or above the running best, so the
        // last turnpoint 2 of a winning score lies in a scanned block.
        if (flatBlock >= 0 && bestFlat >= counts && free_.LosesTo(bestFlat + base, k, l)) {
          int32_t mid = std::min(l, (flatBlock + 1) * kBlock) - 1;
          while (int64_t{rowK[mid]} + rowL[mid] != bestFlat) --mid;
          free_ = {bestFlat + base, k, l, mid};
        }
        if (faiBlock >= 0 && bestFai >= counts && fai_.LosesTo(bestFai + base, k, l)) {
          int32_t mid = std::min(l, (faiBlock + 1) * kBlock) - 1;
          while (int64_t{rowK[mid]} + rowL[mid] != bestFai || !PassesFai(rowK[mid], rowL[mid], closing)) --mid;
          fai_ = {bestFai + base, k, l, mid};
        }
      }
    }
  }

  CoarseTriangle Chosen(const Best& best) const {
    if (best.i < 0) return {};
    const int32_t where = m_.W(best.i, best.j);
    return {true, where >> 16, best.i, best.k, best.j, where & 0xFFFF, best.score};
  }

  const SampleMatrix& m_;
  const BlockTables& t_;
  std::vector<BlockPair> pairs_;
  // Every triangle that counts scores more than 4 G >= 0.
  Best free_{0}, fai_{0};
};

}  // namespace

bool OutAndReturnFast(const SampleMatrix& m, const std::atomic<bool>* halt, WorkCounter* work,
                      CoarseOutAndReturn& result) {
  result = {};
  if (!KernelsFit(m)) return OutAndReturnPlain(m, halt, work, result);
  const int32_t n = m.n;
  // The farthest sample after the start and before the end bound the two
  // legs; taken only for samples that close a pair, since few pairs close
  // within 400 m and each that does is scanned whole.
  constexpr int32_t kUnknown = -1;
  std::vector<int32_t> reachFwd(n, kUnknown), reachBack(n, kUnknown);
  auto forward = [&](int32_t i) {
    if (reachFwd[i] == kUnknown) reachFwd[i] = *std::max_element(m.Row(i) + i + 1, m.Row(i) + n);
    return reachFwd[i];
  };
  auto backward = [&](int32_t j) {
    if (reachBack[j] == kUnknown) reachBack[j] = *std::max_element(m.Row(j), m.Row(j) + j);
    return reachBack[j];
  };
  if (work != nullptr) work->Begin(n);
  Best best{0};
  for (int32_t i = 0; i + 2 < n; ++i) {
    if (Halted(halt)) return false;
    const int32_t* rowI = m.Row(i);
    for (int32_t j = i + 2; j < n; ++j) {
      if (rowI[j] >= kOutAndReturnClosing) continue;
      if (int64_t{forward(i)} + backward(j) < best.score) continue;
      const int32_t* rowJ = m.Row(j);
      const int32_t legs = kernels::TriangleLegMaxima(rowI, rowJ, i + 1, j, 0, false).flat;
      if (legs < 0 || !best.LosesTo(legs, i, j)) continue;
      int32_t k = j - 1;
      while (int64_t{rowI[k]} + rowJ[k] != legs) --k;
      best = {legs, i, j, k};
    }
    if (work != nullptr) work->Add(1);
  }
  if (best.i >= 0 && best.score > 0) result = {true, best.i, best.k, best.j};
  return true;
}

bool TrianglesFast(const SampleMatrix& m, const std::atomic<bool>* halt, WorkCounter* work, CoarseTriangles& result) {
  result = {};
  if (!KernelsFit(m)) return TrianglesPlain(m, halt, work, result);
  if (m.n < 3) return !Halted(halt);
  const BlockTables t(m);
  return TriangleSearch(m, t).Run(halt, work, result);
}

bool SearchOutAndReturn(const SampleMatrix& m, Engine engine, const std::atomic<bool>* halt, WorkCounter* work,
                        CoarseOutAndReturn& result) {
  return engine == Engine::Plain ? OutAndReturnPlain(m, halt, work, result) : OutAndReturnFast(m, halt, work, result);
}

bool SearchTriangles(const SampleMatrix& m, Engine engine, const std::atomic<bool>* halt, WorkCounter* work,
                     CoarseTriangles& result) {
  return engine == Engine::Plain ? TrianglesPlain(m, halt, work, result) : TrianglesFast(m, halt, work, result);
}

}  // namespace trelvik::olc
