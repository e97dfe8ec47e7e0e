// Garmin receivers end to end: the real job, the real serial link and
// trelvik-sim's Garmin receiver on a pseudo-terminal; what the user gets and
// the exact packets the receiver got.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "airspace/ctr_area.hpp"
#include "airspace/ctr_points.hpp"
#include "instruments/flytec_e2e_support.hpp"
#include "instruments/garmin_fixtures.hpp"
#include "trackfiles/igc_decoder.hpp"

namespace trelvik {
namespace {

using testing::Bytes;
using testing::Le16;
using testing::Le32;
using testing::ReadWholeFile;
using testing::SimRun;

// One line of the simulator's record: "id:HEX".
std::string Line(int id, const std::string& data = {}) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text = std::to_string(id) + ":";
  for (const char c : data) {
    text += kDigits[static_cast<uint8_t>(c) >> 4];
    text += kDigits[static_cast<uint8_t>(c) & 0x0F];
  }
  return text + "\n";
}

std::string AckLine(int id) { return Line(6, Bytes({id, 0})); }
const std::string kHandshake = Line(254) + AckLine(255) + AckLine(253);

bool Shown(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

class GarminEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  }
  static void Prepare(SimRun& run) {
    run.family = "garmin";
    run.protocol = ProtocolType::GarminSerial;
  }
  static std::vector<RecordedMessage> Error(const std::string& text, const std::string& caption) {
    return {{MessageKind::Error, text, caption}};
  }
};

TEST_F(GarminEndToEnd, TrackLogOfAGeneratedFlight) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--flights=2", "--fixes=40"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0);
  const TrackLog& log = run.log;
  ASSERT_EQ(log.points.size(), 80u);
  EXPECT_EQ(log.points[0].flags, kNewSegment);
  EXPECT_EQ(log.points[40].flags, kNewSegment);  // the second track log
  for (size_t i = 1; i < 80; ++i) {
    if (i == 40) continue;
    ASSERT_EQ(log.points[i].flags, 0) << i;
    ASSERT_EQ(log.points[i].time, log.points[i - 1].time + 2) << i;
    ASSERT_EQ(log.points[i].baroAlt, 0) << i;
  }
  EXPECT_GT(log.points[40].time, log.points[39].time + 3600);  // the day before came first
  EXPECT_EQ(log.source, TrackSource::Garmin);
  EXPECT_EQ(log.protocol, ProtocolType::GarminSerial);
  EXPECT_EQ(log.utcTimes, 1);
  EXPECT_EQ(log.hasPressureAltitude, 0);
  EXPECT_EQ(log.signable, 1);
  EXPECT_EQ(log.modelName, "Garmin");
  EXPECT_EQ(log.description, "eTrex Legend Software Version 2.80");
  EXPECT_EQ(log.identity, "Garmin: eTrex Legend Software Version 2.80");
  EXPECT_TRUE(Shown(run.channel.Products(), "eTrex Legend Software Version 2.80"));
  EXPECT_TRUE(run.channel.Messages().empty());
  std::string expected = kHandshake + Line(10, Le16(6)) + AckLine(27);
  for (int track = 0; track < 2; ++track) {
    expected += AckLine(99);
    for (int i = 0; i < 40; ++i) expected += AckLine(34);
  }
  expected += AckLine(12);
  EXPECT_EQ(run.ReceivedAtLeast(expected.size(), std::chrono::seconds(2)), expected);
}

TEST_F(GarminEndToEnd, TrackLogOfARealFlightMatchesItsIgcFile) {
  const std::string path = "sim/flights/pg-flytec6030-2008-3s.igc";
  const IgcDecodeResult reference = DecodeIgc(ReadWholeFile(path));
  ASSERT_TRUE(reference.Ok()) << reference.error;
  for (const char* type : {"300", "301", "302", "303", "304"}) {
    SimRun run;
    Prepare(run);
    const std::string protocol = std::string(type) == "300" ? "300" : std::string(type) >= "303" ? "302" : "301";
    ASSERT_TRUE(run.Start({"--igc=" + path, "--fixes=120", "--track=" + protocol, "--track-point=" + std::string(type),
                           "--track-header=" + std::string(protocol == "302" ? "311" : "310")}));
    ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0) << type;
    ASSERT_EQ(run.log.points.size(), 120u) << type;
    for (size_t i = 0; i < 120; ++i) {
      const TrackPoint& p = run.log.points[i];
      const TrackPoint& r = reference.points[i];
      ASSERT_EQ(p.time, r.time) << type << " " << i;
      ASSERT_NEAR(p.lat, r.lat, 2) << type << " " << i;
      ASSERT_NEAR(p.lon, r.lon, 2) << type << " " << i;
      ASSERT_EQ(p.gpsAlt, std::string(type) == "300" ? 0 : r.gpsAlt) << type << " " << i;
    }
  }
}

