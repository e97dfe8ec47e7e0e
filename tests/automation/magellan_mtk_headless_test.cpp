// /GPS=MAGELLAN and /GPS=MTK runs without a window: the headless entry, the
// instrument table and the real serial link against the simulated receiver
// and logger on a pseudo-terminal, with the console's streams caught in files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "access/sim_process.hpp"
#include "automation/batch_headless.hpp"
#include "automation/command_line_job.hpp"
#include "settings/setting_table.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::SimProcess;
using testing::TempDir;

std::string Contents(FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  return text;
}

size_t PositionRecords(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t n = 0;
  for (size_t at = text.find("\nB"); at != std::string::npos; at = text.find("\nB", at + 1)) ++n;
  return n;
}

class MagellanMtkHeadless : public ::testing::Test {
 protected:
  void SetUp() override {
    if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim is not built";
    job.exitAfter = 1;
    job.timeout = 2;
  }
  void StartSim(const std::vector<std::string>& args) {
    ASSERT_TRUE(sim.Start(args));
    job.portName = sim.PtyPath();
  }
  int Run() {
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    FILE* in = std::fopen("/dev/null", "r");
    HeadlessUserInterface console(out, err, in, false);
    const int exitCode = RunHeadlessCommandLine(job, console, BuiltInDefaults(dir.Path()));
    outText = Contents(out);
    errText = Contents(err);
    for (FILE* f : {out, err, in}) std::fclose(f);
    return exitCode;
  }
  // The one file the run wrote into the folder.
  std::string WrittenFile(const std::string& extension) const {
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
      if (entry.path().extension() == extension) return entry.path().string();
    }
    return {};
  }

  TempDir dir;
  SimProcess sim;
  CommandLineJob job;
  std::string outText;
  std::string errText;
};

TEST_F(MagellanMtkHeadless, MagellanTrackLogAsIgc) {
  StartSim({"magellan", "--points=40"});
  job.gpsType = GpsType::Magellan;
  job.jobKind = JobKind::IgcLog;
  job.fileName = dir.Path() + "/";
  EXPECT_EQ(Run(), 0) << errText;
  const std::string file = WrittenFile(".igc");
  ASSERT_FALSE(file.empty()) << outText;
  EXPECT_EQ(PositionRecords(file), 40u);
  EXPECT_NE(outText.find("Status: 40 points received\n"), std::string::npos) << outText;
}

TEST_F(MagellanMtkHeadless, MtkLogAsKml) {
  StartSim({"mtk", "--points=60"});
  job.gpsType = GpsType::Mtk;
  job.jobKind = JobKind::KmlLog;
  job.fileName = dir.File("flight.kml");
  EXPECT_EQ(Run(), 0) << errText;
  EXPECT_TRUE(std::filesystem::exists(job.fileName));
  EXPECT_NE(outText.find("Status: 60 points received\n"), std::string::npos) << outText;
}

TEST_F(MagellanMtkHeadless, MtkFailureEndsTheRunWithItsMessage) {
  StartSim({"mtk", "--memory=zero"});
  job.gpsType = GpsType::Mtk;
  job.jobKind = JobKind::IgcLog;
  job.fileName = dir.Path() + "/";
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(errText, "Get memory used: Zero used memory\n");
  EXPECT_TRUE(WrittenFile(".igc").empty());
}

}  // namespace
}  // namespace trelvik
