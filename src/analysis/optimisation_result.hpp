#pragma once
// The eight distance-scoring results of one optimisation run. All indexes are
// 0-based into the optimised points; all distances are metres on the ellipsoid.
#include <array>
#include <cstdint>

namespace trelvik {

// Open distance over N points in time order (N = 2..5): N - 1 legs and their sum.
template <int N>
struct OpenDistanceResult {
  std::array<int32_t, N> index{};
  std::array<double, N - 1> legs{};
  double total = 0;
  bool operator==(const OpenDistanceResult&) const = default;
};

struct OutAndReturnResult {
  int32_t start = 0;
  int32_t turnpoint = 0;
  int32_t end = 0;
  double outwardLeg = 0;  // start - turnpoint
  double gap = 0;         // start - end
  double distance = 0;    // 2 x outward leg - gap
  bool operator==(const OutAndReturnResult&) const = default;
};

struct TriangleResult {
  int32_t start = 0;
  int32_t turnpoint1 = 0;
  int32_t turnpoint2 = 0;
  int32_t turnpoint3 = 0;
  int32_t end = 0;
  std::array<double, 3> legs{};  // tp1 - tp2, tp2 - tp3, tp3 - tp1
  double gap = 0;                // start - end
  double distance = 0;           // legs - gap
  bool operator==(const TriangleResult&) const = default;
};

struct OptimisationResult {
  int32_t optimised = 0;  // 1 once a run has completed
  OpenDistanceResult<2> twoPoints;
  OpenDistanceResult<3> threePoints;
  OpenDistanceResult<4> fourPoints;
  OpenDistanceResult<5> fivePoints;
  OutAndReturnResult outAndReturn;
  TriangleResult flatTriangle;
  TriangleResult faiTriangle;
  bool operator==(const OptimisationResult&) const = default;
};

}  // namespace trelvik