TEST_F(GarminEndToEnd, WaypointsOfTheReceiver) {
  for (const char* type : {"108", "109", "110", "103", "155"}) {
    SimRun run;
    Prepare(run);
    ASSERT_TRUE(run.Start({"--waypoint-type=" + std::string(type)}));
    ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), 0) << type;
    const std::vector<Waypoint>& w = run.waypointList.waypoints;
    ASSERT_EQ(w.size(), 4u) << type;
    EXPECT_STREQ(w[0].name, "FIESCH");
    EXPECT_STREQ(w[0].description, "FIESCH LAUNCH");
    const bool altitudes = std::string(type) != "103";
    EXPECT_EQ(w[0].alt, altitudes ? 2240 : 0) << type;
    EXPECT_EQ(w[1].alt, altitudes ? 1050 : 0) << type;
    EXPECT_EQ(w[2].alt, 0) << type;                    // unknown
    EXPECT_EQ(w[3].alt, altitudes ? -13 : 0) << type;  // -12.5 m
    EXPECT_EQ(w[1].airport, std::string(type) == "103" ? 0 : 1) << type;
    EXPECT_STREQ(w[3].description, "  TWO  BLANKS") << type;  // only trailing blanks go
    EXPECT_NEAR(w[0].lat, std::lround(46.4243 * 2147483648.0 / 180.0), 1) << type;
    EXPECT_TRUE(run.channel.Progress().back().starts_with("4 of 4 waypoints read (")) << type;
    const std::string expected = kHandshake + Line(10, Le16(7)) + AckLine(27) + AckLine(35) + AckLine(35) +
                                 AckLine(35) + AckLine(35) + AckLine(12);
    EXPECT_EQ(run.ReceivedAtLeast(expected.size(), std::chrono::seconds(2)), expected);
  }
}

TEST_F(GarminEndToEnd, OldUnitsAreKnownFromTheBuiltInTable) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--product=77", "--version=355", "--description=GPS 12XL Software Version 3.55",
                         "--array=none", "--waypoint-type=103", "--track=300", "--track-point=300", "--pvt=1000"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), 0);  // the PVT stream does not hold the job
  EXPECT_EQ(run.waypointList.waypoints.size(), 4u);
  EXPECT_TRUE(run.channel.Messages().empty());
}

Waypoint Named(const char* name, const char* comment, double lat, double lon, int alt) {
  Waypoint w;
  std::strncpy(w.name, name, 6);
  std::strncpy(w.description, comment, 40);
  w.lat = static_cast<Semicircle>(std::lround(lat * 2147483648.0 / 180.0));
  w.lon = static_cast<Semicircle>(std::lround(lon * 2147483648.0 / 180.0));
  w.alt = alt;
  return w;
}

TEST_F(GarminEndToEnd, WaypointUploadSendsTheExactRecords) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--waypoint-type=108"}));
  const std::vector<Waypoint> waypoints = {Named("wp_1?", "a;b", 46.5, 8.25, 1200),
                                           Named("LSZH", "Zurich", 47.46, 8.55, 432)};
  std::vector<Waypoint> sent = waypoints;
  sent[1].airport = 1;
  ASSERT_EQ(run.Run(AccessFunction::UploadWaypoints, sent), 0);
  auto d108 = [](const Waypoint& w, uint16_t symbol, const std::string& name, const std::string& comment) {
    return Bytes({0, 0xFF, 0, 0x60}) + Le16(symbol) + std::string(18, '\0') + Le32(static_cast<uint32_t>(w.lat)) +
           Le32(static_cast<uint32_t>(w.lon)) + testing::LeFloat(static_cast<float>(w.alt)) + std::string(12, '\0') +
           name + '\0' + comment + '\0';
  };
  const std::string expected = kHandshake + Line(27, Le16(2)) + Line(35, d108(sent[0], 18, "WP 1 ", "A B")) +
                               Line(35, d108(sent[1], 0x4000, "LSZH", "ZURICH")) + Line(12, Le16(7));
  EXPECT_EQ(run.ReceivedAtLeast(expected.size(), std::chrono::seconds(2)), expected);
  EXPECT_EQ(run.channel.Progress().back(), "Waypoint 2 of 2 sent");
  EXPECT_TRUE(run.channel.Messages().empty());
}

