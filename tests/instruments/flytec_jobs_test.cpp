// The Flytec/Braeuniger thread routines over a scripted link: what the user
// sees for each answer of the instrument (the fault sweeps are a file of
// their own).
#include <gtest/gtest.h>

#include "access/notifier.hpp"
#include "airspace/ctr_area.hpp"
#include "access/track_list.hpp"
#include "instruments/flytec/jobs.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "records/names.hpp"

namespace trelvik::flytec {
namespace {

using testing::kCtr;
using testing::kIgcRequest;
using testing::kSnp;
using testing::kTl;
using testing::kWps;
using testing::Product;
using testing::ScriptedJob;
using testing::Sentence;
using testing::SmallIgc;

bool Shown(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

class SinkRecorder : public NotifySink {
 public:
  bool Send(std::string_view datagram) override {
    texts.emplace_back(datagram.substr(4));  // after the data word
    return true;
  }
  std::vector<std::string> texts;
};

class FixedChooser : public TrackListChooser {
 public:
  explicit FixedChooser(std::optional<std::vector<int>> answer) : answer_(std::move(answer)) {}
  std::optional<std::vector<int>> ChooseTracks(const TrackListQuestion& question) override {
    asked = question;
    return answer_;
  }
  std::optional<TrackListQuestion> asked;

 private:
  std::optional<std::vector<int>> answer_;
};

TEST(FlytecProductData, IdentifiesTheInstrument) {
  ScriptedJob s;
  s.script->Expect(kSnp).Answer("\x13" + Product("Compeo", "2.19") + "\x11");
  ProductData product;
  ASSERT_EQ(ReadProductData(s.job, product), 0);
  EXPECT_EQ(s.channel.Products(), (std::vector<std::string>{"", "COMPEO, SN4711, SW2.19"}));
  EXPECT_EQ(s.job.modelName, "Compeo");
  EXPECT_EQ(s.job.description, "COMPEO 4711 2.19");
  EXPECT_EQ(s.job.identity, "Compeo: 4711");
  EXPECT_EQ(s.channel.Progress(), (std::vector<std::string>{"Requesting product info (1)", "Product data read"}));
  EXPECT_TRUE(s.script->LastSetup().xonXoff);
  EXPECT_EQ(s.script->LastSetup().baud, 57600);
}

TEST(FlytecProductData, FaultsAndTheirMessages) {
  struct Case {
    std::string answer;
    RecordedMessage message;
  };
  std::string badSum = Product();
  badSum[badSum.size() - 3] ^= 1;
  const Case cases[] = {
      {Product("COMPEO", "2.19", "  "), {MessageKind::Error, "Bad/missing user name", "Reading product data"}},
      {"", {MessageKind::Error, "No valid response from GPS", "Get GPS product data"}},
      {badSum, {MessageKind::Error, "No valid response from GPS", "Get GPS product data"}},
      {Sentence("PBRSNP,COMPEO,Jo,4711"), {MessageKind::Error, "No valid response from GPS", "Get GPS product data"}},
  };
  for (const Case& c : cases) {
    ScriptedJob s;
    s.script->Expect(kSnp).Answer(c.answer);
    ProductData product;
    EXPECT_EQ(ReadProductData(s.job, product), -1);
    EXPECT_EQ(s.channel.Messages(), std::vector<RecordedMessage>{c.message}) << c.answer;
  }
}

TEST(FlytecProductData, AWrongLineEndsThePassAndTheNextOneAsksAgain) {
  ScriptedJob s;
  s.commandLine.timeout = 4;
  s.script->Expect(kSnp).Answer(Sentence("GPRMC,1") + Product()).Expect(kSnp).Answer(Product());
  ProductData product;
  ASSERT_EQ(ReadProductData(s.job, product), 0);
  EXPECT_EQ(s.channel.Progress()[1], "Requesting product info (1)");
  EXPECT_TRUE(s.script->Finished());
}

TEST(FlytecTrackDownload, LatestTrackOfAnInstrumentThatCannotListIt) {
  ScriptedJob s;
  const std::string igc = SmallIgc(201);
  s.script->Expect(kSnp).Answer(Product("COMPEO", "2.19")).Expect(kIgcRequest).Answer(igc);
  ASSERT_EQ(DownloadTrackLog(s.job), 1);
  EXPECT_EQ(s.job.points.size(), 201u);
  EXPECT_EQ(s.job.signable, 1);
  EXPECT_EQ(s.job.source, TrackSource::Flytec);
  EXPECT_EQ(s.job.utcTimes, 1);
  EXPECT_EQ(s.job.hasPressureAltitude, 1);
  ASSERT_TRUE(s.job.rawIgc.has_value());
  EXPECT_EQ(s.job.rawIgc->bytes, igc);
  EXPECT_EQ(s.job.rawIgc->maker, "FLY");
  EXPECT_EQ(s.job.rawIgc->serial, "012");
  EXPECT_EQ(s.job.rawIgc->date, s.job.points[0].time);
  const std::vector<std::string> progress = s.channel.Progress();
  EXPECT_TRUE(Shown(progress, "Requesting track log"));
  EXPECT_TRUE(Shown(progress, "Receiving track log"));
  EXPECT_TRUE(Shown(progress, "Track position 101"));
  EXPECT_TRUE(Shown(progress, "Track position 201"));
  EXPECT_FALSE(Shown(progress, "Track position 1"));
  EXPECT_EQ(progress.back(), "201 points received");
  EXPECT_TRUE(s.channel.Messages().empty());
}

TEST(FlytecTrackDownload, FileFaultsEndTheJobWithTheirTexts) {
  const std::string noG = SmallIgc(3).substr(0, SmallIgc(3).rfind('G'));
  const std::pair<std::string, std::string> cases[] = {
      {SmallIgc(3, "HFPLTPILOT:nobody"), "E206 Format error 25"},
      {"AFLY01234\r\nHFDTE150724\r\n", "No points detected"},
      {SmallIgc(3).substr(11), "Bad or missing A-record"},
      {"AFLY01234\r\n-\r\n", "E205 Bad record type (2D)"},
      {"AFLY01234\r\nL" + std::string(90, 'x') + "\r\n", "E207 Too long sentence"},
  };
  for (const auto& [igc, text] : cases) {
    ScriptedJob s;
    s.script->Expect(kSnp).Answer(Product()).Expect(kIgcRequest).Answer(igc);
    EXPECT_EQ(DownloadTrackLog(s.job), -1) << text;
    EXPECT_EQ(s.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, text, "Read GPS track log"}}));
  }
  ScriptedJob unsigned_;
  unsigned_.script->Expect(kSnp).Answer(Product()).Expect(kIgcRequest).Answer(noG);
  EXPECT_EQ(DownloadTrackLog(unsigned_.job), 0);
  EXPECT_EQ(unsigned_.job.signable, 0);
  EXPECT_EQ(unsigned_.channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Warning, "No G-records found", "Read GPS track log"}}));
}

