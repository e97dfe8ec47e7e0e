#include "trackfiles/igc_save.hpp"

#include <gtest/gtest.h>

#include "base/atomic_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/igc_verify.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

TrackTime Day(int year, int month, int day) {
  SystemTime t;
  t.year = static_cast<uint16_t>(year);
  t.month = static_cast<uint16_t>(month);
  t.day = static_cast<uint16_t>(day);
  t.hour = 11;
  return TrackTimeFromDate(t);
}

std::vector<TrackPoint> Positions(int count) {
  std::vector<TrackPoint> points(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    points[i].time = Day(2013, 12, 31) + 3u * i;
    points[i].lat = 560000000 + 1000 * i;
    points[i].lon = 98000000;
    points[i].gpsAlt = 15000;
    points[i].baroAlt = 1500;
    points[i].aux = 10.0f;
  }
  points[0].flags = kNewSegment;
  return points;
}

TrackLog SignableLog() {
  TrackLog log;
  log.points = Positions(3);
  log.signable = 1;
  log.description = "Flytec 6030";
  log.downloadTime = DateFromTrackTime(Day(2014, 1, 2));
  return log;
}

IgcDialogFields GoodFields() {
  IgcDialogFields f;
  f.pilot = "Anna  Muster ";
  f.flightNumber = " 3";
  f.serial = "7qz";
  f.gliderType = "Alpina 4";
  f.gliderId = "D-1234";
  f.site = "Fiesch";
  f.competitionClass = "Serial";
  f.longName = true;
  return f;
}

TEST(IgcSave, FieldChecksAndTheirMessages) {
  struct Case {
    const char* what;
    void (*change)(IgcDialogFields&);
    const char* message;
  };
  const Case cases[] = {
      {"empty pilot", [](IgcDialogFields& f) { f.pilot = ""; }, "Missing pilot name"},
      {"blank pilot", [](IgcDialogFields& f) { f.pilot = "   "; }, "Missing pilot name"},
      {"empty flight", [](IgcDialogFields& f) { f.flightNumber = ""; }, "Missing flight number"},
      {"letters in flight", [](IgcDialogFields& f) { f.flightNumber = "1a"; }, "Bad flight number input"},
      {"signed flight", [](IgcDialogFields& f) { f.flightNumber = "+1"; }, "Bad flight number input"},
      {"two numbers", [](IgcDialogFields& f) { f.flightNumber = "1 2"; }, "Bad flight number input"},
      {"overflowing flight", [](IgcDialogFields& f) { f.flightNumber = "9999999999"; }, "Bad flight number input"},
      {"flight 0", [](IgcDialogFields& f) { f.flightNumber = "0"; }, "Flight number out of range"},
      {"flight 36", [](IgcDialogFields& f) { f.flightNumber = "36"; }, "Flight number out of range"},
      {"empty serial", [](IgcDialogFields& f) { f.serial = ""; }, "Missing FR serial number"},
      {"two-letter serial", [](IgcDialogFields& f) { f.serial = "AB"; }, "FR serial number string too short"},
      {"hyphen in serial", [](IgcDialogFields& f) { f.serial = "A-B"; }, "FR serial number not alpha-numeric"},
      {"blank in serial", [](IgcDialogFields& f) { f.serial = "A B"; }, "FR serial number not alpha-numeric"},
  };
  for (const Case& c : cases) {
    IgcDialogFields fields = GoodFields();
    c.change(fields);
    ScriptedUserInterface ui;
    TrackLog log = SignableLog();
    IgcSettings settings;
    const IgcSaveResult result = SaveIgcLog(ui, log, log.points, fields, settings);
    EXPECT_EQ(result.outcome, IgcDialogOutcome::KeepOpen) << c.what;
    ASSERT_EQ(ui.boxes.size(), 1u) << c.what;
    EXPECT_EQ(ui.boxes[0], (RecordedBox{MessageKind::Error, c.message, "Checking IGC parameters"})) << c.what;
    EXPECT_TRUE(ui.fileRequests.empty()) << c.what;
    EXPECT_EQ(settings.igcPilotName, "None");
  }
}

