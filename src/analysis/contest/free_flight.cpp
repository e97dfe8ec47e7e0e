#include "analysis/contest/free_flight.hpp"

#include <algorithm>
#include <numeric>
#include <vector>

#include "analysis/contest/range_max.hpp"

namespace trelvik::contest {
namespace {

// Ranges this short are searched fix by fix; blocks of middle turnpoints are
// this long.
constexpr size_t kLeafFixes = 16;
constexpr double kUnknown = -1.0;

// A free flight is a start leg, two legs through a middle turnpoint j and a
// finish leg. For each j the best legs before it and after it are searched
// apart; blocks of j whose bound cannot beat the best found are skipped. The
// start leg of a first turnpoint i is the farthest fix before it (and the
// finish leg the farthest after the last), found only for the fixes a search
// reaches and bounded per block elsewhere.
class FreeFlightSearch {
 public:
  FreeFlightSearch(const FccTrack& track, const std::atomic<bool>* halt)
      : track_(track), n_(track.size()), blocks_((n_ + kLeafFixes - 1) / kLeafFixes), halt_(halt),
        startLeg_(n_, kUnknown), finishLeg_(n_, kUnknown), startAt_(n_), finishAt_(n_) {}

  std::optional<FreeFlightPath> Run();

 private:
  size_t BlockFirst(size_t b) const { return b * kLeafFixes; }
  size_t BlockLast(size_t b) const { return std::min(n_, (b + 1) * kLeafFixes) - 1; }
  bool Halted() const { return halt_ && halt_->load(std::memory_order_relaxed); }

  // Improves `best` and `at` with the fix p of first..last of greatest
  // leaf(p); weightBound(first, last) + the rounded reach of `from` over a
  // range bounds leaf over it.
  template <typename Leaf, typename WeightBound>
  void Descend(const GeoBox& from, size_t first, size_t last, const Leaf& leaf, const WeightBound& weightBound,
               double& best, size_t& at) const {
    if (last - first < kLeafFixes) {
      for (size_t p = first; p <= last; ++p) {
        const double value = leaf(p);
        if (value > best) best = value, at = p;
      }
      return;
    }
    const size_t mid = first + (last - first) / 2;
    const double left = weightBound(first, mid) + RoundKm(track_.MaxDistance(from, track_.Box(first, mid)));
    const double right = weightBound(mid + 1, last) + RoundKm(track_.MaxDistance(from, track_.Box(mid + 1, last)));
    if (left >= right) {
      if (left > best) Descend(from, first, mid, leaf, weightBound, best, at);
      if (right > best) Descend(from, mid + 1, last, leaf, weightBound, best, at);
    } else {
      if (right > best) Descend(from, mid + 1, last, leaf, weightBound, best, at);
      if (left > best) Descend(from, first, mid, leaf, weightBound, best, at);
    }
  }

  // The farthest fix of first..last from `from`, rounded.
  double Farthest(size_t from, size_t first, size_t last, size_t& at) const {
    auto leaf = [&](size_t p) { return RoundKm(track_.Distance(from, p)); };
    auto noWeight = [](size_t, size_t) { return 0.0; };
    double best = -1.0;
    Descend(PointBox(track_.Fix(from)), first, last, leaf, noWeight, best, at);
    return best;
  }
  double StartLeg(size_t i) {
    if (startLeg_[i] == kUnknown) startLeg_[i] = Farthest(i, 0, i, startAt_[i]);
    return startLeg_[i];
  }
  double FinishLeg(size_t k) {
    if (finishLeg_[k] == kUnknown) finishLeg_[k] = Farthest(k, k, n_ - 1, finishAt_[k]);
    return finishLeg_[k];
  }

  // Per block of fixes, no start leg of a fix in it is longer than the
  // farthest corner of the block from a fix up to its end (and likewise for
  // finish legs).
  bool BoundEndLegs() {
    std::vector<double> starts(blocks_), finishes(blocks_);
    for (size_t b = 0; b < blocks_; ++b) {
      if (Halted()) return false;
      const GeoBox box = track_.Box(BlockFirst(b), BlockLast(b));
      auto leaf = [&](size_t p) { return RoundKm(track_.MaxDistance(box, PointBox(track_.Fix(p)))); };
      auto noWeight = [](size_t, size_t) { return 0.0; };
      size_t at = 0;
      starts[b] = -1.0;
      Descend(box, 0, BlockLast(b), leaf, noWeight, starts[b], at);
      finishes[b] = -1.0;
      Descend(box, BlockFirst(b), n_ - 1, leaf, noWeight, finishes[b], at);
    }
    startBound_.emplace(std::move(starts));
    finishBound_.emplace(std::move(finishes));
    return true;
  }
  double StartBound(size_t first, size_t last) const { return startBound_->Max(first / kLeafFixes, last / kLeafFixes); }
  double FinishBound(size_t first, size_t last) const { return finishBound_->Max(first / kLeafFixes, last / kLeafFixes); }

