// The statistics in use against the reference computation that walks and
// measures every window afresh: each field must be the same value, bit for
// bit, on the real flights and on untidy generated logs. The windows behind
// the maxima are compared point by point as well, so that a difference the
// maxima happen to hide still shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/flight_corpus.hpp"
#include "analysis/flight_statistics.hpp"
#include "analysis/flight_statistics_reference.hpp"
#include "analysis/generated_tracks.hpp"
#include "analysis/track_legs.hpp"
#include "base/atomic_file.hpp"
#include "geo/track_window.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::PointAt;

uint64_t Bits(double value) { return std::bit_cast<uint64_t>(value); }

void ExpectIdentical(const FlightStatistics& fast, const FlightStatistics& reference) {
  EXPECT_EQ(fast.firstTime, reference.firstTime);
  EXPECT_EQ(fast.lastTime, reference.lastTime);
  EXPECT_EQ(fast.duration, reference.duration);
  EXPECT_EQ(fast.lowestAltitude, reference.lowestAltitude);
  EXPECT_EQ(fast.highestAltitude, reference.highestAltitude);
  const struct {
    const char* name;
    double FlightStatistics::*field;
  } doubles[] = {{"topSpeed", &FlightStatistics::topSpeed},
                 {"greatestMeanSpeed", &FlightStatistics::greatestMeanSpeed},
                 {"totalDistance", &FlightStatistics::totalDistance},
                 {"averageSpeed", &FlightStatistics::averageSpeed},
                 {"leastClimb", &FlightStatistics::leastClimb},
                 {"greatestClimb", &FlightStatistics::greatestClimb}};
  for (const auto& d : doubles) {
    EXPECT_EQ(Bits(fast.*d.field), Bits(reference.*d.field))
        << d.name << ": " << fast.*d.field << " against " << reference.*d.field;
  }
}

// Stops at the first differing point so that a fault does not print thousands of lines.
void ExpectWindowsIdentical(const std::vector<TrackPoint>& points, std::initializer_list<int> windows) {
  const TrackLegs legs(points);
  for (size_t i = 0; i <= points.size(); ++i) {  // one past the end gives 0 in both
    const SpeedAndClimb fast = legs.RecentSpeedAndClimb(i);
    const SpeedAndClimb reference = RecentSpeedAndClimb(points, i);
    ASSERT_EQ(Bits(fast.speedKmh), Bits(reference.speedKmh)) << "point " << i;
    ASSERT_EQ(Bits(fast.climbMs), Bits(reference.climbMs)) << "point " << i;
    for (const int window : windows) {
      ASSERT_EQ(Bits(legs.SpeedOverWindow(i, window)), Bits(SpeedOverWindow(points, i, window)))
          << "point " << i << ", window " << window << " s";
    }
  }
}

void ExpectSameAsReference(const std::vector<TrackPoint>& points, std::initializer_list<int> windows = {10}) {
  ExpectIdentical(ComputeFlightStatistics(points), ComputeFlightStatisticsReference(points));
  ExpectWindowsIdentical(points, windows);
}

// Points at the given seconds, 12 m further east each, climbing 0.7 m each.
std::vector<TrackPoint> AtSeconds(std::initializer_list<int64_t> seconds) {
  std::vector<TrackPoint> points;
  int32_t i = 0;
  for (const int64_t s : seconds) {
    points.push_back(PointAt(0, 12.0 * i, static_cast<uint32_t>(5000 + s), 10000 + 7 * i));
    ++i;
  }
  return points;
}

std::vector<TrackPoint> Climbing(int32_t count, uint32_t stepSeconds) {
  std::vector<TrackPoint> points;
  for (int32_t i = 0; i < count; ++i) {
    points.push_back(PointAt(9.0 * i, 3.0 * i, stepSeconds * static_cast<uint32_t>(i), 10000 + 25 * i));
  }
  return points;
}

TEST(FlightStatisticsIdentity, SmallAndDegenerateLogs) {
  struct Case {
    const char* what;
    std::vector<TrackPoint> points;
  };
  std::vector<Case> cases = {
      {"no point", {}},
      {"one point", AtSeconds({0})},
      {"two points at one time", AtSeconds({0, 0})},
      {"every point at one time", AtSeconds({7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7})},
      {"window ends exactly on a point", AtSeconds({0, 20, 40, 60, 80, 100, 120, 130, 140})},
      {"one long step covers the window", AtSeconds({0, 1000, 1001, 1002, 3000})},
      {"clock steps back before the first point", AtSeconds({100, 101, 102, 40, 41, 42, 200, 201, 300, 301, 302})},
      {"repeated times inside windows", AtSeconds({0, 1, 1, 1, 2, 3, 3, 4, 70, 70, 71, 72, 72, 140, 141})},
      {"one-second log", Climbing(200, 1)},
      {"five-second log", Climbing(200, 5)},
      {"minute log", Climbing(50, 60)},
      {"hour log", Climbing(20, 3600)},
  };
  std::vector<TrackPoint> segments = Climbing(300, 1);
  for (const size_t at : {0, 1, 2, 61, 62, 150, 299}) segments[at].flags = kNewSegment;
  cases.push_back({"segment starts at the edges and in the middle", segments});
  std::vector<TrackPoint> corrupt = Climbing(90, 1);
  corrupt[80].gpsAlt = 120000000;
  cases.push_back({"climb beyond the shown limit", corrupt});
  std::vector<TrackPoint> antipodal = AtSeconds({0, 1, 2, 3, 70, 71, 72, 73});
  for (size_t i = 4; i < antipodal.size(); ++i) {  // Vincenty does not converge; the distance counts 0
    antipodal[i].lat = -antipodal[i].lat;
    antipodal[i].lon = antipodal[i].lon > 0 ? antipodal[i].lon - INT32_MAX : antipodal[i].lon + INT32_MAX;
  }
  cases.push_back({"nearly antipodal step", antipodal});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectSameAsReference(c.points, {1, 10, 25, 60, 61, 300});
  }
}

TEST(FlightStatisticsIdentity, UntidyGeneratedLogs) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const int32_t count = static_cast<int32_t>(seed * seed * 3 % 4000);
    ExpectSameAsReference(testing::UntidyFlight(count, seed), {1, 10, 60, 200});
  }
}

TEST(FlightStatisticsIdentity, CleanGeneratedLogs) {
  ExpectSameAsReference(testing::RandomWalkFlight(5000, 15, 7));
  ExpectSameAsReference(testing::FlightWithinDisc(5000, 800, 3));
}

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

class RealFlightStatistics : public ::testing::TestWithParam<std::string> {};

TEST_P(RealFlightStatistics, SameAsReference) {
  const std::string folder = testing::FlightCorpusDir();
  if (folder.empty()) GTEST_SKIP() << "no flight corpus";
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(folder + "/" + GetParam(), bytes));
  const std::vector<TrackPoint> points = testing::ReadIgcFixes(bytes);
  ASSERT_GT(points.size(), 700u);
  ExpectSameAsReference(points);
}

INSTANTIATE_TEST_SUITE_P(Corpus, RealFlightStatistics, ::testing::ValuesIn(CorpusNames()), [](const auto& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
});

}  // namespace
}  // namespace trelvik
