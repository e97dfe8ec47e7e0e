// The three pilot-list readers on small hand-built files, the CSV writer and
// the remembered instruments.
#include <gtest/gtest.h>

#include "base/atomic_file.hpp"
#include "competition/pilot_list.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

PilotEntry Entry(std::string name, int32_t compId, int32_t civlId, std::string device = {}) {
  PilotEntry entry;
  entry.name = std::move(name);
  entry.compId = compId;
  entry.civlId = civlId;
  entry.devices[0] = std::move(device);
  return entry;
}

std::vector<PilotEntry> ReadFixture(const std::string& name) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile("tests/data/pilot_lists/" + name, bytes)) << name;
  std::vector<PilotEntry> entries;
  std::string error;
  EXPECT_EQ(ParsePilotList(bytes, entries, error), 0) << error;
  return entries;
}

TEST(PilotListFiles, FsWithTheCompetitionLevelSkipsTasks) {
  EXPECT_EQ(ReadFixture("competition.fsdb"),
            (std::vector<PilotEntry>{Entry("Anna Berger", 12, 4567), Entry("Bruno & Co", 34, -1),
                                     Entry("Carla Dias", 56, 8910)}));
}

TEST(PilotListFiles, FsWithoutTheCompetitionLevel) {
  EXPECT_EQ(ReadFixture("flat.fsdb"), (std::vector<PilotEntry>{Entry("Dora Eck", 1, -1), Entry("Emil Falk", 2, 77)}));
}

TEST(PilotListFiles, Race) {
  EXPECT_EQ(ReadFixture("pilots.race"),
            (std::vector<PilotEntry>{Entry("Gina Horn", 101, 2024), Entry("Ivo", 102, -1)}));
}

TEST(PilotListFiles, CsvWithQuotedNameAndHeader) {
  EXPECT_EQ(ReadFixture("pilots.csv"),
            (std::vector<PilotEntry>{Entry("Smith, John", 5, 4567, "Compeo+: 12345"), Entry("Kurt Lang", -1, 42),
                                     Entry("Lea Moser", 7, -1)}));
}

struct ListCase {
  const char* label;
  std::string text;
  std::string error;  // empty: read
};

class PilotListErrors : public ::testing::TestWithParam<ListCase> {};

TEST_P(PilotListErrors, GiveTheirMessage) {
  std::vector<PilotEntry> entries = {Entry("kept", 1, 1)};
  std::string error;
  const int result = ParsePilotList(GetParam().text, entries, error);
  if (GetParam().error.empty()) {
    EXPECT_EQ(result, 0) << error;
  } else {
    EXPECT_EQ(result, -1);
    EXPECT_EQ(error, GetParam().error);
    EXPECT_EQ(entries, std::vector<PilotEntry>{Entry("kept", 1, 1)}) << "a failed read changes nothing";
  }
}

const std::string kFsHead = "<?xml version=\"1.0\"?><Fs><FsParticipants>";
const std::string kFsTail = "</FsParticipants></Fs>";

INSTANTIATE_TEST_SUITE_P(
    Cases, PilotListErrors,
    ::testing::Values(
        ListCase{"csv_letter_in_comp_id", "Ann,x,42\r\n", "Bad CompId number"},
        ListCase{"csv_letter_in_civl_id", "Ann,1,4a\r\n", "Bad CivlId number"},
        ListCase{"csv_empty_comp_id", "Ann,,42\r\n", ""},
        ListCase{"csv_only_header", "name,compid\r\n", "No pilots found"},
        ListCase{"csv_empty_names_only", ",1,2\n,3\n", "No pilots found"},
        ListCase{"fs_missing_name", kFsHead + "<FsParticipant id=\"1\"/>" + kFsTail,
                 "Missing name for pilot 1 in list"},
        ListCase{"fs_no_attributes", kFsHead + "<FsParticipant id=\"1\" name=\"A\"/><FsParticipant/>" + kFsTail,
                 "Missing data for pilot 2 in list"},
        ListCase{"fs_bad_comp_id", kFsHead + "<FsParticipant id=\"x\" name=\"A\"/>" + kFsTail,
                 "Bad/missing comp. ID for pilot 1 in list"},
        ListCase{"fs_negative_comp_id", kFsHead + "<FsParticipant id=\"-3\" name=\"A\"/>" + kFsTail,
                 "Bad/missing comp. ID for pilot 1 in list"},
        ListCase{"fs_none_comp_id", kFsHead + "<FsParticipant id=\"None\" name=\"A\"/>" + kFsTail, ""},
        ListCase{"fs_bad_civl_id", kFsHead + "<FsParticipant name=\"A\" CIVLID=\"1.5\"/>" + kFsTail,
                 "Bad CIVL ID for pilot 1 in list"},
        ListCase{"fs_no_participants", "<?xml version=\"1.0\"?><Fs></Fs>", "No pilots found"},
        ListCase{"fs_mismatched_end", kFsHead + "<FsParticipant name=\"A\"></FsPilot>" + kFsTail,
                 "Tag <FsParticipant> is terminated by </FsPilot>"},
        ListCase{"fs_unclosed", "<?xml version=\"1.0\"?><Fs><FsParticipants", "End-of-file encountered within a tag"},
        ListCase{"fs_open_at_end", "<?xml version=\"1.0\"?><Fs><FsParticipants><FsParticipant name=\"A\"/>",
                 "Nesting level not zero at end-of-file"},
        ListCase{"xml_without_known_root", "<Pilots><Pilot/></Pilots>", "Missing opening tag '<?xml>'"},
        ListCase{"xml_bad_bom", "\xFF\xFE<?xml version=\"1.0\"?><Fs/>", "Unknown BOM before opening tag '<?xml>'"},
        ListCase{"race_bad_bom", "xx<RACE></RACE>", "Unknown BOM before opening tag '<RACE>'"},
        ListCase{"race_bad_number", "<RACE><tblPilot pilLastName=\"A\" pilNumber=\"q\"/></RACE>",
                 "Bad/missing pilot ID for pilot 1 in list"},
        ListCase{"race_bad_civl", "<RACE><tblPilot pilLastName=\"A\" pilIDGlobal=\"-1\"/></RACE>",
                 "Bad/missing CIVL ID for pilot 1 in list"},
        ListCase{"race_no_name", "<RACE><tblPilot pilNumber=\"3\"/></RACE>", "Missing name for pilot 1 in list"},
        ListCase{"race_long_first_name", "<RACE><tblPilot pilFirstName=\"" + std::string(81, 'a') + "\"/></RACE>",
                 "Name too long for pilot 1 in list"},
        ListCase{"race_after_declaration", "<?xml version=\"1.0\"?><RACE><tblPilot pilLastName=\"A\"/></RACE>", ""}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.label); });

