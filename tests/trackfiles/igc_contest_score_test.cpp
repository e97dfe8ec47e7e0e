// Real flights scored under today's open-distance rules, against the figures
// the public igc-xc-score 1.8 solver gives for them (type, distance, score).
#include <gtest/gtest.h>

#include "analysis/contest/contest_scorer.hpp"
#include "base/atomic_file.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_contest_fixes.hpp"

namespace trelvik {
namespace {

using contest::ContestRules;

struct Expected {
  const char* file;
  ContestRules rules;
  const char* type;
  double distance;
  double score;
};

constexpr Expected kScores[] = {
    {"gl-cambridge302-2018-4s.igc", ContestRules::XContest, "Closed free triangle", 350.80, 490.99},
    {"gl-filser-lx5000-2017-4s.igc", ContestRules::XContest, "Closed free triangle", 254.41, 356.16},
    {"gl-flarm-2016-4s.igc", ContestRules::XContest, "Closed FAI triangle", 767.03, 1227.25},
    {"gl-lxcolibri-2017-1s.igc", ContestRules::XContest, "Free flight", 99.38, 99.38},
    {"gl-lxnav-lx8080-2017-1s.igc", ContestRules::XContest, "Closed FAI triangle", 221.63, 354.61},
    {"gl-lxnav-lx9070-2024-1s.igc", ContestRules::XContest, "Closed free triangle", 578.53, 809.94},
    {"gl-midnight-nz-2009-3s.igc", ContestRules::XContest, "Closed FAI triangle", 205.48, 328.77},
    {"gl-naviter-oudie-2018-1s.igc", ContestRules::XContest, "Closed free triangle", 342.14, 479.00},
    {"gl-powerflarm-fusion-2022-1s.igc", ContestRules::XContest, "Closed FAI triangle", 14.14, 22.62},
    {"gl-zander-2010-4s.igc", ContestRules::XContest, "Closed free triangle", 504.60, 706.40},
    {"pg-compeo-2008-10s.igc", ContestRules::XContest, "Free triangle", 36.27, 39.76},
    {"pg-compeoplus-2008-3s.igc", ContestRules::XContest, "Free flight", 74.70, 74.70},
    {"pg-elementtrack-2023-5s.igc", ContestRules::XContest, "Closed free triangle", 9.75, 13.52},
    {"pg-flytec5020-2007-3s.igc", ContestRules::XContest, "Closed free triangle", 157.55, 218.86},
    {"pg-flytec6030-2008-3s.igc", ContestRules::XContest, "Free flight", 65.75, 65.75},
    {"pg-flytec6030-2019-4s.igc", ContestRules::XContest, "Free flight", 64.95, 64.95},
    {"gl-cambridge302-2018-4s.igc", ContestRules::Ffvl, "Flat triangle", 350.80, 420.96},
    {"gl-filser-lx5000-2017-4s.igc", ContestRules::Ffvl, "FAI triangle", 222.31, 311.23},
    {"gl-flarm-2016-4s.igc", ContestRules::Ffvl, "FAI triangle", 767.03, 1073.84},
    {"gl-lxcolibri-2017-1s.igc", ContestRules::Ffvl, "Distance 3 points", 99.38, 99.38},
    {"gl-lxnav-lx8080-2017-1s.igc", ContestRules::Ffvl, "FAI triangle", 221.63, 310.28},
    {"gl-lxnav-lx9070-2024-1s.igc", ContestRules::Ffvl, "Flat triangle", 578.53, 694.24},
    {"gl-midnight-nz-2009-3s.igc", ContestRules::Ffvl, "FAI triangle", 205.48, 287.67},
    {"gl-naviter-oudie-2018-1s.igc", ContestRules::Ffvl, "Flat triangle", 342.14, 410.57},
    {"gl-powerflarm-fusion-2022-1s.igc", ContestRules::Ffvl, "Distance 3 points", 22.46, 22.46},
    {"gl-zander-2010-4s.igc", ContestRules::Ffvl, "Flat triangle", 504.60, 605.52},
    {"pg-compeo-2008-10s.igc", ContestRules::Ffvl, "Flat triangle", 33.28, 39.94},
    {"pg-compeoplus-2008-3s.igc", ContestRules::Ffvl, "Distance 3 points", 74.70, 74.70},
    {"pg-elementtrack-2023-5s.igc", ContestRules::Ffvl, "FAI triangle", 11.46, 16.04},
    {"pg-flytec5020-2007-3s.igc", ContestRules::Ffvl, "Flat triangle", 157.55, 189.06},
    {"pg-flytec6030-2008-3s.igc", ContestRules::Ffvl, "Distance 3 points", 65.75, 65.75},
    {"pg-flytec6030-2019-4s.igc", ContestRules::Ffvl, "Distance 3 points", 64.95, 64.95},
};

TEST(IgcContestScore, EqualsThePublicSolverOnEveryCorpusFlight) {
  if (testing::FlightCorpusDir().empty()) GTEST_SKIP() << "flight corpus not present";
  for (const Expected& expected : kScores) {
    SCOPED_TRACE(std::string(expected.file) + " " + std::string(contest::RulesName(expected.rules)));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(testing::FlightCorpusDir() + "/" + expected.file, bytes));
    const contest::ContestScore score = contest::ScoreContestFlight(IgcContestFixes(bytes), expected.rules);
    ASSERT_NE(score.type, nullptr);
    EXPECT_TRUE(score.optimal);
    EXPECT_EQ(score.type->name, expected.type);
    EXPECT_NEAR(score.distance, expected.distance, 0.0101);
    EXPECT_NEAR(score.score, expected.score, 0.0101);
  }
}

TEST(IgcContestFixes, KeepsValidFixesOncePerSecond) {
  const std::string igc =
      "AXXX001\r\nHFDTE010124\r\n"
      "B1000004600000N00800000EA0100001000\r\n"
      "B1000004600100N00800000EA0100001000\r\n"   // same second: dropped
      "B1000014600200N00800000EV0100001000\r\n"   // void fix: dropped
      "B10000246003\r\n"                          // cut off: dropped
      "B1000034600400N00800000EA0100001000\r\n"
      "B0000004600500N00800000EA0100001000\n";     // past midnight, no CR
  const std::vector<contest::GeoFix> fixes = IgcContestFixes(igc);
  ASSERT_EQ(fixes.size(), 3u);
  EXPECT_NEAR(fixes[0].lat, 46.0, 1e-7);
  EXPECT_NEAR(fixes[1].lat, 46.0 + 0.4 / 60, 1e-7);
  EXPECT_NEAR(fixes[2].lat, 46.0 + 0.5 / 60, 1e-7);
}

}  // namespace
}  // namespace trelvik
