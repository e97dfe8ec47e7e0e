// MLR end to end: the real job, the real serial link and trelvik-sim on a
// pseudo-terminal; what the user gets and what the receiver was sent.
#include <gtest/gtest.h>

#include "base/atomic_file.hpp"
#include "instruments/flytec_e2e_support.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/igc_encoder.hpp"

namespace trelvik {
namespace {

using testing::CorpusFile;
using testing::MakeWaypoint;
using testing::ReadWholeFile;
using testing::Sentence;
using testing::SimRun;

const std::string kProductRequest = "$PMLR,26,01,01,0339\r\n";
const std::string kEnd = "$PMLR,06,00,02A9\r\n";
const std::string kTrackRequest = "$PMLR,24,02,0101,0399\r\n";
const std::string kWaypointRequest = "$PMLR,24,02,0301,039B\r\n";

// The messages shown, one "text / caption" line each, for readable failures.
class MlrEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  }
  static void Prepare(SimRun& run, ProtocolType protocol = ProtocolType::Mlr) {
    run.family = "mlr";
    run.protocol = protocol;
    run.log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}};
    // Transfers without a limit of their own wait this many seconds of line time.
    run.commandLine.timeout = 6;
    run.channel.realPauses = true;
  }
  // What the receiver got, once the job's last sentence has reached it.
  static std::string Received(const SimRun& run, const std::string& expected) {
    return run.ReceivedAtLeast(expected.size(), std::chrono::seconds(2));
  }
  static void ExpectPreviousLog(const SimRun& run) {
    ASSERT_EQ(run.log.points.size(), 1u);
    EXPECT_EQ(run.log.points[0].time, 1000u);
  }
};

TEST_F(MlrEndToEnd, TrackLogOfARealFlightWrittenAsIgc) {
  const std::string path = CorpusFile("pg-compeo-2008-10s.igc");
  if (path.empty()) GTEST_SKIP() << "no flight corpus";
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--igc=" + path, "--product=CPILOT EVO", "--serial=77", "--software=3.5", "--shown=Evo"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();

  const IgcDecodeResult reference = DecodeIgc(ReadWholeFile(path));
  ASSERT_TRUE(reference.Ok()) << reference.error;
  const TrackLog& log = run.log;
  ASSERT_EQ(log.points.size(), reference.points.size());
  for (size_t i = 0; i < log.points.size(); ++i) {
    EXPECT_EQ(log.points[i].time, reference.points[i].time) << i;
    EXPECT_NEAR(log.points[i].lat, reference.points[i].lat, 2) << i;
    EXPECT_NEAR(log.points[i].lon, reference.points[i].lon, 2) << i;
    EXPECT_EQ(log.points[i].gpsAlt, reference.points[i].gpsAlt) << i;
    EXPECT_EQ(log.points[i].baroAlt, 0);
  }
  EXPECT_EQ(log.source, TrackSource::Mlr);
  EXPECT_EQ(log.signable, 1);
  EXPECT_EQ(log.utcTimes, 1);
  EXPECT_EQ(log.identity, "CPilot: 77");
  EXPECT_EQ(run.channel.Products().back(), "CPilot Evo SW3.05");
  EXPECT_EQ(Received(run, kProductRequest + kEnd + kTrackRequest + kEnd),
            kProductRequest + kEnd + kTrackRequest + kEnd);
  EXPECT_EQ(run.Shown(), "");

  // Written as a signed IGC file and read back.
  testing::TempDir dir;
  IgcEncoderInput input;
  input.points = log.points;
  input.signable = log.signable;
  input.wantSecurity = true;
  const EncodedIgc igc = EncodeIgc(input);
  ASSERT_GT(igc.length, 0);
  EXPECT_TRUE(igc.isSigned);
  const std::string file = dir.File("mlr.igc");
  ASSERT_FALSE(WriteFileAtomically(file, igc.text));
  const IgcDecodeResult back = DecodeIgc(ReadWholeFile(file));
  ASSERT_TRUE(back.Ok()) << back.error;
  EXPECT_EQ(back.points.size(), log.points.size());
}

TEST_F(MlrEndToEnd, EarlySp24SendsGpsTime) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--points=30", "--software=2.71", "--per-frame=4"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();
  ASSERT_EQ(run.log.points.size(), 30u);
  // 2024-07-15 10:00:00 UTC, sent in GPS time and moved back by 14 s.
  EXPECT_EQ(run.log.points[0].time, 1089936000u + 36000u - 14u);
  EXPECT_EQ(run.log.points[0].flags, kNewSegment);
  EXPECT_EQ(run.log.points[15].flags, kNewSegment);  // the instrument's segment mark
  EXPECT_EQ(run.log.points[1].flags, 0);
  EXPECT_EQ(run.log.identity, "MLR: 123456");
  EXPECT_EQ(run.channel.Progress().back(), "30 points received");
  EXPECT_EQ(Received(run, kProductRequest + kEnd + kTrackRequest + kEnd),
            kProductRequest + kEnd + kTrackRequest + kEnd);
}