TEST(PilotListCsv, WritesHeaderAndEmptyIdsAndReadsBackWhole) {
  const std::vector<PilotEntry> entries = {Entry("Smith, John \"Jo\"", 5, -1, "MTK: 1.0,747"), Entry("Kurt", -1, 42)};
  const std::string text = PilotListCsvText(entries);
  EXPECT_EQ(text,
            "Name,CompId,CivlId,Device1,Device2,Device3,Device4\r\n"
            "\"Smith, John \"\"Jo\"\"\",5,,\"MTK: 1.0,747\",,,\r\n"
            "Kurt,,42,,,,\r\n");
  std::vector<PilotEntry> read;
  std::string error;
  ASSERT_EQ(ParsePilotList(text, read, error), 0) << error;
  EXPECT_EQ(read, entries);
}

TEST(PilotListFile, ReadReplacesOnlyOnSuccessAndReportsFileErrors) {
  testing::TempDir dir;
  testing::ScriptedUserInterface ui;
  PilotList list;
  list.entries = {Entry("old", 1, 1)};
  EXPECT_EQ(ReadPilotListFile(ui, dir.File("missing.csv"), list), -1);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_TRUE(ui.boxes[0].text.starts_with("Error opening database file")) << ui.boxes[0].text;
  EXPECT_EQ(ui.boxes[0].caption, "Read pilot list file");
  ASSERT_FALSE(WriteFileAtomically(dir.File("empty.csv"), ""));
  EXPECT_EQ(ReadPilotListFile(ui, dir.File("empty.csv"), list), -1);
  EXPECT_EQ(ui.boxes.back().text, "Database file is empty");
  ASSERT_FALSE(WriteFileAtomically(dir.File("bad.csv"), "A,b\r\n"));
  EXPECT_EQ(ReadPilotListFile(ui, dir.File("bad.csv"), list), -1);
  EXPECT_EQ(ui.boxes.back(),
            (testing::RecordedBox{MessageKind::Error, "Bad CompId number", "Decoding pilot list file"}));
  EXPECT_EQ(list.entries, std::vector<PilotEntry>{Entry("old", 1, 1)});
  ASSERT_FALSE(WriteFileAtomically(dir.File("good.csv"), "New,2,3\r\n"));
  EXPECT_EQ(ReadPilotListFile(ui, dir.File("good.csv"), list), 0);
  EXPECT_EQ(list.entries, std::vector<PilotEntry>{Entry("New", 2, 3)});
  EXPECT_EQ(list.path, dir.File("good.csv"));
}

TEST(PilotListDevices, FirstFreeSlotUnlessKnownOrFull) {
  PilotList list;
  list.entries = {Entry("Ann", 1, -1, "Compeo: 1")};
  EXPECT_FALSE(RememberPilotDevice(list, "Ann", "COMPEO: 1")) << "known in another case";
  EXPECT_TRUE(RememberPilotDevice(list, "Ann", "Galileo: 2"));
  EXPECT_EQ(list.entries[0].devices[1], "Galileo: 2");
  EXPECT_TRUE(RememberPilotDevice(list, "Ann", "C: 3"));
  EXPECT_TRUE(RememberPilotDevice(list, "Ann", "D: 4"));
  EXPECT_FALSE(RememberPilotDevice(list, "Ann", "E: 5")) << "four slots are full";
  EXPECT_FALSE(RememberPilotDevice(list, "Bob", "F: 6")) << "no such pilot";
}

TEST(PilotListLabels, NameAndTheKnownIds) {
  EXPECT_EQ(PilotEntryLabel(Entry("A", 1, 2)), "A (comp. 1, CIVL 2)");
  EXPECT_EQ(PilotEntryLabel(Entry("A", 1, -1)), "A (comp. 1)");
  EXPECT_EQ(PilotEntryLabel(Entry("A", -1, 2)), "A (CIVL 2)");
  EXPECT_EQ(PilotEntryLabel(Entry("A", -1, -1)), "A");
}

}  // namespace
}  // namespace trelvik