std::string TrackList() {
  return Sentence("PBRTL,02,00,15.07.24,12:00:00,00:00:20") + Sentence("PBRTL,02,01,14.07.24,12:00:00,00:00:20");
}

TEST(FlytecTrackDownload, SelectedTracksAreJoinedIntoOneLog) {
  ScriptedJob s;
  s.commandLine.trackList = EmptyTrackList();
  s.commandLine.trackList[0] = 0;
  s.commandLine.trackList[1] = 1;
  const std::string later = SmallIgc(3, "HFDTE150724");
  const std::string earlier = SmallIgc(2, "HFDTE140724");
  s.script->Expect(kSnp).Answer(Product("COMPEO", "2.20")).Expect(kTl).Answer(TrackList());
  s.script->Expect(PBRTR(0)).Answer(later).Expect(PBRTR(1)).Answer(earlier);
  ASSERT_EQ(DownloadTrackLog(s.job), 1);
  ASSERT_EQ(s.job.points.size(), 5u);
  EXPECT_LT(s.job.points[1].time, s.job.points[2].time);
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(s.job.points[i].flags, i == 0 ? kNewSegment : 0) << i;
  EXPECT_EQ(s.job.rawIgc->bytes, later + earlier);
  const std::vector<std::string> progress = s.channel.Progress();
  EXPECT_TRUE(Shown(progress, "2 tracks in track list found"));
  EXPECT_TRUE(Shown(progress, "Requesting track log 1"));
  EXPECT_TRUE(Shown(progress, "Requesting track log 2"));
  EXPECT_EQ(progress.back(), "5 points received");
}

