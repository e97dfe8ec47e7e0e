// The Magellan thread routines over a scripted link: the exact commands sent,
// the points and waypoints kept, the ends of a transfer and the error texts.
#include <gtest/gtest.h>

#include <algorithm>

#include "instruments/magellan/jobs.hpp"
#include "instruments/magellan_fixtures.hpp"

namespace trelvik::magellan {
namespace {

using testing::MagellanJob;
using testing::Sentence;
using testing::Version;

bool Shown(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

std::string Track(int points, char validity = 'A', int first = 0) {
  std::string text;
  for (int i = first; i < first + points; ++i) {
    text += Sentence(CFormat("PMGNTRK,4630.%03d,N,00815.250,E,01000,M,1200%02d,%c,,150724", i, i, validity));
  }
  return text;
}

TEST(MagellanJobs, TrackDownloadEndsOnTheEndMark) {
  MagellanJob s;
  s.script->Expect(kVersionCommand).Answer(Version("60", "3.20", "MAP 330"));
  s.script->Expect(kTrackCommand)
      .Answer(Track(2) + Track(1, 'V', 2) + Sentence("GPRMC,1,2,3") + Track(1, 'A', 3) + Sentence("PMGNCMD,END"));
  ASSERT_EQ(DownloadTrackLog(s.job), 0);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  EXPECT_EQ(s.script->Written(), std::string(kVersionCommand) + std::string(kTrackCommand));  // no STOP
  ASSERT_EQ(s.job.points.size(), 3u);
  EXPECT_EQ(s.job.points[0].flags, kNewSegment);
  EXPECT_EQ(s.job.points[1].flags, 0);
  EXPECT_EQ(s.job.points[2].time - s.job.points[0].time, 3u);  // the V point is skipped
  EXPECT_EQ(s.job.points[0].gpsAlt, 10000);
  EXPECT_EQ(s.job.source, TrackSource::Magellan);
  EXPECT_EQ(s.job.utcTimes, 1);
  EXPECT_EQ(s.job.hasPressureAltitude, 0);
  EXPECT_EQ(s.job.identity, "Magellan: 60");
  EXPECT_EQ(s.job.description, "MAP 330, SW 3.20");
  EXPECT_EQ(s.job.modelName, "Magellan");
  EXPECT_TRUE(Shown(s.channel.Products(), "MAP 330, SW 3.20"));
  const std::vector<std::string> progress = s.channel.Progress();
  EXPECT_TRUE(Shown(progress, "Requesting product info (1)"));
  EXPECT_TRUE(Shown(progress, "Product data read"));
  EXPECT_TRUE(Shown(progress, "Requesting track log"));
  EXPECT_EQ(progress.back(), "3 points received");
  EXPECT_TRUE(s.channel.Messages().empty());
}

TEST(MagellanJobs, TrackDownloadEndsAfterASilentSecondWithStop) {
  MagellanJob s;
  s.script->Expect(kVersionCommand).Answer(Version());
  s.script->Expect(kTrackCommand).Answer(Track(25)).Expect(kStopCommand);
  ASSERT_EQ(DownloadTrackLog(s.job), 0);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  EXPECT_EQ(s.job.points.size(), 25u);
  const std::vector<std::string> progress = s.channel.Progress();
  EXPECT_TRUE(Shown(progress, "10 points received"));
  EXPECT_TRUE(Shown(progress, "20 points received"));
  EXPECT_EQ(progress.back(), "25 points received");
}

TEST(MagellanJobs, NoPointFailsWithoutAMessage) {
  MagellanJob s;
  s.script->Expect(kVersionCommand).Answer(Version()).Expect(kTrackCommand).Answer(Track(2, 'V'));
  EXPECT_EQ(DownloadTrackLog(s.job), -1);
  EXPECT_EQ(s.channel.Progress().back(), "0 points received");
  EXPECT_TRUE(s.channel.Messages().empty());
}

TEST(MagellanJobs, ModelsWithoutTimeOrDateInTheirTrackAreRefused) {
  const struct {
    const char* model;
    const char* software;
    const char* text;
  } cases[] = {
      {"24", "3.13", "E200 Model does not support time in track log"},
      {"30", "2.00", "E200 Model does not support date in track log"},
  };
  for (const auto& c : cases) {
    MagellanJob s;
    s.script->Expect(kVersionCommand).Answer(Version(c.model, c.software));
    EXPECT_EQ(DownloadTrackLog(s.job), -1);
    EXPECT_EQ(s.script->Written(), kVersionCommand);
    EXPECT_EQ(s.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, c.text, "Read GPS track log"}}));
  }
}

TEST(MagellanJobs, TrackErrorsNameTheirCode) {
  const struct {
    std::string answer;
    const char* text;
  } cases[] = {
      {Sentence("PMGNTRK,4630.000,N,00815.250,E,01000,K,120000,A,,150724"), "E205 Format error 14"},
      {"$PMGNTRK,1*00\r\n", "E206 Format error 3"},
      {"$PMGNTRK,1*4X\r\n", "E206 Format error 2"},
      {"$PMGNTRK,1*44\r+", "E206 Format error 4"},
  };
  for (const auto& c : cases) {
    MagellanJob s;
    s.script->Expect(kVersionCommand).Answer(Version()).Expect(kTrackCommand).Answer(Track(1) + c.answer);
    EXPECT_EQ(DownloadTrackLog(s.job), -1);
    EXPECT_EQ(s.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, c.text, "Read GPS track log"}}));
  }
}

