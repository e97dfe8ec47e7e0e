// The OLC scoring: the pruned loop searches against the reference loops (hand
// made matrices for the closing and 28 % rules, grids full of ties, random
// and real flights), the free distance against the flight optimisation's, the
// choice of the best result and halting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "analysis/flight_corpus.hpp"
#include "analysis/generated_tracks.hpp"
#include "analysis/olc/olc_search.hpp"
#include "analysis/optimise_flight.hpp"

namespace trelvik::olc {
namespace {

using testing::PointAt;

using Matrix = std::unique_ptr<SampleMatrix>;

Matrix MatrixOf(const FlightSamples& samples) {
  auto m = std::make_unique<SampleMatrix>();
  m->Allocate(samples.Count());
  EXPECT_TRUE(BuildMatrix(samples, *m, nullptr, nullptr));
  BuildGapTables(*m);
  return m;
}

// A matrix of the plane distances of points given in metres.
Matrix MatrixOf(const std::vector<std::pair<double, double>>& xy) {
  FlightSamples samples;
  for (size_t i = 0; i < xy.size(); ++i) {
    samples.x.push_back(xy[i].first);
    samples.y.push_back(xy[i].second);
    samples.trackIndex.push_back(static_cast<int32_t>(i));
  }
  return MatrixOf(samples);
}

struct Coarse {
  CoarseOutAndReturn outAndReturn;
  CoarseTriangles triangles;
};

Coarse Search(const SampleMatrix& m, Engine engine) {
  Coarse c;
  EXPECT_TRUE(SearchOutAndReturn(m, engine, nullptr, nullptr, c.outAndReturn));
  EXPECT_TRUE(SearchTriangles(m, engine, nullptr, nullptr, c.triangles));
  return c;
}

void ExpectEnginesAgree(const Matrix& matrix, const std::string& what) {
  const SampleMatrix& m = *matrix;
  const Coarse plain = Search(*matrix, Engine::Plain);
  const Coarse fast = Search(m, Engine::Fast);
  EXPECT_EQ(fast.outAndReturn, plain.outAndReturn) << what;
  EXPECT_EQ(fast.triangles.free, plain.triangles.free) << what;
  EXPECT_EQ(fast.triangles.fai, plain.triangles.fai) << what;
}

// An equilateral-ish loop: start at the origin, turnpoints A, B, C, then back
// to a point `closingEast` metres east of the start.
std::vector<std::pair<double, double>> Loop(double closingEast) {
  return {{0, 0}, {0, 1}, {3000, 0}, {1500, 2600}, {closingEast, 1}, {closingEast, 0}};
}

TEST(OlcCoarse, ClosingWithinAFifthOfThePerimeterIsStrict) {
  // Perimeter 3000 + 3002 + ~3000; the closing gap is measured between the
  // start samples and the end samples.
  for (const double east : {0.0, 1000.0, 1700.0, 1900.0, 2500.0}) {
    const Matrix matrix = MatrixOf(Loop(east));
    const Coarse plain = Search(*matrix, Engine::Plain);
    ExpectEnginesAgree(matrix, "closing " + std::to_string(east));
    if (!plain.triangles.free.found) continue;
    const CoarseTriangle& t = plain.triangles.free;
    const SampleMatrix& m = *matrix;
    const int64_t perimeter =
        int64_t{m.D(t.turnpoint1, t.turnpoint2)} + m.D(t.turnpoint2, t.turnpoint3) + m.D(t.turnpoint1, t.turnpoint3);
    const int64_t gap = m.D(t.start, t.end);
    EXPECT_LT(5 * gap, perimeter);
    EXPECT_EQ(t.score, perimeter - gap);
  }
}

TEST(OlcCoarse, ExactlyOneFifthFailsAndOneMetreLessPasses) {
  // Turnpoints 0, 1, 2 form a triangle of legs 3000, 4000, 5000 (perimeter
  // 12000); the end lies 2400 m (a fifth) or 2399 m from the start.
  for (const auto& [closing, counts] : {std::pair{2400.0, false}, std::pair{2399.0, true}}) {
    const Matrix matrix = MatrixOf({{0, 0}, {3000, 0}, {3000, 4000}, {0, closing}});
    const Coarse plain = Search(*matrix, Engine::Plain);
    // Only the triangle over the first three samples comes near closing.
    EXPECT_EQ(plain.triangles.free.found, counts) << closing;
    if (counts) {
      const CoarseTriangle expected{true, 0, 0, 1, 2, 3, 12000 - 2399};
      EXPECT_EQ(plain.triangles.free, expected);
    }
    ExpectEnginesAgree(matrix, "closing " + std::to_string(closing));
  }
}

TEST(OlcCoarse, FaiNeedsEveryLegAtTwentyEightPercent) {
  // A right triangle 3-4-5 has a shortest leg of 25 %: a free triangle only.
  const Matrix flat = MatrixOf({{0, 0}, {3000, 0}, {3000, 4000}, {0, 1}});
  const Coarse c = Search(*flat, Engine::Plain);
  EXPECT_TRUE(c.triangles.free.found);
  EXPECT_FALSE(c.triangles.fai.found);
  ExpectEnginesAgree(flat, "3-4-5");
  // An equilateral triangle is FAI and scores the same as free.
  const Matrix fai = MatrixOf({{0, 0}, {3000, 0}, {1500, 2598}, {0, 1}});
  const Coarse e = Search(*fai, Engine::Plain);
  ASSERT_TRUE(e.triangles.fai.found);
  EXPECT_EQ(e.triangles.fai.score, e.triangles.free.score);
  ExpectEnginesAgree(fai, "equilateral");
}

TEST(OlcCoarse, OutAndReturnClosesWithin400Metres) {
  for (const auto& [back, found] : {std::pair{399.0, true}, std::pair{400.0, false}}) {
    const Matrix matrix = MatrixOf({{0, 0}, {5000, 0}, {10000, 0}, {back, 0}});
    const Coarse plain = Search(*matrix, Engine::Plain);
    EXPECT_EQ(plain.outAndReturn.found, found) << back;
    if (found) {
      EXPECT_EQ(plain.outAndReturn.turnpoint, 2);
      EXPECT_EQ(plain.outAndReturn.end, 3);
    }
    ExpectEnginesAgree(matrix, "back " + std::to_string(back));
  }
}

TEST(OlcCoarse, EnginesAgreeOnGridsFullOfTies) {
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    for (const int32_t n : {7, 40, 150}) {
      for (const double spacing : {100.0, 700.0}) {
        ExpectEnginesAgree(MatrixOf(testing::GridSamples(n, 6, spacing, seed)),
                           "grid seed " + std::to_string(seed) + " n " + std::to_string(n));
      }
    }
  }
}

TEST(OlcCoarse, EnginesAgreeOnRandomFlights) {
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    for (const auto& points : {testing::RandomWalkFlight(300, 150, seed), testing::FlightWithinDisc(300, 900, seed),
                               testing::UntidyFlight(300, seed)}) {
      ExpectEnginesAgree(MatrixOf(SampleFlight(points)), "seed " + std::to_string(seed));
    }
  }
}

