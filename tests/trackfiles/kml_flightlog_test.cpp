#include "trackfiles/kml_flightlog.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "base/atomic_file.hpp"
#include "kml_test_expat.hpp"
#include "kml_trip_fixture.hpp"
#include "support/scripted_user_interface.hpp"
#include "file_read_shown.hpp"
#include "support/temp_dir.hpp"
#include "support/text_count.hpp"
#include "trackfiles/kml_track_reader.hpp"

namespace trelvik {
namespace {

using testing::Shown;

using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

struct FolderCase {
  const char* name;
  std::string text;
  int result;
  std::string inside;  // the text of the span on success
};

TEST(FindKmlFolders, SpansAndFailures) {
  const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Document>\r\n<open>1</open>\r\n";
  const FolderCase cases[] = {
      {"two folders", head + "  <Folder><a/></Folder>\r\n  <Folder></Folder>\r\n</Document>\r\n", 0,
       "<Folder><a/></Folder>\r\n  <Folder></Folder>"},
      {"nested folders", "<D><Folder><Folder></Folder></Folder><x/></D>", 0, "<Folder><Folder></Folder></Folder>"},
      {"byte-order mark", "\xEF\xBB\xBF<D><Folder/></D>", 0, "<Folder/>"},
      {"comments", "<D><!-- <Folder> --><Folder></Folder></D>", 0, "<Folder></Folder>"},
      {"no folder", head + "<Placemark></Placemark></Document>", -1, ""},
      {"unclosed folder", "<D><Folder></D>", -1, ""},
      {"open element", "<D><Folder></Folder>", -1, ""},
      {"text outside", "<D>x<Folder></Folder></D>", -1, ""},
      {"text after", "<D><Folder></Folder></D>x", -1, ""},
      {"too deep", "<a><b><c><d><e><f><g><h><i><j><k><l><m><n><o><p><q><r><s><t></t></s></r></q></p></o></n></m>"
                   "</l></k></j></i></h></g></f></e></d></c></b></a>", -1, ""},
      {"open tag", "<D><Folder></Folder></D", -1, ""},
  };
  for (const FolderCase& c : cases) {
    KmlFolderSpan span{7, 7};
    EXPECT_EQ(FindKmlFolders(c.text, span), c.result) << c.name;
    if (c.result == 0) {
      EXPECT_EQ(c.text.substr(span.begin, span.end - span.begin), c.inside) << c.name;
    }
  }
}

class FlightLogSave : public ::testing::Test {
 protected:
  std::vector<TrackPoint> points = testing::FixturePoints();
  KmlTripInput input = testing::FixtureInput(points);
  TempDir dir;
  std::string folder = "/nowhere";
  ScriptedUserInterface ui;

  int Save(const std::string& chosen, ExistingLogbookQuestion ask = {}, std::optional<std::string_view> title = "Log") {
    ui.QueueFile(chosen);
    return SaveFlightLogTrack(ui, input, title, "Flytec 6030", folder, ask);
  }

  static std::string Read(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes));
    return bytes;
  }
};

TEST_F(FlightLogSave, NewFileInTheFrame) {
  ASSERT_EQ(Save(dir.File("flights")), 0);
  const std::string text = Read(dir.File("flights.kml"));
  EXPECT_TRUE(text.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Document>\r\n<open>1</open>\r\n  <Folder>"));
  EXPECT_TRUE(text.ends_with("  </Folder>\r\n</Document>\r\n"));
  EXPECT_EQ(testing::ExpatProblem(text), "");
  EXPECT_EQ(folder, dir.Path());
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].title, "Save track for FlightLog");
  EXPECT_EQ(ui.fileRequests[0].folder, "/nowhere");
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{
                          {MessageKind::Information, "Track saved (Signature OK)", "Save FlightLog track"}}));
  EXPECT_EQ(FlightLogProposedName(input), "2012-07-01_10-00");

  input.isSigned = 0;
  ui.boxes.clear();
  ASSERT_EQ(Save(dir.File("unsigned.kml")), 0);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{
                          {MessageKind::Information, "Track saved (NO signature)", "Save FlightLog track"}}));
}

