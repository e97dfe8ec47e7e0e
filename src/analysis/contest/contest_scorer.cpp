#include "analysis/contest/contest_scorer.hpp"

#include <algorithm>
#include <bit>
#include <optional>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

namespace trelvik::contest {
namespace {

// Rounding a leg to 0.01 km moves it by at most half of that.
constexpr double kHalfCent = 0.005;
// Ranges this short are searched fix by fix.
constexpr size_t kLeafFixes = 16;
// The closing table works on blocks of fixes; at most this many of them.
constexpr size_t kMostBlocks = 512;
// Ranges up to this many fixes bound a free flight's ends fix by fix.
constexpr uint32_t kExactEnds = 8;
// The halt flag is read once per this many branches.
constexpr size_t kHaltPoll = 256;

struct Range {
  uint32_t lo, hi;
  uint32_t Count() const { return hi - lo + 1; }
  uint32_t Centre() const { return lo + (hi - lo) / 2; }
};

struct Node {
  std::array<Range, 3> ranges;
  double bound;
  uint32_t type;
  bool operator<(const Node& other) const { return bound < other.bound; }
};

// The branch only keeps turnpoint orders that can be strictly increasing.
bool Normalise(std::array<Range, 3>& r) {
  r[1].lo = std::max(r[1].lo, r[0].lo + 1);
  r[2].lo = std::max(r[2].lo, r[1].lo + 1);
  if (r[1].hi + 1 > r[2].hi) r[1].hi = r[2].hi - 1;
  if (r[0].hi + 1 > r[1].hi) r[0].hi = r[1].hi - 1;
  for (const Range& range : r) {
    if (range.lo > range.hi || range.hi > (1u << 31)) return false;
  }
  return true;
}

// The greatest of `values` over index ranges, in constant time.
class RangeMax {
 public:
  explicit RangeMax(std::vector<double> values) {
    levels_.push_back(std::move(values));
    const size_t n = levels_[0].size();
    for (size_t width = 2; width <= n; width *= 2) {
      const std::vector<double>& below = levels_.back();
      std::vector<double> level(n - width + 1);
      for (size_t i = 0; i < level.size(); ++i) level[i] = std::max(below[i], below[i + width / 2]);
      levels_.push_back(std::move(level));
    }
  }
  double Max(size_t first, size_t last) const {
    const size_t level = std::bit_width(last - first + 1) - 1;
    return std::max(levels_[level][first], levels_[level][last + 1 - (size_t{1} << level)]);
  }

 private:
  std::vector<std::vector<double>> levels_;
};

struct Closing {
  double distance;  // km, unrounded; infinity when none below the ceiling asked for
  size_t in, out;
};

class Solver {
 public:
  Solver(std::span<const GeoFix> fixes, ContestRules rules, const std::atomic<bool>* halt)
      : track_(fixes), n_(fixes.size()), types_(FlightTypes(rules)), halt_(halt) {
    blockSize_ = std::max<size_t>(kLeafFixes / 2, (n_ + kMostBlocks - 1) / kMostBlocks);
    blocks_ = (n_ + blockSize_ - 1) / blockSize_;
    BuildClosingTable();
    BuildEndBounds();
    startOf_.assign(n_, kUnknown);
    finishOf_.assign(n_, kUnknown);
  }

  ContestScore Solve();

 private:
  static constexpr size_t kUnknown = std::numeric_limits<size_t>::max();

  GeoBox BlockBox(size_t b) const { return track_.Box(b * blockSize_, std::min(n_, (b + 1) * blockSize_) - 1); }

  // closingFloor_[u * blocks + v], u <= v: no fix up to block u lies closer than
  // this to a fix from block v on.
  void BuildClosingTable() {
    std::vector<GeoBox> boxes(blocks_);
    for (size_t b = 0; b < blocks_; ++b) boxes[b] = BlockBox(b);
    closingFloor_.assign(blocks_ * blocks_, 0.0);
    for (size_t u = 0; u < blocks_; ++u) {
      for (size_t v = blocks_; v-- > u;) {
        double floor = track_.MinDistance(boxes[u], boxes[v]);
        if (u > 0) floor = std::min(floor, closingFloor_[(u - 1) * blocks_ + v]);
        if (v + 1 < blocks_) floor = std::min(floor, closingFloor_[u * blocks_ + v + 1]);
        closingFloor_[u * blocks_ + v] = floor;
      }
    }
  }
  double ClosingFloor(size_t in, size_t out) const { return closingFloor_[(in / blockSize_) * blocks_ + out / blockSize_]; }

