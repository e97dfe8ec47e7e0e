// The XC Trainer and TopNav thread routines over a scripted link: the line
// setup of each protocol, the logs they send on their own, the ends of every
// loop and the waypoints both ways.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "instruments/topnav/jobs.hpp"
#include "instruments/xctrainer/jobs.hpp"
#include "instruments/xctrainer_fixtures.hpp"

namespace trelvik::xctrainer {
namespace {

using namespace trelvik::testing;

int32_t Mxp(int32_t units) { return static_cast<int32_t>(std::lround(units * kSemicirclesPer24000th)); }
int32_t Tncm(int32_t units) { return static_cast<int32_t>(std::lround(units * kSemicirclesPer6000th)); }

bool Showed(const ScriptedJob& s, const std::string& text) {
  const std::vector<std::string> progress = s.channel.Progress();
  return std::find(progress.begin(), progress.end(), text) != progress.end();
}

// ---- MXP -----------------------------------------------------------------

TEST(MxpTrack, PositionsOfEachFormatAndTheLineSetupOfEachInstrument) {
  struct Case {
    ProtocolType protocol;
    int format;
    int32_t utcOffset;
    bool xonXoff;
    TrackTime start;
    int32_t baro0, gps0;
    const char* product;
  } const cases[] = {
      {ProtocolType::XcTrainerMxp, 0, 7200, true, kJuly15 + 36000, 1490, 0, "XC Trainer V1.2-34, S/N 4660"},
      {ProtocolType::XcTrainerMxp, 1, 0, true, kJuly15 + 36000, 0, 14900, "XC Trainer V1.2-34, S/N 4660"},
      {ProtocolType::TopNavMxp, 2, 7200, false, kJuly15 + 28800, 1490, 15000, "Top Navigator V1.234, S/N 4660"},
  };
  for (const Case& c : cases) {
    XcTrainerJob s(c.protocol);
    s.job.utcOffsetForTn = c.utcOffset;  // TopNav clocks only
    const bool topNav = c.protocol == ProtocolType::TopNavMxp;
    const int gps = c.format == 2 ? 1500 : -1;
    std::string log = MxpHeaderLine(topNav ? "@tn" : "@xc", 3, c.format);
    log += MxpPositionLine(1, 0, 1114194, -195300, 1490, gps);
    log += MxpPositionLine(2, 65535, 1114195, -195301, 1491, gps);
    log += MxpPositionLine(3, 5, 1114196, -195302, -3, gps);  // the offset wrapped: the next day
    s.script->Answer(log);
    ASSERT_EQ(DownloadMxpTrack(s.job), 0) << ShownMessages(s);
    EXPECT_EQ(s.script->LastSetup().baud, 57600);
    EXPECT_EQ(s.script->LastSetup().xonXoff, c.xonXoff);
    ASSERT_EQ(s.job.points.size(), 3u);
    const TrackPoint& p = s.job.points[0];
    EXPECT_EQ(p.time, c.start);
    EXPECT_EQ(p.flags, kNewSegment);
    EXPECT_EQ(p.lat, Mxp(1114194));
    EXPECT_EQ(p.lon, Mxp(-195300));
    EXPECT_EQ(p.baroAlt, c.baro0);
    EXPECT_EQ(p.gpsAlt, c.format == 1 ? 14900 : c.gps0);
    EXPECT_EQ(s.job.points[1].time, c.start + 65535);
    EXPECT_EQ(s.job.points[1].flags, 0);
    EXPECT_EQ(s.job.points[2].time, c.start + 86400 + 5);
    EXPECT_EQ(c.format == 1 ? s.job.points[2].gpsAlt : s.job.points[2].baroAlt, c.format == 1 ? -30 : -3);
    EXPECT_EQ(s.channel.Products().back(), c.product);
    EXPECT_EQ(s.job.identity, std::string(topNav ? "TopNav" : "XcTrainer") + ": 4660");
    EXPECT_EQ(s.job.description, c.product);
    EXPECT_EQ(s.job.source, TrackSource::XcTrainerTopNav);
    EXPECT_EQ(s.job.signable, 1);
    EXPECT_EQ(s.job.utcTimes, 0);
    EXPECT_EQ(s.job.hasPressureAltitude, c.format == 1 ? 0 : 1);
    EXPECT_EQ(s.job.rawLog, log);
    EXPECT_EQ(s.channel.Progress().front(), "Waiting for data");
    EXPECT_EQ(s.channel.Progress().back(), "3 points received");
  }
}

TEST(MxpTrack, ProgressEveryHundredPointsAndTheFlowControlBytesLeftOut) {
  XcTrainerJob s(ProtocolType::XcTrainerMxp);
  std::string log = MxpHeaderLine("@xc", 250, 0);
  for (int i = 0; i < 250; ++i) log += MxpPositionLine(i, i, 1114194, 195300, 1000);
  std::string sent = log;
  sent.insert(100, 1, '\x13');
  sent.insert(200, 1, '\x11');
  s.script->Answer(sent);
  ASSERT_EQ(DownloadMxpTrack(s.job), 0) << ShownMessages(s);
  EXPECT_EQ(s.job.points.size(), 250u);
  EXPECT_EQ(s.job.rawLog, log);
  EXPECT_TRUE(Showed(s, "Track position 200 of 250 (0m 0s)"));
}

// Silence before the header, and fewer positions than the header announced,
// are failures, not empty or short logs.
TEST(MxpTrack, EndsOfTheTransfer) {
  struct Case {
    std::string log;
    int result;
    size_t points;
    std::string shown;
  } const cases[] = {
      {"", -1, 0, "Timeout while waiting for data / Read GPS track log\n"},
      {MxpHeaderLine("@xc", 0, 0), 0, 0, ""},
      {MxpHeaderLine("@xc", 3, 0) + MxpPositionLine(1, 0, 1, 2, 3) + MxpPositionLine(2, 1, 1, 2, 3), -1, 2,
       "Timeout while waiting for data / Read GPS track log\n"},
      {MxpHeaderLine("@xc", 3, 0) + MxpPositionLine(1, 0, 1, 2, 3) + MxpPositionLine(1, 1, 1, 2, 3), -1, 1,
       "E202 Bad record number sequence / Decode track log sentence\n"},
      {MxpHeaderLine("@tn", 3, 0), -1, 0, "E202 Bad identifier / Decode track log sentence\n"},
      {MxpHeaderLine("@xc", 3, 0) + MxpPositionLine(2, 0, 1, 2, 3), -1, 0,
       "E202 Bad record number sequence / Decode track log sentence\n"},
      {MxpHeaderLine("@xc", 3, 0) + std::string(100, '0') + "\r\n", -1, 0,
       "E202 Too long line / Decode track log sentence\n"},
      {MxpHeaderLine("@xc", 3, 2) + MxpPositionLine(1, 0, 1, 2, 3), -1, 0,
       "E202 Too short line / Decode track log sentence\n"},
  };
  for (const Case& c : cases) {
    XcTrainerJob s(ProtocolType::XcTrainerMxp);
    s.script->Answer(c.log);
    EXPECT_EQ(DownloadMxpTrack(s.job), c.result) << c.shown;
    EXPECT_EQ(ShownMessages(s), c.shown);
    EXPECT_EQ(s.job.points.size(), c.points) << c.shown;
    EXPECT_EQ(s.job.rawLog.has_value(), c.result == 0) << c.shown;
  }
}

TEST(MxpTrack, ReadErrorAndAbort) {
  XcTrainerJob broken(ProtocolType::TopNavMxp);
  broken.script->Answer(MxpHeaderLine("@tn", 3, 0)).HangUp();
  EXPECT_EQ(DownloadMxpTrack(broken.job), -1);
  EXPECT_EQ(ShownMessages(broken), "E201 COM port read error / Read GPS track log\n");

  XcTrainerJob aborted(ProtocolType::TopNavMxp);
  aborted.channel.cancel = true;
  EXPECT_EQ(DownloadMxpTrack(aborted.job), -1);
  EXPECT_EQ(aborted.channel.Progress().back(), "Transfer aborted");
}

// ---- TNCM ----------------------------------------------------------------

TEST(TncmTrack, BlocksOfEachInstrumentInLocalTime) {
  struct Case {
    ProtocolType protocol;
    char format;
    int baud;
    bool xonXoff;
    const char* product;
    const char* identity;
    int hasPressure;
  } const cases[] = {
      {ProtocolType::TopNav, '2', 9600, false, "Top Navigator", "TopNav: 4660", 0},
      {ProtocolType::XcTrainer, '0', 57600, true, "XC Trainer", "XcTrainer: 4660", 1},
  };
  for (const Case& c : cases) {
    XcTrainerJob s(c.protocol);
    s.job.utcOffsetForTn = 7200;
    const std::string log =
        "boot text\r\n" + TncmHeaderLine(c.format) + TncmBlock(14, 0, 0, 30) + TncmBlock(14, 0, 30, 2) + "@EOF\r\n";
    s.script->Answer(log);
    ASSERT_EQ(DownloadTncmTrack(s.job), 0) << ShownMessages(s);
    EXPECT_EQ(s.script->LastSetup().baud, c.baud);
    EXPECT_EQ(s.script->LastSetup().xonXoff, c.xonXoff);
    ASSERT_EQ(s.job.points.size(), 32u);
    // 14:00:00 on the instrument's clock, two hours ahead of UTC.
    EXPECT_EQ(s.job.points[0].time, kJuly15 + 12 * 3600);
    EXPECT_EQ(s.job.points[29].time, kJuly15 + 12 * 3600 + 29);
    EXPECT_EQ(s.job.points[31].time, kJuly15 + 12 * 3600 + 31);
    EXPECT_EQ(s.job.points[0].flags, kNewSegment);
    EXPECT_EQ(s.job.points[30].flags, 0);
    EXPECT_EQ(s.job.points[0].lat, Tncm(278546));
    EXPECT_EQ(s.job.points[0].lon, Tncm(48810));
    // The TopNav's lines carry GPS altitudes whatever its header says.
    EXPECT_EQ(s.job.points[1].gpsAlt, c.hasPressure ? 0 : 15010);
    EXPECT_EQ(s.job.points[1].baroAlt, c.hasPressure ? 1501 : 0);
    EXPECT_EQ(s.job.hasPressureAltitude, c.hasPressure);
    EXPECT_EQ(s.channel.Products().back(), c.product);
    EXPECT_EQ(s.job.identity, c.identity);
    EXPECT_EQ(s.job.rawLog, log);
    EXPECT_TRUE(Showed(s, "30 points received"));
    EXPECT_EQ(s.channel.Progress().back(), "32 points received");
    EXPECT_EQ(ShownMessages(s), "");
  }
}

TEST(TncmTrack, BadLinesIgnoredOnceAndBlockFaults) {
  std::string badStart = TncmBlock(10, 0, 0, 0);
  for (int i = 0; i < 5; ++i) badStart += "ZZZZZZ" + TncmPositionLine(0, 0, 0).substr(6);
  for (int i = 5; i < 30; ++i) badStart += TncmPositionLine(278546 + i, 48810, 1500);
  struct Case {
    std::string blocks;
    int result;
    std::string shown;
  } const cases[] = {
      {badStart + TncmBlock(10, 0, 30, 1), 0, "Error(s) in 1 block(s) ignored / Read GPS track log\n"},
      {TncmBlock(10, 0, 0, 2) + TncmBlock(10, 0, 20, 2), -1, "E202 Format error 2 / Read GPS track log\n"},
      {TncmBlock(10, 0, 0, 41), -1, "E202 Format error 3 / Read GPS track log\n"},
      {TncmPositionLine(1, 2, 3), -1, "E202 Format error 1 / Read GPS track log\n"},
      {TncmBlock(10, 0, 0, 1) + std::string(100, '0') + "\r\n", -1, "E203 Too long sentence / Read GPS track log\n"},
      {TncmBlock(10, 0, 0, 1) + "ZZ\r\n" + TncmPositionLine(1, 2, 3), -1, "E202 Format error 10 / Read GPS track log\n"},
  };
  for (const Case& c : cases) {
    XcTrainerJob s(ProtocolType::XcTrainer);
    s.script->Answer(TncmHeaderLine('1') + c.blocks + "@EOF\r\n");
    EXPECT_EQ(DownloadTncmTrack(s.job), c.result) << c.shown;
    EXPECT_EQ(ShownMessages(s), c.shown);
    if (c.result < 0) continue;
    ASSERT_EQ(s.job.points.size(), 26u);
    EXPECT_EQ(s.job.points[0].time, kJuly15 + 36000 + 5);
    EXPECT_EQ(s.job.points[24].time, kJuly15 + 36000 + 29);
  }
}

// The log has no count and no time limit of its own: silence ends it, as a failure.
TEST(TncmTrack, SilenceWithoutTheEndMarkFails) {
  for (const std::string& log : {std::string(), TncmHeaderLine('1') + TncmBlock(10, 0, 0, 3)}) {
    XcTrainerJob s(ProtocolType::TopNav);
    s.commandLine.timeout = 5;
    s.script->Answer(log);
    EXPECT_EQ(DownloadTncmTrack(s.job), -1);
    EXPECT_EQ(ShownMessages(s), "Timeout while waiting for data / Read GPS track log\n");
    EXPECT_GE(s.clock.Now(), 5000u);
    EXPECT_LT(s.clock.Now(), 6000u);
  }
}

// ---- waypoints -------------------------------------------------------------

TEST(XcTrainerWaypoints, RecordsAnsweredOneByOneUntilTheInstrumentFallsSilent) {
  XcTrainerJob s(ProtocolType::XcTrainer);
  // Latitude 0x041311 and longitude 0x001113: bytes 0x11 and 0x13 inside the record.
  s.script->Answer("\x11" + WaypointRecordBytes("FIESCH LNCH", 2240, 278546, 48810, 0x80)).Expect("@@OK");
  s.script->Answer(WaypointRecordBytes("XONOFF", 500, 0x041311, 0x001113, 0x80)).Expect("@@OK");
  s.script->Answer(WaypointRecordBytes("SOUTH", 5, -203050, -907225, 0x80)).Expect("@@OK");
  ASSERT_EQ(DownloadWaypointRecords(s.job), 0) << ShownMessages(s);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_EQ(s.script->LastSetup().baud, 9600);
  ASSERT_EQ(s.job.waypoints.size(), 3u);
  const Waypoint& first = s.job.waypoints[0];
  EXPECT_STREQ(first.name, "FIESCH");
  EXPECT_STREQ(first.description, "FIESCH LNCH");
  EXPECT_EQ(first.alt, 2240);
  EXPECT_EQ(first.lat, Tncm(278546));
  EXPECT_EQ(s.job.waypoints[1].lat, Tncm(0x041311));
  EXPECT_EQ(s.job.waypoints[1].lon, Tncm(0x001113));
  EXPECT_EQ(s.job.waypoints[2].lon, Tncm(-907225));
  EXPECT_EQ(s.job.identity, "XC Trainer");
  EXPECT_EQ(s.channel.Progress().back(), "3 waypoints received");
  EXPECT_GE(s.clock.Now(), 10000u);
}

TEST(XcTrainerWaypoints, FaultsOfTheRecords) {
  struct Case {
    std::string records;
    std::string shown;
    std::string progress;
  } const cases[] = {
      {"", "", "Transfer aborted"},
      {WaypointRecordBytes("A", 1, 2, 3, 0x80, 1), "E302 Format error 2 / Read GPS waypoints\n", "Waiting for data"},
      {"X" + WaypointRecordBytes("A", 1, 2, 3).substr(1), "E302 Format error 3 / Read GPS waypoints\n",
       "Waiting for data"},
  };
  for (const Case& c : cases) {
    XcTrainerJob s(ProtocolType::XcTrainer);
    s.script->Answer(c.records);
    EXPECT_EQ(DownloadWaypointRecords(s.job), -1);
    EXPECT_EQ(ShownMessages(s), c.shown);
    EXPECT_EQ(s.channel.Progress().back(), c.progress);
  }
}

TEST(TopNavWaypoints, LinesAnsweredUntilTheEndMark) {
  XcTrainerJob s(ProtocolType::TopNav);
  s.script->Answer(";comment\r\n").Expect("@@OK");
  s.script->Answer("FIESCH_LAUNCH x TPT N 46 25 28 E 8 8 6 2240 m\r\n").Expect("@@OK");
  s.script->Answer("HOME x HOM N 46 0 0 E 8 0 0 1000 m\r\n").Expect("@@OK");
  s.script->Answer("SEA___ x TPT S 33 50 30 W 151 12 15 -20 m\r\n").Expect("@@OK");
  s.script->Answer("@EOF\r\n");
  ASSERT_EQ(topnav::DownloadWaypointLines(s.job), 0) << ShownMessages(s);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  ASSERT_EQ(s.job.waypoints.size(), 2u);
  EXPECT_STREQ(s.job.waypoints[0].name, "FIESCH");
  EXPECT_STREQ(s.job.waypoints[0].description, "");
  EXPECT_EQ(s.job.waypoints[0].alt, 2240);
  EXPECT_STREQ(s.job.waypoints[1].name, "SEA");
  EXPECT_EQ(s.job.waypoints[1].alt, 0);
  EXPECT_LT(s.job.waypoints[1].lat, 0);
  EXPECT_LT(s.job.waypoints[1].lon, 0);
  EXPECT_EQ(s.job.identity, "Top Navigator");
  EXPECT_EQ(s.channel.Products().back(), "Top Navigator");
  EXPECT_EQ(s.channel.Progress().back(), "2 waypoints received");
}

TEST(TopNavWaypoints, EndsOfTheList) {
  struct Case {
    std::string lines;
    std::string shown;
  } const cases[] = {
      {"", "Timeout while waiting for data / Read GPS waypoints\n"},
      {"A x TPT N 95 0 0 E 8 0 0 1 m\r\n", "E302 Format error 2 / Read GPS waypoints\n"},
      {std::string(100, 'A') + "\r\n", "E302 Format error 1 / Read GPS waypoints\n"},
      {"@EOF\r\n", ""},
  };
  for (const Case& c : cases) {
    XcTrainerJob s(ProtocolType::TopNav);
    s.script->Answer(c.lines);
    EXPECT_EQ(topnav::DownloadWaypointLines(s.job), -1) << c.shown;
    EXPECT_EQ(ShownMessages(s), c.shown);
  }
}

TEST(WaypointUpload, OneRecordEachWithItsPause) {
  struct Case {
    ProtocolType protocol;
    bool xonXoff;
  } const cases[] = {{ProtocolType::TopNav, false}, {ProtocolType::XcTrainer, true}};
  for (const Case& c : cases) {
    XcTrainerJob s(c.protocol);
    s.job.waypoints = {MakeWaypoint(46.4243333, 8.135, "FIESCH", "Fiesch launch", 2240),
                       MakeWaypoint(-33.5, -151.25, "SEA", "", -20)};
    s.script->Expect(WaypointRecordBytes("FIESCH", 2240, 278546, 48810) +
                     WaypointRecordBytes("SEA", 0, -201000, -907500));
    ASSERT_EQ(UploadWaypointRecords(s.job), 0);
    EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
    EXPECT_TRUE(s.script->Finished());
    EXPECT_EQ(s.script->LastSetup().baud, 9600);
    EXPECT_EQ(s.script->LastSetup().xonXoff, c.xonXoff);
    const std::vector<std::chrono::milliseconds> sleeps = s.channel.Sleeps();
    EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), std::chrono::milliseconds(400)), 2);
    EXPECT_TRUE(Showed(s, "Waypoint 1 sent"));
    EXPECT_EQ(s.channel.Progress().back(), "2 waypoints sent");
    EXPECT_EQ(s.job.identity, "TopNav");
  }
}

TEST(WaypointUpload, TheLineGoingAwayStopsIt) {
  XcTrainerJob s(ProtocolType::XcTrainer);
  s.job.waypoints = {MakeWaypoint(46, 8, "A", "", 1), MakeWaypoint(46, 8, "B", "", 1)};
  s.script->Expect(WaypointRecordBytes("A", 1, 276000, 48000)).HangUp();
  EXPECT_EQ(UploadWaypointRecords(s.job), -1);
  EXPECT_EQ(s.channel.Progress().back(), "1 waypoints sent");
}

}  // namespace
}  // namespace trelvik::xctrainer