  // The best start and first turnpoint before the fixes of `from` (exact when
  // it is one fix, a bound for a block), and the best last turnpoint and finish
  // after them.
  double Before(const GeoBox& from, size_t last, bool exact, size_t j, size_t& at) {
    auto exactLeaf = [&](size_t i) { return StartLeg(i) + RoundKm(track_.Distance(i, j)); };
    auto boundLeaf = [&](size_t i) { return StartBound(i, i) + RoundKm(track_.MaxDistance(from, PointBox(track_.Fix(i)))); };
    auto weight = [&](size_t first, size_t lastOf) { return StartBound(first, lastOf); };
    double best = -1.0;
    if (exact) {
      Descend(from, 0, last, exactLeaf, weight, best, at);
    } else {
      Descend(from, 0, last, boundLeaf, weight, best, at);
    }
    return best;
  }
  double After(const GeoBox& from, size_t first, bool exact, size_t j, size_t& at) {
    auto exactLeaf = [&](size_t k) { return RoundKm(track_.Distance(j, k)) + FinishLeg(k); };
    auto boundLeaf = [&](size_t k) { return FinishBound(k, k) + RoundKm(track_.MaxDistance(from, PointBox(track_.Fix(k)))); };
    auto weight = [&](size_t firstOf, size_t last) { return FinishBound(firstOf, last); };
    double best = -1.0;
    if (exact) {
      Descend(from, first, n_ - 1, exactLeaf, weight, best, at);
    } else {
      Descend(from, first, n_ - 1, boundLeaf, weight, best, at);
    }
    return best;
  }

  const FccTrack& track_;
  size_t n_, blocks_;
  const std::atomic<bool>* halt_;
  std::vector<double> startLeg_, finishLeg_;
  std::vector<size_t> startAt_, finishAt_;
  std::optional<RangeMax> startBound_, finishBound_;
};

std::optional<FreeFlightPath> FreeFlightSearch::Run() {
  if (!BoundEndLegs()) return std::nullopt;
  // Blocks of middle turnpoints, most promising first.
  std::vector<double> blockBound(blocks_);
  for (size_t b = 0; b < blocks_; ++b) {
    if (Halted()) return std::nullopt;
    const size_t first = std::max<size_t>(BlockFirst(b), 1);
    const size_t last = std::min(BlockLast(b), n_ - 2);
    if (first > last) {
      blockBound[b] = -1.0;
      continue;
    }
    const GeoBox box = track_.Box(first, last);
    size_t at = 0;
    blockBound[b] = Before(box, last - 1, false, 0, at) + After(box, first + 1, false, 0, at);
  }
  std::vector<size_t> order(blocks_);
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return blockBound[a] > blockBound[b]; });

  FreeFlightPath best;
  best.distance = -1.0;
  for (size_t b : order) {
    if (blockBound[b] <= best.distance) break;
    if (Halted()) return std::nullopt;
    const size_t first = std::max<size_t>(BlockFirst(b), 1);
    const size_t last = std::min(BlockLast(b), n_ - 2);
    for (size_t j = first; j <= last; ++j) {
      const GeoBox point = PointBox(track_.Fix(j));
      size_t i = 0, k = 0;
      const double distance = Before(point, j - 1, true, j, i) + After(point, j + 1, true, j, k);
      if (distance > best.distance) best = {distance, {startAt_[i], i, j, k, finishAt_[k]}};
    }
  }
  best.distance = RoundKm(best.distance);
  return best;
}

}  // namespace

std::optional<FreeFlightPath> LongestFreeFlight(const FccTrack& track, const std::atomic<bool>* halt) {
  if (track.size() < 5) return std::nullopt;
  return FreeFlightSearch(track, halt).Run();
}

}  // namespace trelvik::contest