  // The farthest fix of first..last from `from`, as far as it beats `best`.
  // `Leaf(p)` is the distance counted for fix p.
  template <typename Leaf>
  void Farthest(const GeoBox& from, size_t first, size_t last, const Leaf& leaf, double& best, size_t& at) const {
    if (last - first < kLeafFixes) {
      for (size_t p = first; p <= last; ++p) {
        const double d = leaf(p);
        if (d > best) best = d, at = p;
      }
      return;
    }
    const size_t mid = first + (last - first) / 2;
    const double left = track_.MaxDistance(from, track_.Box(first, mid));
    const double right = track_.MaxDistance(from, track_.Box(mid + 1, last));
    if (left >= right) {
      if (left > best) Farthest(from, first, mid, leaf, best, at);
      if (right > best) Farthest(from, mid + 1, last, leaf, best, at);
    } else {
      if (right > best) Farthest(from, mid + 1, last, leaf, best, at);
      if (left > best) Farthest(from, first, mid, leaf, best, at);
    }
  }

  // Per block, the farthest a free flight's start can lie before a turnpoint in
  // it, and its finish after one.
  void BuildEndBounds() {
    std::vector<double> before(blocks_), after(blocks_);
    for (size_t b = 0; b < blocks_; ++b) {
      const GeoBox box = BlockBox(b);
      const size_t first = b * blockSize_;
      const size_t last = std::min(n_, first + blockSize_) - 1;
      auto toBox = [&](size_t p) { return track_.MaxDistance(PointBox(track_.Fix(p)), box); };
      size_t at = 0;
      before[b] = 0.0;
      Farthest(box, 0, last, toBox, before[b], at);
      after[b] = 0.0;
      Farthest(box, first, n_ - 1, toBox, after[b], at);
    }
    startReach_.emplace(std::move(before));
    finishReach_.emplace(std::move(after));
  }

  // The free flight's start for a first turnpoint at fix i: the farthest fix
  // before it.
  size_t StartOf(size_t i) {
    if (startOf_[i] == kUnknown) {
      double best = 0.0;
      size_t at = i;
      auto toFix = [&](size_t p) { return track_.Distance(p, i); };
      Farthest(PointBox(track_.Fix(i)), 0, i, toFix, best, at);
      startOf_[i] = at;
    }
    return startOf_[i];
  }
  size_t FinishOf(size_t k) {
    if (finishOf_[k] == kUnknown) {
      double best = 0.0;
      size_t at = k;
      auto toFix = [&](size_t p) { return track_.Distance(k, p); };
      Farthest(PointBox(track_.Fix(k)), k, n_ - 1, toFix, best, at);
      finishOf_[k] = at;
    }
    return finishOf_[k];
  }

  // The farthest a start can lie before a turnpoint in `range`, and a finish
  // after one: exact for short ranges, where the blocks' bound is too coarse.
  double StartReach(Range range) {
    if (range.Count() > kExactEnds) return startReach_->Max(range.lo / blockSize_, range.hi / blockSize_);
    double reach = 0.0;
    for (size_t i = range.lo; i <= range.hi; ++i) reach = std::max(reach, track_.Distance(StartOf(i), i));
    return reach;
  }
  double FinishReach(Range range) {
    if (range.Count() > kExactEnds) return finishReach_->Max(range.lo / blockSize_, range.hi / blockSize_);
    double reach = 0.0;
    for (size_t k = range.lo; k <= range.hi; ++k) reach = std::max(reach, track_.Distance(k, FinishOf(k)));
    return reach;
  }

  // The closest pair of fixes, one up to fix `in`, one from fix `out` on, as
  // far as it is closer than `ceiling`.
  Closing ClosestPair(size_t in, size_t out, double ceiling) {
    const uint64_t key = (uint64_t{in} << 32) | out;
    if (auto it = closings_.find(key); it != closings_.end()) {
      // A pair found before stands; a search that found none stands for ceilings
      // no higher than the one it had.
      if (it->second.closing.distance < ceiling || it->second.ceiling >= ceiling) return it->second.closing;
    }
    Closing found{std::numeric_limits<double>::infinity(), in, out};
    double best = ceiling;
    Closest(0, in, out, n_ - 1, best, found);
    closings_[key] = {found, ceiling};
    return found;
  }