// Every third point of a real flight, at most 400 samples, so that the cubic
// reference stays quick.
std::vector<TrackPoint> Thinned(const std::vector<TrackPoint>& points, size_t most) {
  const size_t step = std::max<size_t>(1, (points.size() + most - 1) / most);
  std::vector<TrackPoint> thinned;
  for (size_t i = 0; i < points.size(); i += step) thinned.push_back(points[i]);
  return thinned;
}

const std::vector<testing::CorpusFlight>& Corpus() {
  static const std::vector<testing::CorpusFlight> corpus = testing::ReadFlightCorpus("../shared/flights");
  return corpus;
}

TEST(OlcScore, TrianglesAgreeWithTheReferenceOnSmallRealFlights) {
  ASSERT_FALSE(Corpus().empty());
  for (const testing::CorpusFlight& flight : Corpus()) {
    const std::vector<TrackPoint> small = Thinned(flight.points, 400);
    const std::optional<OlcResult> plain = ScoreOlcFlight(small, Engine::Plain);
    const std::optional<OlcResult> fast = ScoreOlcFlight(small, Engine::Fast);
    ASSERT_TRUE(plain && fast) << flight.name;
    EXPECT_EQ(*fast, *plain) << flight.name;
  }
}

TEST(OlcScore, FreeDistanceIsTheOptimisationsFivePointDistanceOnEveryCorpusFlight) {
  for (const testing::CorpusFlight& flight : Corpus()) {
    OptimisationResult optimised;
    ASSERT_EQ(OptimiseFlight(flight.points, {.loopFlightGap = 0}, optimised), 0);
    const std::optional<OlcResult> olc = ScoreOlcFlight(flight.points);
    ASSERT_TRUE(olc) << flight.name;
    EXPECT_EQ(olc->fivePoints, optimised.fivePoints) << flight.name;
    EXPECT_EQ(olc->twoPoints, optimised.twoPoints) << flight.name;
    EXPECT_DOUBLE_EQ(olc->freeDistancePoints, optimised.fivePoints.total * 0.0015) << flight.name;
    // Whatever wins, its five points are in time order.
    EXPECT_TRUE(std::is_sorted(olc->w.begin(), olc->w.end())) << flight.name;
  }
}