TEST(FlytecTrackDownload, OverlappingTracksFail) {
  ScriptedJob s;
  FixedChooser chooser(std::vector<int>{0, 1});
  s.job.commandLine = nullptr;
  s.job.trackListChooser = &chooser;
  s.script->Expect(kSnp).Answer(Product("COMPEO+", "1.0")).Expect(kTl).Answer(TrackList());
  s.script->Expect(PBRTR(0)).Answer(SmallIgc(3)).Expect(PBRTR(1)).Answer(SmallIgc(5));
  EXPECT_EQ(DownloadTrackLog(s.job), -1);
  EXPECT_EQ(s.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error,
                                                                  "Overlapping track start/stop times",
                                                                  "Read GPS track log"}}));
  ASSERT_TRUE(chooser.asked.has_value());
  EXPECT_EQ(chooser.asked->lines.size(), 2u);
}

TEST(FlytecTrackDownload, CancelledTrackListEndsQuietly) {
  ScriptedJob s;
  FixedChooser chooser(std::nullopt);
  s.job.commandLine = nullptr;
  s.job.trackListChooser = &chooser;
  s.script->Expect(kSnp).Answer(Product("6030", "1.0")).Expect(kTl).Answer(TrackList());
  EXPECT_EQ(DownloadTrackLog(s.job), -1);
  EXPECT_TRUE(s.channel.Messages().empty());
}

TEST(FlytecTrackList, FaultsAreReportedUnderTheirCaption) {
  const std::pair<std::string, std::string> cases[] = {
      {Sentence("PBRTL,02,00,15.07.24,12:00:00"), "NMEA line parse error"},
      {Sentence("PBRXX,02,00,15.07.24,12:00:00,00:00:20"), "Bad NMEA identifier"},
      {Sentence("PBRTL,02,00,15.07.24,12:00:00,00:00:2x"), "Bad track duration parameter"},
  };
  for (const auto& [answer, text] : cases) {
    ScriptedJob s;
    s.script->Expect(kTl).Answer(answer);
    s.job.port = s.script->NewLink();
    EXPECT_EQ(ReadTrackList(s.job), -1);
    EXPECT_EQ(s.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, text, "Read GPS track list"}}));
  }
  ScriptedJob hangUp;
  hangUp.script->Expect(kTl).Answer(Sentence("PBRTL,02,00,15.07.24,12:00:00,00:00:20")).HangUp();
  hangUp.job.port = hangUp.script->NewLink();
  EXPECT_EQ(ReadTrackList(hangUp.job), -1);
  EXPECT_EQ(hangUp.channel.Messages().at(0).text, "E503 COM port read error");

  ScriptedJob empty;
  empty.script->Expect(kTl).Answer(Sentence("PBRTL,02,100,15.07.24,12:00:00,00:00:20"));
  empty.job.port = empty.script->NewLink();
  EXPECT_EQ(ReadTrackList(empty.job), -1);
  EXPECT_EQ(empty.channel.Progress().back(), "0 tracks in track list found");
}

TEST(FlytecFlightList, SentAsTextToTheProgramThatStartedTheRun) {
  ScriptedJob s;
  SinkRecorder sink;
  Notifier notifier(sink, 7, [] { return 0u; });
  s.job.notifier = &notifier;
  s.script->Expect(kSnp).Answer(Product("COMPETINO", "1.14")).Expect(kTl).Answer(TrackList());
  ASSERT_EQ(DownloadFlightList(s.job), 0);
  ASSERT_EQ(sink.texts.size(), 1u);
  EXPECT_EQ(sink.texts[0], "Flightlist:\n2024.07.15,12:00:00,0:00:20\n2024.07.14,12:00:00,0:00:20\n");

  ScriptedJob old;
  old.script->Expect(kSnp).Answer(Product("COMPETINO", "1.13"));
  EXPECT_EQ(DownloadFlightList(old.job), -1);
  EXPECT_TRUE(old.channel.Messages().empty());
}