  void Closest(size_t firstIn, size_t lastIn, size_t firstOut, size_t lastOut, double& best, Closing& found) const {
    // Below half a hundredth the rounded closing is 0 and nothing can beat it.
    if (best < kHalfCent) return;
    if ((lastIn - firstIn + 1) * (lastOut - firstOut + 1) <= kLeafFixes * 4) {
      for (size_t a = firstIn; a <= lastIn; ++a) {
        for (size_t b = firstOut; b <= lastOut; ++b) {
          const double d = track_.Distance(a, b);
          if (d < best) best = d, found = {d, a, b};
        }
      }
      return;
    }
    struct Part {
      size_t firstIn, lastIn, firstOut, lastOut;
      double floor;
    };
    std::array<Part, 2> parts;
    if (lastIn - firstIn >= lastOut - firstOut) {
      const size_t mid = firstIn + (lastIn - firstIn) / 2;
      parts = {Part{firstIn, mid, firstOut, lastOut, 0.0}, Part{mid + 1, lastIn, firstOut, lastOut, 0.0}};
    } else {
      const size_t mid = firstOut + (lastOut - firstOut) / 2;
      parts = {Part{firstIn, lastIn, firstOut, mid, 0.0}, Part{firstIn, lastIn, mid + 1, lastOut, 0.0}};
    }
    for (Part& part : parts) {
      part.floor = track_.MinDistance(track_.Box(part.firstIn, part.lastIn), track_.Box(part.firstOut, part.lastOut));
    }
    if (parts[1].floor < parts[0].floor) std::swap(parts[0], parts[1]);
    for (const Part& part : parts) {
      if (part.floor < best) Closest(part.firstIn, part.lastIn, part.firstOut, part.lastOut, best, found);
    }
  }

  // Rounding to 0.01 km never decreases a value, so rounded bounds of the legs
  // bound the rounded legs, and a bound equal to the best score found prunes.
  double Bound(const FlightType& type, const std::array<Range, 3>& r, double toBeat) {
    const GeoBox b0 = track_.Box(r[0].lo, r[0].hi);
    const GeoBox b1 = track_.Box(r[1].lo, r[1].hi);
    const GeoBox b2 = track_.Box(r[2].lo, r[2].hi);
    const double u01 = RoundKm(track_.MaxDistance(b0, b1));
    const double u12 = RoundKm(track_.MaxDistance(b1, b2));
    if (type.shape == FlightShape::FreeFlight) {
      const double start = RoundKm(StartReach(r[0]));
      const double finish = RoundKm(FinishReach(r[2]));
      return RoundKm(RoundKm(start + u01 + u12 + finish) * type.multiplier);
    }
    const double u20 = RoundKm(track_.MaxDistance(b2, b0));
    double perimeter = RoundKm(u01 + u12 + u20);
    if (type.minLegShare > 0.0) {
      // Every leg must reach its share of a perimeter no shorter than the
      // shortest the boxes allow.
      const double shortestLeg = std::min({u01, u12, u20});
      const double least = RoundKm(RoundKm(track_.MinDistance(b0, b1)) + RoundKm(track_.MinDistance(b1, b2)) + RoundKm(track_.MinDistance(b2, b0)));
      if (shortestLeg < type.minLegShare * least) return 0.0;
      perimeter = std::min(perimeter, shortestLeg / type.minLegShare);
    }
    if (r[0].hi >= r[2].lo) return RoundKm(perimeter * type.multiplier);
    // The closing can be no shorter than between the last fix of the first
    // range and the first of the last; the coarse floor first, the exact
    // distance only where the floor does not settle the branch.
    const double limit = ClosingLimit(type, perimeter);
    auto boundWith = [&](double closing) {
      if (closing > limit) return 0.0;
      return RoundKm((perimeter - (closing > type.closingFree ? closing : 0.0)) * type.multiplier);
    };
    const double coarse = boundWith(RoundKm(ClosingFloor(r[0].hi, r[2].lo)));
    if (coarse <= toBeat) return coarse;
    return boundWith(RoundKm(ClosestPair(r[0].hi, r[2].lo, limit + kHalfCent).distance));
  }

  static double ClosingLimit(const FlightType& type, double perimeter) {
    return RoundKm(std::max(type.closingFixed, perimeter * type.closingRelative));
  }

