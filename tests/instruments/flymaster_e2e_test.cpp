// Flymaster end to end: the real job, the real serial link and trelvik-sim on
// a pseudo-terminal; what the user gets and what the instrument received.
#include <gtest/gtest.h>

#include <thread>

#include "instruments/flymaster/codec.hpp"
#include "instruments/flytec_e2e_support.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "support/text_count.hpp"
#include "trackfiles/igc_decoder.hpp"

namespace trelvik {
namespace {

using namespace std::chrono_literals;
using testing::MakeWaypoint;
using testing::ReadWholeFile;
using testing::SimRun;

constexpr const char* kRealFlight = "sim/flights/pg-flytec6030-2008-3s.igc";
constexpr const char* kTrackCaption = "Read GPS track log";

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The instrument records what it read a moment after the job wrote it, and
// the job may have ended in that moment.
bool EventuallyReceived(const SimRun& run, const std::string& part) {
  for (int i = 0; i < 200; ++i) {
    if (Contains(run.Received(), part)) return true;
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

class FlymasterEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  }
  static void Prepare(SimRun& run, std::initializer_list<int> tracks = {}) {
    run.family = "flymaster";
    run.protocol = ProtocolType::Flymaster;
    int slot = 0;
    for (int track : tracks) run.commandLine.trackList[static_cast<size_t>(slot++)] = track;
  }
  static void GivePreviousLog(SimRun& run) { run.log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}}; }
  static void ExpectPreviousLog(const SimRun& run) {
    ASSERT_EQ(run.log.points.size(), 1u);
    EXPECT_EQ(run.log.points[0].time, 1000u);
  }
};

TEST_F(FlymasterEndToEnd, RealFlightThroughKeyAndDeltaBlocks) {
  SimRun run;
  Prepare(run, {0});
  ASSERT_TRUE(run.Start({std::string("--igc=") + kRealFlight, "--serial=90210"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0);
  const IgcDecodeResult reference = DecodeIgc(ReadWholeFile(kRealFlight));
  ASSERT_TRUE(reference.Ok()) << reference.error;
  const TrackLog& log = run.log;
  ASSERT_EQ(log.points.size(), reference.points.size());
  for (size_t i = 0; i < log.points.size(); ++i) {
    const TrackPoint& got = log.points[i];
    const TrackPoint& want = reference.points[i];
    ASSERT_EQ(got.time, want.time) << i;
    // Both sides round thousandths of a minute to semicircles on their own.
    ASSERT_NEAR(got.lat, want.lat, 2) << i;
    ASSERT_NEAR(got.lon, want.lon, 2) << i;
    ASSERT_EQ(got.gpsAlt, want.gpsAlt) << i;
    ASSERT_NEAR(got.baroAlt, want.baroAlt, 1) << i;
    ASSERT_EQ(got.flags, i == 0 ? kNewSegment : 0) << i;
  }
  EXPECT_EQ(log.source, TrackSource::Flymaster);
  EXPECT_EQ(log.identity, "Flymaster: 90210");
  EXPECT_EQ(log.description, "Flymaster F1, V1.20, S/N 90210");
  EXPECT_TRUE(run.channel.Messages().empty());
  // The flight-list request carries the checksum the unit checks.
  const std::string received = run.Received();
  EXPECT_TRUE(Contains(received, "$PFMDNL,LST,*56\r\n"));
  EXPECT_GT(testing::CountOccurrences(received, "#B1"), 100u);
  EXPECT_FALSE(Contains(received, "#B2"));
}

TEST_F(FlymasterEndToEnd, FlightsListedNewestFirstAreJoinedInTimeOrder) {
  SimRun run;
  Prepare(run, {0, 1});
  run.commandLine.powerOff = true;
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
  EXPECT_EQ(run.channel.Progress().back(), "1200 points received");
  EXPECT_TRUE(EventuallyReceived(run, "$PFMOFF*14\r\n"));
}

TEST_F(FlymasterEndToEnd, EmptyFlightsAddNothingAndAloneFail) {
  {
    SimRun run;
    Prepare(run, {0, 1});
    ASSERT_TRUE(run.Start({"--flights=2", "--empty-flight=0"}));
    ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0);
    EXPECT_EQ(run.log.points.size(), 600u);
  }
  SimRun run;
  Prepare(run, {0});
  GivePreviousLog(run);
  ASSERT_TRUE(run.Start({"--flights=2", "--empty-flight=0"}));
  EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1);
  EXPECT_EQ(run.channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, "No points detected", kTrackCaption}}));
  ExpectPreviousLog(run);
}