TEST_F(MlrEndToEnd, FaultsOfTheReceiverReachTheUserAndKeepThePreviousLog) {
  struct Case {
    std::vector<std::string> args;
    std::string text;
  };
  const Case cases[] = {
      {{"--bad-checksum=2"}, "E208 Format error 2"},         {{"--bad-count=28"}, "E208 Format error 1"},
      {{"--skip-frame=2"}, "E204 Bad sentence sequence"},    {{"--skip-frame=4"}, "E205 Bad sentence sequence"},
      {{"--skip-point=5"}, "E206 Bad track point sequence"}, {{"--hangup-after=200"}, "E202 COM port read error"},
  };
  for (const Case& c : cases) {
    SimRun run;
    Prepare(run);
    std::vector<std::string> args = {"--points=40", "--per-frame=10"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ASSERT_TRUE(run.Start(args)) << c.text;
    EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1) << c.text;
    EXPECT_EQ(run.Shown(), c.text + " / Read GPS track log\n");
    ExpectPreviousLog(run);
    if (c.args[0].starts_with("--hangup")) continue;
    // The receiver is always brought back out of its transfer.
    const std::string expected = kProductRequest + kEnd + kTrackRequest + kEnd;
    EXPECT_EQ(run.ReceivedAtLeast(expected.size(), std::chrono::seconds(2)), expected) << c.text;
  }
}

TEST_F(MlrEndToEnd, SilentReceiverTimesOut) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--silence-after=60"}));
  EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1);
  EXPECT_EQ(run.Shown(), "E210 Track log data timeout / Read GPS track log\n");
  const std::string expected = kProductRequest + kEnd + kTrackRequest + kEnd;
  EXPECT_EQ(run.ReceivedAtLeast(expected.size(), std::chrono::seconds(2)), expected);
}

TEST_F(MlrEndToEnd, BinaryWaypoints) {
  SimRun run;
  Prepare(run, ProtocolType::MlrFast);
  ASSERT_TRUE(run.Start({}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), 0) << run.Shown();
  const std::vector<Waypoint>& w = run.waypointList.waypoints;
  ASSERT_EQ(w.size(), 3u);
  EXPECT_STREQ(w[0].name, "FIESCH");
  EXPECT_STREQ(w[1].name, "LAND");
  EXPECT_EQ(w[0].alt, 2240);
  EXPECT_EQ(w[2].alt, -1);  // -10 dm
  EXPECT_LT(w[2].lat, 0);
  EXPECT_LT(w[2].lon, 0);
  const std::string expected = kProductRequest + kEnd + kWaypointRequest + kEnd;
  EXPECT_EQ(Received(run, expected), expected);
}

TEST_F(MlrEndToEnd, NmeaWaypointsEndWhenTheListComesRoundAgain) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--wpl=2"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), 0);
  const std::vector<Waypoint>& w = run.waypointList.waypoints;
  ASSERT_EQ(w.size(), 3u);
  EXPECT_STREQ(w[0].name, "FIESCH");
  EXPECT_STREQ(w[0].description, "Fiesch launch");
  EXPECT_STREQ(w[2].name, "SOUTH");
  EXPECT_LT(w[2].lon, 0);
  EXPECT_EQ(run.channel.Progress().back(), "Waypoints read (3)");
  EXPECT_EQ(run.Received(), kProductRequest + kEnd);
}

TEST_F(MlrEndToEnd, NmeaWaypointsThatNeverRepeatTimeOut) {
  SimRun run;
  Prepare(run);
  run.commandLine.timeout = 2;
  ASSERT_TRUE(run.Start({"--wpl=1"}));
  EXPECT_EQ(run.Run(AccessFunction::DownloadWaypoints), -1);
  EXPECT_EQ(run.Shown(), "Timeout while waiting for data / Read GPS waypoints\n");
}

TEST_F(MlrEndToEnd, WaypointUploadSendsOneSentenceEach) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({}));
  const std::vector<Waypoint> waypoints = {MakeWaypoint(46.42433333, 8.135, "FIESCH", "Fiesch launch", 2240),
                                           MakeWaypoint(-33.5, -151.25, "SYD", "", 0)};
  ASSERT_EQ(run.Run(AccessFunction::UploadWaypoints, waypoints), 0);
  const std::string expected = kProductRequest + kEnd +
                               Sentence("GPWPL,4625.460,N,00808.100,E,FIESCH0Fiesch launch         ") +
                               Sentence("GPWPL,3330.000,S,15115.000,W,SYD   0                      ");
  EXPECT_EQ(run.ReceivedAtLeast(expected.size(), std::chrono::seconds(5)), expected);
  EXPECT_EQ(run.channel.Progress().back(), "Waypoint 2 sent");
}

}  // namespace
}  // namespace trelvik
