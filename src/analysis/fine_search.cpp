#include "analysis/fine_search.hpp"

#include <array>
#include <vector>

#include "geo/vincenty.hpp"

namespace trelvik {
namespace {

constexpr int kReach = 2;                 // track points either way
constexpr int kChoices = 2 * kReach + 1;  // candidates per chosen point

// Ellipsoidal distances between the candidates of the chosen points. The
// search scores up to 5^5 combinations but only meets a few dozen distinct
// pairs; each is computed once by the same routine, so the cached value is
// the value a direct call would give.
template <int N>
class CandidateTrack {
 public:
  CandidateTrack(std::span<const TrackPoint> points, const std::array<int32_t, N>& centres)
      : points_(points), centres_(centres) {
    for (auto& cell : known_) cell = false;
  }

  int32_t Index(int slot, int choice) const { return centres_[slot] - kReach + choice; }

  // Distance from the candidate `a` of slot `from` to candidate `b` of slot `to`.
  double Distance(int from, int a, int to, int b) {
    const int cell = ((from * N + to) * kChoices + a) * kChoices + b;
    if (!known_[cell]) {
      const TrackPoint& p = points_[Index(from, a)];
      const TrackPoint& q = points_[Index(to, b)];
      metres_[cell] = DistanceOrZero(SemicircleToRadians(p.lat, p.lon), SemicircleToRadians(q.lat, q.lon));
      known_[cell] = true;
    }
    return metres_[cell];
  }

  // Calls visit(choices) for every combination in nested order (slot 0
  // outermost): each index above the one before, the first at least 0, and
  // each leaving room for the points after it.
  template <typename Visit>
  void ForEachCombination(Visit&& visit) {
    std::array<int, N> choices{};
    Nest(0, choices, visit);
  }

 private:
  template <typename Visit>
  void Nest(int slot, std::array<int, N>& choices, Visit& visit) {
    const int32_t count = static_cast<int32_t>(points_.size());
    for (int choice = 0; choice < kChoices; ++choice) {
      const int32_t index = Index(slot, choice);
      if (index < 0) continue;
      if (slot > 0 && index <= Index(slot - 1, choices[slot - 1])) continue;
      if (index > count - 1 - (N - 1 - slot)) continue;
      choices[slot] = choice;
      if (slot + 1 == N) {
        visit(static_cast<const std::array<int, N>&>(choices));
      } else {
        Nest(slot + 1, choices, visit);
      }
    }
  }