TEST_F(FlymasterEndToEnd, ABadBlockIsAskedForAgain) {
  SimRun run;
  Prepare(run, {1});
  ASSERT_TRUE(run.Start({"--flights=2", "--bad-block=2"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0);
  EXPECT_EQ(run.log.points.size(), 600u);
  EXPECT_EQ(testing::CountOccurrences(run.Received(), "#B2"), 1u);
}

struct FaultCase {
  const char* name;
  std::vector<std::string> args;
  std::string text;
  std::string caption;
  const char* answer;  // the host's last answer byte the unit must have heard; null: none
};

TEST_F(FlymasterEndToEnd, FaultsOfTheInstrumentReachTheUserAndKeepThePreviousLog) {
  const FaultCase cases[] = {
      {"block stays bad", {"--bad-block=2", "--bad-times=5"}, "E205 Bad checksum in data block", kTrackCaption, "#B3"},
      {"no key block", {"--fault=no-key"}, "E205 Missing key track position block", kTrackCaption, "#B3"},
      {"delta before key", {"--fault=delta-first"}, "E205 Missing key track position block", kTrackCaption, "#B3"},
      {"latitude out of range", {"--fault=bad-latitude"}, "E205 Latitude outside valid range", kTrackCaption, "#B3"},
      {"silence mid-stream", {"--silence-after=2000"}, "E203 Timeout receiving data", kTrackCaption, "#B3"},
      {"hang-up mid-stream", {"--hangup-after=2000"}, "E204 COM port read error", kTrackCaption, nullptr},
      {"overlapping flights", {"--overlap=1"}, "", kTrackCaption, nullptr},
      {"flight list checksum", {"--fault=list-checksum"}, "Too few parameters", "Read GPS track data", nullptr},
      {"silence at once", {"--silence-after=0"}, "No valid response from GPS", "Get GPS product data", nullptr},
  };
  for (const FaultCase& c : cases) {
    SimRun run;
    Prepare(run, {0, 1});
    GivePreviousLog(run);
    std::vector<std::string> args = c.args;
    args.push_back("--flights=2");
    ASSERT_TRUE(run.Start(args)) << c.name;
    EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1) << c.name;
    const std::vector<RecordedMessage> messages = run.channel.Messages();
    ASSERT_EQ(messages.size(), 1u) << c.name;
    EXPECT_EQ(messages[0].kind, MessageKind::Error) << c.name;
    EXPECT_EQ(messages[0].caption, c.caption) << c.name;
    if (c.text.empty()) {
      EXPECT_TRUE(messages[0].text.starts_with("Overlapping tracks (")) << messages[0].text;
    } else {
      EXPECT_EQ(messages[0].text, c.text) << c.name;
    }
    if (c.answer != nullptr) {
      EXPECT_TRUE(EventuallyReceived(run, c.answer)) << c.name;
    }
    ExpectPreviousLog(run);
  }
}

TEST_F(FlymasterEndToEnd, AbortMidStreamTellsTheUnitToStop) {
  SimRun run;
  Prepare(run, {0});
  GivePreviousLog(run);
  ASSERT_TRUE(run.Start({std::string("--igc=") + kRealFlight, "--baud=57600"}));
  ASSERT_TRUE(run.StartOnly(AccessFunction::DownloadTrackLog));
  ASSERT_TRUE(run.channel.WaitForProgress("Requesting track log 1", 10s));
  std::this_thread::sleep_for(500ms);  // blocks are arriving, paced at the line's speed
  EXPECT_EQ(run.Abort(), 0);
  ASSERT_TRUE(run.WaitForEnd(5s));
  EXPECT_EQ(run.result.load(), -1);
  EXPECT_EQ(run.channel.Progress().back(), "Transfer aborted");
  EXPECT_TRUE(run.channel.Messages().empty());
  EXPECT_TRUE(EventuallyReceived(run, "#B3"));
  ExpectPreviousLog(run);
}

TEST_F(FlymasterEndToEnd, FlightListGoesToTheProgramThatStartedTheRun) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({"--flights=2"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadFlightList), 0);
  EXPECT_EQ(run.datagrams.Texts(),
            (std::vector<std::string>{"Flightlist:\n2024.07.15,10:00:00,0:19:58\n2024.07.14,10:00:00,0:19:58\n"}));
  EXPECT_EQ(run.flightList[2].start, 0u);
}

