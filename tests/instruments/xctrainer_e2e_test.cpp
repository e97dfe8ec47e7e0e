// XC Trainer end to end: the real job, the real serial link and trelvik-sim
// on a pseudo-terminal sending its log on its own; what the user gets, the
// line setup the program made and what the instrument was sent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "base/atomic_file.hpp"
#include "instruments/flytec_e2e_support.hpp"
#include "instruments/self_sending_e2e.hpp"
#include "instruments/xctrainer_fixtures.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/igc_encoder.hpp"

namespace trelvik {
namespace {

using testing::kJuly15;
using testing::MakeWaypoint;
using testing::ReadWholeFile;
using testing::SimRun;
using testing::WaypointRecordBytes;

class XcTrainerEndToEnd : public testing::SelfSendingEndToEnd {
 protected:
  // A previous log, which a failed download must leave as it was.
  static bool Start(SimRun& run, ProtocolType protocol, std::vector<std::string> args) {
    run.log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}};
    run.log.rawLog = "previous";
    return StartSim(run, "xctrainer", protocol, std::move(args));
  }
  static void ExpectPreviousLog(const SimRun& run) {
    ASSERT_EQ(run.log.points.size(), 1u);
    EXPECT_EQ(run.log.points[0].time, 1000u);
    EXPECT_EQ(run.log.rawLog, "previous");
  }
};

TEST_F(XcTrainerEndToEnd, TncmLogInstalledAndWrittenAsIgc) {
  SimRun run;
  ASSERT_TRUE(Start(run, ProtocolType::XcTrainer, {"--points=75", "--format=2", "--utc-offset=3600"}));
  run.utcOffsetForTn = 3600;
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();
  EXPECT_EQ(Setups(run), "57600 xon/xoff\n");
  const TrackLog& log = run.log;
  ASSERT_EQ(log.points.size(), 75u);
  // One position a second from 10:00:00 UTC, the instrument's clock an hour ahead.
  for (size_t i = 0; i < log.points.size(); ++i) EXPECT_EQ(log.points[i].time, kJuly15 + 36000 + i) << i;
  EXPECT_EQ(log.points[0].gpsAlt, 15000);
  EXPECT_EQ(log.points[0].baroAlt, 1485);
  EXPECT_EQ(log.points[3].gpsAlt, 14660);
  EXPECT_NEAR(log.points[0].lat / 2147483648.0 * 180.0, 46.4243, 1e-4);
  EXPECT_EQ(log.points[0].flags, kNewSegment);
  EXPECT_EQ(log.source, TrackSource::XcTrainerTopNav);
  EXPECT_EQ(log.hasPressureAltitude, 1);
  EXPECT_EQ(log.utcTimes, 0);
  EXPECT_EQ(log.identity, "XcTrainer: 4660");
  EXPECT_EQ(run.channel.Products().back(), "XC Trainer");
  EXPECT_EQ(run.channel.Progress().back(), "75 points received");
  EXPECT_TRUE(log.rawLog.starts_with("@TNC2"));
  EXPECT_TRUE(log.rawLog.ends_with("@EOF\r\n"));
  EXPECT_EQ(run.Received(), "");
  EXPECT_EQ(run.Shown(), "");

  testing::TempDir dir;
  IgcEncoderInput input;
  input.points = log.points;
  input.signable = log.signable;
  input.wantSecurity = true;
  const EncodedIgc igc = EncodeIgc(input);
  ASSERT_GT(igc.length, 0);
  const std::string igcFile = dir.File("flight.igc");
  ASSERT_FALSE(WriteFileAtomically(igcFile, igc.text));
  const IgcDecodeResult decoded = DecodeIgc(ReadWholeFile(igcFile));
  ASSERT_TRUE(decoded.Ok()) << decoded.error;
  EXPECT_EQ(decoded.points.size(), log.points.size());

  // Both altitudes come back from the log's own format-2 lines.
  ExpectTopNavFileReadsBack(log, 3600);
}

