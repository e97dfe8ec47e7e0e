// The competition output: the time window, the checks before writing, the
// file names and the files themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "analysis/test_flight.hpp"
#include "base/atomic_file.hpp"
#include "competition/competition_file_name.hpp"
#include "competition/competition_output.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_reader.hpp"
#include "trackfiles/kml_command_line.hpp"

namespace trelvik {
namespace {

const SystemTime kNoon{2024, 7, 0, 15, 12, 0, 0, 0};

TEST(CompetitionFileNames, PiecesAndPlaceholders) {
  const SystemTime time{2024, 7, 0, 5, 9, 8, 7, 0};
  EXPECT_EQ(CompetitionFileBase("/comp", "Anna Berger", 4567, 12, time), "/comp/Anna Berger.20240705-090807.4567.12");
  EXPECT_EQ(CompetitionFileBase("/comp/", "", -1, -1, time), "/comp/[pilot name].20240705-090807.[CIVLID].[COMPID]");
  EXPECT_EQ(CompetitionFileBase("", "A", -1, 3, time), "A.20240705-090807.[CIVLID].3");
}

TEST(CompetitionFileNames, NamesNeverLeaveTheFolder) {
  EXPECT_EQ(SafeFileNamePiece("../../etc/passwd"), "______etc_passwd");
  EXPECT_EQ(SafeFileNamePiece("..hidden"), "__hidden");
  EXPECT_EQ(SafeFileNamePiece("a\\b\nc"), "a_b_c");
  EXPECT_EQ(SafeFileNamePiece("Jo. Smith"), "Jo. Smith");
  EXPECT_EQ(SafeFileNamePiece("Zoë"), "Zoë");
}

TEST(CompetitionFileNames, LongerThan260CharactersIsRefused) {
  const SystemTime time{2024, 7, 0, 5, 9, 8, 7, 0};
  // "/d/" + name + ".20240705-090807.1.2" (20 characters)
  EXPECT_TRUE(CompetitionFileBase("/d", std::string(237, 'a'), 1, 2, time));
  EXPECT_FALSE(CompetitionFileBase("/d", std::string(238, 'a'), 1, 2, time));
  // Characters count, not bytes.
  EXPECT_TRUE(CompetitionFileBase("/d", std::string(236, 'a') + "é", 1, 2, time));
}

std::vector<TrackPoint> Times(std::initializer_list<TrackTime> times) {
  std::vector<TrackPoint> points;
  for (const TrackTime t : times) {
    TrackPoint p;
    p.time = t;
    points.push_back(p);
  }
  return points;
}

TEST(CompetitionWindow, BadTimestampsAndLimits) {
  const std::vector<TrackPoint> points = Times({0, 100, 200, 2147483647u, 300, 0xFFFFFFFFu});
  const CompetitionPoints open = PointsInCompetitionWindow(points, 0, 0);
  EXPECT_EQ(open.points.size(), 3u);
  EXPECT_TRUE(open.badTimestamps);
  EXPECT_FALSE(open.outsideWindow);
  const CompetitionPoints inclusive = PointsInCompetitionWindow(points, 100, 200);
  EXPECT_EQ(inclusive.points.size(), 2u);
  EXPECT_TRUE(inclusive.outsideWindow);
  EXPECT_EQ(PointsInCompetitionWindow(points, 250, 0).points.size(), 1u);
  EXPECT_EQ(PointsInCompetitionWindow(points, 0, 150).points.size(), 1u);
  // A start not before the stop lets every point pass.
  const CompetitionPoints reversed = PointsInCompetitionWindow(points, 300, 100);
  EXPECT_EQ(reversed.points.size(), 3u);
  EXPECT_FALSE(reversed.outsideWindow);
}

class CompetitionOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log.points = GenerateTestFlight();
    log.signable = 1;
    log.utcTimes = 1;
    log.hasPressureAltitude = 1;
    log.description = "Flytec 6030 SN 12345";
    log.pilotName = "Anna Berger";
    log.compId = 12;
    log.civlId = 4567;
    log.downloadTime = kNoon;
    settings.compDir = dir.Path();
    settings.speedFilter = false;
  }

  CompetitionOutput Save() { return SaveCompetitionOutput(ui, log, log.points, settings, {}, kNoon); }

  testing::TempDir dir;
  testing::ScriptedUserInterface ui;
  TrackLog log;
  CompetitionOutputSettings settings;
};

