// IQ Basic / Flytec 6015 end to end: the real job, the real serial link and
// trelvik-sim on a pseudo-terminal; what the user gets and what the
// instrument received.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/c_format.hpp"
#include "instruments/flytec_e2e_support.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "instruments/iqbasic/codec.hpp"
#include "records/track_time.hpp"
#include "trackfiles/igc_decoder.hpp"

namespace trelvik {
namespace {

using testing::MakeWaypoint;
using testing::ReadWholeFile;
using testing::SimRun;

constexpr const char* kRealFlight = "sim/flights/pg-flytec6030-2008-3s.igc";
const std::string kIdentification = "RPA_00\r\nRPA_01\r\nRPA_02\r\n";

class IqBasicEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  }
  static void Prepare(SimRun& run, std::initializer_list<int> tracks) {
    run.family = "iqbasic";
    run.protocol = ProtocolType::IqBasic;
    int slot = 0;
    for (int track : tracks) run.commandLine.trackList[static_cast<size_t>(slot++)] = track;
  }
  static void GivePreviousLog(SimRun& run) {
    run.log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}};
    run.log.rawIgc = "previous";
  }
  static void ExpectPreviousLog(const SimRun& run) {
    ASSERT_EQ(run.log.points.size(), 1u);
    EXPECT_EQ(run.log.rawIgc, "previous");
  }
};