TEST(MagellanJobs, NoVersionAnswer) {
  MagellanJob s;
  s.commandLine.timeout = 4;  // two passes
  s.script->Expect(kVersionCommand).Answer(Sentence("GPRMC,x")).Expect(kVersionCommand);
  EXPECT_EQ(DownloadWaypoints(s.job), -1);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_EQ(s.channel.Progress(),
            (std::vector<std::string>{"Requesting product info (2)", "Requesting product info (1)"}));
  EXPECT_EQ(s.channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, "No valid response from GPS", "Get GPS product data"}}));
}

TEST(MagellanJobs, PortThatFailsWhileReading) {
  MagellanJob s;
  s.script->Expect(kVersionCommand).Answer(Version()).Expect(kWaypointCommand).HangUp();
  EXPECT_EQ(DownloadWaypoints(s.job), -1);
  EXPECT_EQ(s.channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, "E303 COM port read error", "Read GPS track log"}}));
}

TEST(MagellanJobs, WaypointDownload) {
  MagellanJob s;
  s.script->Expect(kVersionCommand)
      .Answer(Version())
      .Expect(kWaypointCommand)
      .Answer(Sentence("PMGNWPL,4625.460,N,00808.100,E,1000,F,fiesch,Fiesch: launch") +
              Sentence("PMGNWPL,3350.500,S,15112.250,W,12,M,SW1,") + Sentence("PMGNCMD,END"));
  ASSERT_EQ(DownloadWaypoints(s.job), 0);
  ASSERT_EQ(s.job.waypoints.size(), 2u);
  EXPECT_STREQ(s.job.waypoints[0].name, "FIESCH");
  EXPECT_STREQ(s.job.waypoints[0].description, "Fiesch- launch");
  EXPECT_EQ(s.job.waypoints[0].alt, 305);
  EXPECT_EQ(s.job.waypoints[0].airport, 0);
  EXPECT_NE(s.job.waypoints[0].time, 0u);
  EXPECT_STREQ(s.job.waypoints[1].name, "SW1");
  EXPECT_EQ(s.channel.Progress().back(), "2 waypoints received");
}

TEST(MagellanJobs, WaypointNameWithABlankInside) {
  MagellanJob s;
  s.script->Expect(kVersionCommand)
      .Answer(Version())
      .Expect(kWaypointCommand)
      .Answer(Sentence("PMGNWPL,4625.460,N,00808.100,E,1000,M,AB CD,x"));
  EXPECT_EQ(DownloadWaypoints(s.job), -1);
  EXPECT_EQ(s.channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, "E304 Format error 16", "Read GPS track log"}}));
}

TEST(MagellanJobs, WaypointUploadSendsEachThenTheEndMark) {
  MagellanJob s;
  s.job.waypoints = {testing::MakeWaypoint(46.424333, 8.135, "FIESCH", "Fiesch Launch", 2240),
                     testing::MakeWaypoint(-33.5, -151.2, "SYD", "", -3)};
  const std::string first = Sentence("PMGNWPL,4625.460,N,00808.100,E,2240,M,FIESCH,Fiesch Launch");
  const std::string second = Sentence("PMGNWPL,3330.000,S,15112.000,W,0000,M,SYD,");
  s.script->Expect(kVersionCommand).Answer(Version()).Expect(first).Expect(second).Expect(kEndCommand);
  ASSERT_EQ(UploadWaypoints(s.job), 0);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  const std::vector<std::string> progress = s.channel.Progress();
  EXPECT_TRUE(Shown(progress, "Waypoint 1 sent"));
  EXPECT_TRUE(Shown(progress, "Waypoint 2 sent"));
  EXPECT_EQ(progress.back(), "2 waypoints sent");
  const std::vector<std::chrono::milliseconds> sleeps = s.channel.Sleeps();
  EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), std::chrono::milliseconds(300)), 2);
}

TEST(MagellanJobs, CompetitionTrackDownloadChecksTheWaypointsFirst) {
  MagellanJob s;
  std::vector<std::string> checked;
  s.job.competitionCheck = [&](GpsJob&, const Waypoint& w) { checked.emplace_back(w.name); };
  s.script->Expect(kVersionCommand).Answer(Version());
  s.script->Expect(kWaypointCommand)
      .Answer(Sentence("PMGNWPL,4625.460,N,00808.100,E,0,M,CIVLID,12345") + Sentence("PMGNCMD,END"));
  s.script->Expect(kTrackCommand).Answer(Track(2) + Sentence("PMGNCMD,END"));
  ASSERT_EQ(DownloadTrackLog(s.job), 0);
  EXPECT_EQ(checked, (std::vector<std::string>{"CIVLID"}));
  EXPECT_TRUE(s.job.waypoints.empty());
  EXPECT_EQ(s.job.points.size(), 2u);
}

TEST(MagellanJobs, PortSpeedIs9600WithoutFlowControl) {
  MagellanJob s;
  s.script->Expect(kVersionCommand).Answer(Version());
  s.script->Expect(kWaypointCommand).Answer(Sentence("PMGNCMD,END"));
  (void)DownloadWaypoints(s.job);
  EXPECT_EQ(s.script->LastSetup().baud, 9600);
  EXPECT_FALSE(s.script->LastSetup().xonXoff);
}

}  // namespace
}  // namespace trelvik::magellan
