// The program's headless entry in-process: the real job frame, instrument
// table and serial links against the simulated Flytec on a pseudo-terminal,
// with the console's streams caught in files.
#include "automation/batch_headless.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

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
  void StartSim(std::vector<std::string> args = {"flytec", "--flights=2"}) {
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
  // An instrument of the command line whose track download no driver
  // claims yet: its start is refused.
  JobTable table;
  ASSERT_TRUE(RegisterInstruments(table));
  const ProtocolRow* unbuilt = nullptr;
  for (const ProtocolRow& row : ProtocolTable()) {
    if (row.commandLine && row.commandLine->trackLog.offered &&
        table.Find(static_cast<int>(AccessFunction::DownloadTrackLog), static_cast<int>(row.protocol)) == nullptr) {
      unbuilt = &row;
    }
  }
  if (unbuilt == nullptr) GTEST_SKIP() << "every instrument of the command line has its driver";
  job.jobKind = JobKind::KmlLog;
  job.gpsType = unbuilt->commandLine->type;
  job.fileName = dir.File("flight.kml");
  job.portName = dir.File("no-port");
  const int exitCode = Run();
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(errText, "GPS access: Unsupported access function\n");
  EXPECT_TRUE(notify.Texts().empty());
}

}  // namespace
}  // namespace trelvik