TEST_F(FlightLogSave, AppendingToTwoFoldersGivesThreeInOneDocument) {
  const std::string path = dir.File("log.kml");
  auto append = [](const std::string&) { return ExistingLogbookAnswer::Append; };
  ASSERT_EQ(Save(path), 0);
  ASSERT_EQ(Save(path, append), 0);
  ASSERT_EQ(Save(path, append, "Third"), 0);
  const std::string text = Read(path);
  EXPECT_EQ(testing::CountOccurrences(text, "<Folder>"), 3u);
  EXPECT_EQ(testing::CountOccurrences(text, "<Document>"), 1u);
  EXPECT_EQ(testing::CountOccurrences(text, "<?xml"), 1u);
  EXPECT_NE(text.find("  </Folder>\r\n  <Folder>"), std::string::npos);
  EXPECT_EQ(testing::ExpatProblem(text), "");
  size_t offered = 0;
  const TrackFileRecords read = Shown(ui, ReadKmlTrack(text, [&](const TrackListRequest& request) {
    offered = request.lines.size();
    return 2;
  }));
  EXPECT_EQ(offered, 3u);
  EXPECT_EQ(read.signatureValid, 2);
}

TEST_F(FlightLogSave, OverwriteAndCancel) {
  const std::string path = dir.File("log.kml");
  ASSERT_FALSE(WriteFileAtomically(path, "old"));
  std::vector<std::string> asked;
  EXPECT_EQ(Save(path, [&](const std::string& p) {
              asked.push_back(p);
              return ExistingLogbookAnswer::Cancel;
            }),
            -1);
  EXPECT_EQ(Read(path), "old");
  EXPECT_EQ(asked, std::vector<std::string>{path});
  EXPECT_EQ(Save(path), -1);  // no question answered: Cancel
  EXPECT_EQ(Read(path), "old");
  EXPECT_TRUE(ui.boxes.empty());
  ASSERT_EQ(Save(path, [](const std::string&) { return ExistingLogbookAnswer::Overwrite; }), 0);
  EXPECT_EQ(testing::CountOccurrences(Read(path), "<Folder>"), 1u);
}

TEST_F(FlightLogSave, AppendFailuresLeaveTheFileAlone) {
  struct Case {
    const char* name;
    std::string existing;
    RecordedBox box;
  } cases[] = {
      {"no folders", "<?xml version=\"1.0\"?>\r\n<Document>\r\n</Document>\r\n",
       {MessageKind::Error, "Error(s) parsing existing file", "Save Logbook file"}},
      {"broken", "<Document><Folder></Document>", {MessageKind::Error, "Error(s) parsing existing file", "Save Logbook file"}},
      {"empty", "", {MessageKind::Error, "Existing file is empty", "Save Logbook file"}},
  };
  for (const Case& c : cases) {
    const std::string path = dir.File(std::string(c.name) + ".kml");
    ASSERT_FALSE(WriteFileAtomically(path, c.existing));
    ui.boxes.clear();
    EXPECT_EQ(Save(path, [](const std::string&) { return ExistingLogbookAnswer::Append; }), -1) << c.name;
    EXPECT_EQ(Read(path), c.existing) << c.name;
    EXPECT_EQ(ui.boxes, std::vector<RecordedBox>{c.box}) << c.name;
  }
}

TEST_F(FlightLogSave, BuildFailuresComeBeforeTheDialog) {
  EXPECT_EQ(Save(dir.File("x.kml"), {}, "bad \xFF title"), -1);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{
                          {MessageKind::Error, "Wide character conversion error", "Make GoogleEarth track folder"}}));
  EXPECT_TRUE(ui.fileRequests.empty());
  EXPECT_FALSE(FileExists(dir.File("x.kml")));
}

TEST_F(FlightLogSave, CancelledDialogAndLongName) {
  EXPECT_EQ(SaveFlightLogTrack(ui, input, std::nullopt, std::nullopt, folder, {}), -1);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(Save(dir.File(std::string(260, 'n'))), -1);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Too long file name", "Error opening file"}}));
}

}  // namespace
}  // namespace trelvik
