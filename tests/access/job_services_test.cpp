// The services a job uses beyond its reports: questions asked mid-transfer,
// the file a job writes of its own, and the end of a read loop.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "access/job_file_save.hpp"
#include "access/job_report.hpp"
#include "support/recording_channel.hpp"
#include "base/atomic_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class JobServicesTest : public ::testing::Test {
 protected:
  JobServicesTest() { job.channel = &channel; }
  RecordingChannel channel;
  testing::ScriptedUserInterface ui;
  GpsJob job;
};

TEST_F(JobServicesTest, QuestionsGoToTheUserOrTakeTheNegativeAnswer) {
  EXPECT_EQ(AskJobQuestion(job, QuestionKind::YesNo, "Erase ?", "Erase log"), Answer::No);  // a TCP session
  EXPECT_EQ(AskJobQuestion(job, QuestionKind::OkCancel, "Erase ?", "Erase log"), Answer::Cancel);
  channel.user = &ui;
  ui.QueueAnswer(Answer::Yes);
  EXPECT_EQ(AskJobQuestion(job, QuestionKind::YesNo, "Erase ?", "Erase log"), Answer::Yes);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].text, "Erase ?");
  EXPECT_EQ(ui.questions[0].caption, "Erase log");
}

constexpr JobFileSave kSave{"Save track for FlightLog", "FlightLog files", ".kml", "Save FlightLog track"};

TEST_F(JobServicesTest, AJobFileIsWrittenWhereTheUserChose) {
  testing::TempDir dir;
  channel.user = &ui;
  ui.QueueFile(dir.File("season.kml"));
  std::string folder = "/start";
  ASSERT_EQ(SaveJobFile(job, kSave, folder, "<kml/>"), 0);
  EXPECT_EQ(FileText(dir.File("season.kml")), "<kml/>");
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].folder, "/start");
  EXPECT_EQ(ui.fileRequests[0].extension, ".kml");
  EXPECT_EQ(folder, dir.Path());
  ASSERT_EQ(channel.Messages().size(), 1u);
  EXPECT_EQ(channel.Messages()[0].text, "File written");
  EXPECT_EQ(channel.Messages()[0].caption, "Save FlightLog track");
  EXPECT_EQ(channel.Products(), std::vector<std::string>{dir.File("season.kml")});
}

TEST_F(JobServicesTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
  testing::TempDir dir;
  const std::string path = dir.File("season.kml");
  ASSERT_FALSE(WriteFileAtomically(path, "old"));
  channel.user = &ui;
  std::string folder;
  ui.QueueFile(path);
  ui.QueueAnswer(Answer::Cancel);
  EXPECT_EQ(SaveJobFile(job, kSave, folder, "new"), -1);
  EXPECT_EQ(FileText(path), "old");
  ui.QueueFile(path);
  ui.QueueAnswer(Answer::Ok);
  EXPECT_EQ(SaveJobFile(job, kSave, folder, "new"), 0);
  EXPECT_EQ(FileText(path), "new");
  EXPECT_EQ(ui.questions.at(0).text, "File already exists. Overwrite ?");
}

TEST_F(JobServicesTest, NoFileWithoutSomeoneToNameIt) {
  std::string folder;
  EXPECT_EQ(SaveJobFile(job, kSave, folder, "x"), -1);  // a TCP session
  channel.user = &ui;                                   // the dialog cancelled
  EXPECT_EQ(SaveJobFile(job, kSave, folder, "x"), -1);
  EXPECT_TRUE(channel.Messages().empty());
}

TEST_F(JobServicesTest, TheClockIsTheChannels) {
  EXPECT_NE(JobUtcNow(job), 0u);
  EXPECT_EQ(JobTick(job), channel.TickMs());
}

TEST_F(JobServicesTest, CompetitionModeHearsEveryWaypointOnlyWhenOn) {
  Waypoint waypoint;
  CheckCompetitionWaypoint(job, waypoint);  // off: nothing to call
  int heard = 0;
  job.competitionCheck = [&](GpsJob& checked, const Waypoint&) {
    ++heard;
    checked.compId = 7;
  };
  CheckCompetitionWaypoint(job, waypoint);
  EXPECT_EQ(heard, 1);
  EXPECT_EQ(job.compId, 7);
}

}  // namespace
}  // namespace trelvik
