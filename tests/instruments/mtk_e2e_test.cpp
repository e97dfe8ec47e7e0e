// MTK/Pentagram logger end to end: the real job with its reader thread, the
// real serial link and trelvik-sim on a pseudo-terminal.
#include <gtest/gtest.h>

#include <thread>

#include "instruments/flytec_e2e_support.hpp"
#include "support/text_count.hpp"
#include "trackfiles/igc_decoder.hpp"

namespace trelvik {
namespace {

using namespace std::chrono_literals;
using testing::CorpusFile;
using testing::ReadWholeFile;
using testing::SimRun;

constexpr const char* kStart = "$PMTK605*31\r\n$PMTK182,2,7*3C\r\n$PMTK182,5*20\r\n";
constexpr const char* kLoggingOn = "$PMTK182,4*21\r\n";

bool Shown(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

bool EndsWith(const std::string& text, const std::string& end) { return text.ends_with(end); }

class MtkEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  }
  static void Prepare(SimRun& r, int32_t speed = 0) {
    r.family = "mtk";
    r.protocol = ProtocolType::MtkLogger;
    r.option = speed;
  }
};

TEST_F(MtkEndToEnd, LogOfARealFlightOverThreeSectors) {
  const std::string path = CorpusFile("gl-midnight-nz-2009-3s.igc");
  if (path.empty()) GTEST_SKIP() << "no flight corpus";
  SimRun run;
  Prepare(run, 38400);
  ASSERT_TRUE(run.Start({"--igc=" + path}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0);
  const IgcDecodeResult reference = DecodeIgc(ReadWholeFile(path));
  ASSERT_TRUE(reference.Ok()) << reference.error;
  const TrackLog& log = run.log;
  ASSERT_EQ(log.points.size(), reference.points.size());
  for (size_t i = 0; i < log.points.size(); ++i) {
    const TrackPoint& p = log.points[i];
    const TrackPoint& r = reference.points[i];
    ASSERT_EQ(p.time, r.time) << i;  // across midnight too
    ASSERT_NEAR(p.lat, r.lat, 1) << i;
    ASSERT_NEAR(p.lon, r.lon, 1) << i;
    ASSERT_EQ(p.gpsAlt, r.gpsAlt + 2) << i;  // the logger keeps 0.25 m more, cut to tenths
    ASSERT_EQ(p.baroAlt, 0) << i;
    ASSERT_EQ(p.flags, i == 0 ? kNewSegment : 0) << i;
  }
  EXPECT_EQ(log.source, TrackSource::Mtk);
  EXPECT_EQ(log.utcTimes, 1);
  EXPECT_EQ(log.hasPressureAltitude, 0);
  EXPECT_EQ(log.identity, "Pentagram: AXN_1.0-B_1.3_C01,0001");
  EXPECT_TRUE(Shown(run.channel.Products(), "Pentagram: AXN_1.0-B_1.3_C01,0001"));
  // 5367 records of 32 bytes ("*" and checksum included), 2000 to a sector:
  // two full sectors and 1367 records.
  const size_t used = 2 * 0x10000 + 512 + 1367 * 32;
  const std::string received = run.ReceivedAtLeast(std::string(kStart).size(), 2s);
  EXPECT_TRUE(received.starts_with(std::string(kStart) + "$PMTK182,2,8*33\r\n$PMTK182,7,00000000,00000100*"));
  EXPECT_EQ(Count(received, "$PMTK182,7,"), (used + 255) / 256);
  EXPECT_TRUE(EndsWith(received, kLoggingOn));
  EXPECT_TRUE(run.channel.Messages().empty());
  EXPECT_EQ(run.channel.Progress().back(), "5367 points received");
  // The memory image as read: three sectors, each opening with its header.
  ASSERT_EQ(log.rawLog.size(), 3u * 0x10000);
  EXPECT_EQ(log.rawLog.substr(0, 2), std::string("\xD0\x07", 2));            // 2000 records
  EXPECT_EQ(log.rawLog.substr(2 * 0x10000, 2), std::string("\xFF\xFF", 2));  // being filled
  EXPECT_EQ(static_cast<uint8_t>(log.rawLog[used]), 0xFF);
}

TEST_F(MtkEndToEnd, GeneratedLogAtEitherSpeedWithStreamedSentences) {
  for (const int32_t speed : {38400, 115200}) {
    SimRun run;
    Prepare(run, speed);
    ASSERT_TRUE(run.Start({"--sector-records=250", "--nofix-every=10", "--nmea=1", "--wrong-address=1"}));
    ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << speed;
    EXPECT_EQ(run.log.points.size(), 540u) << speed;  // 600 records, every tenth without fix
    EXPECT_TRUE(run.channel.Messages().empty());
    // The first chunk came back for another address and was asked for again.
    EXPECT_EQ(Count(run.Received(), "$PMTK182,7,00000000,"), 2u);
  }
}

TEST_F(MtkEndToEnd, LoggingThatWasOffStaysOff) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--points=20", "--logging=0"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0);
  EXPECT_EQ(run.log.points.size(), 20u);
  EXPECT_EQ(Count(run.Received(), kLoggingOn), 0u);
}

TEST_F(MtkEndToEnd, FaultsReachTheUserAndLoggingIsSwitchedBackOn) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    const char* text;
    const char* caption;
    bool loggingOff;  // logging had been switched off, so it is switched on again
  } cases[] = {
      {"silence", {"--silence-after=0"}, "No product data received", "Get product information", false},
      {"bad checksum", {"--bad-checksum=PMTK705"}, "No product data received", "Get product information", false},
      {"no memory used", {"--memory=zero"}, "Zero used memory", "Get memory used", true},
      {"too much memory", {"--memory=huge"}, "More than 64MB....", "Get memory used", true},
      {"bad header", {"--bad-header=1"}, "Bad header block", "Parse log data", true},
      {"bad record", {"--bad-record=3"}, "Bad data block (3)", "Parse log data", true},
      {"record past its sector", {"--record-past-sector=1"}, "Bad data block (1)", "Parse log data", true},
      {"logging not switched on", {"--ignore=PMTK182,4"}, "No response received", "Turn on logging", true},
      {"hang-up mid-download", {"--hangup-after=6000"}, "COM port read error", "Read log data", false},
  };
  for (const auto& c : cases) {
    SimRun run;
    Prepare(run);
    run.log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}};
    std::vector<std::string> args = {"--points=200"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ASSERT_TRUE(run.Start(args)) << c.name;
    EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1) << c.name;
    EXPECT_EQ(run.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, c.text, c.caption}}))
        << c.name;
    ASSERT_EQ(run.log.points.size(), 1u) << c.name;
    if (c.loggingOff) {
      EXPECT_TRUE(EndsWith(run.ReceivedAtLeast(100, 2s), kLoggingOn)) << c.name;
    }
  }
}

