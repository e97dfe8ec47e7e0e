#include "airspace/ctr_file.hpp"

#include <gtest/gtest.h>

#include "airspace/openair_writer.hpp"
#include "base/atomic_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

// In the style of today's national exports: a header of comments, the
// extended records (AY, AI, AF, AG, AR, AA, V W=), UTF-8 names with accents,
// one old Latin-1 name, and CR LF and LF line ends mixed in one file.
const std::string kNationalExport =
    "\xEF\xBB\xBF"
    "**********************************************************************\r\n"
    "*  Airspace export, valid from 2024-05-16 (AIRAC 2405)\r\n"
    "*  Généré automatiquement - ne pas modifier\r\n"
    "**********************************************************************\r\n"
    "\r\n"
    "AC D\r\n"
    "AY CTR\r\n"
    "AN GENÈVE CTR\r\n"
    "AI 4b5f9a10-1c2d-4e3f-9a8b-7c6d5e4f3a2b\r\n"
    "AF 118.700\r\n"
    "AG Genève Tower\r\n"
    "AH 5500ft MSL\r\n"
    "AL GND\r\n"
    "DP 46:13:36 N 005:59:45 E\r\n"
    "DP 46:17:12 N 006:04:31 E\r\n"
    "V D=+\r\n"
    "V X=46:14:17 N 006:06:32 E\r\n"
    "DB 46:17:12 N 006:04:31 E, 46:11:03 N 006:09:20 E\r\n"
    "DP 46:09:51 N 006:03:08 E\r\n"
    "\r\n"
    "AC R\n"
    "AY RESTRICTED\n"
    "AN LS-R4 Hinterrhein Schießplatz\n"
    "AR 1\n"
    "AA 2024-05-16T07:00Z/2024-05-16T17:00Z\n"
    "AH FL 130\n"
    "AL GND\n"
    "V X=46:31:00 N 009:10:00 E\n"
    "DC 3.5\n"
    "\n"
    "AC CTR\r\n"
    "AN Zürich CTR Süd\r\n"
    "AH 3500 ft AMSL\r\n"
    "AL GND\r\n"
    "V D=-\r\n"
    "V X=47:27:30 N 008:32:50 E\r\n"
    "DA 5.5,260,100\r\n"
    "DP 47:24:00 N 008:40:00 E\r\n"
    "\r\n"
    "AC W\n"
    "AY AWY\n"
    "AN Airway \xC5lesund\n"
    "AH FL 245\n"
    "AL FL 75\n"
    "V W=5\n"
    "DP 62:28:00 N 006:09:00 E\n"
    "DP 62:40:00 N 006:30:00 E\n";

TEST(ReadCtrFile, NationalExportWithExtendedRecordsAndMixedLineEnds) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("ch.txt"), kNationalExport));
  ScriptedUserInterface ui;
  AirspaceList store;
  std::string folder;
  ASSERT_EQ(ReadCtrFile(ui, store, folder, dir.File("ch.txt"), false), 4);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_TRUE(ui.questions.empty());  // an empty list needs no question
  EXPECT_EQ(ui.statusLines, (std::vector<std::string>{"4 CTRs read"}));
  ASSERT_EQ(store.areas.size(), 4u);
  const CtrList& a = store.areas;
  EXPECT_EQ(a[0].name, "GENÈVE CTR");
  // An AC line belongs to the airspace open when it is read: these files give
  // the class before AN, so each class lands on the airspace before it.
  EXPECT_EQ(a[0].classCode, kClassR);
  EXPECT_EQ(a[1].classCode, kClassCtr);
  EXPECT_EQ(a[2].classCode, kClassW);
  EXPECT_EQ(a[3].classCode, kClassA);
  EXPECT_EQ(a[0].ceilingValue, 5500);
  EXPECT_EQ(a[0].line, 8);
  EXPECT_EQ(a[0].segments.size(), 4u);
  EXPECT_EQ(a[1].name, "LS-R4 Hinterrhein Schießplatz");
  EXPECT_EQ(a[1].segments.at(0).radius, 6483);
  EXPECT_EQ(a[2].name, "Zürich CTR Süd");
  EXPECT_EQ(a[2].segments.at(0).direction, '-');
  EXPECT_EQ(a[3].name, "Airway \xC3\x85lesund");
  EXPECT_EQ(a[3].floorValue, 7500);

  // Every export speaks UTF-8 of them.
  for (CtrArea& area : store.areas) area.selected = true;
  std::string text;
  ASSERT_GT(FormatCtrOpenAir(ui, store.areas, text), 0);
  EXPECT_NE(text.find("AN Airway \xC3\x85lesund\r\n"), std::string::npos);
  EXPECT_NE(text.find("AN Zürich CTR Süd\r\n"), std::string::npos);
}