TEST(OlcScore, FineTrianglesKeepTheirRules) {
  for (const testing::CorpusFlight& flight : Corpus()) {
    const std::optional<OlcResult> olc = ScoreOlcFlight(flight.points);
    ASSERT_TRUE(olc);
    for (const Triangle* t : {&olc->freeTriangle, &olc->faiTriangle}) {
      if (!t->found) continue;
      const double perimeter = t->legs[0] + t->legs[1] + t->legs[2];
      EXPECT_LE(t->gap, 0.2 * perimeter + 1.0) << flight.name;
      EXPECT_LE(t->start, t->turnpoint1);
      EXPECT_LT(t->turnpoint1, t->turnpoint2);
      EXPECT_LT(t->turnpoint2, t->turnpoint3);
      EXPECT_LE(t->turnpoint3, t->end);
    }
    if (olc->faiTriangle.found) {
      const Triangle& t = olc->faiTriangle;
      const double perimeter = t.legs[0] + t.legs[1] + t.legs[2];
      for (const double leg : t.legs) EXPECT_GE(leg, 0.28 * perimeter - 1.0) << flight.name;
    }
  }
}

TEST(OlcScore, BestResultRule) {
  struct Case {
    double free, freeTriangle, fai;
    BestKind best;
  };
  // Points: distance x 0.0015, free triangle x 0.00175, FAI x 0.002.
  const Case cases[] = {
      {100000, 10000, 10000, BestKind::FreeDistance},
      {100000, 10000, 80000, BestKind::FaiTriangle},  // 150 against 160
      {10000, 100000, 10000, BestKind::FreeTriangle},
      {10000, 80000, 70000, BestKind::FaiTriangle},  // 140 against 140: FAI wins the tie
      {0, 0, 0, BestKind::FaiTriangle},
  };
  for (const Case& c : cases) {
    OlcResult r;
    r.fivePoints.total = c.free;
    r.fivePoints.index = {1, 2, 3, 4, 5};
    r.freeTriangle = {true, 10, 11, 12, 13, 14, {}, 0, c.freeTriangle};
    r.faiTriangle = {true, 20, 21, 22, 23, 24, {}, 0, c.fai};
    ChooseBest(r);
    EXPECT_EQ(r.best, c.best) << c.free << " " << c.freeTriangle << " " << c.fai;
    const int32_t first = c.best == BestKind::FreeDistance ? 1 : c.best == BestKind::FreeTriangle ? 10 : 20;
    EXPECT_EQ(r.w[0], first);
  }
}

TEST(OlcScore, HaltEndsTheRunWithItsStep) {
  const std::vector<TrackPoint> points = testing::FlightWithinDisc(3000, 5000, 3);
  for (const OlcStep haltAt : {OlcStep::DistanceMatrix, OlcStep::OutAndReturn, OlcStep::Triangles}) {
    OlcSearch search(points);
    std::atomic<bool> halt{false};
    OlcStep last = OlcStep::DistanceMatrix;
    const OlcOutcome outcome = search.Run(&halt, nullptr, [&](OlcStep step) {
      last = step;
      if (step == haltAt) halt = true;
    });
    EXPECT_EQ(outcome, OlcOutcome::Halted);
    EXPECT_EQ(last, haltAt);
  }
}

TEST(OlcScore, TooFewPointsScoreNothing) {
  const std::vector<TrackPoint> four = {PointAt(0, 0, 0), PointAt(0, 1000, 10), PointAt(1000, 0, 20),
                                        PointAt(0, 1, 30)};
  EXPECT_FALSE(ScoreOlcFlight(four));
}

}  // namespace
}  // namespace trelvik::olc