TEST_F(FlymasterEndToEnd, WaypointsOfTheInstrument) {
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), 0);
  const std::vector<Waypoint>& w = run.waypointList.waypoints;
  ASSERT_EQ(w.size(), 3u);
  EXPECT_STREQ(w[0].name, "FIESCH");
  EXPECT_EQ(w[0].alt, 2240);
  EXPECT_EQ(w[0].airport, 0);
  EXPECT_STREQ(w[1].name, "LANDIN");
  EXPECT_EQ(w[1].alt, 1051);
  EXPECT_EQ(w[1].airport, 1);
  EXPECT_LT(w[2].lat, 0);
  EXPECT_LT(w[2].lon, 0);
}

TEST_F(FlymasterEndToEnd, WaypointUploadSentencesAndAcknowledgements) {
  const std::vector<Waypoint> waypoints = {MakeWaypoint(46.5, 8.25, "ONE", "Fiesch, top*", 2240),
                                           MakeWaypoint(-33.75, -151.5, "TWO", "south $west", 12000)};
  struct Case {
    std::vector<std::string> args;
    int result;
    std::vector<RecordedMessage> messages;
  };
  const Case cases[] = {
      {{}, 0, {}},
      {{"--software=1.14"}, 0, {}},
      {{"--ack=bad-name"},
       -1,
       {{MessageKind::Error, "2 waypoints sent, 2 errors, first error was type 7", "Waypoint upload response error"}}},
      {{"--ack=nak"},
       -1,
       {{MessageKind::Error, "2 waypoints sent, 2 errors, first error was type 6", "Waypoint upload response error"}}},
      {{"--ack=none"},
       -1,
       {{MessageKind::Error, "0 waypoints sent, 0 errors, response timeout", "Waypoint upload error"}}},
  };
  for (const Case& c : cases) {
    SimRun run;
    Prepare(run);
    ASSERT_TRUE(run.Start(c.args));
    EXPECT_EQ(run.Run(AccessFunction::UploadWaypoints, waypoints), c.result);
    EXPECT_EQ(run.channel.Messages(), c.messages);
  }
  SimRun run;
  Prepare(run);
  ASSERT_TRUE(run.Start({}));
  ASSERT_EQ(run.Run(AccessFunction::UploadWaypoints, waypoints), 0);
  const std::string received = run.Received();
  EXPECT_TRUE(Contains(received, "$PFMWPR,4630.000,N,00815.000,E,,Fiesch  top     ,2240*"));
  EXPECT_TRUE(Contains(received, "$PFMWPR,3345.000,S,15130.000,W,,south  west     ,9999*"));
  EXPECT_EQ(run.datagrams.Texts(), (std::vector<std::string>{"Sent wpt 1/2", "Sent wpt 2/2"}));
}

TEST_F(FlymasterEndToEnd, PilotDataAlarmAndIdentifiersFollowTheModelRules) {
  struct Case {
    const char* product;
    int command;
    std::vector<std::string> texts;
    std::string sentence;  // without checksum; empty when refused
    RecordedMessage refusal;
  };
  const Case cases[] = {
      {"GpsSD", 0, {"Jo, Pilot", "12", "Brand", "Model*X"}, "$PFMPLT,Jo  Pilot,12,Brand,Model X,", {}},
      {"GpsSD", 1, {"2500"}, "$PFMALT,2500,", {}},
      {"B1NAV", 2, {"12", "4711", "Jo Pilot"}, "$PFMIDS,12,4711,Jo Pilot", {}},
      {"B1NAV", 1, {"2500"}, "", {MessageKind::Error, "Command not available for B1 NAV", "Set altitude alarm"}},
      {"B1NAV", 0, {"Jo"}, "", {MessageKind::Error, "Command not available for B1 NAV", "Set pilot data"}},
      {"GpsSD",
       2,
       {"12", "4711", "Jo"},
       "",
       {MessageKind::Error, "Command available for B1 NAV only", "Set pilot data"}},
  };
  for (const Case& c : cases) {
    SimRun run;
    Prepare(run);
    ASSERT_TRUE(run.Start({std::string("--product=") + c.product}));
    const int result = run.RunPilotData(c.command, c.texts);
    if (c.sentence.empty()) {
      EXPECT_EQ(result, -1) << c.command;
      EXPECT_EQ(run.channel.Messages(), std::vector<RecordedMessage>{c.refusal});
      continue;
    }
    EXPECT_EQ(result, 0) << c.sentence;
    EXPECT_EQ(run.channel.Progress().back(), "Data sent");
    EXPECT_TRUE(EventuallyReceived(run, flymaster::PfmSentence(c.sentence.substr(1)))) << c.sentence;
  }
}

}  // namespace
}  // namespace trelvik
