#pragma once
// What the OLC scoring of one flight finds. Indexes are 0-based into the
// scored points, distances metres on the ellipsoid.
#include <array>
#include <cstdint>

#include "analysis/optimisation_result.hpp"

namespace trelvik::olc {

struct OutAndReturn {
  bool found = false;
  int32_t start = 0, turnpoint = 0, end = 0;
  double outward = 0, back = 0;  // start - turnpoint, turnpoint - end
  double distance = 0;           // their sum
  bool operator==(const OutAndReturn&) const = default;
};

struct Triangle {
  bool found = false;
  int32_t start = 0, turnpoint1 = 0, turnpoint2 = 0, turnpoint3 = 0, end = 0;
  std::array<double, 3> legs{};  // tp1 - tp2, tp2 - tp3, tp3 - tp1
  double gap = 0;                // start - end: the "Check:" distance
  double score = 0;              // legs - gap
  bool operator==(const Triangle&) const = default;
};

enum class BestKind { FreeDistance, FreeTriangle, FaiTriangle };

struct OlcResult {
  OpenDistanceResult<2> twoPoints;   // shown, not scored
  OpenDistanceResult<5> fivePoints;  // the free distance
  OutAndReturn outAndReturn;         // shown, not scored
  Triangle freeTriangle, faiTriangle;
  double freeDistancePoints = 0, freeTrianglePoints = 0, faiTrianglePoints = 0;
  BestKind best = BestKind::FaiTriangle;
  double bestPoints = 0;
  std::array<int32_t, 5> w{};  // the best result's start, turnpoints 1..3, end
  bool operator==(const OlcResult&) const = default;
};

// Points per metre of each result.
inline constexpr double kFreeDistanceFactor = 0.0015;
inline constexpr double kFreeTriangleFactor = 0.00175;
inline constexpr double kFaiTriangleFactor = 0.002;

// Fills the points, the best result and w0..w4 from the distances found.
void ChooseBest(OlcResult& result);

}  // namespace trelvik::olc
