// Flytec/Braeuniger end to end: the real job, the real serial link and
// trelvik-sim on a pseudo-terminal; what the user gets.
#include <gtest/gtest.h>


#include "access/nmea.hpp"
#include "geo/angles.hpp"
#include "instruments/flytec/codec.hpp"
#include "instruments/flytec_e2e_support.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "records/names.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/text_count.hpp"
#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/kml_command_line.hpp"

namespace trelvik {
namespace {

using namespace std::chrono_literals;
using testing::CorpusFile;
using testing::MakeWaypoint;
using testing::ReadWholeFile;
using testing::SimRun;

bool Shown(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

std::string Line(std::string body) {
  FinishNmeaSentence(body);
  return body;
}

class FlytecEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  }
  // A corpus flight, or skip.
  std::string Flight(const std::string& name) {
    const std::string path = CorpusFile(name);
    if (path.empty()) {
      skipped = true;
      return {};
    }
    return path;
  }
  void SelectTracks(SimRun& run, std::initializer_list<int> tracks) {
    int slot = 0;
    for (int track : tracks) run.commandLine.trackList[static_cast<size_t>(slot++)] = track;
  }
  // The previous log that a failed download must leave in place.
  static void GivePreviousLog(SimRun& run) {
    run.log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}};
    run.log.rawIgc = "previous";
  }
  static void ExpectPreviousLog(const SimRun& run) {
    ASSERT_EQ(run.log.points.size(), 1u);
    EXPECT_EQ(run.log.points[0].time, 1000u);
    EXPECT_EQ(run.log.rawIgc, "previous");
  }
  bool skipped = false;
};