  // The exact score of turnpoints i < j < k, or 0 when the flight type does not
  // hold or cannot beat `toBeat`. Fills `out` when it scores.
  double Score(size_t typeIndex, size_t i, size_t j, size_t k, double toBeat, ContestScore& out) {
    const FlightType& type = types_[typeIndex];
    const double leg1 = RoundKm(track_.Distance(i, j));
    const double leg2 = RoundKm(track_.Distance(j, k));
    if (type.shape == FlightShape::FreeFlight) {
      const size_t start = StartOf(i);
      const size_t finish = FinishOf(k);
      const double distance =
          RoundKm(RoundKm(track_.Distance(start, i)) + leg1 + leg2 + RoundKm(track_.Distance(k, finish)));
      const double score = RoundKm(distance * type.multiplier);
      if (score <= toBeat) return 0.0;
      out = ContestScore{};
      out.type = &type, out.distance = distance, out.score = score, out.turnpoints = {i, j, k};
      out.start = start, out.finish = finish;
      return score;
    }
    const double leg3 = RoundKm(track_.Distance(k, i));
    const double perimeter = RoundKm(leg1 + leg2 + leg3);
    if (type.minLegShare > 0.0) {
      const double least = type.minLegShare * perimeter;
      if (leg1 < least || leg2 < least || leg3 < least) return 0.0;
    }
    if (RoundKm(perimeter * type.multiplier) <= toBeat) return 0.0;
    const double limit = ClosingLimit(type, perimeter);
    const Closing closing = ClosestPair(i, k, limit + kHalfCent);
    const double gap = RoundKm(closing.distance);
    if (!(gap <= limit)) return 0.0;
    const double penalty = gap > type.closingFree ? gap : 0.0;
    const double score = RoundKm((perimeter - penalty) * type.multiplier);
    if (score <= toBeat) return 0.0;
    out = ContestScore{};
    out.type = &type, out.distance = perimeter, out.score = score, out.turnpoints = {i, j, k};
    out.closingIn = closing.in, out.closingOut = closing.out, out.closing = gap;
    return score;
  }

  FccTrack track_;
  size_t n_;
  std::span<const FlightType> types_;
  const std::atomic<bool>* halt_;
  size_t blockSize_ = 1, blocks_ = 0;
  std::vector<double> closingFloor_;
  std::optional<RangeMax> startReach_, finishReach_;
  std::vector<size_t> startOf_, finishOf_;
  struct KnownClosing {
    Closing closing;
    double ceiling;
  };
  std::unordered_map<uint64_t, KnownClosing> closings_;
};

ContestScore Solver::Solve() {
  ContestScore best;
  std::vector<Node> queue;
  const uint32_t last = static_cast<uint32_t>(n_ - 1);
  auto consider = [&](uint32_t type, std::array<Range, 3> ranges) {
    if (!Normalise(ranges)) return;
    const double bound = Bound(types_[type], ranges, best.score);
    if (bound <= best.score) return;
    const bool leaf = ranges[0].Count() == 1 && ranges[1].Count() == 1 && ranges[2].Count() == 1;
    ContestScore candidate;
    const uint32_t i = ranges[0].Centre(), j = ranges[1].Centre(), k = ranges[2].Centre();
    if (i < j && j < k && Score(type, i, j, k, best.score, candidate) > 0.0) {
      best = candidate;
    }
    if (!leaf) {
      queue.push_back({ranges, bound, type});
      std::push_heap(queue.begin(), queue.end());
    }
  };
  for (uint32_t type = 0; type < types_.size(); ++type) consider(type, {Range{0, last}, Range{0, last}, Range{0, last}});

  size_t nodes = 0;
  bool halted = false;
  while (!queue.empty()) {
    if (queue.front().bound <= best.score) break;
    if (nodes++ % kHaltPoll == 0 && halt_ && halt_->load(std::memory_order_relaxed)) {
      halted = true;
      break;
    }
    std::pop_heap(queue.begin(), queue.end());
    const Node node = queue.back();
    queue.pop_back();
    // Split the range holding the most fixes.
    size_t split = 0;
    for (size_t r = 1; r < 3; ++r) {
      if (node.ranges[r].Count() > node.ranges[split].Count()) split = r;
    }
    const Range whole = node.ranges[split];
    const uint32_t mid = whole.Centre();
    for (const Range part : {Range{whole.lo, mid}, Range{mid + 1, whole.hi}}) {
      std::array<Range, 3> ranges = node.ranges;
      ranges[split] = part;
      consider(node.type, ranges);
    }
  }
  best.nodes = nodes;
  best.optimal = !halted;
  best.upperBound = halted ? std::max(best.score, queue.front().bound) : best.score;
  return best;
}

}  // namespace

ContestScore ScoreContestFlight(std::span<const GeoFix> fixes, ContestRules rules, const std::atomic<bool>* halt) {
  if (fixes.size() < kLeastContestFixes) return {};
  return Solver(fixes, rules, halt).Solve();
}

}  // namespace trelvik::contest
