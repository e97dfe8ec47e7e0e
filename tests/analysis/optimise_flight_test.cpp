// The whole optimisation: sampling, progress texts, the fine stage, switching
// off, stopping, and the fast engine against the reference on real flights,
// on the worst case and on random tracks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <regex>
#include <thread>

#include "analysis/coarse_search.hpp"
#include "analysis/fine_search.hpp"
#include "analysis/flight_corpus.hpp"
#include "analysis/generated_tracks.hpp"
#include "analysis/optimise_flight.hpp"
#include "base/atomic_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::PointAt;

const std::vector<std::string> kStageTexts = {
    "Computing distance matrix",
    "Computing greatest distance (2 points)",
    "Computing greatest distance (3 points)",
    "Computing greatest distance (4 points)",
    "Computing greatest distance (5 points)",
    "Computing out-and-return distance",
    "Computing triangle distance",
};

OptimisationResult Optimise(const std::vector<TrackPoint>& points, OptimiseOptions options = {}) {
  OptimisationResult result;
  EXPECT_EQ(OptimiseFlight(points, options, result), 0);
  return result;
}

// Both engines through the whole pipeline; the fine stage is shared, so equal
// coarse answers must give bit-identical results.
void ExpectEnginesAgree(const std::vector<TrackPoint>& points, int32_t gap, const std::string& what) {
  const FlightSamples samples = SampleFlight(points);
  CoarseResult plain, fast;
  ASSERT_EQ(CoarseSearchPlain(samples, {.loopFlightGap = gap}, {}, plain), 0);
  ASSERT_EQ(CoarseSearchFast(samples, {.loopFlightGap = gap}, {}, fast), 0);
  EXPECT_EQ(fast, plain) << what;
  OptimisationResult fromPlain, fromFast;
  RefineOnTrack(points, samples, plain, gap, fromPlain);
  RefineOnTrack(points, samples, fast, gap, fromFast);
  EXPECT_EQ(fromFast, fromPlain) << what;
}

TEST(SampleIndexes, TakesEveryPointUpToTwoThousand) {
  const std::vector<int32_t> all = SampleIndexes(2000);
  ASSERT_EQ(all.size(), 2000u);
  EXPECT_EQ(all.back(), 1999);
  EXPECT_TRUE(SampleIndexes(0).empty());
}

TEST(SampleIndexes, SpreadsExactlyTwoThousandOverLongerLogs) {
  for (const int32_t count : {2001, 2002, 3999, 24794, 1000000}) {
    const std::vector<int32_t> taken = SampleIndexes(count);
    ASSERT_EQ(taken.size(), 2000u) << count;
    EXPECT_EQ(taken.front(), 0);
    EXPECT_EQ(taken.back(), count - 1);
    EXPECT_TRUE(std::is_sorted(taken.begin(), taken.end()) &&
                std::adjacent_find(taken.begin(), taken.end()) == taken.end());
  }
}

TEST(OptimiseFlight, StraightFlightGivesTheSameDistanceOverTwoAndFivePoints) {
  std::vector<TrackPoint> points;
  for (int i = 0; i < 300; ++i) points.push_back(PointAt(100.0 * i, 0, i));
  const OptimisationResult r = Optimise(points);
  EXPECT_EQ(r.optimised, 1);
  EXPECT_EQ(r.twoPoints.index, (std::array<int32_t, 2>{0, 299}));
  EXPECT_NEAR(r.twoPoints.total, 29900, 100);  // metres per degree taken roughly
  EXPECT_NEAR(r.fivePoints.total, r.twoPoints.total, 1e-6);
  EXPECT_EQ(r.fivePoints.index.front(), 0);
  EXPECT_EQ(r.fivePoints.index.back(), 299);
}

// A triangle flown from its first corner and closed there, 100 km round,
// logged `perLeg` times along each leg.
std::vector<TrackPoint> TriangleFlight(double shortestLeg, double closingGap, int perLeg = 100) {
  const double side = (100000 - shortestLeg) / 2;
  const double half = shortestLeg / 2;
  const std::vector<std::pair<double, double>> corners = {
      {0, 0}, {std::sqrt(side * side - half * half), half}, {0, shortestLeg}, {closingGap, 0}};
  std::vector<TrackPoint> points;
  uint32_t t = 0;
  for (size_t c = 0; c + 1 < corners.size(); ++c) {
    for (int s = 0; s < perLeg; ++s) {
      const double f = static_cast<double>(s) / perLeg;
      points.push_back(PointAt(corners[c].first + f * (corners[c + 1].first - corners[c].first),
                               corners[c].second + f * (corners[c + 1].second - corners[c].second), t += 10));
    }
  }
  points.push_back(PointAt(corners.back().first, corners.back().second, t += 10));
  return points;
}

