#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "automation/batch_test_support.hpp"
#include "automation/output_file_create.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::FileText;
using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

struct DecisionCase {
  const char* label;
  bool exists;
  bool overwrite;
  bool hidden;
  Answer answer;  // queued for the question, if one is asked
  OutputFileDecision expected;
  bool asked;
};

class DecideOutput : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(DecideOutput, FollowsTheOverwriteAndHiddenWindowRules) {
  const DecisionCase& c = GetParam();
  TempDir dir;
  const std::string path = dir.File("out.kml");
  if (c.exists) {
    ASSERT_FALSE(WriteFileAtomically(path, "old"));
  }
  ScriptedUserInterface ui;
  ui.QueueAnswer(c.answer);
  EXPECT_EQ(DecideOutputFile(ui, path, {c.overwrite, c.hidden}), c.expected);
  ASSERT_EQ(ui.questions.size(), c.asked ? 1u : 0u);
  if (c.asked) {
    EXPECT_EQ(ui.questions[0].kind, QuestionKind::YesNo);
    EXPECT_EQ(ui.questions[0].text, "File already exists, overwrite ?");
    EXPECT_EQ(ui.questions[0].caption, "File creation");
  }
  EXPECT_TRUE(ui.boxes.empty());
  if (c.exists) {
    EXPECT_EQ(FileText(path), "old");  // deciding never writes
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DecideOutput,
    ::testing::Values(
        DecisionCase{"NewFile", false, false, false, Answer::No, OutputFileDecision::Write, false},
        DecisionCase{"NewFileHidden", false, false, true, Answer::No, OutputFileDecision::Write, false},
        DecisionCase{"OverwriteExisting", true, true, false, Answer::No, OutputFileDecision::Write, false},
        DecisionCase{"OverwriteExistingHidden", true, true, true, Answer::No, OutputFileDecision::Write, false},
        DecisionCase{"ExistingHiddenLeftAlone", true, false, true, Answer::Yes, OutputFileDecision::Skip, false},
        DecisionCase{"ExistingAnsweredYes", true, false, false, Answer::Yes, OutputFileDecision::Write, true},
        DecisionCase{"ExistingAnsweredNo", true, false, false, Answer::No, OutputFileDecision::Skip, true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(DecideOutput, MissingFolderIsAnOpenError) {
  TempDir dir;
  ScriptedUserInterface ui;
  EXPECT_EQ(DecideOutputFile(ui, dir.File("absent/out.kml"), {true, true}), OutputFileDecision::Failed);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, std::strerror(ENOENT), "Error opening file"}}));
}

TEST(DecideOutput, AFolderIsNotAFile) {
  TempDir dir;
  ScriptedUserInterface ui;
  EXPECT_EQ(DecideOutputFile(ui, dir.Path(), {true, true}), OutputFileDecision::Failed);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, std::strerror(EISDIR), "Error opening file"}}));
}

// Nothing but the listed names may be left in the folder: no staging files.
void ExpectOnlyFiles(const TempDir& dir, std::vector<std::string> names) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    found.push_back(entry.path().filename().string());
  }
  std::sort(found.begin(), found.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(found, names);
}

TEST(CreateNewFile, WritesANewFileWithTheUsualPermissions) {
  TempDir dir;
  const mode_t mask = ::umask(022);
  const NewFileResult result = CreateNewFile(dir.File("a.igc"), "ABC\r\n");
  ::umask(mask);
  EXPECT_EQ(result.outcome, NewFileOutcome::Created);
  EXPECT_EQ(FileText(dir.File("a.igc")), "ABC\r\n");
  struct stat status {};
  ASSERT_EQ(::stat(dir.File("a.igc").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0644u);
  ExpectOnlyFiles(dir, {"a.igc"});
}

TEST(CreateNewFile, LeavesAnExistingFileAlone) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("a.igc"), "old"));
  EXPECT_EQ(CreateNewFile(dir.File("a.igc"), "new").outcome, NewFileOutcome::Exists);
  EXPECT_EQ(FileText(dir.File("a.igc")), "old");
  ExpectOnlyFiles(dir, {"a.igc"});
}

TEST(CreateNewFile, ADanglingLinkTakesTheName) {
  TempDir dir;
  std::filesystem::create_symlink(dir.File("nowhere"), dir.File("a.igc"));
  EXPECT_EQ(CreateNewFile(dir.File("a.igc"), "new").outcome, NewFileOutcome::Exists);
  EXPECT_FALSE(std::filesystem::exists(dir.File("nowhere")));
}

TEST(CreateNewFile, MissingFolderFailsAtCreation) {
  TempDir dir;
  const NewFileResult result = CreateNewFile(dir.File("absent/a.igc"), "new");
  EXPECT_EQ(result.outcome, NewFileOutcome::Failed);
  EXPECT_EQ(result.operation, "create");
  EXPECT_EQ(result.errorNumber, ENOENT);
}

}  // namespace
}  // namespace trelvik