TEST_F(CompetitionOutputTest, WritesKmlWithIdsAndAHashTheCheckAccepts) {
  const CompetitionOutput output = Save();
  ASSERT_EQ(output.outcome, CompetitionOutcome::Written) << (ui.boxes.empty() ? "" : ui.boxes[0].text);
  EXPECT_TRUE(output.kmlPath.starts_with(dir.Path() + "/Anna Berger.")) << output.kmlPath;
  EXPECT_TRUE(output.kmlPath.ends_with(".4567.12.kml")) << output.kmlPath;
  EXPECT_TRUE(output.igcPath.empty());
  std::string kml;
  ASSERT_TRUE(ReadWholeFile(output.kmlPath, kml));
  EXPECT_TRUE(kml.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Document>\r\n<open>1</open>\r\n"));
  EXPECT_TRUE(kml.ends_with("</Document>\r\n"));
  EXPECT_NE(kml.find("Tracklog from Trelvik competition mode"), std::string::npos);
  EXPECT_NE(kml.find("civl_pilot_id=\"4567\" comp_pilot_id=\"12\""), std::string::npos);
  EXPECT_EQ(CheckKmlFile(ui, output.kmlPath), kKmlSignatureValid);
  EXPECT_EQ(ui.statusLines.front(), "\"" + output.kmlPath + "\" written");
  EXPECT_EQ(log.saved, 1);
  // A changed coordinate of the track fails the check.
  const size_t coordinates = kml.find("<coordinates>", kml.find("<name>Tracklog</name>"));
  ASSERT_NE(coordinates, std::string::npos);
  const size_t digit = kml.find_first_of("123456789", coordinates + 14);
  kml[digit] = kml[digit] == '9' ? '8' : static_cast<char>(kml[digit] + 1);
  ASSERT_FALSE(WriteFileAtomically(dir.File("tampered.kml"), kml));
  EXPECT_EQ(CheckKmlFile(ui, dir.File("tampered.kml")), kKmlSignatureMissing);
}

TEST_F(CompetitionOutputTest, IgcCarriesPilotAndCompetitionId) {
  settings.writeIgc = true;
  const CompetitionOutput output = Save();
  ASSERT_EQ(output.outcome, CompetitionOutcome::Written);
  EXPECT_TRUE(output.igcPath.ends_with(".4567.12.igc"));
  std::string igc;
  ASSERT_TRUE(ReadWholeFile(output.igcPath, igc));
  EXPECT_NE(igc.find("HOPLTPILOT: Anna Berger\r\n"), std::string::npos) << igc.substr(0, 400);
  EXPECT_NE(igc.find("HOCIDCOMPETITIONID: 12\r\n"), std::string::npos) << igc.substr(0, 400);
  EXPECT_NE(std::find(ui.statusLines.begin(), ui.statusLines.end(), "File saved, signature OK"), ui.statusLines.end());
}

TEST_F(CompetitionOutputTest, CommandLineRunLeavesExistingFilesAlone) {
  settings.writeIgc = true;
  settings.commandLineRun = true;
  const CompetitionOutput first = Save();
  ASSERT_EQ(first.outcome, CompetitionOutcome::Written);
  ui.statusLines.clear();
  ASSERT_FALSE(WriteFileAtomically(first.kmlPath, "kept"));
  const CompetitionOutput second = Save();
  EXPECT_EQ(second.outcome, CompetitionOutcome::AlreadyProcessed);
  EXPECT_EQ(ui.statusLines, (std::vector<std::string>{"\"" + first.igcPath + "\" already processed",
                                                      "\"" + first.kmlPath + "\" already processed"}));
  std::string kml;
  ASSERT_TRUE(ReadWholeFile(first.kmlPath, kml));
  EXPECT_EQ(kml, "kept");
  // The user's own command replaces them.
  settings.commandLineRun = false;
  EXPECT_EQ(Save().outcome, CompetitionOutcome::Written);
  ASSERT_TRUE(ReadWholeFile(first.kmlPath, kml));
  EXPECT_NE(kml, "kept");
}

TEST_F(CompetitionOutputTest, NothingLeftSaysWhy) {
  settings.timeStart = log.points.back().time + 1;
  log.points.front().time = 0;
  EXPECT_EQ(Save().outcome, CompetitionOutcome::NothingToWrite);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0], (testing::RecordedBox{MessageKind::Error,
                                               "No positions found\r\nSome removed due to bad timestamp\r\nSome "
                                               "removed due to time filtering",
                                               "Save log for competition"}));
}

TEST_F(CompetitionOutputTest, TooFewPositions) {
  log.points.resize(9);
  EXPECT_EQ(Save().outcome, CompetitionOutcome::NothingToWrite);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Too few positions for statistics analysis");
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << "nothing is written";
}

TEST_F(CompetitionOutputTest, PilotWithoutIdsGetsPlaceholders) {
  log.compId = -1;
  log.civlId = -1;
  log.pilotName.clear();
  const CompetitionOutput output = Save();
  ASSERT_EQ(output.outcome, CompetitionOutcome::Written);
  EXPECT_TRUE(output.kmlPath.ends_with(".[CIVLID].[COMPID].kml")) << output.kmlPath;
  EXPECT_NE(output.kmlPath.find("/[pilot name]."), std::string::npos);
}

TEST_F(CompetitionOutputTest, UnwritableFolderFails) {
  settings.compDir = dir.File("missing/folder");
  EXPECT_EQ(Save().outcome, CompetitionOutcome::Failed);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_TRUE(ui.boxes[0].text.starts_with("Error opening file")) << ui.boxes[0].text;
}

}  // namespace
}  // namespace trelvik