TEST(OptimiseFlight, TriangleWithShortestLegBelowTwentyEightPercentIsNoFaiTriangle) {
  // Corners only: with points along the legs, smaller FAI triangles would exist.
  const OptimisationResult r = Optimise(TriangleFlight(27000, 0, 1));
  EXPECT_NEAR(r.flatTriangle.distance, 100000, 500);
  EXPECT_EQ(r.faiTriangle, TriangleResult{});
  const OptimisationResult logged = Optimise(TriangleFlight(27000, 0));
  EXPECT_NEAR(logged.flatTriangle.distance, 100000, 500);
  EXPECT_LT(logged.faiTriangle.distance, 99000);
}

TEST(OptimiseFlight, TriangleWithShortestLegAboveTwentyEightPercentIsFaiTriangle) {
  const OptimisationResult r = Optimise(TriangleFlight(28500, 0));
  EXPECT_NEAR(r.faiTriangle.distance, 100000, 500);
  const double perimeter = r.faiTriangle.legs[0] + r.faiTriangle.legs[1] + r.faiTriangle.legs[2];
  for (const double leg : r.faiTriangle.legs) EXPECT_GE(leg, 0.28 * perimeter);
  EXPECT_LT(r.faiTriangle.gap, 800);
}

TEST(OptimiseFlight, OutAndReturnEndingBeyondTheGapGivesNoResult) {
  std::vector<TrackPoint> points = {PointAt(0, 0, 0), PointAt(10000, 0, 600), PointAt(1000, 0, 1200)};
  EXPECT_EQ(Optimise(points).outAndReturn, OutAndReturnResult{});
  const OptimisationResult wider = Optimise(points, {.loopFlightGap = 1200});
  EXPECT_EQ(wider.outAndReturn.turnpoint, 1);
  EXPECT_NEAR(wider.outAndReturn.distance, 2 * 10000 - 1000, 50);
  EXPECT_DOUBLE_EQ(wider.outAndReturn.distance, 2 * wider.outAndReturn.outwardLeg - wider.outAndReturn.gap);
}

struct SwitchOff {
  const char* name;
  OptimiseOptions options;
};

class LoopSearchesOff : public ::testing::TestWithParam<SwitchOff> {};

TEST_P(LoopSearchesOff, LeaveLoopResultsZeroAndStillShowEveryText) {
  testing::ScriptedUserInterface ui;
  OptimisationResult r;
  ASSERT_EQ(OptimiseFlight(TriangleFlight(30000, 0), GetParam().options, r, &ui), 0);
  EXPECT_GT(r.fivePoints.total, 0);
  EXPECT_EQ(r.outAndReturn, OutAndReturnResult{});
  EXPECT_EQ(r.flatTriangle, TriangleResult{});
  EXPECT_EQ(r.faiTriangle, TriangleResult{});
  ASSERT_EQ(ui.statusLines.size(), kStageTexts.size() + 1);
  EXPECT_EQ(std::vector<std::string>(ui.statusLines.begin(), ui.statusLines.end() - 1), kStageTexts);
  EXPECT_TRUE(std::regex_match(ui.statusLines.back(), std::regex(R"(Computing completed \(\d+\.\d{3} secs\))")))
      << ui.statusLines.back();
}

INSTANTIATE_TEST_SUITE_P(Ways, LoopSearchesOff,
                         ::testing::Values(SwitchOff{"GapZero", {.loopFlightGap = 0}},
                                           SwitchOff{"NoLoopOpt", {.loopFlightGap = 800, .noLoopOptimisation = true}}),
                         [](const auto& info) { return info.param.name; });

