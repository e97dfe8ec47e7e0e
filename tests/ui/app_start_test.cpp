// The program started as a user or a script starts it, without a display:
// it must take the headless face and never abort for want of a display.
// With one, it loads its window library, and still does the job without it.
#include <gtest/gtest.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "support/temp_dir.hpp"

extern char** environ;

namespace trelvik {
namespace {

struct ProgramRun {
  int exitCode = -1;
  bool signalled = false;
  std::string out;
  std::string err;
};

std::string ReadFile(const std::string& path) {
  std::string text;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    std::fclose(file);
  }
  return text;
}

// Runs the program with the environment changed as given ("NAME=value" sets, "NAME" removes).
ProgramRun RunProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environmentChanges,
                      const std::string& program = TRELVIK_PROGRAM) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string variable = *entry;
    bool changed = false;
    for (const std::string& change : environmentChanges) {
      const std::string name = change.substr(0, change.find('='));
      if (variable.compare(0, name.size() + 1, name + "=") == 0) changed = true;
    }
    if (!changed) environment.push_back(variable);
  }
  for (const std::string& change : environmentChanges) {
    if (change.find('=') != std::string::npos) environment.push_back(change);
  }
  testing::TempDir dir;
  const std::string outPath = dir.File("out"), errPath = dir.File("err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);
  ProgramRun run;
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) return run;
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  waitpid(pid, &status, 0);
  run.signalled = WIFSIGNALED(status);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadFile(outPath);
  run.err = ReadFile(errPath);
  return run;
}

// No display at all, and displays that name servers nobody runs.
const std::vector<std::vector<std::string>> kNoDisplay = {
    {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"},
    {"DISPLAY=:93", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"},
    {"DISPLAY=127.0.0.1:93", "WAYLAND_DISPLAY=trelvik-test-none", "XDG_RUNTIME_DIR=/tmp", "QT_QPA_PLATFORM"},
    {"DISPLAY=nonsense", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"},
};

TEST(ProgramStart, VersionAndHelpComeFirst) {
  for (const auto& environment : kNoDisplay) {
    const ProgramRun version = RunProgram({"--version"}, environment);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "Trelvik 4.72\n");
    const ProgramRun help = RunProgram({"--help"}, environment);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("/WIN=0"), std::string::npos);
    EXPECT_NE(help.out.find("Exit codes"), std::string::npos);
  }
}

TEST(ProgramStart, WithoutADisplayAndWithoutAJobTheUsageGoesToStandardError) {
  for (const auto& environment : kNoDisplay) {
    const ProgramRun run = RunProgram({}, environment);
    EXPECT_FALSE(run.signalled) << environment[0];
    EXPECT_EQ(run.exitCode, 2) << environment[0];
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Usage"), std::string::npos) << run.err;
  }
}

TEST(ProgramStart, HiddenWindowWithoutAJobIsHeadlessToo) {
  const ProgramRun run = RunProgram({"/win=0"}, kNoDisplay[1]);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("Usage"), std::string::npos);
}

// A script must be able to tell a line that never ran from a job that was done
// (0) or failed (1).
TEST(ProgramStart, ACommandLineThatFailsToParseEndsWithExitCode2AfterItsMessage) {
  const struct {
    std::vector<std::string> arguments;
    const char* err;
  } cases[] = {
      {{"/COM=0"}, "Parsing command line: Bad COM port\n"},
      {{"/WIN=0", "/FOO"}, "Parsing command line: Unrecognized command\n"},
      {{"/WIN=0", "/EXIT", "x"}, "Parsing command line: Error at position 14\n"},
      {{"\"/WIN=0"}, "Parsing command line: Bad double apostrophe (\") balance\n"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = RunProgram(c.arguments, kNoDisplay[0]);
    EXPECT_FALSE(run.signalled) << c.err;
    EXPECT_EQ(run.exitCode, 2) << c.err;
    EXPECT_EQ(run.out, "") << c.err;
    EXPECT_EQ(run.err, c.err);
  }
}

// A socket that accepts connections as a Wayland compositor's does, enough
// for the program to decide that a display is there; Qt itself is sent to its
// offscreen platform.
class FakeDisplay {
 public:
  explicit FakeDisplay(const std::string& folder) : folder_(folder) {
    fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = folder + "/wayland-trelvik-test";
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    listening_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                 ::listen(fd_, 4) == 0;
  }
  ~FakeDisplay() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Listening() const { return listening_; }
  std::vector<std::string> Environment() const {
    return {"DISPLAY", "WAYLAND_DISPLAY=wayland-trelvik-test", "XDG_RUNTIME_DIR=" + folder_, "QT_QPA_PLATFORM=offscreen"};
  }

 private:
  std::string folder_;
  int fd_ = -1;
  bool listening_ = false;
};

TEST(ProgramStart, WithADisplayTheWindowLibraryRunsTheJobAndWithoutItTheJobStillRuns) {
  testing::TempDir dir;
  FakeDisplay display(dir.Path());
  ASSERT_TRUE(display.Listening());
  std::filesystem::copy_file("sim/flights/pg-flytec6030-2008-3s.igc", dir.File("flight.igc"));
  const std::vector<std::string> arguments = {"/IGC2KML=" + dir.File("flight")};

  const ProgramRun window = RunProgram(arguments, display.Environment());
  EXPECT_FALSE(window.signalled);
  EXPECT_EQ(window.exitCode, 0) << window.err;
  EXPECT_EQ(window.err.find("The window cannot be shown"), std::string::npos) << window.err;
  EXPECT_TRUE(std::filesystem::exists(dir.File("flight.kml")));

  // The same program alone in a folder: no window library beside it.
  std::filesystem::remove(dir.File("flight.kml"));
  const std::string alone = dir.File("trelvik");
  std::filesystem::copy_file(TRELVIK_PROGRAM, alone);
  const ProgramRun headless = RunProgram(arguments, display.Environment(), alone);
  EXPECT_FALSE(headless.signalled);
  EXPECT_EQ(headless.exitCode, 0) << headless.err;
  EXPECT_NE(headless.err.find("The window cannot be shown: no trelvik-window.so beside the program"), std::string::npos)
      << headless.err;
  EXPECT_TRUE(std::filesystem::exists(dir.File("flight.kml")));
}

}  // namespace
}  // namespace trelvik
