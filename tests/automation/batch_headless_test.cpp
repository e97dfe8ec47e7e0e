// The program's headless entry in-process: the real job frame, instrument
// table and serial links against the simulated Flytec on a pseudo-terminal,
// with the console's streams caught in files.
#include "automation/batch_headless.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "access/job_table.hpp"
#include "access/sim_process.hpp"
#include "automation/command_line_job.hpp"
#include "e2e/batch_e2e_process.hpp"
#include "instruments/protocol_table.hpp"
#include "settings/setting_table.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::NotifyReceiver;
using testing::SimProcess;
using testing::TempDir;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class HeadlessBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(notify.Bound());
    job.gpsType = GpsType::IqCompeo;
    job.notifyClass = notify.Path();
    job.notifyWindow = true;
    job.sessionNumber = 31;
    job.sessionGiven = 1;
    job.exitAfter = 1;
    job.timeout = 2;
  }
  void StartSim(const std::vector<std::string>& args = {"flytec", "--flights=2"}) {
    if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim is not built";
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
  static std::string Contents(FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    return text;
  }

  TempDir dir;
  SimProcess sim;
  NotifyReceiver notify{dir.File("notify.sock")};
  CommandLineJob job;
  std::string outText;
  std::string errText;
};

TEST_F(HeadlessBatch, IgcDownloadRunsToItsEnd) {
  StartSim();
  if (IsSkipped()) return;
  job.jobKind = JobKind::IgcLog;
  job.fileName = dir.Path() + "/";
  job.trackList[0] = 1;
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(std::filesystem::exists(dir.File("2024-07-14-xxx-012-01.igc")));
  EXPECT_EQ(errText, "");
  EXPECT_NE(outText.find("Product: " + dir.File("2024-07-14-xxx-012-01.igc") + "\n"), std::string::npos) << outText;
  const std::vector<NotifyReceiver::Note> notes = notify.Notes();
  ASSERT_GE(notes.size(), 2u);
  EXPECT_EQ(notes.front(), (NotifyReceiver::Note{31, "Transfer started"}));
  EXPECT_EQ(notes.back(), (NotifyReceiver::Note{31, "Transfer completed"}));
}

TEST_F(HeadlessBatch, EmptyTrackSelectionFailsTheTransfer) {
  StartSim();
  if (IsSkipped()) return;
  job.jobKind = JobKind::KmlLog;
  job.fileName = dir.File("flight.kml");
  job.trackList[0] = 99;
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(errText, "Read GPS track log: No points detected\n");
  EXPECT_FALSE(std::filesystem::exists(job.fileName));
  EXPECT_EQ(notify.Texts().back(), "Transfer completed (error)");
}

TEST_F(HeadlessBatch, FlightListIsSentToTheNotifyTarget) {
  StartSim();
  if (IsSkipped()) return;
  job.jobKind = JobKind::FlightList;
  EXPECT_EQ(Run(), 0);
  const std::vector<std::string> texts = notify.Texts();
  EXPECT_NE(
      std::find(texts.begin(), texts.end(), "Flightlist:\n2024.07.15,10:00:00,0:19:58\n2024.07.14,10:00:00,0:19:58\n"),
      texts.end());
}

TEST_F(HeadlessBatch, FlymasterFlightsJoinIntoOneIgcFile) {
  StartSim({"flymaster", "--flights=2"});
  if (IsSkipped()) return;
  job.gpsType = GpsType::Flymaster;
  job.jobKind = JobKind::IgcLog;
  job.fileName = dir.Path() + "/";
  job.trackList[0] = 0;
  job.trackList[1] = 1;
  job.noSplit = 1;  // the two flights are a day apart
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(errText, "");
  // Generated flights of 14 and 15 July: one file dated by its first fix.
  EXPECT_TRUE(std::filesystem::exists(dir.File("2024-07-14-xtv-000-01.igc"))) << outText;
  EXPECT_NE(outText.find("1200 positions written"), std::string::npos) << outText;
}

TEST_F(HeadlessBatch, LeonardoFlightBecomesAKmlFile) {
  StartSim({"leonardo", "--flights=2"});
  if (IsSkipped()) return;
  job.gpsType = GpsType::Leonardo;
  job.jobKind = JobKind::KmlLog;
  job.fileName = dir.File("flight.kml");
  job.trackList[0] = 1;
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(errText, "");
  EXPECT_TRUE(std::filesystem::exists(job.fileName));
  EXPECT_NE(outText.find("600 positions written"), std::string::npos) << outText;
}

// USERNAME uploads the identifiers, waits for the upload and takes its result
// as the exit code: a B1 NAV takes them, other units refuse them.
TEST_F(HeadlessBatch, FlymasterUsernameExitCodeIsTheUploads) {
  struct Case {
    const char* product;
    int exitCode;
    std::string error;
  };
  const Case cases[] = {{"--product=B1NAV", 0, ""},
                        {"--product=GpsSD", 1, "Set pilot data: Command available for B1 NAV only\n"}};
  for (const Case& c : cases) {
    SimProcess instrument;
    if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim is not built";
    const std::string record = dir.File("received.txt");
    std::filesystem::remove(record);
    ASSERT_TRUE(instrument.Start({"flymaster", c.product, "--record=" + record}));
    job.portName = instrument.PtyPath();
    job.gpsType = GpsType::Flymaster;
    job.jobKind = JobKind::Username;
    job.pilot = "Jo, Pilot";
    job.compId = 12;
    job.civlId = -1;
    EXPECT_EQ(Run(), c.exitCode) << c.product;
    EXPECT_EQ(errText, c.error) << c.product;
    EXPECT_EQ(notify.Texts().back(), c.exitCode == 0 ? "Transfer completed" : "Transfer completed (error)");
    if (c.exitCode == 0) {
      EXPECT_NE(ReadText(record).find("$PFMIDS,12,,Jo  Pilot*"), std::string::npos);
    }
  }
}

TEST_F(HeadlessBatch, TransferThatCannotStartFailsTheRun) {
  // No driver claims the Graviter cells yet: the start is refused. Once one
  // does, this test needs another instrument without a driver.
  JobTable table;
  ASSERT_TRUE(RegisterInstruments(table));
  ASSERT_EQ(table.Find(static_cast<int>(AccessFunction::DownloadTrackLog), static_cast<int>(ProtocolType::Graviter)),
            nullptr)
      << "a Graviter driver is registered: pick an instrument without one";
  job.jobKind = JobKind::KmlLog;
  job.gpsType = GpsType::Graviter;
  job.fileName = dir.File("flight.kml");
  job.portName = dir.File("no-port");
  const int exitCode = Run();
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(errText, "GPS access: Unsupported access function\n");
  EXPECT_TRUE(notify.Texts().empty());
}

}  // namespace
}  // namespace trelvik
