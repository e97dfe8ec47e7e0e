// Graviter end to end: the real job, the real serial link and trelvik-sim on
// a pseudo-terminal; what the user gets and what the logger was sent.
#include <gtest/gtest.h>

#include "instruments/flytec_e2e_support.hpp"

namespace trelvik {
namespace {

using testing::SimRun;

constexpr double kSemicirclesPerDegree = 2147483648.0 / 180.0;

class GraviterEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  }
  static void Prepare(SimRun& run) {
    run.family = "graviter";
    run.protocol = ProtocolType::Graviter;
    run.log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}};
  }
  // The generated flight of the simulator: 2 s apart from 10:00:00 on
  // 2024-07-15, near Fiesch, climbing.
  static void ExpectGeneratedFlight(const TrackLog& log, size_t count) {
    ASSERT_EQ(log.points.size(), count);
    EXPECT_EQ(log.points[0].time, 1089936000u + 36000u);
    for (size_t i = 1; i < count; ++i) EXPECT_EQ(log.points[i].time, log.points[i - 1].time + 2) << i;
    EXPECT_NEAR(log.points[0].lat / kSemicirclesPerDegree, 46.4243, 1e-5);
    EXPECT_NEAR(log.points[0].lon / kSemicirclesPerDegree, 8.1380, 1e-5);
    EXPECT_EQ(log.points[0].gpsAlt, 15000);
    EXPECT_EQ(log.points[3].gpsAlt, 14660);  // a step down of 40 m
    EXPECT_EQ(log.points[0].flags, kNewSegment);
    EXPECT_EQ(log.points[1].flags, 0);
  }
};

TEST_F(GraviterEndToEnd, TracksOfTheMemoryRingBecomeOneLog) {
  for (const std::string wrap : {"--wrap=0", "--wrap=1"}) {
    SimRun run;
    Prepare(run);
    ASSERT_TRUE(run.Start({"--points=60", "--tracks=2", wrap}));
    ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();
    ExpectGeneratedFlight(run.log, 60);
    EXPECT_EQ(run.log.points[30].flags, kNewSegment);  // the second track
    EXPECT_EQ(run.log.source, TrackSource::Graviter);
    EXPECT_EQ(run.log.utcTimes, 0);
    EXPECT_EQ(run.log.identity, "Graviter: 4711");
    EXPECT_EQ(run.channel.Products().back(), "Graviter-2");
    EXPECT_EQ(run.channel.Progress().back(), "60 points received");
    EXPECT_EQ(run.ReceivedAtLeast(2, std::chrono::seconds(2)), "Vy");
    EXPECT_EQ(run.Shown(), "");
  }
}

TEST_F(GraviterEndToEnd, TrackWithoutPositionsIsNoticed) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--points=20", "--tracks=1", "--empty-track=1"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();
  EXPECT_EQ(run.log.points.size(), 20u);
  EXPECT_EQ(
      run.Shown(),
      "The track log starting at 2024-07-15  10:00 does not contain any valid GPS positions / No log positions\n");
}

TEST_F(GraviterEndToEnd, EmptyMemoryIsAnEmptyLog) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--empty=1"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();
  EXPECT_EQ(run.channel.Progress().back(), "0 points received");
}

TEST_F(GraviterEndToEnd, FaultsReachTheUserAndKeepThePreviousLog) {
  struct Case {
    std::vector<std::string> args;
    std::string text;
  };
  const Case cases[] = {
      {{"--bad-pointer=1"}, "E205 Format error 4 / Read GPS track log\n"},
      {{"--cyclic=1"}, "E205 Format error 10 / Read GPS track log\n"},
      {{"--bad-checksum=1"}, "E205 Format error 3 / Read GPS track log\n"},
      {{"--cut=3"}, "E205 Format error 22 / Read GPS track log\n"},
      {{"--cut=12"}, "E205 Format error 34 / Read GPS track log\n"},
      {{"--silence-after=5000"}, "E205 Format error 2 / Read GPS track log\n"},
      {{"--hangup-after=5000"}, "E203 COM port read error / Read GPS track log\n"},
  };
  for (const Case& c : cases) {
    SimRun run;
    Prepare(run);
    std::vector<std::string> args = {"--points=60"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ASSERT_TRUE(run.Start(args)) << c.text;
    EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1) << c.text;
    EXPECT_EQ(run.Shown(), c.text);
    ASSERT_EQ(run.log.points.size(), 1u) << c.text;
  }
}

}  // namespace
}  // namespace trelvik
