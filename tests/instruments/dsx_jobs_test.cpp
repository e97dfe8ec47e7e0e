// The DSX thread routines over a scripted link: what the user sees and what
// the recorder receives for each of its answers.
#include <gtest/gtest.h>

#include "access/field_form.hpp"
#include "instruments/dsx/jobs.hpp"
#include "instruments/dsx_fixtures.hpp"

namespace trelvik::dsx {
namespace {

using testing::DsxJob;
using testing::ExpectDsxConnection;
using testing::SmallIgc;

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

class AnswerForm : public FieldFormAsker {
 public:
  explicit AnswerForm(std::optional<FieldFormAnswer> answer) : answer_(std::move(answer)) {}
  std::optional<FieldFormAnswer> AskFields(const FieldFormQuestion& question) override {
    asked = question;
    return answer_;
  }
  std::optional<FieldFormQuestion> asked;

 private:
  std::optional<FieldFormAnswer> answer_;
};

const std::string kList = "\r\n001 recs n.1234 15.07.24\r\n002 recs n.77 16.07.24\r\n#";

TEST(DsxTrackDownload, TheChosenFlightWithItsRawImageAndTheGoodbye) {
  DsxJob s;
  AnswerChooser chooser(std::vector<int>{0});
  s.job.trackListChooser = &chooser;
  const std::string igc = SmallIgc(150);
  ExpectDsxConnection(*s.script);
  s.script->Expect("FL\r").Answer(kList).Expect("F002\r").Answer("F002\r\n#" + igc + "ZZZZ\r\n#after").Expect("V0\r");
  ASSERT_EQ(DownloadTrackLog(s.job), 1);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  EXPECT_EQ(s.script->LastSetup().baud, 38400);
  EXPECT_EQ(s.job.points.size(), 150u);
  EXPECT_EQ(s.job.source, TrackSource::Dsx);
  EXPECT_EQ(s.job.signable, 1);
  EXPECT_EQ(s.job.modelName, "DSX");
  EXPECT_EQ(s.job.identity, "DSX");
  ASSERT_TRUE(s.job.rawIgc.has_value());
  EXPECT_EQ(s.job.rawIgc->bytes, igc + "ZZZZ\r\n");
  EXPECT_EQ(s.job.rawIgc->maker, "FLY");
  EXPECT_EQ(s.job.rawIgc->date, s.job.points[0].time);
  ASSERT_TRUE(chooser.asked.has_value());
  EXPECT_EQ(chooser.asked->title, "Track List (/dev/ttyFAKE, DSX)");
  EXPECT_EQ(chooser.asked->note, "Select a track (latest first)");
  EXPECT_EQ(chooser.asked->columnHeads, (std::vector<std::string>{"No.", "Records"}));
  EXPECT_EQ(chooser.asked->lines, (std::vector<std::string>{"002       77", "001       1234"}));
  EXPECT_FALSE(chooser.asked->multipleSelection);
  EXPECT_FALSE(chooser.asked->allButton);
  EXPECT_EQ(chooser.asked->preselected, 0);
  EXPECT_TRUE(s.channel.Messages().empty());
  const std::vector<std::string> progress = s.channel.Progress();
  for (const char* text :
       {"Opening connection (1)", "Requesting track list", "2 tracks in track list found", "Requesting track log",
        "Receiving track log", "Track position 101 (0m 0s)", "150 points received"}) {
    EXPECT_NE(std::find(progress.begin(), progress.end(), text), progress.end()) << text;
  }
  EXPECT_EQ(s.channel.Products(), (std::vector<std::string>{"", "DSX"}));
}

TEST(DsxTrackDownload, TheCommandLineTrackNamesALineOfTheList) {
  DsxJob s;
  s.commandLine.trackList[0] = 1;
  ExpectDsxConnection(*s.script);
  s.script->Expect("FL\r").Answer(kList).Expect("F001\r").Answer("#" + SmallIgc(3)).Expect("V0\r");
  ASSERT_EQ(DownloadTrackLog(s.job), 1);
  EXPECT_EQ(s.job.points.size(), 3u);  // the flight ended with the silence
  EXPECT_TRUE(s.script->Finished());
}

TEST(DsxTrackDownload, EndsWithoutDownloadAndSaysGoodbye) {
  struct Case {
    const char* name;
    std::string list;
    std::optional<std::vector<int>> choice;
    std::vector<RecordedMessage> messages;
  };
  const Case cases[] = {
      {"cancel", kList, std::nullopt, {}},
      {"no flights", "\r\n#", std::vector<int>{0}, {}},
      {"empty choice", kList, std::vector<int>{}, {Error("Dialog box error", "Select track")}},
      {"format", "\r\n001 recs x.1 \r\n#", std::vector<int>{0}, {Error("E505 Format error 3", "Read GPS track list")}},
  };
  for (const Case& c : cases) {
    DsxJob s;
    AnswerChooser chooser(c.choice);
    s.job.trackListChooser = &chooser;
    ExpectDsxConnection(*s.script);
    s.script->Expect("FL\r").Answer(c.list).Expect("V0\r");
    EXPECT_EQ(DownloadTrackLog(s.job), -1) << c.name;
    EXPECT_EQ(s.channel.Messages(), c.messages) << c.name;
    EXPECT_TRUE(s.script->Finished()) << c.name;
  }
}

TEST(DsxTrackDownload, FlightFaults) {
  const std::string caption = "Read GPS track log";
  std::string unsigned3 = SmallIgc(3);
  unsigned3.erase(unsigned3.find("G0123"));
  struct Case {
    std::string answer;
    int result;
    std::vector<RecordedMessage> messages;
  };
  const Case cases[] = {
      {"", -1, {}},
      {"#AFLY012\r\nHFDTE150724\r\nZZZZ\r\n", -1, {}},
      {"#" + SmallIgc(3).substr(11), -1, {Error("Bad or missing A-record", caption)}},
      {"#AFLY012\r\n$x\r\n", -1, {Error("E205 Bad record type (24)", caption)}},
      {"#" + SmallIgc(3, "HFDTE150799x"), 1, {}},
      {"#" + SmallIgc(3, "HFDTE159924"), -1, {Error("E206 Format error 3", caption)}},
      {"#" + unsigned3, 0, {{MessageKind::Warning, "No G-records found", caption}}},
  };
  for (const Case& c : cases) {
    DsxJob s;
    s.commandLine.trackList[0] = 0;
    ExpectDsxConnection(*s.script);
    s.script->Expect("FL\r").Answer(kList).Expect("F002\r").Answer(c.answer).Expect("V0\r");
    EXPECT_EQ(DownloadTrackLog(s.job), c.result) << c.answer;
    EXPECT_EQ(s.channel.Messages(), c.messages) << c.answer;
    EXPECT_TRUE(s.script->Written().ends_with("F002\rV0\r")) << c.answer;
  }
}

TEST(DsxConnection, NoAnswerUsesTheAttemptsAndABrokenOneIsNotEnough) {
  DsxJob s;
  s.commandLine.timeout = 4;
  s.script->Expect("V1\r").Answer("Conn\n\r\r").Expect("V1\r").Answer("\n#").Expect("V0\r");
  EXPECT_EQ(DownloadTrackLog(s.job), -1);
  EXPECT_EQ(s.channel.Messages(),
            std::vector<RecordedMessage>{Error("No valid response from GPS", "Opening connection to DSX")});
  EXPECT_EQ(s.channel.Progress()[0], "Opening connection (2)");
  EXPECT_TRUE(s.script->Finished());
}

void ExpectItems(LinkScript& script) {
  const char* items[] = {"Jo Pilot", "42", "1234", "Rush", ""};
  for (int i = 0; i < 5; ++i) script.Expect(E(i + 1)).Answer(std::string(items[i]) + "\r\n#");
}

TEST(DsxPilotData, OnlyChangedNonBlankItemsAreWrittenEachAfterItsPause) {
  DsxJob s;
  s.job.option = 1;
  AnswerForm form(FieldFormAnswer{{"Jo Pilot", "  ", "Sport", "Rush", "Ozone", "+41 79"}, 0});
  s.job.fieldFormAsker = &form;
  ExpectDsxConnection(*s.script);
  ExpectItems(*s.script);
  s.script->Expect("H3Sport\r").Expect("H5Ozone\r").Expect("C1+41 79\r").Expect("V0\r");
  ASSERT_EQ(WritePilotData(s.job), 0);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  EXPECT_EQ(s.job.option, 0);
  ASSERT_TRUE(form.asked.has_value());
  EXPECT_EQ(form.asked->title, "Set DSX pilot data");
  EXPECT_EQ(form.asked->note, "Blank/unchanged fields are not sent");
  EXPECT_EQ(form.asked->mode, 1);
  EXPECT_EQ(form.asked->values, (std::vector<std::string>{"Jo Pilot", "42", "1234", "Rush", "", ""}));
  EXPECT_EQ(form.asked->labels[1][2], "Comp. class");
  EXPECT_EQ(form.asked->labels[0][2], "CIVLID");
  EXPECT_EQ(form.asked->limits, (std::vector<size_t>{62, 6, 14, 14, 14, 20}));
  const std::vector<std::string> progress = s.channel.Progress();
  EXPECT_EQ(std::vector(progress.end() - 4, progress.end()),
            (std::vector<std::string>{"Sending H3", "Sending H5", "Sending C1", "Data sent"}));
  using std::chrono::milliseconds;
  const std::vector<milliseconds> sleeps = s.channel.Sleeps();
  EXPECT_EQ(std::vector(sleeps.end() - 5, sleeps.end()),
            (std::vector<milliseconds>{milliseconds(1000), milliseconds(1000), milliseconds(1000), milliseconds(500),
                                       milliseconds(200)}));
}

TEST(DsxPilotData, CancelSendsNothingAndLeavesTheStatusEmpty) {
  DsxJob s;
  AnswerForm form(std::nullopt);
  s.job.fieldFormAsker = &form;
  ExpectDsxConnection(*s.script);
  ExpectItems(*s.script);
  s.script->Expect("V0\r");
  EXPECT_EQ(WritePilotData(s.job), -1);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_EQ(s.channel.Progress().back(), "");
  EXPECT_TRUE(s.channel.Messages().empty());
}

TEST(DsxPilotData, ItemThatDoesNotCome) {
  DsxJob s;
  ExpectDsxConnection(*s.script);
  s.script->Expect("E1\r").Answer("Jo").Expect("V0\r");
  EXPECT_EQ(WritePilotData(s.job), -1);
  EXPECT_EQ(s.channel.Messages(), std::vector<RecordedMessage>{Error("Response timeout", "Request user data")});
  EXPECT_EQ(s.channel.Progress().back(), "");
}

}  // namespace
}  // namespace trelvik::dsx