TEST_F(FlytecEndToEnd, TrackLogOfARealFlightWithItsRawImage) {
  const std::string path = Flight("pg-flytec6030-2019-4s.igc");
  if (skipped) GTEST_SKIP() << "no flight corpus";
  SimRun run;
  SelectTracks(run, {0});
  ASSERT_TRUE(run.Start({"--igc=" + path, "--model=6030", "--serial=159", "--software=5.02a"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 1);

  const std::string bytes = ReadWholeFile(path);
  const IgcDecodeResult reference = DecodeIgc(bytes);
  ASSERT_TRUE(reference.Ok()) << reference.error;
  const TrackLog& log = run.log;
  ASSERT_EQ(log.points.size(), reference.points.size());
  EXPECT_EQ(log.points.size(), 1697u);
  for (size_t i = 0; i < log.points.size(); ++i) {
    const TrackPoint& p = log.points[i];
    const TrackPoint& r = reference.points[i];
    ASSERT_EQ(p.time, r.time) << i;
    ASSERT_NEAR(p.lat, r.lat, 1) << i;
    ASSERT_NEAR(p.lon, r.lon, 1) << i;
    ASSERT_EQ(p.gpsAlt, r.gpsAlt) << i;
    ASSERT_EQ(p.baroAlt, r.baroAlt) << i;
    ASSERT_EQ(p.flags, i == 0 ? kNewSegment : 0) << i;
  }
  EXPECT_EQ(log.rawIgc, bytes);  // byte for byte
  EXPECT_EQ(log.rawIgcMaker, "FLY");
  EXPECT_EQ(log.rawIgcSerial, "001");
  EXPECT_EQ(log.rawIgcDate, log.points[0].time);
  EXPECT_EQ(log.signable, 1);
  EXPECT_EQ(log.source, TrackSource::Flytec);
  EXPECT_EQ(log.utcTimes, 1);
  EXPECT_EQ(log.hasPressureAltitude, 1);
  EXPECT_EQ(log.protocol, ProtocolType::Flytec);
  EXPECT_EQ(log.modelName, "6030");
  EXPECT_EQ(log.description, "6030 159 5.02a");
  EXPECT_EQ(log.identity, "6030: 159");
  EXPECT_TRUE(Shown(run.channel.Products(), "6030, SN159, SW5.02a"));
  EXPECT_EQ(run.Received(), "$PBRSNP,*21\r\n$PBRTL,*74\r\n$PBRTR,00*6A\r\n");
  EXPECT_TRUE(run.channel.Messages().empty());
}

TEST_F(FlytecEndToEnd, VersionDecidesBetweenLatestTrackAndTrackList) {
  struct Case {
    std::string software;
    std::string received;
  };
  const Case cases[] = {
      {"2.19", "$PBRSNP,*21\r\n$PBRIGC,*21\r\n"},
      {"2.20", "$PBRSNP,*21\r\n$PBRTL,*74\r\n$PBRTR,01*6B\r\n"},
  };
  for (const Case& c : cases) {
    SimRun run;
    SelectTracks(run, {1});
    ASSERT_TRUE(run.Start({"--model=Compeo", "--software=" + c.software, "--flights=2"}));
    ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 1) << c.software;
    EXPECT_EQ(run.Received(), c.received);
    ASSERT_EQ(run.log.points.size(), 600u);
    // $PBRIGC sends the latest flight (15 July), track 1 the one before.
    const SystemTime day = DateFromTrackTime(run.log.points[0].time);
    EXPECT_EQ(day.day, c.software == "2.19" ? 15 : 14);
    EXPECT_EQ(run.log.modelName, "Compeo");
  }
}

TEST_F(FlytecEndToEnd, TwoSelectedTracksBecomeOneLog) {
  SimRun run;
  SelectTracks(run, {0, 1});
  ASSERT_TRUE(run.Start({"--model=COMPEO+", "--flights=2"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 1);
  ASSERT_EQ(run.log.points.size(), 1200u);
  for (size_t i = 1; i < run.log.points.size(); ++i) {
    ASSERT_LT(run.log.points[i - 1].time, run.log.points[i].time) << i;
    ASSERT_EQ(run.log.points[i].flags, 0) << i;
  }
  EXPECT_EQ(run.log.points[0].flags, kNewSegment);
  EXPECT_EQ(run.log.signable, 1);
  EXPECT_EQ(run.channel.Progress().back(), "1200 points received");
  EXPECT_EQ(run.log.rawIgc.size(), 2 * run.log.rawIgc.find("AFLY", 1));
}

class ChooseEveryTrack : public TrackListChooser {
 public:
  std::optional<std::vector<int>> ChooseTracks(const TrackListQuestion& question) override {
    std::vector<int> all(question.lines.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
    return all;
  }
};

TEST_F(FlytecEndToEnd, AllTracksBecomeOneSignedLogbookAndThePreviousLogStays) {
  SimRun run;
  ChooseEveryTrack chooser;
  testing::ScriptedUserInterface user;
  testing::TempDir dir;
  run.protocol = ProtocolType::FlytecAllTracks;
  run.UseTrackListChooser(chooser);
  run.channel.user = &user;
  user.QueueFile(dir.File("all.kml"));
  GivePreviousLog(run);
  ASSERT_TRUE(run.Start({"--model=COMPEO+", "--flights=2"}));
  EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1);
  ExpectPreviousLog(run);
  EXPECT_EQ(run.Received(), "$PBRSNP,*21\r\n$PBRTL,*74\r\n" + Line("$PBRTR,00") + Line("$PBRTR,01"));
  EXPECT_EQ(run.channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Information, "File written", "Save FlightLog track"}}));
  const std::string kml = ReadWholeFile(dir.File("all.kml"));
  EXPECT_EQ(testing::CountOccurrences(kml, "<name>Trip</name>"), 2u);
  // The logbook is read back like any other, its signature intact.
  testing::ScriptedUserInterface reader;
  EXPECT_EQ(CheckKmlFile(reader, dir.File("all.kml")), kKmlSignatureValid);
}

struct FaultCase {
  const char* name;
  std::vector<std::string> args;
  std::string text;
  std::string caption;
};

TEST_F(FlytecEndToEnd, FaultsOfTheInstrumentReachTheUserAndKeepThePreviousLog) {
  const std::string flight = Flight("pg-flytec6030-2019-4s.igc");
  if (skipped) GTEST_SKIP() << "no flight corpus";
  const FaultCase cases[] = {
      {"no pilot name", {"--pilot="}, "Bad/missing user name", "Reading product data"},
      {"bad checksum", {"--bad-checksum=PBRSNP"}, "No valid response from GPS", "Get GPS product data"},
      {"silence", {"--silence-after=0"}, "No valid response from GPS", "Get GPS product data"},
      {"corrupt byte in the product answer", {"--corrupt-after=3"}, "No valid response from GPS",
       "Get GPS product data"},
      {"overlapping tracks", {"--igc=" + flight, "--igc=" + flight}, "Overlapping track start/stop times",
       "Read GPS track log"},
      {"missing HFDTE", {"--no-hfdte=1"}, "E206 Format error 25", "Read GPS track log"},
      {"hang-up mid-track", {"--igc=" + flight, "--hangup-after=30000"}, "E203 COM port read error",
       "Read GPS track log"},
  };
  for (const FaultCase& c : cases) {
    SimRun run;
    SelectTracks(run, {0, 1});
    GivePreviousLog(run);
    ASSERT_TRUE(run.Start(c.args)) << c.name;
    EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1) << c.name;
    EXPECT_EQ(run.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, c.text, c.caption}}))
        << c.name;
    ExpectPreviousLog(run);
  }
}

