// The MLR thread routines over a scripted link: the speed of every byte sent,
// what the user sees for each answer, and the ends of every loop.
#include <gtest/gtest.h>

#include "instruments/flytec_fixtures.hpp"
#include "instruments/mlr/jobs.hpp"
#include "instruments/pmlr_fixtures.hpp"

namespace trelvik::mlr {
namespace {

using testing::Frame;
using testing::kPmlrEnd;
using testing::kPmlrProductRequest;
using testing::MakeWaypoint;
using testing::PmlrProduct;
using testing::PointRun;
using testing::ScriptedJob;
using testing::Sentence;
using testing::Transfer;

const std::string kTrack = "$PMLR,24,02,0101,0399\r\n";
const std::string kWaypoints = "$PMLR,24,02,0301,039B\r\n";
const std::string kProduct = PmlrProduct("SP24XC,0,4711,2.72,Sim");

std::string Shown(const ScriptedJob& s) {
  std::string text;
  for (const RecordedMessage& m : s.channel.Messages()) text += m.text + " / " + m.caption + "\n";
  return text;
}

std::string WaypointEntry(std::string_view name, int32_t lat, int32_t altitude) {
  std::string e(name);
  testing::Put32(e, 5);
  testing::Put32(e, static_cast<uint32_t>(lat));
  testing::Put32(e, 7);
  for (int shift = 16; shift >= 0; shift -= 8) e += static_cast<char>(static_cast<uint32_t>(altitude) >> shift);
  return e + std::string(1, '\0');
}

TEST(MlrTrackDownload, SwitchesToTheFastSpeedAndBackAroundTheFrames) {
  ScriptedJob s;
  s.job.protocol = ProtocolType::Mlr;
  s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Expect(kTrack);
  s.script->Answer(Transfer("T\x01", PointRun(1, 30), 18, 27, 254)).Expect(kPmlrEnd);
  ASSERT_EQ(DownloadTrackLog(s.job), 0) << Shown(s);
  EXPECT_EQ(s.script->WrittenWithSpeeds(),
            "{4800}" + kPmlrProductRequest + kPmlrEnd + kTrack + "{38400}{4800}" + kPmlrEnd);
  ASSERT_EQ(s.job.points.size(), 30u);
  EXPECT_EQ(s.job.points[0].time, 1'400'000'000u - 315100800u);
  EXPECT_EQ(s.job.points[29].lat, 2900);
  EXPECT_EQ(s.job.points[29].lon, -1450);
  EXPECT_EQ(s.job.points[29].gpsAlt, 1029);
  EXPECT_EQ(s.job.points[0].flags, kNewSegment);
  EXPECT_EQ(s.job.source, TrackSource::Mlr);
  EXPECT_EQ(s.job.utcTimes, 1);
  EXPECT_EQ(s.job.signable, 1);
  EXPECT_EQ(s.job.hasPressureAltitude, 0);
  EXPECT_EQ(s.job.identity, "MLR: 4711");
  EXPECT_EQ(s.job.description, "SP24XC");
  EXPECT_EQ(s.channel.Products().back(), "MLR Sim SW2.72");
  EXPECT_EQ(s.channel.Progress().back(), "30 points received");
  EXPECT_EQ(Shown(s), "");
}

TEST(MlrTrackDownload, TrackOnlyProtocolStaysAtItsSpeed) {
  ScriptedJob s;
  s.job.protocol = ProtocolType::MlrTrackOnly;
  s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Expect(kTrack);
  s.script->Answer(Transfer("T\x01", PointRun(1, 3), 18, 27)).Expect(kPmlrEnd);
  ASSERT_EQ(DownloadTrackLog(s.job), 0) << Shown(s);
  EXPECT_EQ(s.script->WrittenWithSpeeds(), "{38400}" + kPmlrProductRequest + kPmlrEnd + kTrack + kPmlrEnd);
}

// 65537 points: the 16-bit point numbers and the frame numbers both wrap.
TEST(MlrTrackDownload, PointNumbersCompareModulo65536) {
  ScriptedJob s;
  s.job.protocol = ProtocolType::Mlr;
  s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Expect(kTrack);
  s.script->Answer(Transfer("T\x01", PointRun(1, 65537), 18, 27)).Expect(kPmlrEnd);
  ASSERT_EQ(DownloadTrackLog(s.job), 0) << Shown(s);
  EXPECT_EQ(s.job.points.size(), 65537u);
}

// Binary records are taken byte for byte: flow-control values are data there.
TEST(MlrTrackDownload, FlowControlBytesInsideFramesAreData) {
  ScriptedJob s;
  s.job.protocol = ProtocolType::Mlr;
  const std::string entry = testing::PointBytes(1, 0x11131113u, 0x13111311, 0x11111111, 0x131313, 0x11);
  s.script->Expect(kPmlrProductRequest).Answer("\x13" + kProduct + "\x11").Expect(kPmlrEnd).Expect(kTrack);
  s.script->Answer(Frame(0x11, "T\x01", "DEBUT") + Frame(0x12, "T\x01", testing::DataBody(1, entry)) +
                   Frame(0x13, "T\x01", "FIN"));
  s.script->Expect(kPmlrEnd);
  ASSERT_EQ(DownloadTrackLog(s.job), 0) << Shown(s);
  ASSERT_EQ(s.job.points.size(), 1u);
  EXPECT_EQ(s.job.points[0].time, 0x11131113u - 315100800u);
  EXPECT_EQ(s.job.points[0].lat, 0x13111311);
  EXPECT_EQ(s.job.points[0].lon, 0x11111111);
  EXPECT_EQ(s.job.points[0].gpsAlt, 0x131313);
}

TEST(MlrTrackDownload, FramesBeforeTheStartAreIgnored) {
  ScriptedJob s;
  s.job.protocol = ProtocolType::Mlr;
  s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Expect(kTrack);
  s.script->Answer(Frame(9, "T\x01", "FIN") + "\x8B\x01W" + Transfer("T\x01", PointRun(1, 2), 18, 27)).Expect(kPmlrEnd);
  ASSERT_EQ(DownloadTrackLog(s.job), 0) << Shown(s);
  EXPECT_EQ(s.job.points.size(), 2u);
}

TEST(MlrTrackDownload, EveryRefusalEndsBackAtTheNormalSpeed) {
  struct Case {
    std::string frames;
    std::string text;
  };
  const std::string start = Frame(0, "T\x01", "DEBUT");
  const Case cases[] = {
      {start + Frame(1, "T\x01", testing::DataBody(2, PointRun(1, 2)), 1), "E208 Format error 2"},
      {start + Frame(1, "T\x01", testing::DataBody(28, PointRun(1, 28))), "E208 Format error 1"},
      {start + Frame(2, "T\x01", testing::DataBody(2, PointRun(1, 2))), "E204 Bad sentence sequence"},
      {start + Frame(1, "T\x01", "DEBUT"), "E203 Bad sentence type sequence"},
      {start + Frame(1, "T\x01", testing::DataBody(2, PointRun(1, 1) + PointRun(3, 1))),
       "E206 Bad track point sequence"},
      {start + Frame(2, "T\x01", "FIN"), "E205 Bad sentence sequence"},
      {start + Frame(1, "T\x01", "FIN"), "No points detected"},
      {start, "E210 Track log data timeout"},
  };
  for (const Case& c : cases) {
    ScriptedJob s;
    s.job.protocol = ProtocolType::Mlr;
    s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Expect(kTrack).Answer(c.frames);
    EXPECT_EQ(DownloadTrackLog(s.job), -1) << c.text;
    EXPECT_EQ(Shown(s), c.text + " / Read GPS track log\n");
    EXPECT_EQ(s.script->WrittenWithSpeeds(),
              "{4800}" + kPmlrProductRequest + kPmlrEnd + kTrack + "{38400}{4800}" + kPmlrEnd)
        << c.text;
  }
}

TEST(MlrProduct, ModelsVersionsAndGpsTime) {
  struct Case {
    std::string fields;
    std::string model;
    std::string line;
    bool gpsTime;
  };
  const Case cases[] = {
      {"DGIFLY LEO,0,12,1.5,Leo", "Digifly", "Digifly Leo SW1.05", false},
      {"CPILOT X,0,12,3.10,X", "CPilot", "CPilot X SW3.10", false},
      {"COMO,0,12,1.0", "CoMo", "CoMo  SW1.00", false},
      {"SP24,0,12,2.71,A", "MLR", "MLR A SW2.71", true},
      {"SP24,0,12,2.72,A", "MLR", "MLR A SW2.72", false},
      {"SP24,0,12,9.90,A", "MLR", "MLR A SW9.90", true},
      {"SP24,0,12,1.99,A", "MLR", "MLR A SW1.99", true},
      {"SP24,0,12,3.00,A", "MLR", "MLR A SW3.00", false},
  };
  for (const Case& c : cases) {
    pmlr::ProductParser parser(kProductRules);
    for (const char ch : PmlrProduct(c.fields)) (void)parser.Feed(static_cast<uint8_t>(ch));
    const Product p = InterpretProduct(parser.Fields());
    EXPECT_EQ(p.modelName, c.model) << c.fields;
    EXPECT_EQ(p.productLine, c.line) << c.fields;
    EXPECT_EQ(p.gpsTime, c.gpsTime) << c.fields;
  }
  pmlr::PointEntry entry;
  entry.time = 315100800u + 100u;
  EXPECT_EQ(PointFromEntry(entry, true, false).time, 86u);
  EXPECT_EQ(PointFromEntry(entry, false, false).time, 100u);
}

TEST(MlrProduct, NoAnswerAndABadChecksumAskAgain) {
  ScriptedJob s;
  s.commandLine.timeout = 4;
  std::string bad = kProduct;
  bad[bad.size() - 3] ^= 1;
  s.script->Expect(kPmlrProductRequest).Answer(bad).Expect(kPmlrEnd).Expect(kPmlrProductRequest);
  s.script->Expect(kPmlrEnd);
  EXPECT_EQ(ReadProduct(s.job, *std::make_unique<Product>()), -1);
  EXPECT_EQ(Shown(s), "No valid response from GPS / Get GPS product data\n");
  EXPECT_EQ(s.channel.Progress(),
            (std::vector<std::string>{"Requesting product info (2)", "Requesting product info (1)"}));
}

TEST(MlrCompetition, PilotWaypointsAreCheckedBeforeTheTrack) {
  ScriptedJob s;
  s.job.protocol = ProtocolType::Mlr;
  std::vector<std::string> names;
  s.job.competitionCheck = [&](GpsJob&, const Waypoint& w) { names.emplace_back(w.name); };
  const std::string entries = WaypointEntry("COMP12", 1, 0) + WaypointEntry("CIVL34", 2, 0);
  s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Expect(kWaypoints);
  s.script->Answer(Transfer("W\x02", entries, 22, 23)).Expect(kPmlrEnd).Expect(kTrack);
  s.script->Answer(Transfer("T\x01", PointRun(1, 2), 18, 27)).Expect(kPmlrEnd);
  ASSERT_EQ(DownloadTrackLog(s.job), 0) << Shown(s);
  EXPECT_EQ(names, (std::vector<std::string>{"COMP12", "CIVL34"}));
  EXPECT_TRUE(s.job.waypoints.empty());
  EXPECT_EQ(s.job.points.size(), 2u);

  ScriptedJob leo;
  leo.job.protocol = ProtocolType::Mlr;
  leo.job.compId = 7;
  leo.job.competitionCheck = [](GpsJob&, const Waypoint&) {};
  leo.script->Expect(kPmlrProductRequest).Answer(PmlrProduct("DGIFLY LEO,0,1,1.0,L")).Expect(kPmlrEnd).Expect(kTrack);
  leo.script->Answer(Transfer("T\x01", PointRun(1, 2), 18, 27)).Expect(kPmlrEnd);
  ASSERT_EQ(DownloadTrackLog(leo.job), 0) << Shown(leo);
  EXPECT_EQ(leo.job.compId, -1);
  EXPECT_EQ(leo.job.civlId, -1);
}

TEST(MlrWaypoints, BinaryFramesOfProtocolFourteen) {
  ScriptedJob s;
  s.job.protocol = ProtocolType::MlrFast;
  const std::string entries = WaypointEntry("ALPHA ", 100, -10) + WaypointEntry("B     ", -100, 15);
  s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Expect(kWaypoints);
  s.script->Answer(Transfer("W\x02", entries, 22, 1)).Expect(kPmlrEnd);
  ASSERT_EQ(DownloadWaypoints(s.job), 0) << Shown(s);
  EXPECT_EQ(s.script->WrittenWithSpeeds(),
            "{4800}" + kPmlrProductRequest + kPmlrEnd + kWaypoints + "{38400}{4800}" + kPmlrEnd);
  ASSERT_EQ(s.job.waypoints.size(), 2u);
  EXPECT_STREQ(s.job.waypoints[0].name, "ALPHA");
  EXPECT_EQ(s.job.waypoints[0].alt, -1);
  EXPECT_EQ(s.job.waypoints[1].alt, 2);  // 1.5 m rounds away from zero
  EXPECT_EQ(s.job.waypoints[1].lat, -100);
}

TEST(MlrWaypoints, BinaryDownloadThatNeverEndsTimesOut) {
  ScriptedJob s;
  s.job.protocol = ProtocolType::MlrFast;
  s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Expect(kWaypoints);
  s.script->Answer(Frame(0, "W\x02", "DEBUT")).Expect(kPmlrEnd);
  EXPECT_EQ(DownloadWaypoints(s.job), -1);
  EXPECT_EQ(Shown(s), "Timeout while waiting for data / Read GPS waypoints\n");
  EXPECT_TRUE(s.script->Finished());
}

TEST(MlrWaypoints, NmeaListEndsAtTheFirstRepeat) {
  ScriptedJob s;
  s.job.protocol = ProtocolType::Mlr;
  const std::string a = Sentence("GPWPL,4625.460,N,00808.100,E,A     0First launch          ");
  const std::string b = Sentence("GPWPL,4624,,00809,,B-2   0");
  const std::string c = Sentence("GPWPL,3330.5,S,15115.25,W,C12345XSouth    ");
  s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Answer("\x13" + a + b + "\x11" + c + a + b);
  ASSERT_EQ(DownloadWaypoints(s.job), 0) << Shown(s);
  ASSERT_EQ(s.job.waypoints.size(), 3u);
  EXPECT_STREQ(s.job.waypoints[0].name, "A");
  EXPECT_STREQ(s.job.waypoints[0].description, "First launch");
  EXPECT_STREQ(s.job.waypoints[1].name, "B-2");
  EXPECT_STREQ(s.job.waypoints[1].description, "");
  EXPECT_GT(s.job.waypoints[1].lat, 0);
  EXPECT_STREQ(s.job.waypoints[2].name, "C12345");
  EXPECT_STREQ(s.job.waypoints[2].description, "South");
  EXPECT_LT(s.job.waypoints[2].lat, 0);
  EXPECT_LT(s.job.waypoints[2].lon, 0);
  EXPECT_EQ(s.channel.Progress().back(), "Waypoints read (3)");
}

TEST(MlrWaypoints, NmeaFaults) {
  struct Case {
    std::string answer;
    std::string text;
  };
  const Case cases[] = {
      {Sentence("GPWPL,4625.460,N,00808.100,E,ab    0x"), "E305 Bad waypoint ID character"},
      {Sentence("GPWPL,4625.460,N,00808.100,E,      0x"), "E306 Missing waypoint ID"},
      {Sentence("GPWPL,9000.000,N,00808.100,E,A"), "E302 Format error 1"},
      {"$GPWPL,4625.460,X", "E302 Format error 4"},
      {"$GPWPL,4625.460,N,00808.100,E,A*00\r\n", "E302 Format error 20"},
      {Sentence("GPWPL,4625.460,N,00808.100,E,A"), "Timeout while waiting for data"},
  };
  for (const Case& c : cases) {
    ScriptedJob s;
    s.job.protocol = ProtocolType::Mlr;
    s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Answer(c.answer);
    EXPECT_EQ(DownloadWaypoints(s.job), -1) << c.text;
    EXPECT_EQ(Shown(s), c.text + " / Read GPS waypoints\n");
  }
}

TEST(MlrWaypoints, UploadOneSentenceEachWithPausesBetweenAndAfter) {
  ScriptedJob s;
  s.job.protocol = ProtocolType::MlrFast;
  s.job.waypoints = {MakeWaypoint(46.42433333, 8.135, "FIESCH", "Fiesch launch", 2240),
                     MakeWaypoint(-0.5, -179.99, "W", "A description longer than 22", 0)};
  const std::string first = Sentence("GPWPL,4625.460,N,00808.100,E,FIESCH0Fiesch launch         ");
  const std::string second = Sentence("GPWPL,0030.000,S,17959.400,W,W     0A description longer t");
  s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Expect(first).Expect(second);
  ASSERT_EQ(UploadWaypoints(s.job), 0) << Shown(s);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  // After the port's own settling pauses: one between the sentences, one after the last.
  const std::vector<std::chrono::milliseconds> sleeps = s.channel.Sleeps();
  ASSERT_GE(sleeps.size(), 2u);
  EXPECT_EQ(std::vector(sleeps.end() - 2, sleeps.end()),
            (std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(500), std::chrono::milliseconds(500)}));
  EXPECT_EQ(s.channel.Progress().back(), "Waypoint 2 sent");
}

}  // namespace
}  // namespace trelvik::mlr
