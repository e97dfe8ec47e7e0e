// Unattended runs with a Garmin receiver: the real program, headless,
// against trelvik-sim's Garmin receiver on a pseudo-terminal; the files, the
// standard error and the exit codes a calling program sees.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "access/sim_process.hpp"
#include "base/atomic_file.hpp"
#include "e2e/batch_e2e_process.hpp"
#include "support/temp_dir.hpp"

namespace trelvik::testing {
namespace {

constexpr int kRunLimitMs = 60000;

std::string Text(const std::string& path) {
  std::string bytes;
  return ReadWholeFile(path, bytes) ? bytes : "<missing>";
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  if (!std::filesystem::is_directory(folder)) return names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class GarminBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    program_ = ProgramUnderTest(why);
    if (program_.empty()) GTEST_SKIP() << why;
    if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim is not built";
    std::filesystem::create_directory(dir.File("out"));
  }

  // The simulated receiver with one generated flight of 100 fixes (2024-07-15).
  void StartSim(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"garmin", "--flights=1", "--fixes=100", "--record=" + dir.File("received.txt")};
    args.insert(args.end(), extra.begin(), extra.end());
    ASSERT_TRUE(sim.Start(args));
  }

  ProgramRun Run(std::vector<std::string> args) {
    std::vector<std::string> full = {"/COM=" + sim.PtyPath(), "/GPS=GARMIN", "/TIMEOUT=2"};
    full.insert(full.end(), args.begin(), args.end());
    return RunProgram(program_, full, {{"XDG_CONFIG_HOME", dir.File("config")}}, kRunLimitMs);
  }

  std::string Out(const std::string& name) const { return dir.File("out/" + name); }

  TempDir dir;
  SimProcess sim;
  std::string program_;
};

TEST_F(GarminBatch, IgcLogWritesTheDownloadedTrack) {
  StartSim();
  const ProgramRun run = Run({"/IGC_LOG=" + dir.File("out") + "/", "/EXIT"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> files = FilesIn(dir.File("out"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(files[0].starts_with("2024-07-15-")) << files[0];
  EXPECT_TRUE(files[0].ends_with("-01.igc")) << files[0];
  const std::string igc = Text(Out(files[0]));
  EXPECT_TRUE(igc.starts_with("A")) << igc.substr(0, 40);
  size_t fixes = 0;
  for (size_t at = igc.find("\r\nB"); at != std::string::npos; at = igc.find("\r\nB", at + 1)) ++fixes;
  EXPECT_EQ(fixes, 100u);
  EXPECT_NE(igc.find("\r\nB100000"), std::string::npos);  // the first fix at 10:00:00 UTC
  EXPECT_NE(run.out.find("Status: 100 track positions read ("), std::string::npos) << run.out;
}

TEST_F(GarminBatch, KmlLogIsSignedAndChecked) {
  StartSim();
  const ProgramRun run = Run({"/KML_LOG=" + Out("$date.kml"), "/EXIT"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(FilesIn(dir.File("out")), std::vector<std::string>{"20240715.kml"});
  EXPECT_TRUE(Text(Out("20240715.kml")).starts_with("<?xml"));
  const ProgramRun check =
      RunProgram(program_, {"/CHKKML=" + Out("20240715.kml")}, {{"XDG_CONFIG_HOME", dir.File("config")}}, kRunLimitMs);
  EXPECT_EQ(check.exitCode, 1) << check.err;  // 1: the signature is valid
}

TEST_F(GarminBatch, AirspaceUploadSendsEachOutlineAsATrack) {
  StartSim();
  ASSERT_FALSE(WriteFileAtomically(dir.File("air.txt"),
                                   "AC CTR\r\nAN Sion\r\nAL GND\r\nAH 2000m\r\nDP 46:14:00 N 007:20:00 E\r\n"
                                   "DP 46:16:30 N 007:21:00 E\r\nDP 46:15:15 N 007:24:45 E\r\n"));
  const ProgramRun run = Run({"/WR_CTR=" + dir.File("air.txt"), "/EXIT"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string received = Text(dir.File("received.txt"));
  EXPECT_NE(received.find("\n99:0100"
                          "5369"
                          "6F6E"
                          "00\n"),
            std::string::npos)
      << received;  // "Sion"
  EXPECT_TRUE(received.ends_with("12:0600\n")) << received;
}

TEST_F(GarminBatch, AnUnknownReceiverFailsTheRun) {
  StartSim({"--product=999", "--array=none"});
  const ProgramRun run = Run({"/KML_LOG=" + Out("flight.kml"), "/EXIT"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.ErrLines(), std::vector<std::string>{"Requesting GPS product data: GPS product ID not supported"});
  EXPECT_TRUE(FilesIn(dir.File("out")).empty());
}

}  // namespace
}  // namespace trelvik::testing
