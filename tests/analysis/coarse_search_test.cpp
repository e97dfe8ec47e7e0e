// The fast coarse engine against the reference loops, and the reference loops
// against hand-worked cases of the method's tie rules.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/coarse_search.hpp"
#include "analysis/generated_tracks.hpp"

namespace trelvik {
namespace {

FlightSamples PlaneSamples(std::vector<std::pair<double, double>> xy) {
  FlightSamples samples;
  for (size_t i = 0; i < xy.size(); ++i) {
    samples.x.push_back(xy[i].first);
    samples.y.push_back(xy[i].second);
    samples.trackIndex.push_back(static_cast<int32_t>(i));
  }
  return samples;
}

CoarseResult Search(bool fast, const FlightSamples& samples, const CoarseOptions& options) {
  CoarseResult result;
  const int code = fast ? CoarseSearchFast(samples, options, {}, result) : CoarseSearchPlain(samples, options, {}, result);
  EXPECT_EQ(code, 0);
  return result;
}

void ExpectSameAsReference(const FlightSamples& samples, const CoarseOptions& options) {
  EXPECT_EQ(Search(true, samples, options), Search(false, samples, options)) << "n = " << samples.Count();
}

CoarseCombination Points(std::initializer_list<int32_t> samples) {
  CoarseCombination c{true, {}};
  std::copy(samples.begin(), samples.end(), c.samples.begin());
  return c;
}

class BothEngines : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Engines, BothEngines, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Fast" : "Plain"; });

TEST_P(BothEngines, LaterOfEqualCandidatesWins) {
  // 0, 10, 0, 10 on a line: every sample's farthest later point is 10 m away,
  // so the last start (2) wins the 2-point search; its own farthest point is
  // the first of equals.
  const FlightSamples samples = PlaneSamples({{0, 0}, {10, 0}, {0, 0}, {10, 0}});
  const CoarseResult r = Search(GetParam(), samples, {});
  EXPECT_EQ(r.twoPoints, Points({2, 3}));
  EXPECT_EQ(r.threePoints, Points({1, 2, 3}));
}

TEST_P(BothEngines, SameTriangleFlownTwiceScoresTheLaterOne) {
  const std::vector<std::pair<double, double>> corners = {{0, 0}, {3000, 0}, {1500, 2600}};
  std::vector<std::pair<double, double>> xy;
  for (int lap = 0; lap < 2; ++lap) xy.insert(xy.end(), corners.begin(), corners.end());
  xy.push_back({0, 0});
  const CoarseResult r = Search(GetParam(), PlaneSamples(xy), {});
  // Corners 4, 5, 6 (B, C, A of the second lap) come last in loop order among
  // the equal triangles. Of the zero closing gaps (A at 0, 3 and 6 to A at 6)
  // the gap table keeps D(3, 6): the row's own cell comes before the row above.
  EXPECT_EQ(r.flatTriangle, Points({3, 4, 5, 6, 6}));
}

struct TriangleShape {
  const char* name;
  double shortestLeg;  // metres; the other two legs share the rest of 100 km
  bool fai;
};

class TriangleRule : public ::testing::TestWithParam<std::tuple<bool, TriangleShape>> {};

TEST_P(TriangleRule, ShortestLegDecidesFai) {
  const auto& [fast, shape] = GetParam();
  const double side = (100000 - shape.shortestLeg) / 2;
  const double half = shape.shortestLeg / 2;
  // Start on the short leg's first corner, fly round, land back on it.
  const FlightSamples samples =
      PlaneSamples({{0, 0}, {half, std::sqrt(side * side - half * half)}, {shape.shortestLeg, 0}, {0, 0}});
  const CoarseResult r = Search(fast, samples, {});
  EXPECT_TRUE(r.flatTriangle.found);
  EXPECT_EQ(r.faiTriangle.found, shape.fai);
}

INSTANTIATE_TEST_SUITE_P(Shapes, TriangleRule,
                         ::testing::Combine(::testing::Bool(),
                                            ::testing::Values(TriangleShape{"Shortest27Percent", 27000, false},
                                                              TriangleShape{"Shortest28Percent", 28000, true})),
                         [](const auto& info) {
                           return std::string(std::get<1>(info.param).name) +
                                  (std::get<0>(info.param) ? "Fast" : "Plain");
                         });

TEST_P(BothEngines, OutAndReturnNeedsTheEndWithinTheGap) {
  const FlightSamples samples = PlaneSamples({{0, 0}, {10000, 0}, {1000, 0}});
  EXPECT_FALSE(Search(GetParam(), samples, {}).outAndReturn.found);
  const CoarseResult wider = Search(GetParam(), samples, {.loopFlightGap = 1200});
  EXPECT_EQ(wider.outAndReturn, Points({0, 1, 2}));
}

TEST_P(BothEngines, GapZeroOrSwitchedOffSkipsLoopSearches) {
  const FlightSamples samples = testing::GridSamples(60, 5, 100, 7);
  for (const CoarseOptions& options : {CoarseOptions{.loopFlightGap = 0}, CoarseOptions{.loopSearches = false}}) {
    const CoarseResult r = Search(GetParam(), samples, options);
    EXPECT_TRUE(r.fivePoints.found);
    EXPECT_FALSE(r.outAndReturn.found);
    EXPECT_FALSE(r.flatTriangle.found);
    EXPECT_FALSE(r.faiTriangle.found);
  }
}

TEST_P(BothEngines, EveryPhaseIsAnnouncedInOrderEvenWhenSkipped) {
  std::vector<CoarsePhase> phases;
  CoarseResult r;
  const FlightSamples samples = testing::GridSamples(10, 5, 100, 1);
  const CoarseOptions options{.loopFlightGap = 0};
  auto record = [&phases](CoarsePhase p) { phases.push_back(p); };
  ASSERT_EQ(GetParam() ? CoarseSearchFast(samples, options, record, r) : CoarseSearchPlain(samples, options, record, r),
            0);
  EXPECT_EQ(phases, (std::vector<CoarsePhase>{CoarsePhase::DistanceMatrix, CoarsePhase::TwoPoints,
                                               CoarsePhase::ThreePoints, CoarsePhase::FourPoints,
                                               CoarsePhase::FivePoints, CoarsePhase::OutAndReturn,
                                               CoarsePhase::Triangles}));
}

TEST_P(BothEngines, StopBeforeTheTriangleSearchLeavesNoTriangle) {
  std::atomic<bool> stop{true};
  const CoarseResult r = Search(GetParam(), testing::GridSamples(50, 4, 100, 3), {.stop = &stop});
  EXPECT_TRUE(r.outAndReturn.found);
  EXPECT_FALSE(r.flatTriangle.found);
  EXPECT_FALSE(r.faiTriangle.found);
}

TEST_P(BothEngines, TinyTracksGiveOnlyTheSearchesTheyHavePointsFor) {
  for (int32_t n = 0; n <= 5; ++n) {
    const CoarseResult r = Search(GetParam(), testing::GridSamples(n, 3, 100, 11), {});
    EXPECT_EQ(r.twoPoints.found, n >= 2);
    EXPECT_EQ(r.threePoints.found, n >= 3);
    EXPECT_EQ(r.fourPoints.found, n >= 4);
    EXPECT_EQ(r.fivePoints.found, n >= 5);
  }
}

// Small grids make equal distances the rule, so every tie rule is exercised.
TEST(CoarseSearchFast, SameAsReferenceOnRandomGrids) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 300; ++round) {
    const int32_t n = std::uniform_int_distribution<int32_t>(0, 90)(random);
    const int32_t cells = std::uniform_int_distribution<int32_t>(2, 12)(random);
    const FlightSamples samples = testing::GridSamples(n, cells, 100, random());
    const int32_t gap = std::uniform_int_distribution<int32_t>(0, 1500)(random);
    ExpectSameAsReference(samples, {.loopFlightGap = gap});
  }
}

TEST(CoarseSearchFast, SameAsReferenceOnLargerRandomGrids) {
  std::mt19937 random(77);
  for (int round = 0; round < 6; ++round) {
    const FlightSamples samples = testing::GridSamples(400 + 50 * round, 20, 50, random());
    ExpectSameAsReference(samples, {.loopFlightGap = 400 + 100 * round});
  }
}

TEST(CoarseSearchFast, SameAsReferenceWhenCellsAreHuge) {
  // Cells beyond the 32-bit FAI kernel's reach and beyond the clamp, and a
  // sample that projected to nothing sensible.
  FlightSamples samples = testing::GridSamples(40, 6, 4.0e7, 5);
  ExpectSameAsReference(samples, {.loopFlightGap = 2000000000});
  samples.x[7] = 1e300;
  samples.y[9] = std::nan("");
  ExpectSameAsReference(samples, {.loopFlightGap = 2000000000});
}

}  // namespace
}  // namespace trelvik