namespace trelvik {
namespace {

// ---- WR_WPT, WR_WPT2, RD_WPT, RD_GEO_WPT against the simulated Flytec ---------

// The $PBRWPR sentences the instrument received, once `count` have arrived
// (an upload ends when its last line is written, before the instrument read it).
std::vector<std::string> ReceivedWaypoints(const std::string& recordPath, size_t count) {
  std::vector<std::string> sentences;
  for (int wait = 0; wait < 100; ++wait) {
    sentences.clear();
    std::ifstream in(recordPath, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
      while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
      if (line.starts_with("$PBRWPR,")) sentences.push_back(line);
    }
    if (sentences.size() >= count) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return sentences;
}

// "$PBRWPR," + body with its checksum, worked out here rather than by the driver.
std::string Wpr(const std::string& body) {
  const std::string text = "PBRWPR," + body;
  unsigned char sum = 0;
  for (const char c : text) sum ^= static_cast<unsigned char>(c);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", sum);
  return "$" + text + "*" + hex;
}

class HeadlessWaypoints : public HeadlessBatch {
 protected:
  // A simulator of its own that records what it receives in `record`.
  bool StartRecording(SimProcess& instrument, const std::string& record) {
    if (!instrument.Start({"flytec", "--record=" + record})) return false;
    job.portName = instrument.PtyPath();
    return true;
  }
};

TEST_F(HeadlessWaypoints, EveryFormatIsUploadedAsTheSentencesItsWaypointsMake) {
  struct Case {
    const char* file;
    std::vector<std::string> sentences;
  };
  const Case cases[] = {
      {"waypoints_ozi.wpt",
       {Wpr("4630.000,N,00715.000,W,,Takeoff  north   ,0305"),
        Wpr("4715.000,S,00830.000,E,,Landeplatz Z\xC3\xBCric,0000"),
        Wpr("4500.000,N,01000.000,E,,Pass             ,0000")}},
      {"waypoints_geo.wpt",
       {Wpr("4630.000,N,00715.000,W,,Takeoff north    ,1001"),
        Wpr("4715.000,S,00830.000,E,,Landeplatz Z\xC3\xBCric,0000"),
        Wpr("4500.600,N,01000.000,E,,PASS             ,0000")}},
      {"waypoints_utm.wpt",
       {Wpr("4630.214,N,00900.000,E,,Takeoff north    ,1001"),
        Wpr("4603.197,N,00844.488,E,,Landing field    ,0000")}},
      {"waypoints.cup",
       {Wpr("4630.000,N,00715.000,W,,Takeoff  \"north\" ,1001"),
        Wpr("4715.000,S,00830.000,E,,Landing Z\xC3\xBCrich  ,0366"),
        Wpr("4500.000,N,01000.000,E,,A title that runs,0000")}},
      {"waypoints.gpx",
       {Wpr("4630.000,N,00715.000,W,,Takeoff north    ,1001"),
        Wpr("4715.000,N,00830.000,E,,Landing field    ,0000")}},
      {"waypoints.kml",
       {Wpr("4715.000,N,00830.000,E,,Top of the hill  ,1235"),
        Wpr("4712.000,N,00836.000,E,,LZ               ,0000")}},
      {"waypoints.dat",
       {Wpr("4630.000,N,00715.000,W,,Takeoff north    ,1001"),
        Wpr("4715.000,S,00830.000,E,,Landing  field   ,0366"),
        Wpr("4500.000,N,01000.000,E,,PASS             ,0000")}},
      {"waypoints_compegps.wpt",
       {Wpr("4630.000,N,00715.000,W,,Takeoff north    ,1001"),
        Wpr("4715.000,S,00830.000,E,,Landeplatz Z\xC3\xBCric,0000"),
        Wpr("4630.214,N,00900.000,E,,PASS             ,1500")}},
      {"gpsbabel_ozi.wpt",
       {Wpr("4630.000,N,00715.000,W,,Takeoff north & \",1001"),
        Wpr("4715.000,S,00830.000,E,,Landeplatz Z\xC3\xBCric,0000")}},
      {"gpsbabel.cup",
       {Wpr("4630.000,N,00715.000,W,,TK1              ,1001"),
        Wpr("4715.000,S,00830.000,E,,LZ               ,0000")}},
      {"gpsbabel_cambridge.dat",
       {Wpr("4630.000,N,00715.000,W,,Takeoff north & \",1001"),
        Wpr("4715.000,S,00830.000,E,,Landeplatz Z\xC3\xBCric,0000")}},
      {"gpsbabel.gpx",
       {Wpr("4630.000,N,00715.000,W,,Takeoff- north - ,1001"),
        Wpr("4715.000,S,00830.000,E,,Landeplatz Z-rich,0000")}},
      {"gpsbabel.kml",
       {Wpr("4630.000,N,00715.000,W,,Takeoff- north - ,1001"),
        Wpr("4715.000,S,00830.000,E,,Landeplatz Z-rich,0000")}},
  };
  if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim is not built";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    SimProcess instrument;
    const std::string record = dir.File(std::string(c.file) + ".received");
    ASSERT_TRUE(StartRecording(instrument, record));
    job.jobKind = JobKind::WriteWaypoints;
    job.fileName = std::string("tests/data/waypoint_files/") + c.file;
    EXPECT_EQ(Run(), 0) << errText;
    EXPECT_EQ(ReceivedWaypoints(record, c.sentences.size()), c.sentences);
  }
}

TEST_F(HeadlessWaypoints, NamesAndDescriptionsThenTheIdWaypointsAreSent) {
  if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim is not built";
  SimProcess instrument;
  ASSERT_TRUE(StartRecording(instrument, dir.File("received.txt")));
  job.jobKind = JobKind::WriteWaypoints2;
  job.fileName = "tests/data/waypoint_files/waypoints.gpx";
  job.compId = 12;
  job.civlId = 4567;
  EXPECT_EQ(Run(), 0) << errText;
  // COMP ID 12: 0 deg 1 min 2 s N, 0 E; CIVL ID 4567: 5 deg 6 min 7 s N, 0 deg 0 min 4 s E.
  EXPECT_EQ(ReceivedWaypoints(dir.File("received.txt"), 4),
            (std::vector<std::string>{Wpr("4630.000,N,00715.000,W,,TK1 Takeoff north,1001"),
                                      Wpr("4715.000,N,00830.000,E,,LZ Landing field ,0000"),
                                      Wpr("0001.033,N,00000.000,E,,COMPID 12        ,0000"),
                                      Wpr("0506.117,N,00000.067,E,,CIVLID 4567      ,0000")}));
  EXPECT_NE(outText.find("Status: 4 waypoints read\n"), std::string::npos) << outText;
  EXPECT_EQ(notify.Texts().back(), "Transfer completed");
}

TEST_F(HeadlessWaypoints, DownloadedWaypointsAreWrittenAsOziOrGeo) {
  if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim is not built";
  struct Case {
    JobKind kind;
    const char* file;
    const char* firstLines;
  };
  const Case cases[] = {
      {JobKind::ReadGeoWaypoints, "wpts.geo",
       "$FormatGEO\r\n"
       "FIESCH    N 46 25 27.60    E 008 08 06.00  2240  FIESCH LAUNCH\r\n"
       "LAND      N 46 24 00.00    E 008 09 00.00  1050  FIESCH LANDING\r\n"},
      {JobKind::ReadWaypoints, "wpts.wpt",
       "OziExplorer Waypoint File Version 1.0\r\nWGS 84\r\nReserved 2\r\nReserved 3\r\n"
       "   1,FIESCH        ,  46.424333,   8.135000,"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    SimProcess instrument;
    ASSERT_TRUE(instrument.Start({"flytec"}));
    job.portName = instrument.PtyPath();
    job.jobKind = c.kind;
    job.fileName = dir.File(c.file);
    EXPECT_EQ(Run(), 0) << errText;
    std::ifstream in(job.fileName, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.substr(0, std::strlen(c.firstLines)), c.firstLines);
    EXPECT_NE(outText.find("Status: 4 waypoints written\n"), std::string::npos) << outText;
  }
}

}  // namespace
}  // namespace trelvik