TEST_F(FlytecEndToEnd, AbortInTheMiddleOfATrackKeepsThePreviousLog) {
  const std::string path = Flight("pg-flytec5020-2007-3s.igc");
  if (skipped) GTEST_SKIP() << "no flight corpus";
  SimRun run;
  GivePreviousLog(run);
  ASSERT_TRUE(run.Start({"--igc=" + path, "--model=5020", "--software=1.13", "--baud=57600"}));
  ASSERT_TRUE(run.StartOnly(AccessFunction::DownloadTrackLog));
  ASSERT_TRUE(run.channel.WaitForProgress("Track position 101", 10s));
  EXPECT_EQ(run.Abort(), 0);
  ASSERT_TRUE(run.WaitForEnd(5s));
  EXPECT_EQ(run.result.load(), -1);
  EXPECT_TRUE(Shown(run.channel.Progress(), "Aborting transfer"));
  EXPECT_EQ(run.channel.Progress().back(), "Transfer aborted");
  EXPECT_TRUE(run.channel.Messages().empty());
  ExpectPreviousLog(run);
}

TEST_F(FlytecEndToEnd, CutPositionRecordsAreSkippedOnce) {
  SimRun run;
  SelectTracks(run, {0});
  ASSERT_TRUE(run.Start({"--flights=1", "--cut-b=100"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 1);
  EXPECT_EQ(run.log.points.size(), 594u);
  EXPECT_EQ(run.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Information,
                                                                    "6 incomplete position record(s) skipped",
                                                                    "Read GPS track log"}}));
  EXPECT_NE(run.log.rawIgc.find("\r\nB100318"), std::string::npos);
}

TEST_F(FlytecEndToEnd, FlightListGoesToTheProgramThatStartedTheRun) {
  SimRun run;
  ASSERT_TRUE(run.Start({"--flights=2"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadFlightList), 0);
  EXPECT_EQ(run.datagrams.Texts(),
            (std::vector<std::string>{"Flightlist:\n2024.07.15,10:00:00,0:19:58\n2024.07.14,10:00:00,0:19:58\n"}));
  EXPECT_EQ(run.flightList[0].duration, 1198u);
  EXPECT_EQ(run.flightList[2].start, 0u);
}

TEST_F(FlytecEndToEnd, WaypointsOfTheInstrument) {
  SimRun run;
  ASSERT_TRUE(run.Start({}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), 0);
  const std::vector<Waypoint>& w = run.waypointList.waypoints;
  ASSERT_EQ(w.size(), 4u);
  const std::pair<std::string, std::string> names[] = {
      {"FIESCH", "FIESCH LAUNCH"}, {"LAND", "FIESCH LANDING"}, {"SOUTH", "SOUTH WEST"}, {"EMPTY", "TWO BLANKS"}};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(w[i].name, names[i].first);
    EXPECT_EQ(w[i].description, names[i].second);
  }
  EXPECT_EQ(w[3].alt, -5);
  EXPECT_LT(w[2].lat, 0);
  EXPECT_LT(w[2].lon, 0);
  EXPECT_EQ(run.log.identity, "6030: 12345");
  EXPECT_EQ(run.channel.Progress().back(), "4 waypoints received");
}

