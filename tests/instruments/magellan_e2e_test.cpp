// Magellan end to end: the real job, the real serial link and trelvik-sim on
// a pseudo-terminal; what the user gets and what the receiver was sent.
#include <gtest/gtest.h>

#include "base/c_format.hpp"
#include "instruments/flytec_e2e_support.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "support/text_count.hpp"
#include "trackfiles/igc_decoder.hpp"

namespace trelvik {
namespace {

using namespace std::chrono_literals;
using testing::CorpusFile;
using testing::MakeWaypoint;
using testing::ReadWholeFile;
using testing::SimRun;

constexpr const char* kVersion = "$PMGNCMD,VERSION*28\r\n";
constexpr const char* kTrack = "$PMGNCMD,TRACK,2*23\r\n";
constexpr const char* kStop = "$PMGNCMD,STOP*6A\r\n";

bool Shown(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

class MagellanEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
    run.family = "magellan";
    run.protocol = ProtocolType::Magellan;
  }
  static void GivePreviousLog(SimRun& r) { r.log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}}; }
  SimRun run;
};

TEST_F(MagellanEndToEnd, TrackLogOfARealFlight) {
  const std::string path = CorpusFile("pg-compeo-2008-10s.igc");
  if (path.empty()) GTEST_SKIP() << "no flight corpus";
  ASSERT_TRUE(run.Start({"--igc=" + path, "--model=60", "--software=3.20", "--product=MAP 330"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0);
  const IgcDecodeResult reference = DecodeIgc(ReadWholeFile(path));
  ASSERT_TRUE(reference.Ok()) << reference.error;
  const TrackLog& log = run.log;
  ASSERT_EQ(log.points.size(), reference.points.size());
  for (size_t i = 0; i < log.points.size(); ++i) {
    const TrackPoint& p = log.points[i];
    const TrackPoint& r = reference.points[i];
    ASSERT_EQ(p.time, r.time) << i;
    ASSERT_NEAR(p.lat, r.lat, 1) << i;
    ASSERT_NEAR(p.lon, r.lon, 1) << i;
    ASSERT_EQ(p.gpsAlt, r.gpsAlt) << i;
    ASSERT_EQ(p.baroAlt, 0) << i;
    ASSERT_EQ(p.flags, i == 0 ? kNewSegment : 0) << i;
  }
  EXPECT_EQ(log.source, TrackSource::Magellan);
  EXPECT_EQ(log.utcTimes, 1);
  EXPECT_EQ(log.hasPressureAltitude, 0);
  EXPECT_EQ(log.identity, "Magellan: 60");
  EXPECT_EQ(log.description, "MAP 330, SW 3.20");
  EXPECT_TRUE(Shown(run.channel.Products(), "MAP 330, SW 3.20"));
  EXPECT_EQ(run.channel.Progress().back(), CFormat("%zu points received", reference.points.size()));
  EXPECT_EQ(run.Received(), std::string(kVersion) + kTrack);  // ended by the end mark: no STOP
  EXPECT_TRUE(run.channel.Messages().empty());
}

// The receiver streams $GPRMC all the time and sends no end mark: the
// transfer still ends a second after its last track sentence, with STOP.
TEST_F(MagellanEndToEnd, StreamedPositionsDoNotKeepATransferOpen) {
  ASSERT_TRUE(run.Start({"--points=30", "--end=0", "--nmea=1", "--nofix-every=10"}));
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_EQ(run.log.points.size(), 27u);  // every tenth point has no fix
  EXPECT_EQ(
      run.ReceivedAtLeast(std::string(kVersion).size() + std::string(kTrack).size() + std::string(kStop).size(), 2s),
      std::string(kVersion) + kTrack + kStop);
  EXPECT_TRUE(run.channel.Messages().empty());
}

TEST_F(MagellanEndToEnd, WaypointsOfTheReceiver) {
  ASSERT_TRUE(run.Start({}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), 0);
  const std::vector<Waypoint>& w = run.waypointList.waypoints;
  ASSERT_EQ(w.size(), 3u);
  EXPECT_STREQ(w[0].name, "FIESCH");
  EXPECT_EQ(w[0].alt, 2240);
  EXPECT_STREQ(w[1].name, "LAND");
  EXPECT_EQ(w[1].alt, 1050);  // 3445 ft
  EXPECT_LT(w[2].lat, 0);
  EXPECT_LT(w[2].lon, 0);
  EXPECT_EQ(run.channel.Progress().back(), "3 waypoints received");
  EXPECT_EQ(run.Received(), std::string(kVersion) + "$PMGNCMD,WAYPOINT*71\r\n");
}

TEST_F(MagellanEndToEnd, WaypointUploadSendsTheExactSentences) {
  ASSERT_TRUE(run.Start({}));
  const std::vector<Waypoint> list = {
      MakeWaypoint(46 + 25.46 / 60, 8 + 8.1 / 60, "FIESCH", "Fiesch launch", 2240),
      MakeWaypoint(-(33 + 50.5 / 60), -(151 + 12.25 / 60), "SYD", "", -12),
  };
  ASSERT_EQ(run.Run(AccessFunction::UploadWaypoints, list), 0);
  const std::string expected = std::string(kVersion) +
                               testing::Sentence("PMGNWPL,4625.460,N,00808.100,E,2240,M,FIESCH,Fiesch launch") +
                               testing::Sentence("PMGNWPL,3350.500,S,15112.250,W,0000,M,SYD,") + "$PMGNCMD,END*3D\r\n";
  EXPECT_EQ(run.ReceivedAtLeast(expected.size(), 2s), expected);
  EXPECT_EQ(run.channel.Progress().back(), "2 waypoints sent");
}

TEST_F(MagellanEndToEnd, FaultsOfTheReceiverReachTheUserAndKeepThePreviousLog) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    const char* text;
    const char* caption;
  } cases[] = {
      {"old model",
       {"--model=24", "--software=3.13"},
       "E200 Model does not support time in track log",
       "Read GPS track log"},
      {"bad checksum", {"--bad-checksum=PMGNTRK"}, "E206 Format error 3", "Read GPS track log"},
      {"silence", {"--silence-after=0"}, "No valid response from GPS", "Get GPS product data"},
      {"hang-up mid-track", {"--hangup-after=3000"}, "E204 COM port read error", "Read GPS track log"},
  };
  for (const auto& c : cases) {
    SimRun r;
    r.family = "magellan";
    r.protocol = ProtocolType::Magellan;
    GivePreviousLog(r);
    ASSERT_TRUE(r.Start(c.args)) << c.name;
    EXPECT_EQ(r.Run(AccessFunction::DownloadTrackLog), -1) << c.name;
    EXPECT_EQ(r.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, c.text, c.caption}})) << c.name;
    ASSERT_EQ(r.log.points.size(), 1u) << c.name;
    EXPECT_EQ(r.log.points[0].time, 1000u) << c.name;
  }
}

TEST_F(MagellanEndToEnd, AbortInTheMiddleOfATrackSendsStop) {
  ASSERT_TRUE(run.Start({"--baud=9600"}));
  ASSERT_TRUE(run.StartOnly(AccessFunction::DownloadTrackLog));
  ASSERT_TRUE(run.channel.WaitForProgress("20 points received", 10s));
  EXPECT_EQ(run.Abort(), 0);
  ASSERT_TRUE(run.WaitForEnd(5s));
  EXPECT_EQ(run.result.load(), -1);
  EXPECT_EQ(run.channel.Progress().back(), "Transfer aborted");
  EXPECT_TRUE(run.channel.Messages().empty());
  const std::string expected = std::string(kVersion) + kTrack + kStop;
  EXPECT_EQ(run.ReceivedAtLeast(expected.size(), 2s), expected);
}

}  // namespace
}  // namespace trelvik
