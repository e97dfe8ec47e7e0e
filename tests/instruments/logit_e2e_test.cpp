// LogIt end to end: the real job, the real serial link and trelvik-sim on a
// pseudo-terminal; what the user gets and what the logger was sent.
#include <gtest/gtest.h>

#include "instruments/flytec_e2e_support.hpp"

namespace trelvik {
namespace {

using testing::SimRun;

const std::string kEnd = "$PMLR,06,00,02A9\r\n";
const std::string kIdentify = kEnd + "$PMLR,26,01,01,0339\r\n" + kEnd;
const std::string kCount = "$PMLR,58,00,02B0\r\n";
const std::string kTrack57600 = "$PMLR,24,02,0102,039A\r\n";

class LogItEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  }
  static void Prepare(SimRun& run, int32_t baud = 57600) {
    run.family = "logit";
    run.protocol = ProtocolType::LogIt;
    run.option = baud;
    run.commandLine.timeout = 4;
    run.channel.realPauses = true;
    run.log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}};
  }
  static std::string Received(const SimRun& run, const std::string& expected) {
    return run.ReceivedAtLeast(expected.size(), std::chrono::seconds(2));
  }
};

TEST_F(LogItEndToEnd, TrackLoggerCountsAndSendsItsTrack) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--points=40"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();
  const TrackLog& log = run.log;
  ASSERT_EQ(log.points.size(), 40u);
  EXPECT_EQ(log.points[0].time, 1089936000u + 36000u);  // 2024-07-15 10:00:00
  EXPECT_EQ(log.points[39].time, log.points[0].time + 78);
  EXPECT_EQ(log.points[0].flags, kNewSegment);
  EXPECT_EQ(log.points[1].flags, 0);
  EXPECT_EQ(log.points[0].gpsAlt, 15000);
  EXPECT_EQ(log.source, TrackSource::LogIt);
  EXPECT_EQ(log.utcTimes, 0);
  EXPECT_EQ(log.signable, 1);
  EXPECT_EQ(log.identity, "TRACKLOGGER: 000815");
  EXPECT_EQ(run.channel.Products().back(), "TRACKLOGGER 2.10 (GPS logger)");
  const std::vector<std::string> notes = run.datagrams.Texts();
  EXPECT_NE(std::find(notes.begin(), notes.end(), "Progress 1/40"), notes.end());
  const std::string expected = kIdentify + kCount + kTrack57600 + kEnd;
  EXPECT_EQ(Received(run, expected), expected);
  EXPECT_EQ(run.Shown(), "");
}

TEST_F(LogItEndToEnd, EachSpeedHasItsRequest) {
  const std::pair<int32_t, std::string> speeds[] = {
      {38400, "$PMLR,24,02,0101,0399\r\n"},
      {19200, "$PMLR,24,02,0100,0398\r\n"},
      {115200, "$PMLR,24,02,0103,039B\r\n"},
      {4800, "$PMLR,24,02,0110,0388\r\n"},
  };
  for (const auto& [baud, request] : speeds) {
    SimRun run;
    Prepare(run, baud);
    ASSERT_TRUE(run.Start({"--points=3", "--model=LOGIT"}));
    ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();
    EXPECT_EQ(run.log.points.size(), 3u);
    const std::string expected = kIdentify + request + kEnd;  // no count for other models
    EXPECT_EQ(Received(run, expected), expected) << baud;
  }
}

TEST_F(LogItEndToEnd, BrokenFrameRestartsFromTheNextPoint) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--points=40", "--bad-checksum=2"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();
  ASSERT_EQ(run.log.points.size(), 40u);
  for (size_t i = 1; i < 40; ++i) EXPECT_EQ(run.log.points[i].time, run.log.points[i - 1].time + 2) << i;
  EXPECT_NE(std::find(run.channel.Progress().begin(), run.channel.Progress().end(), "RESTART at point 17"),
            run.channel.Progress().end());
  const std::string expected = kIdentify + kCount + kTrack57600 + "$PMLR,59,17,02B9\r\n" + kTrack57600 + kEnd;
  EXPECT_EQ(Received(run, expected), expected);
}

TEST_F(LogItEndToEnd, FaultsReachTheUserAndKeepThePreviousLog) {
  struct Case {
    std::vector<std::string> args;
    std::string text;
  };
  const Case cases[] = {
      {{"--model=LOGIT", "--bad-checksum=1"}, "E204 Format error 9 / Read LogIt track log\n"},
      {{"--model=LOGIT", "--skip-frame=2"}, "E204 Format error 53 / Read LogIt track log\n"},
      {{"--model=LOGIT", "--skip-point=5"}, "E204 Format error 52 / Read LogIt track log\n"},
      {{"--model=LOGIT", "--skip-frame=0"}, "E204 Format error 50 / Read LogIt track log\n"},
      {{"--skip-frame=1", "--no-restart=1"}, "E204 Format error 51 / Read LogIt track log\n"},
      {{"--fewer=5"}, "35 points of 40 received / Read LogIt track log\n"},
      {{"--model=LOGIT", "--silence-after=80"}, "Timeout while waiting for data / Read LogIt track log\n"},
      {{"--bad-id-checksum=1"}, "No valid response from GPS / Get GPS product data\n"},
  };
  for (const Case& c : cases) {
    SimRun run;
    Prepare(run);
    std::vector<std::string> args = {"--points=40"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ASSERT_TRUE(run.Start(args)) << c.text;
    EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1) << c.text;
    EXPECT_EQ(run.Shown(), c.text);
    ASSERT_EQ(run.log.points.size(), 1u) << c.text;
  }
}

TEST_F(LogItEndToEnd, FirmwareOneOhTwoIsTakenWhateverItsChecksum) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--points=3", "--bad-id-checksum=1", "--firmware=1.02"}));
  EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << run.Shown();
}

TEST_F(LogItEndToEnd, EraseNameAndLoggerData) {
  {
    SimRun run;
    Prepare(run);
    ASSERT_TRUE(run.Start({}));
    ASSERT_EQ(run.Run(AccessFunction::EraseLog), 0);
    EXPECT_EQ(run.channel.Progress().back(), "Command sent (no verification)");
    const std::string expected = kEnd + "$PMLR,99,00,02B5\r\n";
    EXPECT_EQ(Received(run, expected), expected);
  }
  {
    SimRun run;
    Prepare(run);
    run.ownerName = "Jo Flyer  ";
    ASSERT_TRUE(run.Start({}));
    ASSERT_EQ(run.Run(AccessFunction::UploadPilotName), 0);
    EXPECT_EQ(run.channel.Progress().back(), "Name sent (no verification)");
    const std::string expected = kEnd + "$PMLR,IDGPS,01,Jo Flyer ,       *00\r\n";
    EXPECT_EQ(Received(run, expected), expected);
  }
  {
    SimRun run;
    Prepare(run);
    ASSERT_TRUE(run.Start({"--model=LOGIT", "--description=Logger", "--serial=42", "--firmware=1.50"}));
    ASSERT_EQ(run.Run(AccessFunction::LoggerDataDialog), 0);
    EXPECT_EQ(run.Shown(), "Model: LOGIT\nDescription: Logger\nSerial number: 42\nFirmware: 1.50 / Product Data\n");
    EXPECT_EQ(Received(run, kIdentify), kIdentify);
  }
}

}  // namespace
}  // namespace trelvik