TEST(FlytecWaypoints, DownloadAndItsFaults) {
  ScriptedJob s;
  s.script->Expect(kSnp).Answer(Product()).Expect(kWps).Answer(
      Sentence("PBRWPS,4625.460,N,00808.100,E,FIESCH,Fiesch Launch,2240") +
      Sentence("PBRWPS,4624,N,00809.000,E,LAND,Fiesch landing,1050"));
  ASSERT_EQ(DownloadWaypoints(s.job), 0);
  ASSERT_EQ(s.job.waypoints.size(), 2u);
  EXPECT_STREQ(s.job.waypoints[1].name, "LAND");
  EXPECT_EQ(s.channel.Progress().back(), "2 waypoints received");
  EXPECT_TRUE(Shown(s.channel.Progress(), "Receiving waypoints"));

  ScriptedJob bad;
  bad.script->Expect(kSnp).Answer(Product()).Expect(kWps).Answer("$PBRWPS,4625.460,N,00808.100,E,ABCDEFG");
  EXPECT_EQ(DownloadWaypoints(bad.job), -1);
  EXPECT_EQ(bad.channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, "E302 Format error 12", "Read GPS waypoints"}}));

  ScriptedJob none;
  none.script->Expect(kSnp).Answer(Product()).Expect(kWps);
  EXPECT_EQ(DownloadWaypoints(none.job), -1);
  EXPECT_EQ(none.channel.Progress().back(), "0 waypoints received");

  ScriptedJob gone;
  gone.script->Expect(kSnp).Answer(Product()).Expect(kWps).HangUp();
  EXPECT_EQ(DownloadWaypoints(gone.job), -1);
  EXPECT_EQ(gone.channel.Messages().at(0).text, "E301 COM port read error");
}

TEST(FlytecWaypoints, CompetitionCheckGetsEveryWaypointWithItsPosition) {
  ScriptedJob s;
  s.script->Expect(kWps).Answer(Sentence("PBRWPS,4625.460,N,00808.100,E,ID,  COMP  123 ,0") +
                                Sentence("PBRWPS,0102.050,N,00000.000,E,,COMPID 123,0"));
  s.job.port = s.script->NewLink();
  std::vector<Waypoint> seen;
  s.job.competitionCheck = [&](GpsJob&, const Waypoint& w) { seen.push_back(w); };
  ASSERT_EQ(WaypointCheck(s.job), 0);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_STREQ(seen[0].name, "ID");
  EXPECT_STREQ(seen[0].description, "COMP 123");
  EXPECT_STREQ(seen[1].name, "COMPID");
  EXPECT_GT(seen[1].lat, 0);
  EXPECT_EQ(seen[1].lon, 0);
  EXPECT_TRUE(s.job.waypoints.empty());
}

TEST(FlytecWaypoints, UploadSendsOneSentenceEach) {
  ScriptedJob s;
  SinkRecorder sink;
  Notifier notifier(sink, 7, [] { return 0u; });
  s.job.notifier = &notifier;
  Waypoint a;
  CopyToField(std::string("Alpha"), a.description);
  Waypoint b;
  b.alt = 500;
  s.job.waypoints = {a, b};
  s.script->Expect(kSnp).Answer(Product()).Expect(PBRWPR(a)).Expect(PBRWPR(b));
  ASSERT_EQ(UploadWaypoints(s.job), 0);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_EQ(s.channel.Progress().back(), "Waypoint 2 sent");
  EXPECT_EQ(sink.texts, (std::vector<std::string>{"Sent wpt 1/2", "Sent wpt 2/2"}));

}

CtrList OneCircle() {
  CtrArea area;
  area.name = "Circle";
  area.selected = true;
  CtrSegment circle;
  circle.type = CtrSegmentType::Circle;
  circle.position = {46.5, 8.0};
  circle.radius = 5000;
  area.segments = {circle};
  CtrArea unselected = area;
  unselected.selected = false;
  return {area, unselected};
}

