// Digifly Leonardo end to end: the real job, the real serial link and
// trelvik-sim on a pseudo-terminal; what the user gets and what the
// instrument's memory received.
#include <gtest/gtest.h>

#include <thread>

#include "base/c_format.hpp"
#include "instruments/flytec_e2e_support.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "instruments/leonardo/codec.hpp"
#include "trackfiles/igc_decoder.hpp"

namespace trelvik {
namespace {

using namespace std::chrono_literals;
using testing::MakeWaypoint;
using testing::ReadWholeFile;
using testing::SimRun;

constexpr const char* kRealFlight = "sim/flights/pg-flytec6030-2008-3s.igc";
constexpr const char* kTrackCaption = "Read GPS track log";

class LeonardoEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  }
  static void Prepare(SimRun& run, std::initializer_list<int> tracks = {}) {
    run.family = "leonardo";
    run.protocol = ProtocolType::Leonardo;
    int slot = 0;
    for (int track : tracks) run.commandLine.trackList[static_cast<size_t>(slot++)] = track;
  }
  static std::vector<RecordedMessage> Error(const std::string& text, const std::string& caption) {
    return {{MessageKind::Error, text, caption}};
  }
};

TEST_F(LeonardoEndToEnd, RealFlightThroughTheRingOfPages) {
  const std::vector<std::string> wraps = {"--ring-wrap=0", "--ring-wrap=1"};
  const std::string flight = std::string("--igc=") + kRealFlight;
  for (const std::string& wrap : wraps) {
    SimRun run;
    Prepare(run, {0});
    const std::vector<std::string> args = {flight, wrap};
    ASSERT_TRUE(run.Start(args));
    ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << wrap;
    const IgcDecodeResult reference = DecodeIgc(ReadWholeFile(kRealFlight));
    ASSERT_TRUE(reference.Ok());
    const std::vector<TrackPoint>& points = run.log.points;
    ASSERT_EQ(points.size(), reference.points.size()) << wrap;
    for (size_t i = 0; i < points.size(); ++i) {
      ASSERT_EQ(points[i].time, reference.points[i].time) << i;
      // The instrument keeps positions as single-precision radians: about 2 m.
      ASSERT_NEAR(points[i].lat, reference.points[i].lat, 600) << i;
      ASSERT_NEAR(points[i].lon, reference.points[i].lon, 600) << i;
      ASSERT_EQ(points[i].gpsAlt, reference.points[i].gpsAlt) << i;
      ASSERT_EQ(points[i].baroAlt, reference.points[i].baroAlt) << i;
    }
    EXPECT_EQ(run.log.source, TrackSource::Leonardo);
    EXPECT_EQ(run.log.identity, "LeonardoPro: 5150");
    EXPECT_TRUE(run.channel.Messages().empty());
  }
}

TEST_F(LeonardoEndToEnd, FlightsAreListedNewestFirstAndJoinedInTimeOrder) {
  SimRun run;
  Prepare(run, {0, 1});
  ASSERT_TRUE(run.Start({"--flights=2"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0);
  const std::vector<TrackPoint>& points = run.log.points;
  ASSERT_EQ(points.size(), 1200u);
  int segments = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    segments += points[i].flags & kNewSegment;
    if (i > 0) {
      ASSERT_LT(points[i - 1].time, points[i].time) << i;
    }
  }
  EXPECT_EQ(segments, 1);
  EXPECT_GT(run.flightList[0].start, run.flightList[1].start);
}

TEST_F(LeonardoEndToEnd, FlightListGoesToTheProgramThatStartedTheRun) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--flights=2"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadFlightList), 0);
  EXPECT_EQ(run.datagrams.Texts(),
            (std::vector<std::string>{"Flightlist:\n2024.07.15,10:00:00,0:19:58\n2024.07.14,10:00:00,0:19:58\n"}));
}

TEST_F(LeonardoEndToEnd, FaultsReachTheUser) {
  struct Case {
    std::vector<std::string> args;
    std::vector<RecordedMessage> messages;
  };
  const Case cases[] = {
      {{"--user="}, Error("Bad/missing user name", "Reading product data")},
      {{"--bad-checksum=1"}, Error("Error 20 reading track log", kTrackCaption)},
      {{"--odd-hex=1"}, Error("Error 16 reading track log", kTrackCaption)},
      {{"--wrong-length=1"}, Error("Error 21 reading track log", kTrackCaption)},
      {{"--list-count=3"}, Error("Number of tracks detected unequal to track count indication", "Read GPS track list")},
      {{"--empty-flight=1"}, Error("No points detected", kTrackCaption)},
      {{"--silence-after=2000"}, Error("Error 12 reading track log", kTrackCaption)},
  };
  for (const Case& c : cases) {
    SimRun run;
    Prepare(run, {0, 1});
    std::vector<std::string> args = c.args;
    args.push_back("--flights=2");
    ASSERT_TRUE(run.Start(args));
    EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1) << c.args[0];
    EXPECT_EQ(run.channel.Messages(), c.messages) << c.args[0];
  }
}