  std::span<const TrackPoint> points_;
  std::array<int32_t, N> centres_;
  std::array<double, N * N * kChoices * kChoices> metres_{};
  std::array<bool, N * N * kChoices * kChoices> known_{};
};

double Measure(std::span<const TrackPoint> points, int32_t from, int32_t to) {
  const TrackPoint& p = points[from];
  const TrackPoint& q = points[to];
  return DistanceOrZero(SemicircleToRadians(p.lat, p.lon), SemicircleToRadians(q.lat, q.lon));
}

template <int N>
std::array<int32_t, N> TrackIndexes(const FlightSamples& samples, const CoarseCombination& coarse) {
  std::array<int32_t, N> indexes{};
  for (int s = 0; s < N; ++s) indexes[s] = samples.trackIndex[coarse.samples[s]];
  return indexes;
}

template <int N>
void RefineOpen(std::span<const TrackPoint> points, const FlightSamples& samples, const CoarseCombination& coarse,
                OpenDistanceResult<N>& out) {
  if (!coarse.found) return;
  CandidateTrack<N> track(points, TrackIndexes<N>(samples, coarse));
  double best = 0;
  std::array<int32_t, N> chosen = TrackIndexes<N>(samples, coarse);
  track.ForEachCombination([&](const std::array<int, N>& c) {
    double sum = 0;
    for (int s = 0; s + 1 < N; ++s) sum += track.Distance(s, c[s], s + 1, c[s + 1]);
    if (sum >= best) {
      best = sum;
      for (int s = 0; s < N; ++s) chosen[s] = track.Index(s, c[s]);
    }
  });
  out.index = chosen;
  out.total = 0;
  for (int s = 0; s + 1 < N; ++s) {
    out.legs[s] = Measure(points, chosen[s], chosen[s + 1]);
    out.total += out.legs[s];
  }
}

void RefineOutAndReturn(std::span<const TrackPoint> points, const FlightSamples& samples,
                        const CoarseCombination& coarse, int32_t loopFlightGap, OutAndReturnResult& out) {
  if (!coarse.found) return;
  enum { kStart, kTurn, kEnd };
  std::array<int32_t, 3> chosen = TrackIndexes<3>(samples, coarse);
  CandidateTrack<3> track(points, chosen);
  double best = 0;
  bool found = false;
  std::array<int32_t, 3> fine{};
  track.ForEachCombination([&](const std::array<int, 3>& c) {
    const double closing = track.Distance(kStart, c[kStart], kEnd, c[kEnd]);
    if (!(loopFlightGap >= closing)) return;
    const double score = 2 * track.Distance(kStart, c[kStart], kTurn, c[kTurn]) - closing;
    if (score >= best) {
      best = score;
      found = true;
      for (int s = 0; s < 3; ++s) fine[s] = track.Index(s, c[s]);
    }
  });
  if (found && best > 0) chosen = fine;
  out.start = chosen[kStart];
  out.turnpoint = chosen[kTurn];
  out.end = chosen[kEnd];
  out.outwardLeg = Measure(points, out.start, out.turnpoint);
  out.gap = Measure(points, out.start, out.end);
  out.distance = 2 * out.outwardLeg - out.gap;
}

void RefineTriangle(std::span<const TrackPoint> points, const FlightSamples& samples, const CoarseCombination& coarse,
                    int32_t loopFlightGap, bool fai, TriangleResult& out) {
  if (!coarse.found) return;
  enum { kStart, kTp1, kTp2, kTp3, kEnd };
  std::array<int32_t, 5> chosen = TrackIndexes<5>(samples, coarse);
  CandidateTrack<5> track(points, chosen);
  double best = 0;
  bool found = false;
  std::array<int32_t, 5> fine{};
  track.ForEachCombination([&](const std::array<int, 5>& c) {
    const double closing = track.Distance(kStart, c[kStart], kEnd, c[kEnd]);
    if (!(loopFlightGap > closing)) return;
    const double leg13 = track.Distance(kTp1, c[kTp1], kTp3, c[kTp3]);
    const double leg12 = track.Distance(kTp1, c[kTp1], kTp2, c[kTp2]);
    const double leg23 = track.Distance(kTp2, c[kTp2], kTp3, c[kTp3]);
    const double perimeter = leg13 + leg12 + leg23;
    if (fai) {
      const double leastLeg = 0.28 * perimeter;
      if (leg13 < leastLeg || leg12 < leastLeg || leg23 < leastLeg) return;
    }
    const double score = perimeter - closing;
    if (score >= best) {
      best = score;
      found = true;
      for (int s = 0; s < 5; ++s) fine[s] = track.Index(s, c[s]);
    }
  });
  if (found && best > 0) chosen = fine;
  out.start = chosen[kStart];
  out.turnpoint1 = chosen[kTp1];
  out.turnpoint2 = chosen[kTp2];
  out.turnpoint3 = chosen[kTp3];
  out.end = chosen[kEnd];
  out.legs[0] = Measure(points, out.turnpoint1, out.turnpoint2);
  out.legs[1] = Measure(points, out.turnpoint2, out.turnpoint3);
  out.legs[2] = Measure(points, out.turnpoint3, out.turnpoint1);
  out.gap = Measure(points, out.start, out.end);
  out.distance = out.legs[0] + out.legs[1] + out.legs[2] - out.gap;
}

}  // namespace

void RefineOnTrack(std::span<const TrackPoint> points, const FlightSamples& samples, const CoarseResult& coarse,
                   int32_t loopFlightGap, OptimisationResult& result) {
  RefineOpen<2>(points, samples, coarse.twoPoints, result.twoPoints);
  RefineOpen<3>(points, samples, coarse.threePoints, result.threePoints);
  RefineOpen<4>(points, samples, coarse.fourPoints, result.fourPoints);
  RefineOpen<5>(points, samples, coarse.fivePoints, result.fivePoints);
  RefineOutAndReturn(points, samples, coarse.outAndReturn, loopFlightGap, result.outAndReturn);
  RefineTriangle(points, samples, coarse.flatTriangle, loopFlightGap, false, result.flatTriangle);
  RefineTriangle(points, samples, coarse.faiTriangle, loopFlightGap, true, result.faiTriangle);
}

}  // namespace trelvik
