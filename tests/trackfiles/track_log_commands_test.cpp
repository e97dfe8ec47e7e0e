// "&Open log", "Save log &As...", Ctrl+C and the two conversions, through a
// scripted user.
#include <gtest/gtest.h>

#include "base/atomic_file.hpp"
#include "records/track_stores.hpp"
#include "support/golden_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/kml_values.hpp"
#include "trackfiles/track_conversions.hpp"
#include "trackfiles/track_log_open.hpp"
#include "trackfiles/track_log_save.hpp"

namespace trelvik {
namespace {

using testing::GoldenFile;
using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

TrackTime At(int hour, int minute, int second) {
  return TrackTimeFromDate(SystemTime{2012, 7, 0, 1, static_cast<uint16_t>(hour), static_cast<uint16_t>(minute),
                                      static_cast<uint16_t>(second), 0});
}

std::vector<TrackPoint> Points(TrackTime start, int count, int step = 10) {
  std::vector<TrackPoint> points;
  for (int i = 0; i < count; ++i) {
    points.push_back({i == 0 ? kNewSegment : 0, start + static_cast<TrackTime>(step * i),
                      DegreesToSemicircle(47.0 + 0.001 * i), DegreesToSemicircle(8.5), 15000 + 10 * i, 1480 + i, 0});
  }
  return points;
}

class TrackLogCommands : public ::testing::Test {
 protected:
  // The dialog answers with the next queued file and entry.
  TrackFileChooser Chooser() {
    return [this](const TrackFileDialog& dialog) -> std::optional<TrackFileChoice> {
      dialogs.push_back(dialog);
      if (choices.empty()) return std::nullopt;
      TrackFileChoice choice = choices.front();
      choices.erase(choices.begin());
      return choice;
    };
  }
  int32_t Open() {
    const TrackFileChooser choose = Chooser();
    const NewLogAsker ask = [this](const NewLogQuestion& question) {
      newLogQuestions.push_back(question);
      return newLogAnswer;
    };
    const FileTrackChooser track;
    return OpenTrackLog(log, {ui, choose, ask, track, importIndex, folder, 0, SystemTime{2024, 1, 0, 2, 3, 4, 5, 0}});
  }
  int32_t Save(std::vector<TrackPoint> selected) {
    const TrackFileChooser choose = Chooser();
    return SaveTrackLogAs(log, std::move(selected), {ui, choose, exportIndex, folder, varioFilter, {}, At(12, 0, 0)});
  }
  std::string Put(const std::string& name, const std::string& bytes) {
    const std::string path = dir.File(name);
    EXPECT_FALSE(WriteFileAtomically(path, bytes));
    return path;
  }