TEST_F(XcTrainerEndToEnd, MxpLogWithProgressEveryHundredPositions) {
  SimRun run;
  ASSERT_TRUE(Start(run, ProtocolType::XcTrainerMxp, {"--log=mxp", "--points=150", "--format=1", "--serial=77"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();
  EXPECT_EQ(Setups(run), "57600 xon/xoff\n");
  const TrackLog& log = run.log;
  ASSERT_EQ(log.points.size(), 150u);
  EXPECT_EQ(log.points[0].time, kJuly15 + 36000);
  EXPECT_EQ(log.points[149].time, kJuly15 + 36000 + 298);  // two seconds apart
  EXPECT_EQ(log.points[0].gpsAlt, 15000);
  EXPECT_EQ(log.points[0].baroAlt, 0);
  EXPECT_EQ(log.hasPressureAltitude, 0);
  EXPECT_EQ(log.identity, "XcTrainer: 77");
  EXPECT_EQ(run.channel.Products().back(), "XC Trainer V1.2-34, S/N 77");
  const std::vector<std::string> progress = run.channel.Progress();
  EXPECT_TRUE(std::any_of(progress.begin(), progress.end(),
                          [](const std::string& p) { return p.starts_with("Track position 100 of 150 ("); }));
  EXPECT_EQ(progress.back(), "150 points received");
  EXPECT_TRUE(log.rawLog.starts_with("@xc"));
}

TEST_F(XcTrainerEndToEnd, FaultsOfTheInstrumentReachTheUserAndKeepThePreviousLog) {
  struct Case {
    ProtocolType protocol;
    std::vector<std::string> args;
    std::string shown;
  };
  const ProtocolType mxp = ProtocolType::XcTrainerMxp;
  const ProtocolType tncm = ProtocolType::XcTrainer;
  const Case cases[] = {
      {mxp, {"--log=mxp", "--bad-checksum=3"}, "E202 Bad checksum / Decode track log sentence\n"},
      {mxp, {"--log=mxp", "--bad-checksum=0"}, "E202 Bad checksum / Decode track log sentence\n"},
      {mxp, {"--log=mxp", "--repeat-record=4"}, "E202 Bad record number sequence / Decode track log sentence\n"},
      {mxp, {"--log=mxp", "--short-line=2"}, "E202 Too short line / Decode track log sentence\n"},
      {mxp, {"--log=mxp", "--announce=61"}, "Timeout while waiting for data / Read GPS track log\n"},
      {mxp, {"--log=mxp", "--send=none"}, "Timeout while waiting for data / Read GPS track log\n"},
      {mxp, {"--log=mxp", "--hangup-after=500"}, "E201 COM port read error / Read GPS track log\n"},
      {tncm, {"--block-gap=20"}, "E202 Format error 2 / Read GPS track log\n"},
      {tncm, {"--bad-line=5,9"}, "E202 Format error 11 / Read GPS track log\n"},
      {tncm, {"--bad-line=55"}, "E202 Format error 10 / Read GPS track log\n"},
      {tncm, {"--no-eof=1"}, "Timeout while waiting for data / Read GPS track log\n"},
      {tncm, {"--silence-after=300"}, "Timeout while waiting for data / Read GPS track log\n"},
      {tncm, {"--hangup-after=500"}, "E201 COM port read error / Read GPS track log\n"},
  };
  for (const Case& c : cases) {
    SimRun run;
    std::vector<std::string> args = {"--points=60"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ASSERT_TRUE(Start(run, c.protocol, args)) << c.shown;
    EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1) << c.shown;
    EXPECT_EQ(run.Shown(), c.shown);
    ExpectPreviousLog(run);
  }
}

TEST_F(XcTrainerEndToEnd, BadLinesOfOneBlockAreIgnoredWithAWarning) {
  SimRun run;
  ASSERT_TRUE(Start(run, ProtocolType::XcTrainer, {"--points=90", "--bad-line=31,32,33,34,35"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();
  EXPECT_EQ(run.Shown(), "Error(s) in 1 block(s) ignored / Read GPS track log\n");
  ASSERT_EQ(run.log.points.size(), 85u);
  EXPECT_EQ(run.log.points[29].time, kJuly15 + 36000 + 29);
  EXPECT_EQ(run.log.points[30].time, kJuly15 + 36000 + 35);
}

TEST_F(XcTrainerEndToEnd, WaypointRecordsEachAnsweredAndTheOneHoldingFlowControlBytes) {
  SimRun run;
  ASSERT_TRUE(Start(run, ProtocolType::XcTrainer, {"--send=waypoints"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), 0) << run.Shown();
  EXPECT_EQ(Setups(run), "9600\n");
  const std::vector<Waypoint>& w = run.waypointList.waypoints;
  ASSERT_EQ(w.size(), 4u);
  EXPECT_STREQ(w[0].name, "FIESCH");
  EXPECT_STREQ(w[0].description, "FIESCH LNCH");
  EXPECT_EQ(w[0].alt, 2240);
  EXPECT_STREQ(w[2].name, "XONOFF");
  EXPECT_EQ(w[2].lat, static_cast<int32_t>(std::lround(0x041311 * testing::kSemicirclesPer6000th)));
  EXPECT_EQ(w[2].lon, static_cast<int32_t>(std::lround(0x001113 * testing::kSemicirclesPer6000th)));
  EXPECT_LT(w[3].lon, 0);
  EXPECT_EQ(run.log.identity, "XC Trainer");
  EXPECT_EQ(run.ReceivedAtLeast(16, std::chrono::seconds(2)), "@@OK@@OK@@OK@@OK");
  EXPECT_EQ(run.channel.Progress().back(), "4 waypoints received");
}

TEST_F(XcTrainerEndToEnd, WaypointFaults) {
  struct Case {
    std::vector<std::string> args;
    std::string shown;
    std::string progress;
  } const cases[] = {
      {{"--send=waypoints", "--bad-record=2"}, "E302 Format error 2 / Read GPS waypoints\n", "1 waypoints received"},
      {{"--send=none"}, "", "Transfer aborted"},
      {{"--send=waypoints", "--hangup-after=40"}, "E301 COM port read error / Read GPS waypoints\n",
       "1 waypoints received"},
  };
  for (const Case& c : cases) {
    SimRun run;
    ASSERT_TRUE(Start(run, ProtocolType::XcTrainer, c.args));
    EXPECT_EQ(run.Run(AccessFunction::DownloadWaypoints), -1) << c.shown;
    EXPECT_EQ(run.Shown(), c.shown);
    EXPECT_EQ(run.channel.Progress().back(), c.progress);
  }
}

TEST_F(XcTrainerEndToEnd, WaypointUploadSendsOneRecordEach) {
  SimRun run;
  ASSERT_TRUE(Start(run, ProtocolType::XcTrainer, {"--send=none"}));
  const std::vector<Waypoint> waypoints = {MakeWaypoint(46.4243333, 8.135, "FIESCH", "Fiesch launch", 2240),
                                           MakeWaypoint(-33.5, -151.25, "SEA", "", -20),
                                           MakeWaypoint(267025 / 6000.0, 4371 / 6000.0, "XONOFF", "", 500)};
  ASSERT_EQ(run.Run(AccessFunction::UploadWaypoints, waypoints), 0) << run.Shown();
  // The last record holds the bytes 0x11 and 0x13, which reach the instrument as they are.
  const std::string expected = WaypointRecordBytes("FIESCH", 2240, 278546, 48810) +
                               WaypointRecordBytes("SEA", 0, -201000, -907500) +
                               WaypointRecordBytes("XONOFF", 500, 0x041311, 0x001113);
  EXPECT_EQ(run.ReceivedAtLeast(expected.size(), std::chrono::seconds(2)), expected);
  EXPECT_EQ(Setups(run), "9600 xon/xoff\n");
  EXPECT_EQ(run.channel.Progress().back(), "3 waypoints sent");
  const std::vector<std::string> texts = run.datagrams.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Sent wpt 3/3"), texts.end());
}

}  // namespace
}  // namespace trelvik