TEST(FlytecCtrUpload, AcknowledgementsAndTheirTexts) {
  const std::pair<std::string, std::string> cases[] = {
      {Sentence("PBRANS,2"), "Plausibility error"},
      {Sentence("PBRANS,3"), "No further memory"},
      {Sentence("PBRANS,4"), "No more writing allowed"},
      {Sentence("PBRANS,5"), "NMEA syntax error"},
      {Sentence("PBRANS,7"), "Unknown ack. status"},
      {"", "Missing CTR upload ack."},
      {"$PBRANS,1*01X", "E600 Format error 4"},
  };
  for (const auto& [ack, text] : cases) {
    ScriptedJob s;
    s.job.ctrList = OneCircle();
    s.script->Expect(kSnp).Answer(Product());
    for (const std::string& line : {Sentence("PBRCTRW,003,000,Circle           ,0200"),
                                    Sentence("PBRCTRW,003,001,                 "),
                                    Sentence("PBRCTRW,003,002,C,4630.000,N,00800.000,E,05000")}) {
      s.script->Expect(line);
    }
    s.script->Answer(ack);
    EXPECT_EQ(UploadCtr(s.job), -1) << text;
    EXPECT_EQ(s.channel.Messages(),
              (std::vector<RecordedMessage>{{MessageKind::Error, text, "CTR upload acknowledge status"}}));
  }
  ScriptedJob ok;
  ok.job.ctrList = OneCircle();
  ok.script->Expect(kSnp).Answer(Product());
  ok.script->Expect(Sentence("PBRCTRW,003,000,Circle           ,0200"))
      .Expect(Sentence("PBRCTRW,003,001,                 "))
      .Expect(Sentence("PBRCTRW,003,002,C,4630.000,N,00800.000,E,05000"))
      .Answer(Sentence("PBRANS,1"));
  EXPECT_EQ(UploadCtr(ok.job), 0);
  EXPECT_TRUE(ok.script->Finished());
  EXPECT_FALSE(ok.script->Mismatch()) << ok.script->MismatchReport();
  const std::vector<std::string> progress = ok.channel.Progress();
  EXPECT_TRUE(Shown(progress, "CTR name sent"));
  EXPECT_TRUE(Shown(progress, "CTR remark sent"));
  EXPECT_TRUE(Shown(progress, "1 CTR segments sent"));
  EXPECT_EQ(progress.back(), "CTR transfer ok");
}

TEST(FlytecCtrDownload, ListOrItsFaults) {
  ScriptedJob s;
  s.script->Expect(kSnp).Answer(Product()).Expect(kCtr).Answer(
      Sentence("PBRCTR,003,000,Circle,0500") + Sentence("PBRCTR,003,001,FL 95") +
      Sentence("PBRCTR,003,002,C,4630.000,N,00800.000,E,05000") + Sentence("PBRANS,1"));
  ASSERT_EQ(DownloadCtr(s.job), 0);
  const CtrList* list = std::any_cast<CtrList>(&s.job.ctrList);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->size(), 1u);
  EXPECT_EQ((*list)[0].name, "Circle");
  EXPECT_TRUE(Shown(s.channel.Progress(), "Receiving CTR list"));
  EXPECT_TRUE(Shown(s.channel.Progress(), "1 CTRs received"));
  EXPECT_EQ(s.channel.Progress().back(), "1 CTR(s) received");

  const std::pair<std::string, std::string> cases[] = {
      {"$PBRCTR,003*0G\r\n", "E703 Format error 3"},
      {Sentence("PBRCTR,003,000,C,0500") + Sentence("PBRCTR,003,002,X"), "E702 Format error 13"},
      {Sentence("PBRCTR,003,000,Circle,0500"), "E704 Missing end of CTR list"},
  };
  for (const auto& [answer, text] : cases) {
    ScriptedJob f;
    f.script->Expect(kSnp).Answer(Product()).Expect(kCtr).Answer(answer);
    EXPECT_EQ(DownloadCtr(f.job), -1) << text;
    EXPECT_EQ(f.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, text, "Read CTR list"}}));
    EXPECT_FALSE(f.job.ctrList.has_value());
  }
}

}  // namespace
}  // namespace trelvik::flytec
