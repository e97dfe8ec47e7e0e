#include "base/message_box.hpp"

#include <gtest/gtest.h>

#include "base/atomic_file.hpp"
#include "base/headless_user_interface.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

TEST(MessageBox, CaptionAndTextAreCutTo99Characters) {
  ScriptedUserInterface ui;
  ShowError(ui, std::string(150, 't'), std::string(120, 'c'));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text.size(), 99u);
  EXPECT_EQ(ui.boxes[0].caption.size(), 99u);
}

TEST(MessageBox, CutNeverSplitsAUtf8Character) {
  std::string text(98, 'a');
  text += "\xC3\xA9";  // two-byte character straddling the limit
  EXPECT_EQ(CutMessageText(text), std::string(98, 'a'));
}

TEST(MessageBox, SaveToExistingFileAnsweredCancelLeavesItAndSaysNothing) {
  TempDir dir;
  const std::string path = dir.File("flight.igc");
  ASSERT_FALSE(WriteFileAtomically(path, "old"));
  ScriptedUserInterface ui;
  ui.QueueFile(path);
  ui.QueueAnswer(Answer::Cancel);
  std::string folder = dir.Path();
  EXPECT_FALSE(SaveFileDialog(ui, "Save track log", "IGC file", ".igc", folder));
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].text, "File already exists, overwrite ?");
  EXPECT_EQ(ui.questions[0].caption, "File creation");
  EXPECT_TRUE(ui.boxes.empty());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, "old");
}

TEST(MessageBox, SaveAppendsTheExtensionAndRemembersTheFolder) {
  TempDir dir;
  ScriptedUserInterface ui;
  ui.QueueFile(dir.File("flight"));
  std::string folder = "/somewhere/else";
  std::optional<std::string> path = SaveFileDialog(ui, "Save track log", "IGC file", ".igc", folder);
  ASSERT_TRUE(path);
  EXPECT_EQ(*path, dir.File("flight.igc"));
  EXPECT_EQ(folder, dir.Path());
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].folder, "/somewhere/else");
}

TEST(MessageBox, TooLongNameAfterTheExtensionFails) {
  ScriptedUserInterface ui;
  ui.QueueFile("/tmp/" + std::string(250, 'n'));
  std::string folder;
  EXPECT_FALSE(SaveFileDialog(ui, "Save", "IGC file", ".igc", folder));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0], (RecordedBox{MessageKind::Error, "Too long file name", "Error opening file"}));
}

TEST(MessageBox, OpenReportsTheSystemTextOfAMissingFile) {
  TempDir dir;
  ScriptedUserInterface ui;
  ui.QueueFile(dir.File("missing.igc"));
  std::string folder;
  EXPECT_FALSE(OpenFileDialog(ui, "Open", "IGC file", ".igc", folder));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].caption, "Error opening file");
  EXPECT_EQ(ui.boxes[0].text, "No such file or directory");
}

TEST(HeadlessUserInterface, WritesMessagesOnOneLineAndAnswersNoWithoutATerminal) {
  char* outText = nullptr;
  char* errText = nullptr;
  size_t outSize = 0, errSize = 0;
  FILE* out = open_memstream(&outText, &outSize);
  FILE* err = open_memstream(&errText, &errSize);
  {
    HeadlessUserInterface ui(out, err, stdin, false);
    ShowError(ui, "Line one\r\nline two", "Read GPS track log");
    EXPECT_EQ(AskYesNo(ui, "Continue ?", "Question"), Answer::No);
    EXPECT_EQ(AskOkCancel(ui, "File already exists, overwrite ?", "File creation"), Answer::Cancel);
    ui.SetStatus("Track position 12");
    ui.SetProduct("Flytec 6030");
  }
  std::fclose(out);
  std::fclose(err);
  EXPECT_EQ(std::string(errText),
            "Read GPS track log: Line one / line two\n"
            "Question: Continue ? -> No\n"
            "File creation: File already exists, overwrite ? -> Cancel\n");
  EXPECT_EQ(std::string(outText), "Status: Track position 12\nProduct: Flytec 6030\n");
  std::free(outText);
  std::free(errText);
}

}  // namespace
}  // namespace trelvik
