#include "access/estimate_remaining.hpp"

#include <gtest/gtest.h>

#include "records/format_progress.hpp"

namespace trelvik {
namespace {

struct EstimateCase {
  const char* name;
  int32_t expectedCount;
  uint32_t expectedDuration;
  TrackTime firstFixTime;
  std::vector<TrackTime> pointTimes;  // only the count and the last time matter
  uint32_t elapsedMs;
  int expected;
};

class EstimateRemainingTest : public ::testing::TestWithParam<EstimateCase> {};

TEST_P(EstimateRemainingTest, GivesTheExpectedSeconds) {
  const EstimateCase& c = GetParam();
  GpsJob job;
  job.expectedCount = c.expectedCount;
  job.expectedDuration = c.expectedDuration;
  job.firstFixTime = c.firstFixTime;
  job.firstFixTick = 1000;
  for (TrackTime time : c.pointTimes) job.points.push_back(TrackPoint{0, time});
  EXPECT_EQ(EstimateRemaining(job, 1000 + c.elapsedMs), c.expected) << c.name;
}

std::vector<TrackTime> Times(int count, TrackTime last) {
  std::vector<TrackTime> times(static_cast<size_t>(count), 0);
  if (count > 0) times.back() = last;
  return times;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EstimateRemainingTest,
    ::testing::Values(
        EstimateCase{"100 of 1000 points after 10 s", 1000, 0, 0, Times(100, 0), 10000, 90},
        EstimateCase{"capped at 5999", 1000000, 0, 0, Times(100, 0), 10000, 5999},
        EstimateCase{"more points than announced", 10, 0, 0, Times(20, 0), 10000, 0},
        EstimateCase{"no point yet", 1000, 0, 0, {}, 10000, 5999},
        EstimateCase{"a quarter of a one-hour flight in 30 s", 0, 3600, 5000, Times(10, 5900), 30000, 90},
        EstimateCase{"nothing of the flight done yet", 0, 3600, 5000, Times(1, 5000), 30000, 5999},
        EstimateCase{"past the announced end", 0, 600, 5000, Times(10, 6000), 30000, 0}));

TEST(EstimateRemainingTest, SurvivesTheTickCounterWrapping) {
  GpsJob job;
  job.expectedCount = 1000;
  job.firstFixTick = 0xFFFFFF00u;
  job.points.resize(100);
  EXPECT_EQ(EstimateRemaining(job, 0xFFFFFF00u + 10000u), 90);
}

TEST(EstimateRemainingTest, ShownAsMinutesAndSeconds) {
  const MinutesSeconds ninety = SplitRemaining(90);
  EXPECT_EQ(FormatProgress("Track position % (%m %s)", 100, ninety.minutes, ninety.seconds),
            "Track position 100 (1m 30s)");
  const MinutesSeconds most = SplitRemaining(kMaxRemainingSeconds);
  EXPECT_EQ(FormatProgress("Track position % of % (%m %s)", 200, 1000, most.minutes, most.seconds),
            "Track position 200 of 1000 (99m 59s)");
}

}  // namespace
}  // namespace trelvik