TEST_F(LeonardoEndToEnd, UserAndCompetitionWaypointPages) {
  for (const int variant : {0, 1}) {
    SimRun run;
    Prepare(run);
    run.option = variant;
    ASSERT_TRUE(run.Start({}));
    ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), 0);
    const std::vector<Waypoint>& w = run.waypointList.waypoints;
    if (variant == 0) {
      ASSERT_EQ(w.size(), 2u);  // the slot with a blank name is no waypoint
      EXPECT_STREQ(w[0].name, "FIESCH");
      EXPECT_EQ(w[0].alt, 2240);
      EXPECT_EQ(w[1].alt, -12);
      EXPECT_EQ(w[1].airport, 1);
    } else {
      ASSERT_EQ(w.size(), 1u);
      EXPECT_STREQ(w[0].name, "TP01");
      EXPECT_LT(w[0].lat, 0);
    }
  }
}

// The writes the instrument received, in order: page, offset and records.
std::vector<std::string> Writes(const std::string& received) {
  std::vector<std::string> writes;
  for (size_t at = received.find("$PDGFWMM,"); at != std::string::npos; at = received.find("$PDGFWMM,", at + 1)) {
    writes.push_back(received.substr(at, received.find('\n', at) - at + 1));
  }
  return writes;
}

TEST_F(LeonardoEndToEnd, UploadPutsNewWaypointsInFrontOfTheHeldOnes) {
  const std::vector<Waypoint> fresh = {MakeWaypoint(46.5, 8.25, "NEW1", "First new", 1500),
                                       MakeWaypoint(46.6, 8.35, "NEW2", "Second new", 1600)};
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({}));
  ASSERT_EQ(run.Run(AccessFunction::UploadWaypoints, fresh), 0);
  const std::vector<std::string> writes = Writes(run.Received());
  ASSERT_EQ(writes.size(), 2u);  // records 0-1 (new), records 2-3 (the two held ones)
  const auto record = [](const Waypoint& w) {
    const std::array<uint8_t, leonardo::kWaypointRecord> bytes = leonardo::EncodeWaypoint(w);
    std::string hex;
    for (const uint8_t b : bytes) hex += CFormat("%02X", static_cast<unsigned>(b));
    return hex;
  };
  EXPECT_TRUE(writes[0].starts_with("$PDGFWMM,1,230,0,88," + record(fresh[0]) + record(fresh[1]) + "*"));
  EXPECT_TRUE(writes[1].starts_with("$PDGFWMM,1,230,88,88,"));
  EXPECT_EQ(run.channel.Progress().back(), "4 wpts sent (2 new, 0 errors)");
}

TEST_F(LeonardoEndToEnd, UploadFaults) {
  const std::vector<Waypoint> ten = [] {
    std::vector<Waypoint> list;
    for (int i = 0; i < 10; ++i) list.push_back(MakeWaypoint(46.0, 8.0 + i * 0.01, "N", "New", 1000));
    return list;
  }();
  struct Case {
    std::vector<std::string> args;
    std::vector<RecordedMessage> messages;
    size_t writes;
  };
  const Case cases[] = {
      {{"--held=186"}, Error("Waypoint buffer in GPS full", "Send GPS waypoints"), 0},
      // 180 held: six new ones fit, four are named as left out.
      {{"--held=180"}, Error("4 waypoints not sent: waypoint buffer in GPS full", "Send GPS waypoints"), 94},
      {{"--no-write-ack=1"}, Error("12 wpts sent (10 new, 6 errors)", "Send GPS waypoints"), 6},
  };
  for (const Case& c : cases) {
    SimRun run;
    Prepare(run);
    ASSERT_TRUE(run.Start(c.args));
    EXPECT_EQ(run.Run(AccessFunction::UploadWaypoints, ten), -1) << c.args[0];
    EXPECT_EQ(run.channel.Messages(), c.messages) << c.args[0];
    EXPECT_EQ(Writes(run.ReceivedAtLeast(1, 1s)).size(), c.writes) << c.args[0];
  }
}

}  // namespace
}  // namespace trelvik
