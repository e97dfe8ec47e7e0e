#include "automation/command_line_arguments.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "base/atomic_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::ScriptedUserInterface;
using testing::TempDir;

std::string Join(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "trelvik");
  return JoinArguments(static_cast<int>(arguments.size()), arguments.data());
}

TEST(JoinArguments, BlanksAreQuotedTheWayTheParserReadsThem) {
  struct Case {
    std::vector<const char*> arguments;
    std::string line;
  };
  const Case cases[] = {
      {{}, ""},
      {{"/EXIT", "/WIN=0"}, "/EXIT /WIN=0"},
      {{"/PILOT=Anna Berg"}, "/PILOT=\"Anna Berg\""},
      {{"/KML_LOG=/tmp/day 1.kml", "/EXIT"}, "/KML_LOG=\"/tmp/day 1.kml\" /EXIT"},
      {{"my flight.igc"}, "\"my flight.igc\""},
      {{"/odd path"}, "\"/odd path\""},
      {{"/PILOT=\"Anna Berg\""}, "/PILOT=\"Anna Berg\""},  // already quoted by the caller
      {{"/PILOT=", "x"}, "/PILOT= x"},
  };
  for (const Case& c : cases) EXPECT_EQ(Join(c.arguments), c.line);
}

CommandLineResult ParseArguments(std::vector<const char*> arguments, ScriptedUserInterface& ui, int* rc = nullptr) {
  arguments.insert(arguments.begin(), "trelvik");
  CommandLineResult result;
  const int code = ParseCommandLineArguments(static_cast<int>(arguments.size()), arguments.data(), ui, result);
  if (rc != nullptr) *rc = code;
  return result;
}

TEST(CommandLineArguments, ASingleExistingAbsoluteFileIsOpened) {
  TempDir dir;
  for (const std::string& path : {dir.File("flight.igc"), dir.File("day 1.igc")}) {
    ASSERT_FALSE(WriteFileAtomically(path, "A"));
    ScriptedUserInterface ui;
    const CommandLineResult result = ParseArguments({path.c_str()}, ui);
    ASSERT_TRUE(result.job) << path;
    EXPECT_EQ(result.job->jobKind, JobKind::LogFile);
    EXPECT_EQ(result.job->fileName, path);
    EXPECT_TRUE(ui.boxes.empty());
  }
}

TEST(CommandLineArguments, AnAbsolutePathThatDoesNotExistIsReadAsOptions) {
  ScriptedUserInterface ui;
  int rc = 0;
  EXPECT_FALSE(ParseArguments({"/nonexistent/flight.igc"}, ui, &rc).job);
  EXPECT_EQ(rc, -1);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Unrecognized command");
}

TEST(CommandLineArguments, JoinedArgumentsKeepTheirBlanks) {
  ScriptedUserInterface ui;
  const CommandLineResult options = ParseArguments({"/PILOT=Anna Berg", "/COMP_DIR=/data/comp day", "/EXIT"}, ui);
  ASSERT_TRUE(options.job);
  EXPECT_EQ(options.job->pilot, "Anna Berg");
  EXPECT_EQ(options.job->compDir, "/data/comp day");
  EXPECT_EQ(options.job->exitAfter, 1);

  const CommandLineResult file = ParseArguments({"my flight.igc"}, ui);
  ASSERT_TRUE(file.job);
  EXPECT_EQ(file.job->jobKind, JobKind::LogFile);
  EXPECT_EQ(file.job->fileName, "my flight.igc");
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(CommandLineArguments, NoArgumentsNoJob) {
  ScriptedUserInterface ui;
  int rc = -1;
  EXPECT_FALSE(ParseArguments({}, ui, &rc).job);
  EXPECT_EQ(rc, 0);
}

}  // namespace
}  // namespace trelvik