TEST(IgcSave, CheckedValuesAreReadLikeEditFields) {
  IgcDialogFields fields = GoodFields();
  fields.serial = "ab1x";  // the field holds three characters
  fields.flightNumber = "35";
  fields.shortName = true;
  ScriptedUserInterface ui;
  const std::optional<IgcParameters> p = CheckIgcParameters(ui, fields);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pilot, "Anna Muster");
  EXPECT_EQ(p->serial, "ab1");
  EXPECT_EQ(p->flightNumber, 35);
  EXPECT_EQ(p->saveMask, 7u);
}

TEST(IgcSave, BeforeTheDialog) {
  {
    ScriptedUserInterface ui;
    std::vector<TrackPoint> none;
    EXPECT_FALSE(BeginIgcSave(ui, none, {}));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], (RecordedBox{MessageKind::Error, "No position(s) selected", "Write IGC track log file"}));
  }
  for (const Answer answer : {Answer::Ok, Answer::Cancel}) {
    ScriptedUserInterface ui;
    ui.QueueAnswer(answer);
    std::vector<TrackPoint> one = Positions(1);
    EXPECT_EQ(BeginIgcSave(ui, one, {}), answer == Answer::Ok);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].kind, QuestionKind::OkCancel);
    EXPECT_EQ(ui.questions[0].text, "Only one position selected, continue ?");
    EXPECT_EQ(ui.questions[0].caption, "Write IGC track log file");
  }
}

TEST(IgcSave, VarioFilterRunsOnTheCopyAndReportsWhatItRemoved) {
  for (const int32_t removed : {0, 3}) {
    ScriptedUserInterface ui;
    std::vector<TrackPoint> positions = Positions(10);
    const IgcVarioFilter filter = [removed](std::vector<TrackPoint>& points) {
      points.resize(points.size() - static_cast<size_t>(removed));
      return removed;
    };
    EXPECT_TRUE(BeginIgcSave(ui, positions, filter));
    EXPECT_EQ(positions.size(), 10u - static_cast<size_t>(removed));
    if (removed == 0) {
      EXPECT_TRUE(ui.boxes.empty());
    } else {
      ASSERT_EQ(ui.boxes.size(), 1u);
      EXPECT_EQ(ui.boxes[0],
                (RecordedBox{MessageKind::Information, "3 positions have been removed due to vario filtering",
                             "Write IGC track log file"}));
    }
  }
}

TEST(IgcSave, SavesTheEncodedFileAndStoresTheSettings) {
  TempDir dir;
  ScriptedUserInterface ui;
  ui.QueueFile(dir.File("flight"));
  TrackLog log = SignableLog();
  IgcSettings settings;
  settings.igcDir = "/start";
  settings.igcAddEnl = 0;
  IgcDialogFields fields = GoodFields();
  fields.addEnl = true;
  const std::vector<TrackPoint> positions(log.points.begin(), log.points.begin() + 2);
  const IgcSaveResult result = SaveIgcLog(ui, log, positions, fields, settings);

  EXPECT_EQ(result.outcome, IgcDialogOutcome::Close);
  EXPECT_EQ(result.proposedName, "2013-12-31-XTV-7qz-03.igc");
  EXPECT_EQ(result.path, dir.File("flight.igc"));
  EXPECT_TRUE(ui.boxes.empty());
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].kind, FileDialogKind::Save);
  EXPECT_EQ(ui.fileRequests[0].title, "Save track log");
  EXPECT_EQ(ui.fileRequests[0].typeName, "IGC track log files");
  EXPECT_EQ(ui.fileRequests[0].extension, ".igc");
  EXPECT_EQ(ui.fileRequests[0].folder, "/start");

  std::string written;
  ASSERT_TRUE(ReadWholeFile(dir.File("flight.igc"), written));
  IgcEncoderInput expected;
  expected.points = positions;
  expected.signable = 1;
  expected.pilot = "Anna Muster";
  expected.gliderType = "Alpina 4";
  expected.gliderId = "D-1234";
  expected.competitionClass = "Serial";
  expected.site = "Fiesch";
  expected.description = "Flytec 6030";
  expected.serial = "7qz";
  expected.downloadTime = log.downloadTime;
  expected.wantSecurity = true;
  expected.addEnl = true;
  EXPECT_EQ(written, EncodeIgc(expected).text);
  EXPECT_EQ(VerifyIgcText(written), IgcVerification::Passed);

  EXPECT_EQ(ui.statusLines, std::vector<std::string>{"2 positions written"});
  EXPECT_EQ(ui.productLines, std::vector<std::string>{dir.File("flight.igc")});
  EXPECT_EQ(log.saved, 1);
  EXPECT_EQ(settings.igcPilotName, "Anna Muster");
  EXPECT_EQ(settings.igcFlightNo, "3");
  EXPECT_EQ(settings.igcContestId, "7qz");
  EXPECT_EQ(settings.igcGliderType, "Alpina 4");
  EXPECT_EQ(settings.igcGliderId, "D-1234");
  EXPECT_EQ(settings.igcSite, "Fiesch");
  EXPECT_EQ(settings.igcClass, "Serial");
  EXPECT_EQ(settings.igcSaveMask, 3u);
  EXPECT_EQ(settings.igcAddEnl, 0);  // the ENL box is not stored
  EXPECT_EQ(settings.igcDir, dir.Path());
}

