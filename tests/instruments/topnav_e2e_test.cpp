// Top Navigator end to end: the real job and serial link against trelvik-sim
// playing a TopNav; its logs in local time, its waypoint text lines and the
// upload of binary records, with the line setup the program made.
#include <gtest/gtest.h>

#include "instruments/flytec_e2e_support.hpp"
#include "instruments/self_sending_e2e.hpp"
#include "instruments/xctrainer_fixtures.hpp"

namespace trelvik {
namespace {

using testing::kJuly15;
using testing::MakeWaypoint;
using testing::ReadWholeFile;
using testing::SimRun;
using testing::WaypointRecordBytes;

class TopNavEndToEnd : public testing::SelfSendingEndToEnd {
 protected:
  static bool Start(SimRun& run, ProtocolType protocol, std::vector<std::string> args) {
    return StartSim(run, "topnav", protocol, std::move(args));
  }
};

// With UtcOffsetForTN = 7200, the instrument's 12:00:00 is stored as 10:00:00.
TEST_F(TopNavEndToEnd, LogsInLocalTimeBecomeUtc) {
  struct Case {
    ProtocolType protocol;
    std::vector<std::string> args;
    std::string setup;
    std::string product;
    int32_t baroAlt;
    int hasPressure;
  } const cases[] = {
      {ProtocolType::TopNav, {"--points=40"}, "9600\n", "Top Navigator", 0, 0},
      {ProtocolType::TopNavMxp, {"--log=mxp", "--points=40", "--format=2"}, "57600\n",
       "Top Navigator V1.234, S/N 4660", 1485, 1},
  };
  for (const Case& c : cases) {
    SimRun run;
    std::vector<std::string> args = c.args;
    args.push_back("--utc-offset=7200");
    ASSERT_TRUE(Start(run, c.protocol, args));
    run.utcOffsetForTn = 7200;
    ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();
    EXPECT_EQ(Setups(run), c.setup);
    ASSERT_EQ(run.log.points.size(), 40u);
    EXPECT_EQ(run.log.points[0].time, kJuly15 + 36000);
    EXPECT_EQ(run.log.points[0].gpsAlt, 15000);
    EXPECT_EQ(run.log.points[0].baroAlt, c.baroAlt);
    EXPECT_EQ(run.log.hasPressureAltitude, c.hasPressure);
    EXPECT_EQ(run.log.identity, "TopNav: 4660");
    EXPECT_EQ(run.channel.Products().back(), c.product);
    EXPECT_EQ(run.channel.Progress().back(), "40 points received");
    EXPECT_EQ(run.Shown(), "");
    if (c.protocol == ProtocolType::TopNav) ExpectTopNavFileReadsBack(run.log, 7200);
  }
}

TEST_F(TopNavEndToEnd, WaypointLinesEachAnsweredUpToTheEndMark) {
  SimRun run;
  ASSERT_TRUE(Start(run, ProtocolType::TopNav, {"--send=waypoints"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), 0) << run.Shown();
  EXPECT_EQ(Setups(run), "9600\n");
  const std::vector<Waypoint>& w = run.waypointList.waypoints;
  ASSERT_EQ(w.size(), 4u);
  EXPECT_STREQ(w[0].name, "FIESCH");
  EXPECT_STREQ(w[0].description, "");
  EXPECT_EQ(w[0].alt, 2240);
  EXPECT_STREQ(w[1].name, "LANDIN");
  EXPECT_STREQ(w[3].name, "SOUTH");
  EXPECT_LT(w[3].lat, 0);
  EXPECT_LT(w[3].lon, 0);
  // The comment, four turnpoints and the "HOM" line are answered; "@EOF" is not.
  EXPECT_EQ(run.ReceivedAtLeast(24, std::chrono::seconds(2)), "@@OK@@OK@@OK@@OK@@OK@@OK");
  EXPECT_EQ(run.log.identity, "Top Navigator");
  EXPECT_EQ(run.channel.Progress().back(), "4 waypoints received");
}

TEST_F(TopNavEndToEnd, WaypointListThatNeverEnds) {
  struct Case {
    std::string fault;
    std::string shown;
  } const cases[] = {
      {"--silence-after=80", "Timeout while waiting for data / Read GPS waypoints\n"},
      {"--hangup-after=80", "E301 COM port read error / Read GPS waypoints\n"},
  };
  for (const Case& c : cases) {
    SimRun run;
    ASSERT_TRUE(Start(run, ProtocolType::TopNav, {"--send=waypoints", c.fault}));
    EXPECT_EQ(run.Run(AccessFunction::DownloadWaypoints), -1);
    EXPECT_EQ(run.Shown(), c.shown);
    EXPECT_TRUE(run.waypointList.waypoints.empty());
  }
}

// The user gives up waiting for an instrument that never starts its transfer.
TEST_F(TopNavEndToEnd, AbortWhileWaitingForData) {
  SimRun run;
  ASSERT_TRUE(Start(run, ProtocolType::TopNav, {"--send=none"}));
  run.channel.SetSpeed(1);
  ASSERT_TRUE(run.StartOnly(AccessFunction::DownloadTrackLog));
  ASSERT_TRUE(run.channel.WaitForProgress("Waiting for data", std::chrono::seconds(5)));
  EXPECT_EQ(run.Abort(), 0);
  ASSERT_TRUE(run.WaitForEnd(std::chrono::seconds(5)));
  EXPECT_EQ(run.result.load(), -1);
  EXPECT_EQ(run.channel.Progress().back(), "Transfer aborted");
  EXPECT_EQ(run.Shown(), "");
}

TEST_F(TopNavEndToEnd, WaypointUploadWithoutFlowControl) {
  SimRun run;
  ASSERT_TRUE(Start(run, ProtocolType::TopNav, {"--send=none"}));
  const std::vector<Waypoint> waypoints = {MakeWaypoint(46.4243333, 8.135, "FIESCH", "", 2240)};
  ASSERT_EQ(run.Run(AccessFunction::UploadWaypoints, waypoints), 0) << run.Shown();
  const std::string expected = WaypointRecordBytes("FIESCH", 2240, 278546, 48810);
  EXPECT_EQ(run.ReceivedAtLeast(expected.size(), std::chrono::seconds(2)), expected);
  EXPECT_EQ(Setups(run), "9600\n");
  EXPECT_EQ(run.channel.Progress().back(), "1 waypoints sent");
}

}  // namespace
}  // namespace trelvik
