#include "analysis/olc/olc_fine.hpp"

#include <array>

#include "geo/vincenty.hpp"

namespace trelvik::olc {
namespace {

constexpr int kReach = 2;                 // track points either way
constexpr int kChoices = 2 * kReach + 1;  // candidates per chosen point

// Ellipsoidal distances between the candidates of N chosen points, each
// computed once: the nested windows meet the same pairs many times.
template <int N>
class Window {
 public:
  Window(std::span<const TrackPoint> points, const std::array<int32_t, N>& centres)
      : points_(points), centres_(centres) {
    known_.fill(false);
  }

  int32_t Index(int slot, int choice) const { return centres_[slot] - kReach + choice; }
  bool Inside(int32_t index) const { return index >= 0 && index < static_cast<int32_t>(points_.size()); }

  double Distance(int from, int a, int to, int b) {
    const int cell = ((from * N + to) * kChoices + a) * kChoices + b;
    if (!known_[cell]) {
      metres_[cell] = Measure(points_, Index(from, a), Index(to, b));
      known_[cell] = true;
    }
    return metres_[cell];
  }

  static double Measure(std::span<const TrackPoint> points, int32_t from, int32_t to) {
    const TrackPoint& p = points[from];
    const TrackPoint& q = points[to];
    return DistanceOrZero(SemicircleToRadians(p.lat, p.lon), SemicircleToRadians(q.lat, q.lon));
  }

 private:
  std::span<const TrackPoint> points_;
  std::array<int32_t, N> centres_;
  std::array<double, N * N * kChoices * kChoices> metres_{};
  std::array<bool, N * N * kChoices * kChoices> known_{};
};

}  // namespace

OutAndReturn RefineOutAndReturn(std::span<const TrackPoint> points, const FlightSamples& samples,
                                const CoarseOutAndReturn& coarse) {
  if (!coarse.found) return {};
  const std::array<int32_t, 3> centres = {samples.trackIndex[coarse.start], samples.trackIndex[coarse.turnpoint],
                                          samples.trackIndex[coarse.end]};
  const int32_t last = static_cast<int32_t>(points.size()) - 1;
  Window<3> window(points, centres);
  double best = 0;
  std::array<int32_t, 3> chosen = centres;
  bool taken = false;
  for (int a = 0; a < kChoices; ++a) {
    const int32_t s = window.Index(0, a);
    if (s < 0 || s > last - 2) continue;
    for (int b = 0; b < kChoices; ++b) {
      const int32_t t = window.Index(1, b);
      if (t <= s || t > last - 1) continue;
      for (int c = 0; c < kChoices; ++c) {
        const int32_t e = window.Index(2, c);
        if (e <= t || e > last) continue;
        if (window.Distance(0, a, 2, c) > kOutAndReturnClosing) continue;
        const double score = window.Distance(0, a, 1, b) + window.Distance(1, b, 2, c);
        if (score >= best) best = score, chosen = {s, t, e}, taken = true;
      }
    }
  }
  if (!(taken && best > 0)) chosen = centres;
  OutAndReturn out{true, chosen[0], chosen[1], chosen[2]};
  out.outward = Window<3>::Measure(points, out.start, out.turnpoint);
  out.back = Window<3>::Measure(points, out.turnpoint, out.end);
  out.distance = out.outward + out.back;
  return out;
}

Triangle RefineTriangle(std::span<const TrackPoint> points, const FlightSamples& samples, const CoarseTriangle& coarse,
                        bool fai) {
  if (!coarse.found) return {};
  enum { kStart, kTp1, kTp2, kTp3, kEnd };
  const std::array<int32_t, 5> centres = {samples.trackIndex[coarse.start], samples.trackIndex[coarse.turnpoint1],
                                          samples.trackIndex[coarse.turnpoint2], samples.trackIndex[coarse.turnpoint3],
                                          samples.trackIndex[coarse.end]};
  Window<5> window(points, centres);
  double best = 0;
  bool taken = false;
  std::array<int32_t, 5> chosen = centres;
  std::array<int, 5> c{};
  // Turnpoint 1 may be the start and the end turnpoint 3; the turnpoints
  // themselves strictly follow each other.
  for (c[kStart] = 0; c[kStart] < kChoices; ++c[kStart]) {
    const int32_t s = window.Index(kStart, c[kStart]);
    if (!window.Inside(s)) continue;
    for (c[kTp1] = 0; c[kTp1] < kChoices; ++c[kTp1]) {
      const int32_t t1 = window.Index(kTp1, c[kTp1]);
      if (t1 < s || !window.Inside(t1)) continue;
      for (c[kTp2] = 0; c[kTp2] < kChoices; ++c[kTp2]) {
        const int32_t t2 = window.Index(kTp2, c[kTp2]);
        if (t2 <= t1 || !window.Inside(t2)) continue;
        for (c[kTp3] = 0; c[kTp3] < kChoices; ++c[kTp3]) {
          const int32_t t3 = window.Index(kTp3, c[kTp3]);
          if (t3 <= t2 || !window.Inside(t3)) continue;
          const double a = window.Distance(kTp1, c[kTp1], kTp2, c[kTp2]);
          const double b = window.Distance(kTp2, c[kTp2], kTp3, c[kTp3]);
          const double closing = window.Distance(kTp1, c[kTp1], kTp3, c[kTp3]);
          const double perimeter = a + b + closing;
          if (fai && (a < 0.28 * perimeter || b < 0.28 * perimeter || closing < 0.28 * perimeter)) continue;
          for (c[kEnd] = 0; c[kEnd] < kChoices; ++c[kEnd]) {
            const int32_t e = window.Index(kEnd, c[kEnd]);
            if (e < t3 || !window.Inside(e)) continue;
            const double gap = window.Distance(kStart, c[kStart], kEnd, c[kEnd]);
            if (!(gap <= 0.2 * perimeter)) continue;
            const double score = perimeter - gap;
            if (score >= best) best = score, chosen = {s, t1, t2, t3, e}, taken = true;
          }
        }
      }
    }
  }
  if (!taken) chosen = centres;
  Triangle out{true, chosen[kStart], chosen[kTp1], chosen[kTp2], chosen[kTp3], chosen[kEnd]};
  out.legs = {Window<5>::Measure(points, out.turnpoint1, out.turnpoint2),
              Window<5>::Measure(points, out.turnpoint2, out.turnpoint3),
              Window<5>::Measure(points, out.turnpoint3, out.turnpoint1)};
  out.gap = Window<5>::Measure(points, out.start, out.end);
  out.score = out.legs[0] + out.legs[1] + out.legs[2] - out.gap;
  return out;
}

}  // namespace trelvik::olc