TEST_F(IqBasicEndToEnd, RealFlightWithItsRawImage) {
  SimRun run;
  Prepare(run, {0});
  ASSERT_TRUE(run.Start({"--igc=" + std::string(kRealFlight), "--device-type=0"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 1);
  const std::string bytes = ReadWholeFile(kRealFlight);
  const IgcDecodeResult reference = DecodeIgc(bytes);
  ASSERT_TRUE(reference.Ok()) << reference.error;
  const TrackLog& log = run.log;
  ASSERT_EQ(log.points.size(), reference.points.size());
  for (size_t i = 0; i < log.points.size(); ++i) {
    ASSERT_EQ(log.points[i].time, reference.points[i].time) << i;
    ASSERT_NEAR(log.points[i].lat, reference.points[i].lat, 1) << i;
    ASSERT_NEAR(log.points[i].lon, reference.points[i].lon, 1) << i;
    ASSERT_EQ(log.points[i].gpsAlt, reference.points[i].gpsAlt) << i;
    ASSERT_EQ(log.points[i].baroAlt, reference.points[i].baroAlt) << i;
  }
  EXPECT_EQ(log.rawIgc, bytes);  // byte for byte
  EXPECT_EQ(log.rawIgcDate, log.points[0].time);
  EXPECT_EQ(log.source, TrackSource::IqBasic);
  EXPECT_EQ(log.protocol, ProtocolType::IqBasic);
  EXPECT_EQ(log.modelName, "6015");
  EXPECT_EQ(log.identity, "6015, SW 1.2.34, S/N 1137");
  EXPECT_EQ(run.Received(), kIdentification + "ACT_20_  \r\nACT_21_01\r\n");
}

TEST_F(IqBasicEndToEnd, TwoFlightsBecomeOneLogInTimeOrder) {
  SimRun run;
  Prepare(run, {0, 1});
  ASSERT_TRUE(run.Start({"--flights=2"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 1);
  ASSERT_EQ(run.log.points.size(), 1200u);
  for (size_t i = 1; i < run.log.points.size(); ++i) {
    ASSERT_LT(run.log.points[i - 1].time, run.log.points[i].time) << i;
    ASSERT_EQ(run.log.points[i].flags, 0u) << i;
  }
  EXPECT_EQ(DateFromTrackTime(run.log.points[0].time).day, 14);
  EXPECT_EQ(run.log.modelName, "IQ-BASIC");
  EXPECT_EQ(run.log.signable, 1);
  EXPECT_EQ(run.Received(), kIdentification + "ACT_20_  \r\nACT_21_01\r\nACT_21_02\r\n");
  // The raw image holds both files as they came, the later flight first.
  EXPECT_EQ(run.log.rawIgc.find("HFDTE150724"), 11u);
  EXPECT_NE(run.log.rawIgc.find("HFDTE140724"), std::string::npos);
}

TEST_F(IqBasicEndToEnd, FlightNumbersBeyondTwoHexDigitsAreNotAskedFor) {
  SimRun run;
  Prepare(run, {0, 1});
  ASSERT_TRUE(run.Start({"--flights=2", "--first-number=255"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 1);
  EXPECT_EQ(run.log.points.size(), 600u);
  EXPECT_EQ(run.Received(), kIdentification + "ACT_20_  \r\nACT_21_FF\r\n");
}

TEST_F(IqBasicEndToEnd, WithoutATrackListTheHeadlessChooserTakesTheFirstFlight) {
  SimRun run;
  Prepare(run, {});
  std::FILE* sink = std::tmpfile();
  ASSERT_NE(sink, nullptr);
  ConsoleTrackListChooser chooser(sink, sink, stdin, false);
  run.UseTrackListChooser(chooser);
  run.commandLine.trackList = EmptyTrackList();
  ASSERT_TRUE(run.Start({"--flights=2"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 1);
  EXPECT_EQ(run.Received(), kIdentification + "ACT_20_  \r\nACT_21_01\r\n");
  std::fclose(sink);
}

TEST_F(IqBasicEndToEnd, FaultsOfTheInstrumentReachTheUserAndKeepThePreviousLog) {
  const std::string caption = "Read GPS track log";
  const TrackTime day = TrackTimeFromDate({2024, 7, 0, 15, 10, 0, 0, 0});
  struct Case {
    std::vector<std::string> args;
    std::string text;
    std::string caption;
  };
  const Case cases[] = {
      {{"--silence-after=0"}, "No valid response from GPS", "Get GPS product data"},
      {{"--bad-prefix=RPA_01"}, "Device type response error", "Request product data"},
      {{"--bad-prefix=RPA_02"}, "Software version response error", "Request product data"},
      {{"--bad-list=1"}, "No tracks found", "Read track list"},
      {{"--bad-hfdte=1"}, "HFDTE sentence error: HFDTE320724", caption},
      {{"--no-hfdte=1"}, "Format error 25 in IGC sentence", caption},
      {{"--no-a=1"}, "Bad or missing A-record", caption},
      {{"--overlap=1"},
       CFormat("Overlapping tracks (%08X,%08X)(%08X,%08X)", day, day + 1198, day, day + 1198),
       caption},
      {{"--flights=2", "--hangup-after=5000"}, "COM port read error", caption},
  };
  for (const Case& c : cases) {
    SimRun run;
    Prepare(run, {0, 1});
    GivePreviousLog(run);
    ASSERT_TRUE(run.Start(c.args)) << c.text;
    EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1) << c.text;
    EXPECT_EQ(run.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, c.text, c.caption}}))
        << c.text;
    ExpectPreviousLog(run);
  }
}

TEST_F(IqBasicEndToEnd, FlightsWithoutGRecordsAreKeptUnsigned) {
  SimRun run;
  Prepare(run, {0});
  ASSERT_TRUE(run.Start({"--no-g=1", "--flights=1"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0);
  EXPECT_EQ(run.log.points.size(), 600u);
  EXPECT_EQ(run.log.signable, 0);
  EXPECT_EQ(run.channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Warning, "No G-records found", "Read GPS track log"}}));
}

TEST_F(IqBasicEndToEnd, FlightListGoesToTheProgramThatStartedTheRun) {
  SimRun run;
  Prepare(run, {});
  ASSERT_TRUE(run.Start({"--flights=2"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadFlightList), 0);
  EXPECT_EQ(run.datagrams.Texts(),
            (std::vector<std::string>{"Flightlist:\n2024.07.15,10:00:00,0:19:58\n2024.07.14,10:00:00,0:19:58\n"}));
  EXPECT_EQ(run.Received(), kIdentification + "ACT_20_  \r\n");
}

TEST_F(IqBasicEndToEnd, WaypointsDownAndUp) {
  SimRun run;
  Prepare(run, {});
  ASSERT_TRUE(run.Start({}));
  const Waypoint up = MakeWaypoint(46.5, -8.25, "UP", "Upload test", 1234);
  ASSERT_EQ(run.Run(AccessFunction::UploadWaypoints, {up}), 0);
  ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), 0);
  const std::vector<Waypoint>& w = run.waypointList.waypoints;
  ASSERT_EQ(w.size(), 4u);
  EXPECT_EQ(std::string(w[0].name), "FIESCH");
  EXPECT_EQ(std::string(w[0].description), "Fiesch Launch Ost");
  EXPECT_EQ(w[0].alt, 2240);
  EXPECT_EQ(w[1].alt, 0);
  EXPECT_LT(w[2].lat, 0);
  EXPECT_EQ(std::string(w[3].name), "UPLOAD");
  EXPECT_EQ(SemicircleToMilliMinute(w[3].lon), SemicircleToMilliMinute(up.lon));
  EXPECT_EQ(w[3].alt, 1234);
  EXPECT_EQ(run.Received(), kIdentification + iqbasic::ACT32(up) + kIdentification + "ACT_31_00\r\n");
}

TEST_F(IqBasicEndToEnd, UploadRepliesOtherThanDoneAreCounted) {
  SimRun run;
  Prepare(run, {});
  ASSERT_TRUE(run.Start({"--upload-reply=Done"}));
  const Waypoint a = MakeWaypoint(46.5, 8.25, "A", "Alpha", 1);
  ASSERT_EQ(run.Run(AccessFunction::UploadWaypoints, {a, a}), -1);
  EXPECT_EQ(run.channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, "0 of 2 waypoints ok. First error was \"Done\"",
                                           "Waypoint upload response error"}}));
}

}  // namespace
}  // namespace trelvik