TEST_F(MtkEndToEnd, EraseWaitsForTheLoggerAndEmptiesIt) {
  SimRun run;
  Prepare(run, 38400);
  ASSERT_TRUE(run.Start({"--points=20", "--erase-seconds=1"}));
  ASSERT_EQ(run.Run(AccessFunction::EraseLog), 0);
  const std::vector<std::string> progress = run.channel.Progress();
  EXPECT_TRUE(Shown(progress, "Erasing (30)"));
  EXPECT_TRUE(Shown(progress, "Erasing (29)"));  // the logger took a second
  EXPECT_EQ(progress.back(), "Erase completed");
  const std::string expected = std::string(kStart) + "$PMTK182,6,1*3E\r\n" + kLoggingOn;
  EXPECT_EQ(run.ReceivedAtLeast(expected.size(), 2s), expected);
  // The same logger has nothing left to read.
  EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1);
  EXPECT_EQ(run.channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, "Zero used memory", "Get memory used"}}));
}

TEST_F(MtkEndToEnd, AbortWhileReadingSwitchesLoggingBackOn) {
  SimRun run;
  Prepare(run);
  run.log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}};
  ASSERT_TRUE(run.Start({"--baud=19200"}));
  ASSERT_TRUE(run.StartOnly(AccessFunction::DownloadTrackLog));
  ASSERT_TRUE(run.channel.WaitForProgress("Get memory used", 10s));
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(run.Abort(), 0);
  ASSERT_TRUE(run.WaitForEnd(5s));
  EXPECT_EQ(run.result.load(), -1);
  EXPECT_EQ(run.channel.Progress().back(), "Transfer aborted");
  EXPECT_TRUE(run.channel.Messages().empty());
  EXPECT_EQ(run.log.points.size(), 1u);
  EXPECT_TRUE(EndsWith(run.ReceivedAtLeast(200, 2s), kLoggingOn));
}

}  // namespace
}  // namespace trelvik