TEST(IgcSave, UnsignableLogIsSavedWithoutGRecordAndSaysSo) {
  TempDir dir;
  ScriptedUserInterface ui;
  ui.QueueFile(dir.File("flight.igc"));
  TrackLog log = SignableLog();
  log.signable = 0;
  IgcSettings settings;
  const IgcSaveResult result = SaveIgcLog(ui, log, log.points, GoodFields(), settings);
  EXPECT_EQ(result.outcome, IgcDialogOutcome::Close);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0], (RecordedBox{MessageKind::Information, "Track log source is not valid for G-record",
                                      "Security record NOT included"}));
  std::string written;
  ASSERT_TRUE(ReadWholeFile(dir.File("flight.igc"), written));
  EXPECT_EQ(VerifyIgcText(written), IgcVerification::NoSecurityRecord);
}

TEST(IgcSave, ProposedNames) {
  struct Case {
    bool longName;
    bool shortName;
    const char* proposed;
  };
  const Case cases[] = {{true, false, "2013-12-31-XTV-7qz-03.igc"}, {false, true, "3CVX7qz3.igc"}, {false, false, ""}};
  for (const Case& c : cases) {
    ScriptedUserInterface ui;  // no file queued: the user cancels the save dialog
    TrackLog log = SignableLog();
    IgcSettings settings;
    IgcDialogFields fields = GoodFields();
    fields.longName = c.longName;
    fields.shortName = c.shortName;
    const IgcSaveResult result = SaveIgcLog(ui, log, log.points, fields, settings);
    EXPECT_EQ(result.proposedName, c.proposed);
    EXPECT_EQ(result.outcome, IgcDialogOutcome::KeepOpen);
    EXPECT_EQ(log.saved, 0);
    EXPECT_EQ(settings.igcPilotName, "None");
  }
}

TEST(IgcSave, ExistingFileAnsweredCancelKeepsTheDialogAndTheFile) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("flight.igc"), "old"));
  ScriptedUserInterface ui;
  ui.QueueFile(dir.File("flight.igc"));
  ui.QueueAnswer(Answer::Cancel);
  TrackLog log = SignableLog();
  IgcSettings settings;
  EXPECT_EQ(SaveIgcLog(ui, log, log.points, GoodFields(), settings).outcome, IgcDialogOutcome::KeepOpen);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].text, "File already exists, overwrite ?");
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("flight.igc"), bytes));
  EXPECT_EQ(bytes, "old");
}