std::string PointLine(const Waypoint& w, size_t size) {
  return Line(34,
              Le32(static_cast<uint32_t>(w.lat)) + Le32(static_cast<uint32_t>(w.lon)) + std::string(size - 8, '\0'));
}

TEST_F(GarminEndToEnd, WaypointsAsATrackLogWithEachTrackProtocol) {
  struct Case {
    std::vector<std::string> options;
    std::string header;  // empty: none
    size_t pointSize;
  };
  const Case cases[] = {
      {{"--track=300", "--track-point=300"}, "", 13},
      {{"--track=301"}, Bytes({1, 0}) + "START" + '\0', 21},
      {{"--track=302", "--track-header=311", "--track-point=304"}, Le16(0), 23},
  };
  const std::vector<Waypoint> waypoints = {Named("START", "", 46.5, 8.25, 0), Named("GOAL", "", 46.6, 8.3, 0)};
  for (const Case& c : cases) {
    SimRun run;
    Prepare(run);
    ASSERT_TRUE(run.Start(c.options));
    ASSERT_EQ(run.Run(AccessFunction::UploadWaypointsAsTrack, waypoints), 0) << c.pointSize;
    std::string expected = kHandshake + Line(27, Le16(c.header.empty() ? 2 : 3));
    if (!c.header.empty()) expected += Line(99, c.header);
    expected += PointLine(waypoints[0], c.pointSize) + PointLine(waypoints[1], c.pointSize) + Line(12, Le16(6));
    EXPECT_EQ(run.ReceivedAtLeast(expected.size(), std::chrono::seconds(2)), expected) << c.pointSize;
    EXPECT_TRUE(run.channel.Messages().empty());
  }
}

TEST_F(GarminEndToEnd, AirspaceOutlinesAsTrackLogs) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({}));
  CtrArea area;
  area.name = "TMA CIRCLE";
  area.selected = true;
  CtrSegment circle;
  circle.type = CtrSegmentType::Circle;
  circle.position = {46.5, 8.0};
  circle.radius = 2000;
  area.segments = {circle};
  CtrArea empty;
  empty.name = "NOTHING";
  empty.selected = true;
  const CtrList list = {empty, area};
  ASSERT_EQ(run.Run(AccessFunction::UploadCtr, {}, list), -1);
  EXPECT_EQ(run.channel.Messages(), Error("No points for CTR 1 sent", "Upload CTR"));
  std::vector<Waypoint> points;
  ASSERT_EQ(CtrToPoints(area, 2, kDefaultCtrSegError, 0, points), 0);
  std::string expected = kHandshake + Line(27, Le16(static_cast<unsigned>(points.size() + 1))) +
                         Line(99, Bytes({1, 0}) + "TMA CIRCLE" + '\0');
  for (const Waypoint& p : points) expected += PointLine(p, 21);
  expected += Line(12, Le16(6));
  EXPECT_EQ(run.ReceivedAtLeast(expected.size(), std::chrono::seconds(2)), expected);
}

