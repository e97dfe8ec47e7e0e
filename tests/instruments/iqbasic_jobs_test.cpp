// The IQ Basic / Flytec 6015 thread routines over a scripted link: what the
// user sees for each answer of the instrument.
#include <gtest/gtest.h>

#include "access/track_list.hpp"
#include "instruments/iqbasic/codec.hpp"
#include "instruments/iqbasic/jobs.hpp"
#include "instruments/iqbasic_fixtures.hpp"

namespace trelvik::iqbasic {
namespace {

using testing::ExpectIqIdentification;
using testing::IqJob;
using testing::IqListLine;
using testing::SmallIgc;

bool Shown(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

RecordedMessage Error(std::string text, std::string caption) {
  return {MessageKind::Error, std::move(text), std::move(caption)};
}

class AnswerChooser : public TrackListChooser {
 public:
  explicit AnswerChooser(std::optional<std::vector<int>> answer) : answer_(std::move(answer)) {}
  std::optional<std::vector<int>> ChooseTracks(const TrackListQuestion& question) override {
    asked = question;
    return answer_;
  }
  std::optional<TrackListQuestion> asked;

 private:
  std::optional<std::vector<int>> answer_;
};

TEST(IqBasicIdentify, ReadsSerialTypeAndSoftware) {
  IqJob s;
  ExpectIqIdentification(*s.script, "00");
  ASSERT_EQ(Identify(s.job), 0);
  EXPECT_EQ(s.job.modelName, "6015");
  EXPECT_EQ(s.job.description, "6015");
  EXPECT_EQ(s.job.identity, "6015, SW 1.2.34, S/N 1137");
  EXPECT_EQ(s.channel.Products(), std::vector<std::string>{"6015, SW 1.2.34, S/N 1137"});
  EXPECT_EQ(s.channel.Progress(), (std::vector<std::string>{"Requesting product info (1)", "Product data read"}));
  EXPECT_EQ(s.script->LastSetup().baud, 57600);
  EXPECT_FALSE(s.script->LastSetup().xonXoff);
  // A pause of 200 ms after every line received.
  const std::vector<std::chrono::milliseconds> sleeps = s.channel.Sleeps();
  ASSERT_GE(sleeps.size(), 3u);
  EXPECT_EQ(std::vector(sleeps.end() - 3, sleeps.end()), std::vector(3, std::chrono::milliseconds(200)));
}

TEST(IqBasicIdentify, FaultsAndTheirMessages) {
  struct Case {
    std::string rpa01;
    std::string rpa02;
    RecordedMessage message;
  };
  const Case cases[] = {
      {"RPX_01_01\r\n", "", Error("Device type response error", "Request product data")},
      {"RPA_01_0G\r\n", "", Error("Device type format error", "Request product data")},
      {"", "", Error("Response timeout", "Request PA data")},
      {"RPA_01_01\r\n", "RPA_03_01\r\n", Error("Software version response error", "Request product data")},
      {"RPA_01_01\r\n", "RPA_02_123\r\n", Error("Software version format error", "Request product data")},
  };
  for (const Case& c : cases) {
    IqJob s;
    s.script->Expect("RPA_00\r\n").Answer("RPA_00_71040000\r\n").Expect("RPA_01\r\n").Answer(c.rpa01);
    if (!c.rpa02.empty()) s.script->Expect("RPA_02\r\n").Answer(c.rpa02);
    EXPECT_EQ(Identify(s.job), -1);
    EXPECT_EQ(s.channel.Messages(), std::vector<RecordedMessage>{c.message}) << c.rpa01 << c.rpa02;
  }
}

TEST(IqBasicIdentify, WrongOrMissingSerialAsksAgainUntilTheAttemptsAreUsed) {
  IqJob s;
  s.commandLine.timeout = 6;
  s.script->Expect("RPA_00\r\n").Answer("hello\r\n").Expect("RPA_00\r\n").Expect("RPA_00\r\n").Answer("RPA_00_1\r\n");
  EXPECT_EQ(Identify(s.job), -1);
  EXPECT_EQ(s.channel.Messages(),
            std::vector<RecordedMessage>{Error("No valid response from GPS", "Get GPS product data")});
  EXPECT_EQ(s.channel.Progress(),
            (std::vector<std::string>{"Requesting product info (3)", "Requesting product info (2)",
                                      "Requesting product info (1)"}));
  EXPECT_TRUE(s.script->Finished());
}

TEST(IqBasicTrackDownload, TwoFlightsJoinedInTimeOrderWithTheRawImage) {
  IqJob s;
  s.commandLine.trackList[0] = 0;
  s.commandLine.trackList[1] = 1;
  const std::string later = SmallIgc(150, "HFDTE150724", 13);
  const std::string earlier = SmallIgc(3, "HFDTE150724", 12);
  ExpectIqIdentification(*s.script);
  s.script->Expect("ACT_20_  \r\n").Answer(IqListLine(42, "15.07.24", "13:00:00") + "junk\r\n" + IqListLine(7));
  s.script->Expect("ACT_21_2A\r\n").Answer(later).Expect("ACT_21_07\r\n").Answer(earlier);
  ASSERT_EQ(DownloadTrackLog(s.job), 1);
  ASSERT_EQ(s.job.points.size(), 153u);
  EXPECT_EQ(s.job.points[0].flags, kNewSegment);
  EXPECT_EQ(s.job.points[3].flags, 0u);  // the joint continues the segment
  EXPECT_LT(s.job.points[2].time, s.job.points[3].time);
  EXPECT_EQ(s.job.source, TrackSource::IqBasic);
  EXPECT_EQ(s.job.signable, 1);
  ASSERT_TRUE(s.job.rawIgc.has_value());
  EXPECT_EQ(s.job.rawIgc->bytes, later + earlier);
  EXPECT_EQ(s.job.rawIgc->maker, "FLY");
  EXPECT_EQ(s.job.rawIgc->serial, "012");
  EXPECT_EQ(s.job.rawIgc->date, s.job.points[0].time);
  const std::vector<std::string> progress = s.channel.Progress();
  for (const char* text :
       {"Requesting track list", "2 tracks in track list found", "Requesting track log 1", "Receiving track log",
        "150 points received", "Requesting track log 2", "153 points received"}) {
    EXPECT_TRUE(Shown(progress, text)) << text;
  }
  EXPECT_TRUE(s.channel.Messages().empty());
  EXPECT_EQ(s.job.flightList[1].duration, 20u);
}

TEST(IqBasicTrackDownload, FlightNumbersBeyondTwoHexDigitsAreSkippedNotWrapped) {
  IqJob s;
  AnswerChooser chooser(std::vector<int>{0, 1});
  s.job.trackListChooser = &chooser;
  ExpectIqIdentification(*s.script);
  s.script->Expect("ACT_20_  \r\n").Answer(IqListLine(256) + IqListLine(255, "14.07.24"));
  s.script->Expect("ACT_21_FF\r\n").Answer(SmallIgc(3, "HFDTE140724"));
  s.commandLine.trackList[0] = -1;
  ASSERT_EQ(DownloadTrackLog(s.job), 1);
  ASSERT_TRUE(chooser.asked.has_value());
  EXPECT_EQ(chooser.asked->lines.size(), 1u);
  EXPECT_EQ(s.job.points.size(), 3u);
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
}

TEST(IqBasicTrackDownload, FaultsAndTheirMessages) {
  const std::string caption = "Read GPS track log";
  struct Case {
    std::string list;
    std::vector<std::string> flights;
    RecordedMessage message;
  };
  const TrackTime noon = TrackTimeFromDate({2024, 7, 0, 15, 12, 0, 0, 0});
  std::string tooLong = SmallIgc(3);
  tooLong.insert(tooLong.find("B12"), "B" + std::string(90, '1') + "\r\n");
  const Case cases[] = {
      {"1;15.07.24\r\nrubbish\r\n", {}, Error("No tracks found", "Read track list")},
      {IqListLine(1) + IqListLine(2, "15.07.24", "12:00:10"),
       {SmallIgc(3), SmallIgc(3)},
       Error(CFormat("Overlapping tracks (%08X,%08X)(%08X,%08X)", noon, noon + 20, noon, noon + 20), caption)},
      {IqListLine(1), {SmallIgc(3, "HFDTE320724")}, Error("HFDTE sentence error: HFDTE320724", caption)},
      {IqListLine(1),
       {"AFLY012\r\nB1200004630000N00800000EA0100001100\r\n"},
       Error("Format error 25 in IGC sentence", caption)},
      {IqListLine(1), {"AFLY012\r\n$GPRMC\r\n"}, Error("Bad record type (24)", caption)},
      {IqListLine(1), {tooLong}, Error("Too long sentence", caption)},
      {IqListLine(1), {"AFLY012\r\nHFDTE150724\r\n"}, Error("No points detected", caption)},
      {IqListLine(1), {SmallIgc(3).substr(11)}, Error("Bad or missing A-record", caption)},
  };
  for (const Case& c : cases) {
    IqJob s;
    s.commandLine.trackList[0] = 0;
    s.commandLine.trackList[1] = 1;
    ExpectIqIdentification(*s.script);
    s.script->Expect("ACT_20_  \r\n").Answer(c.list);
    for (size_t i = 0; i < c.flights.size(); ++i) s.script->Expect(ACT21(static_cast<int>(i) + 1)).Answer(c.flights[i]);
    EXPECT_EQ(DownloadTrackLog(s.job), -1);
    EXPECT_EQ(s.channel.Messages(), std::vector<RecordedMessage>{c.message}) << c.message.text;
    EXPECT_FALSE(s.job.rawIgc.has_value());
  }
}

TEST(IqBasicTrackDownload, FlightWithoutGRecordsIsNotSignable) {
  IqJob s;
  s.commandLine.trackList[0] = 0;
  std::string igc = SmallIgc(3);
  igc.erase(igc.find("G0123"));
  ExpectIqIdentification(*s.script);
  s.script->Expect("ACT_20_  \r\n").Answer(IqListLine(1)).Expect(ACT21(1)).Answer(igc);
  ASSERT_EQ(DownloadTrackLog(s.job), 0);
  EXPECT_EQ(s.job.signable, 0);
  const RecordedMessage warning{MessageKind::Warning, "No G-records found", "Read GPS track log"};
  EXPECT_EQ(s.channel.Messages(), std::vector<RecordedMessage>{warning});
}

TEST(IqBasicTrackDownload, CompetitionModeChecksTheWaypointsFirst) {
  IqJob s;
  s.commandLine.trackList[0] = 0;
  std::vector<std::string> seen;
  s.job.competitionCheck = [&](GpsJob&, const Waypoint& w) { seen.emplace_back(w.description); };
  ExpectIqIdentification(*s.script);
  s.script->Expect("ACT_31_00\r\n").Answer("COMPID 12;N 00'00.012;E 000'00.000\r\nbroken\r\nDone\r\n");
  s.script->Expect("ACT_20_  \r\n").Answer(IqListLine(1)).Expect(ACT21(1)).Answer(SmallIgc(3));
  ASSERT_EQ(DownloadTrackLog(s.job), 1);
  EXPECT_EQ(seen, std::vector<std::string>{"COMPID 12"});
}

TEST(IqBasicFlightList, AnInstrumentStreamingOtherLinesDoesNotKeepTheListOpen) {
  IqJob s;
  ExpectIqIdentification(*s.script);
  std::string stream = IqListLine(5);
  for (int i = 0; i < 1200; ++i) stream += "$GPGGA,1\r\n";
  s.script->Expect("ACT_20_  \r\n").Answer(stream);
  ASSERT_EQ(DownloadFlightList(s.job), 0);
  EXPECT_NE(s.job.flightList[0].start, 0u);
  EXPECT_FALSE(s.script->Finished());  // the rest of the stream was not waited for
}

TEST(IqBasicFlightList, LinesThatDoNotParseAreSkipped) {
  IqJob s;
  ExpectIqIdentification(*s.script);
  s.script->Expect("ACT_20_  \r\n").Answer(IqListLine(3, "01.02.09", "08:09:10", "25:00:00") + IqListLine(4));
  // Hours of the duration beyond a day do not parse: that line is skipped.
  ASSERT_EQ(DownloadFlightList(s.job), 0);
  EXPECT_EQ(s.job.flightList[0].start, TrackTimeFromDate({2024, 7, 0, 15, 12, 0, 0, 0}));
  EXPECT_EQ(s.job.flightList[1].start, 0u);
}

TEST(IqBasicWaypoints, DownloadUntilDone) {
  IqJob s;
  ExpectIqIdentification(*s.script);
  s.script->Expect("ACT_31_00\r\n")
      .Answer(
          "Fies launch ost;N  46'25.460;E 008'08.100;  2240\r\nLAND;N 46'24;E 8'09.5\r\nDone\r\nlater;N 1'0;E 1'0\r\n");
  ASSERT_EQ(DownloadWaypoints(s.job), 0);
  ASSERT_EQ(s.job.waypoints.size(), 2u);
  EXPECT_STREQ(s.job.waypoints[0].name, "FIES");
  EXPECT_STREQ(s.job.waypoints[1].description, "LAND");
  EXPECT_TRUE(Shown(s.channel.Progress(), "Receiving waypoints"));
  EXPECT_EQ(s.channel.Progress().back(), "2 waypoints received");
}

TEST(IqBasicWaypoints, DownloadFaults) {
  struct Case {
    std::string answer;
    int result;
    std::vector<RecordedMessage> messages;
  };
  const Case cases[] = {
      {"A;N 46'25;E 8'08;x\r\n", -1, {Error("Waypoint string parse error 3", "Read GPS waypoints")}},
      {"No Data\r\n", -1, {}},
      {"", -1, {}},
  };
  for (const Case& c : cases) {
    IqJob s;
    ExpectIqIdentification(*s.script);
    s.script->Expect("ACT_31_00\r\n").Answer(c.answer);
    EXPECT_EQ(DownloadWaypoints(s.job), c.result) << c.answer;
    EXPECT_EQ(s.channel.Messages(), c.messages) << c.answer;
  }
}

TEST(IqBasicWaypoints, UploadCountsEveryReplyButDoneWithItsBlankAsAnError) {
  const Waypoint a = testing::MakeWaypoint(46.5, 8.25, "A", "Alpha", 100);
  const Waypoint b = testing::MakeWaypoint(-1, -2, "B", "Bravo", 200);
  for (const bool good : {true, false}) {
    IqJob s;
    s.job.waypoints = {a, b};
    ExpectIqIdentification(*s.script);
    const std::string reply = good ? " Done\r\n" : "Done\r\n";
    s.script->Expect(ACT32(a)).Answer(reply).Expect(ACT32(b)).Answer(reply);
    EXPECT_EQ(UploadWaypoints(s.job), good ? 0 : -1);
    if (good) {
      EXPECT_TRUE(s.channel.Messages().empty());
    } else {
      EXPECT_EQ(s.channel.Messages(),
                std::vector<RecordedMessage>{
                    Error("0 of 2 waypoints ok. First error was \"Done\"", "Waypoint upload response error")});
    }
    EXPECT_TRUE(Shown(s.channel.Progress(), "Waypoint 2 sent"));
  }
}

TEST(IqBasicWaypoints, UploadWithoutReply) {
  IqJob s;
  s.job.waypoints = {testing::MakeWaypoint(46.5, 8.25, "A", "Alpha", 100)};
  ExpectIqIdentification(*s.script);
  s.script->Expect(ACT32(s.job.waypoints[0]));
  EXPECT_EQ(UploadWaypoints(s.job), -1);
  EXPECT_EQ(s.channel.Messages(),
            std::vector<RecordedMessage>{Error("Missing response", "Read waypoint upload response")});
}

}  // namespace
}  // namespace trelvik::iqbasic