TEST(ReadCtrFile, KeepCurrentListYesPutsTheNewOnesInFront) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("a.txt"), "AN New\nDP 1N 1E\nDP 2N 2E\n"));
  for (const Answer answer : {Answer::Yes, Answer::No}) {
    AirspaceList store;
    store.areas.resize(1);
    store.areas[0].name = "Old";
    ScriptedUserInterface ui;
    ui.QueueAnswer(answer);
    std::string folder;
    ASSERT_EQ(ReadCtrFile(ui, store, folder, dir.File("a.txt"), false), 1);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "Keep current CTR list ?");
    EXPECT_EQ(ui.questions[0].caption, "Read CTR file");
    if (answer == Answer::Yes) {
      ASSERT_EQ(store.areas.size(), 2u);
      EXPECT_EQ(store.areas[0].name, "New");
      EXPECT_EQ(store.areas[1].name, "Old");
    } else {
      ASSERT_EQ(store.areas.size(), 1u);
      EXPECT_EQ(store.areas[0].name, "New");
    }
  }
}

TEST(ReadCtrFile, EqualNamesAreOfferedAFixAfterTheRead) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("a.txt"),
                                   "AN TMA\nDP 1N 1E\nDP 2N 2E\nAN TMA\nDP 1N 1E\nDP 2N 2E\nAN TMA\nDP 1N 1E\n"));
  ScriptedUserInterface ui;
  ui.QueueAnswer(Answer::Yes);
  AirspaceList store;
  std::string folder;
  ASSERT_EQ(ReadCtrFile(ui, store, folder, dir.File("a.txt"), false), 3);
  ASSERT_EQ(store.areas.size(), 3u);
  EXPECT_EQ(store.areas[0].name, "TMA");
  EXPECT_EQ(store.areas[1].name, "TMA(1)");
  EXPECT_EQ(store.areas[2].name, "TMA(2)");
}

TEST(ReadCtrFile, DialogAppendsTheExtensionAndRemembersTheFolder) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("zone.txt"), "AN Z\nDP 1N 1E\nDP 2N 2E\n"));
  ScriptedUserInterface ui;
  ui.QueueFile(dir.File("zone"));
  AirspaceList store;
  std::string folder = "/start";
  ASSERT_EQ(ReadCtrFile(ui, store, folder, std::nullopt, false), 1);
  EXPECT_EQ(folder, dir.Path());
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].kind, FileDialogKind::Open);
  EXPECT_EQ(ui.fileRequests[0].title, "Read CTR");
  EXPECT_EQ(ui.fileRequests[0].typeName, "OpenAir files");
  EXPECT_EQ(ui.fileRequests[0].extension, ".txt");
  EXPECT_EQ(ui.fileRequests[0].folder, "/start");
}

TEST(ReadCtrFile, EveryRefusal) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("empty.txt"), ""));
  ASSERT_FALSE(WriteFileAtomically(dir.File("bad.txt"), "AN A\nDP 1N 1E\nXX\n"));
  const struct {
    std::string path;
    bool busy;
    RecordedBox box;
  } cases[] = {
      {dir.File("a.txt"), true, {MessageKind::Error, "Busy GPS driver", "Read CTR file"}},
      {dir.File("missing.txt"), false, {MessageKind::Error, "No such file or directory", "Error opening file"}},
      {dir.Path(), false, {MessageKind::Error, "Is a directory", "Error opening file"}},
      {dir.File("empty.txt"), false, {MessageKind::Error, "File is empty", "Reading CTR file"}},
      {dir.File("bad.txt"), false, {MessageKind::Error, "Unknown record type on line 3", "Parsing CTR buffer"}},
  };
  for (const auto& c : cases) {
    ScriptedUserInterface ui;
    AirspaceList store;
    store.areas.resize(2);
    std::string folder;
    EXPECT_EQ(ReadCtrFile(ui, store, folder, c.path, c.busy), -1) << c.path;
    EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{c.box})) << c.path;
    EXPECT_EQ(store.areas.size(), 2u);
    EXPECT_TRUE(ui.statusLines.empty());
  }
}

TEST(ReadCtrFile, CancelledDialogAndFileWithoutAirspacesChangeNothing) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("none.txt"), "* nothing here\r\n"));
  ScriptedUserInterface ui;
  AirspaceList store;
  store.areas.resize(1);
  std::string folder;
  EXPECT_EQ(ReadCtrFile(ui, store, folder, std::nullopt, false), -1);
  EXPECT_EQ(ReadCtrFile(ui, store, folder, dir.File("none.txt"), false), 0);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(store.areas.size(), 1u);
}

}  // namespace
}  // namespace trelvik