TEST(OptimiseFlight, StopBeforeTheTriangleSearchLeavesBothTrianglesZero) {
  std::atomic<bool> stop{true};
  OptimisationResult r;
  ASSERT_EQ(OptimiseFlight(TriangleFlight(30000, 0), {}, r, nullptr, &stop), 0);
  EXPECT_EQ(r.optimised, 1);
  EXPECT_GT(r.twoPoints.total, 0);
  EXPECT_EQ(r.flatTriangle, TriangleResult{});
  EXPECT_EQ(r.faiTriangle, TriangleResult{});
}

// Raises the stop flag the moment the triangle search is announced, on the
// optimiser's own thread, so the search begins with the flag already up.
class StopAtTriangleSearch : public testing::ScriptedUserInterface {
 public:
  explicit StopAtTriangleSearch(std::atomic<bool>& stop) : stop_(stop) {}
  void SetStatus(std::string_view text) override {
    ScriptedUserInterface::SetStatus(text);
    if (text == kStageTexts.back()) stop_ = true;
  }

 private:
  std::atomic<bool>& stop_;
};

// The worst case, with the flag raised as its triangle search begins: the
// stages before it finish, the search gives up. (How soon it gives up is a
// figure of the optimisation benchmark.)
TEST(OptimiseFlight, StopRaisedAsTheWorstCaseTriangleSearchBeginsEndsIt) {
  const std::vector<TrackPoint> points = testing::FlightWithinDisc(20000, 390, 3);
  for (const CoarseEngine engine : {CoarseEngine::Fast, CoarseEngine::Plain}) {
    std::atomic<bool> stop{false};
    StopAtTriangleSearch ui(stop);
    OptimisationResult r;
    EXPECT_EQ(OptimiseFlight(points, {.engine = engine}, r, &ui, &stop), 0);
    EXPECT_TRUE(stop.load());
    EXPECT_GT(r.fivePoints.total, 0);
    EXPECT_EQ(r.flatTriangle, TriangleResult{});
    EXPECT_EQ(r.faiTriangle, TriangleResult{});
  }
}

TEST(OptimiseFlight, EmptyLogGivesAnAllZeroResult) {
  OptimisationResult expected;
  expected.optimised = 1;
  EXPECT_EQ(Optimise({}), expected);
}

TEST(OptimiseFlight, SinglePointGivesAnAllZeroResult) {
  OptimisationResult expected;
  expected.optimised = 1;
  EXPECT_EQ(Optimise({PointAt(0, 0, 0)}), expected);
}

TEST(OptimiseFlight, FastEngineMatchesReferenceOnGeneratedWorstCase) {
  ExpectEnginesAgree(testing::FlightWithinDisc(20000, 390, 1), 800, "whole day within the gap");
}

TEST(OptimiseFlight, FastEngineMatchesReferenceOnRandomWalks) {
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    const int32_t count = static_cast<int32_t>(50 + 97 * seed);
    ExpectEnginesAgree(testing::RandomWalkFlight(count, 5 + 20.0 * (seed % 4), seed), 200 * (seed % 5),
                       "random walk " + std::to_string(seed));
  }
}

// One case per corpus file and gap, so that each runs well inside the time
// limit even though the reference loops are cubic.
std::vector<std::string> CorpusNames() {
  std::vector<std::string> names;
  const std::string folder = testing::FlightCorpusDir();
  if (!folder.empty()) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().extension() == ".igc") names.push_back(entry.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  if (names.empty()) names.push_back("none");
  return names;
}

class RealFlights : public ::testing::TestWithParam<std::tuple<std::string, int32_t>> {};

TEST_P(RealFlights, FastEngineMatchesReference) {
  const auto& [name, gap] = GetParam();
  const std::string folder = testing::FlightCorpusDir();
  if (folder.empty()) GTEST_SKIP() << "no flight corpus";
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(folder + "/" + name, bytes));
  const std::vector<TrackPoint> points = testing::ReadIgcFixes(bytes);
  ASSERT_GT(points.size(), 700u);
  ExpectEnginesAgree(points, gap, name);
}

INSTANTIATE_TEST_SUITE_P(Corpus, RealFlights, ::testing::Combine(::testing::ValuesIn(CorpusNames()),
                                                                 ::testing::Values(800, 3000)),
                         [](const auto& info) {
                           std::string name = std::get<0>(info.param);
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name + "_Gap" + std::to_string(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace trelvik