TEST(IgcSave, NameBoxesActAsAPair) {
  bool longBox = false;
  bool shortBox = true;
  ToggleIgcNameBox(longBox, shortBox);
  EXPECT_TRUE(longBox);
  EXPECT_FALSE(shortBox);
  ToggleIgcNameBox(longBox, shortBox);
  EXPECT_FALSE(longBox);
  EXPECT_FALSE(shortBox);
}

TEST(IgcSave, DialogFieldsComeFromTheSettings) {
  IgcSettings settings;
  settings.igcSaveMask = 5;
  settings.igcAddEnl = 1;
  const IgcDialogFields fields = IgcDialogFieldsFromSettings(settings);
  EXPECT_EQ(fields.pilot, "None");
  EXPECT_EQ(fields.flightNumber, "1");
  EXPECT_EQ(fields.serial, "1");
  EXPECT_FALSE(fields.longName);
  EXPECT_TRUE(fields.shortName);
  EXPECT_TRUE(fields.addEnl);
  const RawIgcDialogFields raw = RawIgcDialogFieldsFromSettings(settings);
  EXPECT_EQ(raw.flightNumber, "1");
  EXPECT_FALSE(raw.longName);
  EXPECT_TRUE(raw.shortName);
}

TrackLog LogWithRawImage() {
  TrackLog log = SignableLog();
  log.rawIgc = "AFLY05094\r\nHFDTE311213\r\nB1100004730500N00815250WA0123401235\r\n";
  log.rawIgcDate = Day(2013, 12, 31);
  log.rawIgcMaker = "FLY";
  log.rawIgcSerial = "050";
  return log;
}

TEST(IgcSaveRaw, WithoutRawImage) {
  ScriptedUserInterface ui;
  TrackLog log = SignableLog();
  EXPECT_FALSE(BeginRawIgcSave(ui, log));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0], (RecordedBox{MessageKind::Error, "No raw IGC log stored", "Save IGC log"}));
}

TEST(IgcSaveRaw, FlightNumberChecks) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "Missing flight number"},
      {"x", "Bad flight number input"},
      {"40", "Flight number out of range"},
      {"9999999999", "Flight number out of range"},  // only seven characters are read, so no overflow
  };
  for (const auto& [text, message] : cases) {
    ScriptedUserInterface ui;
    TrackLog log = LogWithRawImage();
    IgcSettings settings;
    const IgcSaveResult result = SaveRawIgcLog(ui, log, {text, true, false}, settings);
    EXPECT_EQ(result.outcome, IgcDialogOutcome::KeepOpen);
    ASSERT_EQ(ui.boxes.size(), 1u) << text;
    EXPECT_EQ(ui.boxes[0], (RecordedBox{MessageKind::Error, message, "IGC file parameter check"})) << text;
  }
}

TEST(IgcSaveRaw, WritesTheRawImageByteForByte) {
  struct Case {
    bool longName;
    bool shortName;
    const char* proposed;
    uint32_t mask;
  };
  const Case cases[] = {
      {true, false, "2013-12-31-FLY-050-35.igc", 3u}, {false, true, "3CVX050Z.igc", 5u}, {false, false, "", 1u}};
  for (const Case& c : cases) {
    TempDir dir;
    ScriptedUserInterface ui;
    ui.QueueFile(dir.File("raw.igc"));
    TrackLog log = LogWithRawImage();
    IgcSettings settings;
    settings.igcSaveMask = 7;
    const IgcSaveResult result = SaveRawIgcLog(ui, log, {"35", c.longName, c.shortName}, settings);
    EXPECT_EQ(result.outcome, IgcDialogOutcome::Close);
    EXPECT_EQ(result.proposedName, c.proposed);
    EXPECT_TRUE(ui.boxes.empty());
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(dir.File("raw.igc"), bytes));
    EXPECT_EQ(bytes, log.rawIgc);
    EXPECT_EQ(settings.igcFlightNo, "35");
    EXPECT_EQ(settings.igcSaveMask, c.mask);
    EXPECT_EQ(log.saved, 1);
  }
}

}  // namespace
}  // namespace trelvik