TEST_F(FlytecEndToEnd, WaypointUploadWithEachNamingRule) {
  const std::vector<Waypoint> list = {
      MakeWaypoint(46 + 25.46 / 60, 8 + 8.1 / 60, "FIESCH", "Fiesch launch above the Rhone", 2240),
      MakeWaypoint(-(33 + 50.5 / 60), -(151 + 12.25 / 60), "SYD", "", 12),
  };
  const std::pair<flytec::WaypointNaming, std::vector<std::string>> cases[] = {
      {flytec::WaypointNaming::OnlyName,
       {"$PBRWPR,4625.460,N,00808.100,E,,Fiesch launch abo,2240", "$PBRWPR,3350.500,S,15112.250,W,,SYD              ,0012"}},
      {flytec::WaypointNaming::OnlyId,
       {"$PBRWPR,4625.460,N,00808.100,E,,FIESCH           ,2240", "$PBRWPR,3350.500,S,15112.250,W,,SYD              ,0012"}},
      {flytec::WaypointNaming::IdAndName,
       {"$PBRWPR,4625.460,N,00808.100,E,,FIESCH Fiesch lau,2240", "$PBRWPR,3350.500,S,15112.250,W,,SYD              ,0012"}},
  };
  for (const auto& [naming, lines] : cases) {
    SimRun run;
    ASSERT_TRUE(run.Start({}));
    std::vector<Waypoint> named = list;
    flytec::ApplyWaypointNaming(named, naming);
    ASSERT_EQ(run.Run(AccessFunction::UploadWaypoints, named), 0);
    const std::string expected = "$PBRSNP,*21\r\n" + Line(lines[0]) + Line(lines[1]);
    EXPECT_EQ(run.ReceivedAtLeast(expected.size(), 2s), expected);
    EXPECT_EQ(run.channel.Progress().back(), "Waypoint 2 sent");
  }
}

CtrList UploadList() {
  CtrArea polygon;
  polygon.name = "Polygon";
  polygon.floorRemark = "GND";
  polygon.selected = true;
  for (const LatLonDegrees& p : {LatLonDegrees{46.1, 7.1}, LatLonDegrees{46.2, 7.2}, LatLonDegrees{46.1, 7.3}}) {
    CtrSegment s;
    s.position = p;
    polygon.segments.push_back(s);
  }
  CtrArea circle;
  circle.name = "Circle";
  circle.floorRemark = "FL 95";
  circle.selected = true;
  circle.warningDistance = 500;
  CtrSegment c;
  c.type = CtrSegmentType::Circle;
  c.position = {46.5, 8.0};
  c.radius = 5000;
  circle.segments = {c};
  CtrArea skipped = circle;
  skipped.selected = false;
  skipped.name = "Not selected";
  return {polygon, skipped, circle};
}

TEST_F(FlytecEndToEnd, AirspaceUploadLinesAndAcknowledgements) {
  const std::string expected = "$PBRSNP,*21\r\n" + Line("$PBRCTRW,005,000,Polygon          ,0200") +
                               Line("$PBRCTRW,005,001,GND              ") +
                               Line("$PBRCTRW,005,002,P,4606.000,N,00706.000,E") +
                               Line("$PBRCTRW,005,003,P,4612.000,N,00712.000,E") +
                               Line("$PBRCTRW,005,004,P,4606.000,N,00718.000,E") +
                               Line("$PBRCTRW,003,000,Circle           ,0500") +
                               Line("$PBRCTRW,003,001,FL 95            ") +
                               Line("$PBRCTRW,003,002,C,4630.000,N,00800.000,E,05000");
  SimRun run;
  ASSERT_TRUE(run.Start({}));
  ASSERT_EQ(run.Run(AccessFunction::UploadCtr, {}, UploadList()), 0);
  EXPECT_EQ(run.Received(), expected);
  EXPECT_EQ(run.channel.Progress().back(), "CTR transfer ok");

  SimRun full;
  ASSERT_TRUE(full.Start({"--ack=3"}));
  EXPECT_EQ(full.Run(AccessFunction::UploadCtr, {}, UploadList()), -1);
  EXPECT_EQ(full.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, "No further memory",
                                                                     "CTR upload acknowledge status"}}));
  EXPECT_EQ(full.Received(), expected.substr(0, expected.find("$PBRCTRW,003,000")));
}

TEST_F(FlytecEndToEnd, AirspaceDownload) {
  SimRun run;
  ASSERT_TRUE(run.Start({}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadCtr), 0);
  const CtrList* list = std::any_cast<CtrList>(&run.ctrList);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->size(), 3u);
  EXPECT_EQ((*list)[0].name, "CTR Sion");
  EXPECT_EQ((*list)[0].segments.size(), 4u);
  EXPECT_EQ((*list)[1].segments.at(0).type, CtrSegmentType::Circle);
  EXPECT_EQ((*list)[1].floorRemark, "FL 95");
  EXPECT_EQ((*list)[2].segments.at(1).type, CtrSegmentType::ArcByPoints);
  EXPECT_EQ(run.channel.Progress().back(), "3 CTR(s) received");
}

}  // namespace
}  // namespace trelvik