  TempDir dir;
  ScriptedUserInterface ui;
  TrackLog log;
  int32_t importIndex = 0;
  int32_t exportIndex = 7;
  int32_t varioFilter = 0;
  std::string folder = "/start";
  std::vector<TrackFileChoice> choices;
  std::vector<TrackFileDialog> dialogs;
  std::vector<NewLogQuestion> newLogQuestions;
  NewLogAnswer newLogAnswer = NewLogAnswer::Overwrite;
};

TEST_F(TrackLogCommands, EveryFormatOpensUnderItsEntry) {
  const struct {
    const char* golden;
    size_t entry;
  } cases[] = {{"flight.kml", 1}, {"flight.plt", 2}, {"flight.dat", 3}, {"flight.tnc", 4}, {"flight.mps", 5},
               {"flight.log", 6}, {"flight.igc", 7}, {"flight.gpx", 8}, {"flight.csv", 9}};
  for (const auto& c : cases) {
    // The second half of the list reads a file of any name in the entry's format.
    const std::string path = Put(std::string(c.golden) + ".any", GoldenFile(std::string("track_files/") + c.golden));
    choices = {{path, c.entry + 9}};
    EXPECT_GT(Open(), 0) << c.golden << (ui.boxes.empty() ? "" : ": " + ui.boxes.back().text);
    EXPECT_EQ(importIndex, static_cast<int32_t>(c.entry)) << c.golden;
    EXPECT_EQ(ui.productLines.back(), path);
  }
  EXPECT_EQ(dialogs.front().startEntry, 1u);  // a stored 0 starts at the first entry
  EXPECT_EQ(dialogs.front().filters.size(), 18u);
  EXPECT_EQ(dialogs.front().folder, "/start");
  EXPECT_EQ(folder, dir.File("").substr(0, dir.File("").size() - 1));
  EXPECT_EQ(ui.statusLines.front(), "5 positions read (Signature ok)");
}

TEST_F(TrackLogCommands, ATypedEntryAddsItsExtensionAndTheIgcImageIsKept) {
  Put("flight.igc", GoldenFile("track_files/flight.igc"));
  choices = {{dir.File("flight"), 7}};
  EXPECT_EQ(Open(), 3);
  EXPECT_EQ(log.rawIgc, GoldenFile("track_files/flight.igc"));
  EXPECT_EQ(log.hasPressureAltitude, 1);
  EXPECT_EQ(ui.statusLines.back(), "3 positions read");
  choices = {{dir.File("flight"), 19}};  // beyond both halves
  EXPECT_EQ(Open(), 0);
  EXPECT_EQ(importIndex, 1);
}

TEST_F(TrackLogCommands, BackwardTimesAreAskedAbout) {
  const std::string path = Put("back.csv", "Time,Latitude,Longitude\r\n2012-07-01T10:00:10Z,47,8\r\n"
                                           "2012-07-01T10:00:00Z,47,8\r\n2012-07-01T10:00:20Z,47,8\r\n");
  for (const Answer answer : {Answer::Cancel, Answer::No, Answer::Yes}) {
    log = TrackLog{};
    ui.QueueAnswer(answer);
    choices = {{path, 9}};
    Open();
    EXPECT_EQ(ui.questions.back().text, "One or more positions (the first at pos. 2) go backwards in time. Remove ?");
    EXPECT_EQ(ui.questions.back().caption, "Read track log");
    EXPECT_EQ(log.points.size(), answer == Answer::Cancel ? 0u : answer == Answer::No ? 3u : 2u);
  }
  EXPECT_EQ(ui.statusLines.front(), "Operation aborted");
}

TEST_F(TrackLogCommands, AppendJoinsLaterLogsOnly) {
  InstallFileLog(log, Points(At(10, 0, 0), 3), true, true, {});
  const std::string later = Put("later.csv", "Time,Latitude,Longitude\r\n2012-07-01T11:00:00Z,47,8\r\n"
                                             "2012-07-01T11:00:10Z,47,8\r\n");
  newLogAnswer = NewLogAnswer::Append;
  choices = {{later, 9}};
  EXPECT_EQ(Open(), 2);
  ASSERT_EQ(log.points.size(), 5u);
  EXPECT_EQ(log.points[3].flags, 0);  // the joint is no segment start
  EXPECT_EQ(log.hasPressureAltitude, 0);  // the CSV file had none
  EXPECT_EQ(log.utcTimes, 0);
  ASSERT_EQ(newLogQuestions.size(), 1u);
  EXPECT_EQ(newLogQuestions[0].current.first, "2012-07-01  10:00:00");
  EXPECT_EQ(newLogQuestions[0].current.duration, "00:00:20");
  EXPECT_EQ(newLogQuestions[0].incoming.last, "2012-07-01  11:00:10");

  choices = {{later, 9}};  // now it starts before the log ends
  EXPECT_EQ(Open(), 0);
  EXPECT_EQ(ui.boxes.back(), (RecordedBox{MessageKind::Error, "New track overlaps current one", "Append track"}));
  EXPECT_EQ(log.points.size(), 5u);
  newLogAnswer = NewLogAnswer::Cancel;
  choices = {{later, 9}};
  EXPECT_EQ(Open(), 0);
  EXPECT_EQ(log.points.size(), 5u);
}

TEST_F(TrackLogCommands, ReadFaultsLeaveTheLog) {
  InstallFileLog(log, Points(At(10, 0, 0), 3), true, true, {});
  choices = {{Put("empty.csv", ""), 9}};
  EXPECT_EQ(Open(), 0);
  EXPECT_EQ(ui.boxes.back(), (RecordedBox{MessageKind::Error, "File is empty", "Read track log"}));
  choices = {{Put("none.csv", "Time,Latitude,Longitude\r\n"), 9}};
  EXPECT_EQ(Open(), 0);
  EXPECT_EQ(ui.statusLines.back(), "No positions found");
  choices = {{dir.File("absent.csv"), 9}};
  EXPECT_EQ(Open(), 0);
  EXPECT_EQ(ui.boxes.back().caption, "Error opening file");
  EXPECT_EQ(log.points.size(), 3u);
}

TEST_F(TrackLogCommands, SaveWritesEveryWritableFormatAndReadsBack) {
  InstallFileLog(log, Points(At(10, 0, 0), 20), false, true, {});
  const char* names[] = {"a.plt", "a.mps", "", "a.gpx", "a.csv"};
  for (size_t entry : {1, 2, 4, 5}) {
    const std::string path = dir.File(std::string(names[entry - 1]).substr(0, 1));  // no extension: one is added
    choices = {{path, entry}};
    EXPECT_EQ(Save(log.points), 20) << entry;
    EXPECT_EQ(exportIndex, static_cast<int32_t>(entry));
    const std::string written = dir.File(names[entry - 1]);
    EXPECT_EQ(ui.productLines.back(), written);
    EXPECT_EQ(ui.statusLines.back(), "20 positions written");
    EXPECT_TRUE(FileExists(written)) << written;
    std::remove(written.c_str());
  }
  EXPECT_EQ(dialogs.front().startEntry, 1u);  // a stored 7 is out of range
  EXPECT_EQ(log.saved, 1);
}

TEST_F(TrackLogCommands, SaveQuestionsAndRefusals) {
  InstallFileLog(log, Points(At(10, 0, 0), 3), false, true, {});
  choices = {{dir.File("x.csv"), 5}};
  EXPECT_EQ(Save({}), 0);
  EXPECT_EQ(ui.boxes.back(), (RecordedBox{MessageKind::Error, "No position(s) selected", "Save track log"}));
  ui.QueueAnswer(Answer::Cancel);
  choices = {{dir.File("x.csv"), 5}};
  EXPECT_EQ(Save(Points(At(10, 0, 0), 1)), 0);
  EXPECT_EQ(ui.questions.back().text, "Only one position selected, continue ?");
  EXPECT_FALSE(FileExists(dir.File("x.csv")));
  choices = {{dir.File("x.tnc"), 3}};
  EXPECT_EQ(Save(log.points), 0);
  EXPECT_EQ(ui.boxes.back(), (RecordedBox{MessageKind::Error, "No TopNav log downloaded", "Save track log"}));
  log.rawLog = "@TN raw";
  choices = {{dir.File("x.tnc"), 3}};
  EXPECT_EQ(Save(log.points), 1);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("x.tnc"), bytes));
  EXPECT_EQ(bytes, "@TN raw");
  // A refused overwrite clears both lines.
  ui.QueueAnswer(Answer::Cancel);
  choices = {{dir.File("x.tnc"), 3}};
  EXPECT_EQ(Save(log.points), 0);
  EXPECT_EQ(ui.statusLines.back(), "");
  EXPECT_EQ(ui.productLines.back(), "");
}