TEST_F(GarminEndToEnd, FaultsOfTheReceiverReachTheUser) {
  struct Case {
    std::vector<std::string> options;
    AccessFunction function;
    std::string text;
    std::string caption;
  };
  const char* wpts = "Read GPS waypoints";
  const char* track = "Read GPS track log";
  const char* request = "Requesting GPS product data";
  const Case cases[] = {
      {{"--bad-checksum=35:2"},
       AccessFunction::DownloadWaypoints,
       "E305 Timeout while waiting for wpt. data packet",
       wpts},
      {{"--bad-dle=34:3", "--fixes=5"},
       AccessFunction::DownloadTrackLog,
       "E205 Timeout while waiting for log data packet",
       track},
      {{"--bad-checksum=255"}, AccessFunction::DownloadWaypoints, "No valid response from GPS", "Get GPS product data"},
      {{"--silence-after=0"}, AccessFunction::DownloadTrackLog, "No valid response from GPS", "Get GPS product data"},
      {{"--garbage-after=0", "--silence-after=0"},
       AccessFunction::DownloadTrackLog,
       "No valid response from GPS",
       "Get GPS product data"},
      {{"--product=999", "--array=none"}, AccessFunction::DownloadWaypoints, "GPS product ID not supported", request},
      {{"--array=P000,L002,A011,A100,D150"},
       AccessFunction::DownloadWaypoints,
       "E180 Unsupported link protocol",
       "Read GPS product data"},
      {{"--waypoint-type=105"},
       AccessFunction::DownloadWaypoints,
       "E183 Unsupported waypoint data type",
       "Read GPS product data"},
      {{"--track-point=305"},
       AccessFunction::DownloadTrackLog,
       "E185 Unsupported track log data type",
       "Read GPS product data"},
      {{"--array-size=10"}, AccessFunction::DownloadWaypoints, "Bad protocol data packet", request},
      {{"--array=L001,X010"}, AccessFunction::DownloadWaypoints, "Bad protocol tag character", request},
      {{"--array=L001,A010,A100,D108"}, AccessFunction::DownloadTrackLog, "E212 No track log protocol defined", track},
      {{"--array=L001,A010,A301,D310,D301"},
       AccessFunction::DownloadWaypoints,
       "E310 No waypoint log protocol defined",
       wpts},
      {{"--wrong-ack=10"}, AccessFunction::DownloadWaypoints, "E301 Bad acknowledge packet type or format", wpts},
      {{"--hangup-after=400"},
       AccessFunction::DownloadWaypoints,
       "E305 COM port error while waiting for wpt. data packet",
       wpts},
  };
  for (const Case& c : cases) {
    SimRun run;
    Prepare(run);
    run.channel.SetSpeed(5);  // the time limits of the protocol pass sooner
    ASSERT_TRUE(run.Start(c.options));
    run.log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}};
    EXPECT_EQ(run.Run(c.function), -1) << c.options[0];
    EXPECT_EQ(run.channel.Messages(), Error(c.text, c.caption)) << c.options[0];
    ASSERT_EQ(run.log.points.size(), 1u) << c.options[0];  // the previous log stays
  }
}

TEST_F(GarminEndToEnd, AbortAfterAnErrorReachesTheReceiver) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--wrong-ack=10"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), -1);
  const std::string expected = kHandshake + Line(10, Le16(7)) + Line(10, Le16(0));
  EXPECT_EQ(run.ReceivedAtLeast(expected.size(), std::chrono::seconds(2)), expected);
}

TEST_F(GarminEndToEnd, UserAbortInTheMiddleOfATrackLog) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--fixes=300", "--baud=9600"}));  // about ten seconds of points on the line
  run.log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}};
  ASSERT_TRUE(run.StartOnly(AccessFunction::DownloadTrackLog));
  auto receiving = [&run] {
    for (const std::string& line : run.channel.Progress()) {
      if (line.starts_with("Track position ")) return true;
    }
    return false;
  };
  for (int i = 0; i < 500 && !receiving(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(receiving());
  EXPECT_EQ(run.Abort(), 0);
  ASSERT_TRUE(run.WaitForEnd(std::chrono::seconds(10)));
  EXPECT_EQ(run.result.load(), -1);
  EXPECT_TRUE(run.channel.Messages().empty());
  EXPECT_TRUE(Shown(run.channel.Progress(), "Transfer aborted"));
  EXPECT_EQ(run.log.points.size(), 1u);  // the previous log stays
  const std::string abort = Line(10, Le16(0));
  for (int i = 0; i < 100 && !run.Received().ends_with(abort); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(run.Received().ends_with(abort));
}

}  // namespace
}  // namespace trelvik
