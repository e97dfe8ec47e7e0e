#include "trackfiles/igc_reader.hpp"

#include <gtest/gtest.h>

#include "base/atomic_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

const std::string kFile =
    "AFLY05094 Flytec\r\nHFDTE140712\r\n"
    "B1005094730500N00815250WA0123401235\r\n"
    "B1005124730600N00815350WA0123501236\r\n"
    "G0123456789ABCDEF\r\n";

TEST(IgcReader, TrackFileKeepsTheRawImage) {
  const TrackFileRead read = ReadIgcTrackFile(kFile);
  ASSERT_EQ(read.status, FileReadStatus::Read);
  EXPECT_TRUE(read.notices.empty());
  ASSERT_EQ(read.records.Count(), 2);
  EXPECT_EQ(read.records.signatureValid, 0);
  EXPECT_EQ(read.records.utcTimes, 0);
  ASSERT_TRUE(read.records.rawIgc);
  TrackLog log;
  InstallRawIgcImage(log, *read.records.rawIgc);
  EXPECT_EQ(log.rawIgc, kFile);
  EXPECT_EQ(log.rawIgcDate, read.records.points[0].time);
  EXPECT_EQ(log.rawIgcMaker, "FLY");
  EXPECT_EQ(log.rawIgcSerial, "050");
}

TEST(IgcReader, FailureNamesTheLineAndKeepsNoImage) {
  const TrackFileRead read = ReadIgcTrackFile("AFLY050\r\nB1005094730500N00815250WA0123401235\r\n");
  EXPECT_EQ(read.status, FileReadStatus::Failed);
  EXPECT_EQ(read.records.Count(), 0);
  EXPECT_FALSE(read.records.rawIgc);
  EXPECT_EQ(read.error.text, "Missing date line");
  EXPECT_EQ(read.error.caption, "Reading IGC log file");
  EXPECT_EQ(read.error.line, 2);
  // A fault of the whole file names no line.
  EXPECT_EQ(ReadIgcTrackFile("HFDTE140712\r\n").error.line, 0);
}

TEST(IgcReader, CutOffRecordsAreReportedOnceAndKeptInTheRawImage) {
  const std::string file =
      "AFLY050\r\nHFDTE140712\r\nB1005094730500N00815250WA0123401235\r\n"
      "B1349534535414N00611417EA0\r\nB1349\r\nB1005154730500N00815250WA0123401235\r\n";
  const TrackFileRead read = ReadIgcTrackFile(file);
  EXPECT_EQ(read.records.Count(), 2);
  ASSERT_TRUE(read.records.rawIgc);
  EXPECT_EQ(read.records.rawIgc->bytes, file);
  ASSERT_EQ(read.notices.size(), 1u);
  EXPECT_EQ(read.notices[0].kind, FileNoticeKind::Information);
  EXPECT_EQ(read.notices[0].text, "2 incomplete position record(s) skipped");
  EXPECT_EQ(read.notices[0].caption, "Reading IGC log file");
}

TEST(IgcReader, CommandLineReadAppendsTheExtension) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("flight.igc"), kFile));
  ScriptedUserInterface ui;
  const auto points = ReadIgcForCommandLine(ui, dir.File("flight"));
  ASSERT_TRUE(points);
  EXPECT_EQ(points->size(), 2u);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(IgcReader, CommandLineReadFailures) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("empty.igc"), ""));
  ASSERT_FALSE(
      WriteFileAtomically(dir.File("bad.igc"), "AFLY050\r\nHFDTE140712\r\nB2405094730500N00815250WA0123401235\r\n"));
  struct Case {
    std::string name;
    RecordedBox box;
  };
  const Case cases[] = {
      {"/tmp/" + std::string(248, 'n'), {MessageKind::Error, "File name too long", "Reading IGC log file"}},
      {dir.File("missing"), {MessageKind::Error, "No such file or directory", "Error opening file"}},
      {dir.File("empty"), {MessageKind::Error, "File is empty", "Reading IGC log file"}},
      {dir.File("bad"), {MessageKind::Error, "Pos. error 2 on line 3", "Reading IGC log file"}},
  };
  for (const Case& c : cases) {
    ScriptedUserInterface ui;
    EXPECT_FALSE(ReadIgcForCommandLine(ui, c.name));
    ASSERT_EQ(ui.boxes.size(), 1u) << c.name;
    EXPECT_EQ(ui.boxes[0], c.box);
  }
}

}  // namespace
}  // namespace trelvik