TEST_F(TrackLogCommands, VarioSpikesAreFilteredAndTold) {
  std::vector<TrackPoint> points = Points(At(10, 0, 0), 5);
  points[2].gpsAlt = 30000;
  InstallFileLog(log, points, false, true, {});
  varioFilter = 10;
  choices = {{dir.File("v.csv"), 5}};
  EXPECT_EQ(Save(points), 4);
  EXPECT_EQ(ui.boxes.front().kind, MessageKind::Information);
  EXPECT_EQ(ui.boxes.front().text, "1 positions have been removed due to vario filtering");
}

TEST(TrackClipboard, LinesCarryAltitudeSignsAndTenths) {
  std::vector<TrackPoint> points = Points(At(10, 0, 0), 2);
  points[0].gpsAlt = -12;
  points[1].gpsAlt = 7;
  EXPECT_EQ(TrackClipboardText(points), "2012-07-01, 10:00:00, 47.000000, 8.500000, -1.2, 0.0\r\n"
                                        "2012-07-01, 10:00:10, 47.001000, 8.500000,  0.7, 6.7\r\n");
}

TEST(TrackConversions, StopAtTheFirstFaultAndCountTheRest) {
  TempDir dir;
  ScriptedUserInterface ui;
  IgcEncoderInput input;
  const std::vector<TrackPoint> points = Points(At(10, 0, 0), 60, 2);
  input.points = points;
  input.serial = "000";
  const std::string igc = EncodeIgc(input).text;
  ASSERT_FALSE(WriteFileAtomically(dir.File("one.igc"), igc));
  ASSERT_FALSE(WriteFileAtomically(dir.File("two.IGC"), "not an igc file"));
  ASSERT_FALSE(WriteFileAtomically(dir.File("three.igc"), igc));
  const TrackConversionResult result = ConvertTrackFiles(
      ui, TrackConversion::IgcToKml, {dir.File("one.igc"), dir.File("two.IGC"), dir.File("three.igc")}, {}, 0);
  EXPECT_EQ(result.converted, 1);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "File decode error", "Convert .igc to .kml"}}));
  EXPECT_EQ(ui.statusLines.back(), "1 file(s) converted");
  EXPECT_TRUE(FileExists(dir.File("one.kml")));
  EXPECT_FALSE(FileExists(dir.File("three.kml")));

  // Back to IGC; the existing target is left alone without a yes.
  ui.boxes.clear();
  ASSERT_FALSE(WriteFileAtomically(dir.File("one.igc"), "kept"));
  const TrackConversionResult back = ConvertTrackFiles(ui, TrackConversion::KmlToIgc, {dir.File("one.kml")}, {}, 0);
  EXPECT_EQ(back.converted, 0);
  EXPECT_EQ(back.leftAlone, 1);
  EXPECT_EQ(ui.statusLines.back(), "0 file(s) converted, 1 left as they were");
  ui.QueueAnswer(Answer::Ok);
  EXPECT_EQ(ConvertTrackFiles(ui, TrackConversion::KmlToIgc, {dir.File("one.kml")}, {}, 0).converted, 1);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("one.igc"), bytes));
  EXPECT_TRUE(bytes.starts_with("AXTV000"));
  EXPECT_EQ(ConvertTrackFiles(ui, TrackConversion::KmlToIgc, {dir.File("one.txt")}, {}, 0).converted, 0);
  EXPECT_EQ(ui.boxes.back().text, "File contains invalid extension");
}

}  // namespace
}  // namespace trelvik
