// The exact contest scorer against flights whose optimum is known by
// construction and against an exhaustive search on short flights.
#include <gtest/gtest.h>

#include <pthread.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <optional>
#include <random>
#include <thread>

#include "analysis/contest/contest_scorer.hpp"

namespace trelvik::contest {
namespace {

constexpr double kKmPerDegreeLat = 111.2;

// A fix `north` and `east` km from 46 N 8 E (roughly; the tests compute their
// expectations with the contest distance itself).
GeoFix At(double north, double east) {
  return {46.0 + north / kKmPerDegreeLat, 8.0 + east / (kKmPerDegreeLat * std::cos(46.0 * 3.14159265358979 / 180))};
}

TEST(FccDistance, MatchesTheFormulaAtKnownPoints) {
  // One degree of latitude centred on 45 N, and one of longitude at 0 N.
  const GeoFix fixes[] = {{44.5, 8.0}, {45.5, 8.0}, {0.0, 8.0}, {0.0, 9.0}, {0.0, 9.0}};
  FccTrack track(fixes);
  EXPECT_NEAR(track.Distance(0, 1), 111.13209 - 0.00120, 1e-9);
  EXPECT_NEAR(track.Distance(2, 3), 111.41513 - 0.09455 + 0.00012, 1e-9);
  EXPECT_EQ(track.Distance(3, 4), 0.0);
}

TEST(FccDistance, BoxBoundsEnclosEveryPair) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> lat(-60.0, 60.0), lon(-170.0, 170.0), size(0.0, 2.0);
  for (int round = 0; round < 200; ++round) {
    std::vector<GeoFix> fixes;
    const double baseLat = lat(random), baseLon = lon(random), spread = size(random);
    for (int i = 0; i < 40; ++i) fixes.push_back({baseLat + spread * (random() % 1000) / 1000.0, baseLon + spread * (random() % 1000) / 1000.0});
    FccTrack track(fixes);
    const GeoBox a = track.Box(0, 19), b = track.Box(20, 39);
    const double most = track.MaxDistance(a, b), least = track.MinDistance(a, b);
    for (size_t i = 0; i < 20; ++i) {
      for (size_t j = 20; j < 40; ++j) {
        ASSERT_LE(track.Distance(i, j), most);
        ASSERT_GE(track.Distance(i, j), least);
      }
    }
  }
}

struct Corners {
  std::vector<GeoFix> fixes;
  double legs[3];
};
// Turnpoints A, B, C flown in that order and a finish `gap` km east of A; the
// flight holds only these fixes, so the triangle and its closing are fixed.
Corners Triangle(double baseKm, double apexKm, double gapKm) {
  Corners c;
  c.fixes = {At(0, 0), At(0, baseKm), At(apexKm, baseKm / 2), At(0, gapKm), At(0, gapKm)};
  FccTrack track(c.fixes);
  c.legs[0] = RoundKm(track.Distance(0, 1));
  c.legs[1] = RoundKm(track.Distance(1, 2));
  c.legs[2] = RoundKm(track.Distance(2, 0));
  return c;
}

TEST(ContestScorer, TrianglesByTheirClosingAndLegs) {
  struct Case {
    const char* what;
    ContestRules rules;
    double base, apex, gap;
    const char* type;
    double multiplier;
    bool penalised;
  };
  const Case cases[] = {
      {"closed FAI", ContestRules::XContest, 30, 26, 0, "Closed FAI triangle", 1.6, false},
      {"FAI open 4 %", ContestRules::XContest, 30, 26, 3.6, "Closed FAI triangle", 1.6, true},
      {"FAI open 6 %", ContestRules::XContest, 30, 26, 5.4, "FAI triangle", 1.4, true},
      {"FAI open 21 %", ContestRules::XContest, 30, 26, 18.9, "Free flight", 1.0, false},
      {"shortest leg 29 %", ContestRules::XContest, 42, 20, 0, "Closed FAI triangle", 1.6, false},
      {"shortest leg 27 %", ContestRules::XContest, 46, 14.14, 0, "Closed free triangle", 1.4, false},
      {"FFVL closed FAI", ContestRules::Ffvl, 30, 26, 0, "FAI triangle", 1.4, false},
      {"FFVL open under 3 km", ContestRules::Ffvl, 30, 26, 2.9, "FAI triangle", 1.4, false},
      {"FFVL open 4 %", ContestRules::Ffvl, 30, 26, 3.6, "FAI triangle", 1.4, true},
      {"FFVL open 6 %", ContestRules::Ffvl, 30, 26, 5.4, "Distance 3 points", 1.0, false},
      {"FFVL flat", ContestRules::Ffvl, 46, 14.14, 0, "Flat triangle", 1.2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Corners corners = Triangle(c.base, c.apex, c.gap);
    const ContestScore score = ScoreContestFlight(corners.fixes, c.rules);
    ASSERT_NE(score.type, nullptr);
    EXPECT_EQ(score.type->name, c.type);
    EXPECT_TRUE(score.optimal);
    if (score.type->shape != FlightShape::Triangle) continue;
    const double perimeter = RoundKm(corners.legs[0] + corners.legs[1] + corners.legs[2]);
    EXPECT_DOUBLE_EQ(score.distance, perimeter);
    const double penalty = c.penalised ? score.closing : 0.0;
    EXPECT_NEAR(score.closing, c.gap, 0.05);
    EXPECT_DOUBLE_EQ(score.score, RoundKm((perimeter - penalty) * c.multiplier));
  }
}

TEST(ContestScorer, AStraightFlightIsFreeDistanceEndToEnd) {
  std::vector<GeoFix> fixes;
  for (int i = 0; i <= 500; ++i) fixes.push_back(At(0.0, i * 0.1));
  FccTrack track(fixes);
  const double length = track.Distance(0, fixes.size() - 1);
  for (ContestRules rules : {ContestRules::XContest, ContestRules::Ffvl}) {
    const ContestScore score = ScoreContestFlight(fixes, rules);
    ASSERT_NE(score.type, nullptr);
    EXPECT_EQ(score.type->shape, FlightShape::FreeFlight);
    EXPECT_EQ(score.start, 0u);
    EXPECT_EQ(score.finish, fixes.size() - 1);
    // Each of the four legs is rounded on its own.
    EXPECT_NEAR(score.distance, length, 0.021);
    EXPECT_DOUBLE_EQ(score.score, score.distance);
  }
}

TEST(ContestScorer, TooFewFixesScoreNothing) {
  const GeoFix fixes[] = {At(0, 0), At(10, 0), At(10, 10), At(0, 0)};
  const ContestScore score = ScoreContestFlight(fixes, ContestRules::XContest);
  EXPECT_EQ(score.type, nullptr);
  EXPECT_EQ(score.score, 0.0);
}

// Every choice of turnpoints, tried one by one.
double ExhaustiveScore(std::span<const GeoFix> fixes, ContestRules rules) {
  FccTrack track(fixes);
  const size_t n = fixes.size();
  std::vector<double> d(n * n);
  for (size_t a = 0; a < n; ++a) {
    for (size_t b = 0; b < n; ++b) d[a * n + b] = track.Distance(a, b);
  }
  // closing[i][k]: the closest fixes up to i and from k on.
  std::vector<double> closing(n * n, 1e9);
  for (size_t i = 0; i < n; ++i) {
    for (size_t k = n; k-- > i;) {
      double c = d[i * n + k];
      if (i > 0) c = std::min(c, closing[(i - 1) * n + k]);
      if (k + 1 < n) c = std::min(c, closing[i * n + k + 1]);
      closing[i * n + k] = c;
    }
  }
  std::vector<double> startReach(n, 0.0), finishReach(n, 0.0);
  for (size_t i = 0; i < n; ++i) {
    for (size_t s = 0; s <= i; ++s) startReach[i] = std::max(startReach[i], d[s * n + i]);
    for (size_t f = i; f < n; ++f) finishReach[i] = std::max(finishReach[i], d[i * n + f]);
  }
  double best = 0.0;
  for (const FlightType& type : FlightTypes(rules)) {
    for (size_t i = 0; i < n; ++i) {
      for (size_t j = i + 1; j < n; ++j) {
        for (size_t k = j + 1; k < n; ++k) {
          const double l1 = RoundKm(d[i * n + j]), l2 = RoundKm(d[j * n + k]);
          if (type.shape == FlightShape::FreeFlight) {
            best = std::max(best, RoundKm(RoundKm(startReach[i]) + l1 + l2 + RoundKm(finishReach[k])));
            continue;
          }
          const double l3 = RoundKm(d[k * n + i]);
          const double p = RoundKm(l1 + l2 + l3);
          if (l1 < type.minLegShare * p || l2 < type.minLegShare * p || l3 < type.minLegShare * p) continue;
          const double c = RoundKm(closing[i * n + k]);
          if (c > RoundKm(std::max(type.closingFixed, type.closingRelative * p))) continue;
          best = std::max(best, RoundKm((p - (c > type.closingFree ? c : 0.0)) * type.multiplier));
        }
      }
    }
  }
  return best;
}

TEST(ContestScorer, EqualsAnExhaustiveSearchOnShortFlights) {
  std::mt19937 random(2024);
  for (int flight = 0; flight < 24; ++flight) {
    // Thermalling drift with long glides: loops, returns and near-closings.
    std::vector<GeoFix> fixes;
    double north = 0, east = 0, heading = 0;
    const int count = 40 + static_cast<int>(random() % 70);
    const double step = 0.2 + (random() % 100) / 50.0;
    for (int i = 0; i < count; ++i) {
      heading += (random() % 2 ? 0.6 : -0.2) * (random() % 100) / 100.0;
      north += step * std::cos(heading);
      east += step * std::sin(heading);
      fixes.push_back(At(north, east));
    }
    for (ContestRules rules : {ContestRules::XContest, ContestRules::Ffvl}) {
      SCOPED_TRACE(testing::Message() << "flight " << flight << " " << RulesName(rules));
      const ContestScore score = ScoreContestFlight(fixes, rules);
      EXPECT_TRUE(score.optimal);
      EXPECT_DOUBLE_EQ(score.score, ExhaustiveScore(fixes, rules));
    }
  }
}

// Sanitizers slow every step tenfold; the time limit holds for the program.
#if defined(__SANITIZE_ADDRESS__)
constexpr auto kHaltLimit = std::chrono::milliseconds(1000);
#else
constexpr auto kHaltLimit = std::chrono::milliseconds(100);
#endif

// The processor time a thread has used, by its clock; none once the thread has ended.
std::optional<std::chrono::nanoseconds> ThreadTime(clockid_t clock) {
  timespec now{};
  if (clock_gettime(clock, &now) != 0) return std::nullopt;
  return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

TEST(ContestScorer, HaltingReturnsTheBestSoFarAtOnce) {
  std::vector<GeoFix> fixes;
  std::mt19937 random(5);
  double north = 0, east = 0;
  for (int i = 0; i < 30000; ++i) {
    north += (random() % 200 - 100) / 1000.0;
    east += (random() % 200 - 99) / 1000.0;
    fixes.push_back(At(north, east));
  }
  for (int delayMs : {0, 5, 20}) {
    SCOPED_TRACE(delayMs);
    std::atomic<bool> halt{delayMs == 0};
    ContestScore score;
    std::chrono::nanoseconds done{0};
    std::thread worker([&] {
      score = ScoreContestFlight(fixes, ContestRules::XContest, &halt);
      done = ThreadTime(CLOCK_THREAD_CPUTIME_ID).value_or(std::chrono::nanoseconds(0));
    });
    // The worker's own time from the request to its end: a machine busy with
    // other tests lends it a fraction of a core, and that must not fail it.
    clockid_t workerClock{};
    const bool clocked = pthread_getcpuclockid(worker.native_handle(), &workerClock) == 0;
    EXPECT_TRUE(clocked);
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    const std::optional<std::chrono::nanoseconds> asked =
        clocked ? ThreadTime(workerClock) : std::optional<std::chrono::nanoseconds>();
    halt = true;
    worker.join();
    if (asked) {
      EXPECT_LT(done - *asked, kHaltLimit);
    }
    if (!score.optimal) {
      EXPECT_GE(score.upperBound, score.score);
    }
  }
}

}  // namespace
}  // namespace trelvik::contest
