#include "analysis/contest/contest_scorer.hpp"

#include "analysis/contest/free_flight.hpp"

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
// The halt flag is read once per this many branches.
constexpr size_t kHaltPoll = 32;

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
  }

  ContestScore Solve();

 private:
  bool Halted() {
    if (halt_ && halt_->load(std::memory_order_relaxed)) halted_ = true;
    return halted_;
  }

  GeoBox BlockBox(size_t b) const { return track_.Box(b * blockSize_, std::min(n_, (b + 1) * blockSize_) - 1); }

  // closingFloor_[u * blocks + v], u <= v: no fix up to block u lies closer than
  // this to a fix from block v on.
  void BuildClosingTable() {
    std::vector<GeoBox> boxes(blocks_);
    for (size_t b = 0; b < blocks_; ++b) boxes[b] = BlockBox(b);
    closingFloor_.assign(blocks_ * blocks_, 0.0);
    for (size_t u = 0; u < blocks_; ++u) {
      if (Halted()) return;
      for (size_t v = blocks_; v-- > u;) {
        double floor = track_.MinDistance(boxes[u], boxes[v]);
        if (u > 0) floor = std::min(floor, closingFloor_[(u - 1) * blocks_ + v]);
        if (v + 1 < blocks_) floor = std::min(floor, closingFloor_[u * blocks_ + v + 1]);
        closingFloor_[u * blocks_ + v] = floor;
      }
    }
  }
  double ClosingFloor(size_t in, size_t out) const { return closingFloor_[(in / blockSize_) * blocks_ + out / blockSize_]; }

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

  // The exact score of a triangle i < j < k, or 0 when the flight type does not
  // hold or cannot beat `toBeat`. Fills `out` when it scores.
  double Score(size_t typeIndex, size_t i, size_t j, size_t k, double toBeat, ContestScore& out) {
    const FlightType& type = types_[typeIndex];
    const double leg1 = RoundKm(track_.Distance(i, j));
    const double leg2 = RoundKm(track_.Distance(j, k));
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
  bool halted_ = false;
  size_t blockSize_ = 1, blocks_ = 0;
  std::vector<double> closingFloor_;
  struct KnownClosing {
    Closing closing;
    double ceiling;
  };
  std::unordered_map<uint64_t, KnownClosing> closings_;
};

ContestScore Solver::Solve() {
  ContestScore best;
  // Halted while preparing: nothing is known about the best score.
  auto unknown = [&best] {
    best.upperBound = std::numeric_limits<double>::infinity();
    return best;
  };
  if (halted_) return unknown();
  // The free flight is found directly; its score then prunes the triangles.
  for (const FlightType& type : types_) {
    if (type.shape != FlightShape::FreeFlight) continue;
    const std::optional<FreeFlightPath> path = LongestFreeFlight(track_, halt_);
    if (!path) {
      halted_ = true;
      return unknown();
    }
    best.type = &type;
    best.distance = path->distance;
    best.score = RoundKm(path->distance * type.multiplier);
    best.start = path->fixes[0];
    best.turnpoints = {path->fixes[1], path->fixes[2], path->fixes[3]};
    best.finish = path->fixes[4];
  }
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
  for (uint32_t type = 0; type < types_.size(); ++type) {
    if (types_[type].shape == FlightShape::Triangle) consider(type, {Range{0, last}, Range{0, last}, Range{0, last}});
  }

  size_t nodes = 0;
  while (!queue.empty()) {
    if (queue.front().bound <= best.score) break;
    if (nodes++ % kHaltPoll == 0 && Halted()) break;
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
  best.optimal = !halted_;
  best.upperBound = halted_ ? std::max(best.score, queue.front().bound) : best.score;
  return best;
}

}  // namespace

ContestScore ScoreContestFlight(std::span<const GeoFix> fixes, ContestRules rules, const std::atomic<bool>* halt) {
  if (fixes.size() < kLeastContestFixes) return {};
  return Solver(fixes, rules, halt).Solve();
}

}  // namespace trelvik::contest
