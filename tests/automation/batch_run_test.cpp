#include "automation/batch_run.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "airspace/ctr_area.hpp"
#include "automation/batch_conversion.hpp"
#include "automation/batch_test_support.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "support/golden_file.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/track_file_formats.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/kml_track_file.hpp"

namespace trelvik {
namespace {

using testing::FileText;
using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

// Records what the run starts; a start succeeds unless told otherwise.
class FakeTransfers : public BatchTransfers {
 public:
  int Start(BatchTransferRequest request) override {
    requests.push_back(std::move(request));
    if (refuse) return -1;
    failure = 0;  // a start clears the failure flag
    return 0;
  }
  void SetFailed() override { failure = 1; }
  int FailureFlag() const override { return failure; }

  std::vector<BatchTransferRequest> requests;
  bool refuse = false;
  int failure = 0;
};

class BatchRunTest : public ::testing::Test {
 protected:
  BatchRunTest() {
    job.gpsType = GpsType::IqCompeo;
    settings.portName = "/dev/ttyS0";
    settings.trackGapTime = 1200;
    settings.loopFlightGap = 800;
  }
  BatchRun& Run() {
    BatchRunHooks hooks;
    hooks.notify = [this](std::string_view text) { notes.emplace_back(text); };
    hooks.showWindowNormally = [this] { ++shownNormally; };
    hooks.utcNow = [] { return SystemTime{2024, 5, 0, 18, 8, 0, 0, 0}; };
    run = std::make_unique<BatchRun>(job, BatchRunContext{ui, transfers, log, waypoints, airspace, settings, hidden, hooks});
    return *run;
  }

  TempDir dir;
  CommandLineJob job;
  ScriptedUserInterface ui;
  FakeTransfers transfers;
  TrackLog log;
  WaypointList waypoints;
  AirspaceList airspace;
  Settings settings;
  bool hidden = true;
  std::vector<std::string> notes;
  int shownNormally = 0;
  std::unique_ptr<BatchRun> run;
};

TEST_F(BatchRunTest, TrackDownloadStartsOnTheCommandLinePort) {
  job.jobKind = JobKind::KmlLog;
  job.portName = "/dev/pts/7";
  log = testing::DownloadedLog();
  EXPECT_EQ(Run().RunCommandLineJob(), 0);
  ASSERT_EQ(transfers.requests.size(), 1u);
  EXPECT_EQ(transfers.requests[0].kind, BatchTransferKind::TrackDownload);
  EXPECT_EQ(transfers.requests[0].protocol, ProtocolType::Flytec);
  EXPECT_EQ(transfers.requests[0].portName, "/dev/pts/7");
  EXPECT_EQ(settings.portName, "/dev/pts/7");
  EXPECT_TRUE(log.points.empty());  // the old log is dropped before the download
  EXPECT_TRUE(run->TransferRunning());
  EXPECT_EQ(notes, std::vector<std::string>{"Transfer started"});
}

TEST_F(BatchRunTest, WithoutComThePortSettingIsUsed) {
  job.jobKind = JobKind::FlightList;
  job.notifyWindow = true;
  ASSERT_EQ(Run().RunCommandLineJob(), 0);
  ASSERT_EQ(transfers.requests.size(), 1u);
  EXPECT_EQ(transfers.requests[0].kind, BatchTransferKind::FlightList);
  EXPECT_EQ(transfers.requests[0].portName, "/dev/ttyS0");
}

TEST_F(BatchRunTest, TranslationGivesProtocolAndOption) {
  job.jobKind = JobKind::IgcLog;
  job.gpsType = GpsType::LogIt;
  ASSERT_EQ(Run().RunCommandLineJob(), 0);
  EXPECT_EQ(transfers.requests.at(0).protocol, ProtocolType::LogIt);
  EXPECT_EQ(transfers.requests.at(0).option, 57600);
}

struct RefusedCase {
  int32_t exitAfter;
  int expected;
};

class RefusedStart : public BatchRunTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedStart, FailsTheRunAndEndsItOnlyWithExit) {
  job.jobKind = JobKind::IgcLog;
  job.exitAfter = GetParam().exitAfter;
  transfers.refuse = true;
  EXPECT_EQ(Run().RunCommandLineJob(), GetParam().expected);
  EXPECT_EQ(run->ExitCode(), 1);
  EXPECT_FALSE(run->TransferRunning());
  EXPECT_TRUE(notes.empty());
}

INSTANTIATE_TEST_SUITE_P(Exit, RefusedStart, ::testing::Values(RefusedCase{1, -1}, RefusedCase{0, 0}));

TEST_F(BatchRunTest, FailedTransferIsReportedAndEndsWithExit) {
  job.jobKind = JobKind::IgcLog;
  job.fileName = dir.Path() + "/";
  job.exitAfter = 1;
  ASSERT_EQ(Run().RunCommandLineJob(), 0);
  transfers.failure = 1;  // the completion routine saw a negative result
  EXPECT_TRUE(run->ContinueCommandLineJob(false));
  EXPECT_EQ(notes, (std::vector<std::string>{"Transfer started", "Transfer completed (error)"}));
  EXPECT_EQ(run->ExitCode(), 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST_F(BatchRunTest, SuccessfulTransferWritesTheIgcFile) {
  job.jobKind = JobKind::IgcLog;
  job.gpsType = GpsType::Flymaster;
  job.fileName = dir.Path() + "/";
  ASSERT_EQ(Run().RunCommandLineJob(), 0);
  log = testing::DownloadedLog();  // installed by the completion routine
  EXPECT_FALSE(run->ContinueCommandLineJob(true));
  EXPECT_NE(FileText(dir.File("2024-05-17-xtv-000-01.igc")), "<missing>");
  EXPECT_EQ(notes, (std::vector<std::string>{"Transfer started", "Transfer completed"}));
  EXPECT_EQ(run->ExitCode(), 0);
}

TEST_F(BatchRunTest, WriteFailureFailsTheRunAndCancelsExit) {
  job.jobKind = JobKind::IgcLog;
  job.gpsType = GpsType::Flymaster;
  job.fileName = dir.File("taken.igc");
  job.exitAfter = 1;
  ASSERT_FALSE(WriteFileAtomically(job.fileName, "old"));
  ASSERT_EQ(Run().RunCommandLineJob(), 0);
  log = testing::DownloadedLog();
  EXPECT_FALSE(run->ContinueCommandLineJob(true));
  EXPECT_EQ(ui.boxes,
            (std::vector<RecordedBox>{{MessageKind::Error, "No free flight number available", "Save IGC log"}}));
  EXPECT_EQ(shownNormally, 1);
  EXPECT_EQ(run->ExitCode(), 1);
  // The transfer itself went well.
  EXPECT_EQ(notes.back(), "Transfer completed");
}

TEST_F(BatchRunTest, HiddenRunLeavesAnExistingKmlFileAndSucceeds) {
  job.jobKind = JobKind::KmlLog;
  job.fileName = dir.File("flight.kml");
  job.exitAfter = 1;
  ASSERT_FALSE(WriteFileAtomically(job.fileName, "old"));
  ASSERT_EQ(Run().RunCommandLineJob(), 0);
  log = testing::DownloadedLog();
  EXPECT_TRUE(run->ContinueCommandLineJob(true));
  EXPECT_EQ(FileText(job.fileName), "old");
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(run->ExitCode(), 0);
}

TEST_F(BatchRunTest, JobWithoutBatchSupportIsRefused) {
  job.jobKind = JobKind::Igc2Kml;  // runs while the line is parsed, never as a batch run
  job.exitAfter = 1;
  EXPECT_EQ(Run().RunCommandLineJob(), -1);
  EXPECT_EQ(ui.boxes,
            (std::vector<RecordedBox>{{MessageKind::Error, "This command-line job is not available in this version",
                                       "Parsing command line"}}));
  EXPECT_EQ(run->ExitCode(), 1);
  EXPECT_TRUE(transfers.requests.empty());
}

// ---- COMP_LOG ---------------------------------------------------------------------

TEST_F(BatchRunTest, CompetitionDownloadTakesItsWindowAndFolderAndChecksWaypointsWithAList) {
  job.jobKind = JobKind::CompLog;
  job.filterStart = 100;
  job.filterEnd = 200;
  job.compDir = dir.Path();
  job.compSpecial = 1;
  PilotList pilots;
  pilots.entries = {{"Ann", 1, 2}};
  run = nullptr;
  BatchRunHooks hooks;
  run = std::make_unique<BatchRun>(job, BatchRunContext{ui, transfers, log, waypoints, airspace, settings, hidden,
                                                        hooks, &pilots});
  EXPECT_EQ(run->RunCommandLineJob(), 0);
  ASSERT_EQ(transfers.requests.size(), 1u);
  EXPECT_EQ(transfers.requests[0].kind, BatchTransferKind::TrackDownload);
  EXPECT_TRUE(transfers.requests[0].competitionCheck);
  EXPECT_TRUE(transfers.requests[0].competitionSpecial);
  EXPECT_EQ(settings.compTimeStart, 100u);
  EXPECT_EQ(settings.compTimeStop, 200u);
  EXPECT_EQ(settings.compDir, dir.Path());
}

TEST_F(BatchRunTest, CompetitionDownloadWithoutAListNamesTheFileFromTheCommandLine) {
  job.jobKind = JobKind::CompLog;
  job.compDir = dir.Path();
  job.pilot = "Ann";
  job.compId = 7;
  job.noCheck = 1;
  settings.compTimeStart = 0;
  EXPECT_EQ(Run().RunCommandLineJob(), 0);
  EXPECT_FALSE(transfers.requests.at(0).competitionCheck);
  log = testing::DownloadedLog();
  (void)run->ContinueCommandLineJob(true);
  EXPECT_EQ(run->ExitCode(), 0) << (ui.boxes.empty() ? "" : ui.boxes[0].text);
  EXPECT_EQ(log.pilotName, "Ann");
  EXPECT_EQ(log.compId, 7);
  ASSERT_FALSE(ui.statusLines.empty());
  EXPECT_TRUE(ui.statusLines.back().starts_with("\"" + dir.Path() + "/Ann.")) << ui.statusLines.back();
  EXPECT_TRUE(ui.statusLines.back().ends_with(".[CIVLID].7.kml\" written")) << ui.statusLines.back();
}

TEST_F(BatchRunTest, CompetitionDownloadReadsTheWindowsListAndFailsWithoutAMatch) {
  ASSERT_FALSE(WriteFileAtomically(dir.File("pilots.csv"), "Ann,1,2\r\n"));
  settings.compMode = 1;
  settings.pilotListName = dir.File("pilots.csv");
  job.jobKind = JobKind::CompLog;
  job.compDir = dir.Path();
  job.civlId = 9;
  PilotList pilots;
  BatchRunHooks hooks;
  run = std::make_unique<BatchRun>(job, BatchRunContext{ui, transfers, log, waypoints, airspace, settings, hidden,
                                                        hooks, &pilots});
  EXPECT_EQ(run->RunCommandLineJob(), 0);
  EXPECT_EQ(pilots.entries.size(), 1u);
  EXPECT_TRUE(transfers.requests.at(0).competitionCheck);
  log = testing::DownloadedLog();
  (void)run->ContinueCommandLineJob(true);
  EXPECT_EQ(run->ExitCode(), 1);
  EXPECT_EQ(ui.boxes.back(),
            (RecordedBox{MessageKind::Error, "No pilot in the list has CIVL ID 9", "Save log for competition"}));
  const auto files = std::distance(std::filesystem::directory_iterator(dir.Path()), {});
  EXPECT_EQ(files, 1) << "only the list: nothing was written";
}

// ---- RD_WPT, RD_GEO_WPT, WR_WPT, WR_WPT2 -----------------------------------------

constexpr const char* kGeoFile =
    "$FormatGEO\r\nTK1       N 46 30 00.00    W 007 15 00.00  1001  Takeoff north\r\n"
    "LZ        S 47 15 00.00    E 008 30 00.00     0  \r\n";

Waypoint Named(const char* name, const char* description) {
  Waypoint waypoint;
  std::strncpy(waypoint.name, name, 6);
  std::strncpy(waypoint.description, description, 40);
  waypoint.lat = 123456789;
  waypoint.lon = -23456789;
  waypoint.alt = 1234;
  return waypoint;
}

TEST_F(BatchRunTest, WaypointDownloadWritesOziOrGeoByTheJob) {
  struct Case {
    JobKind kind;
    const char* firstLine;
  };
  for (const Case c : {Case{JobKind::ReadWaypoints, "OziExplorer Waypoint File Version 1.0\r\n"},
                       Case{JobKind::ReadGeoWaypoints, "$FormatGEO\r\n"}}) {
    job.jobKind = c.kind;
    job.fileName = dir.File("wpts.txt");
    job.overwrite = 1;
    EXPECT_EQ(Run().RunCommandLineJob(), 0);
    ASSERT_EQ(transfers.requests.back().kind, BatchTransferKind::WaypointDownload);
    EXPECT_EQ(transfers.requests.back().protocol, ProtocolType::Flytec);
    waypoints.waypoints = {Named("TK1", "Takeoff"), Named("LZ", "")};
    EXPECT_FALSE(run->ContinueCommandLineJob(true));
    EXPECT_EQ(FileText(job.fileName).substr(0, std::strlen(c.firstLine)), c.firstLine);
    EXPECT_EQ(ui.statusLines.back(), "2 waypoints written");
    EXPECT_EQ(ui.productLines.back(), job.fileName);
  }
}

TEST_F(BatchRunTest, WaypointDownloadWithoutWaypointsWritesNothing) {
  job.jobKind = JobKind::ReadWaypoints;
  job.fileName = dir.File("wpts.wpt");
  ASSERT_EQ(Run().RunCommandLineJob(), 0);
  hidden = false;
  EXPECT_FALSE(run->ContinueCommandLineJob(true));
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "No waypoints", "Download waypoints"}}));
  EXPECT_FALSE(std::filesystem::exists(job.fileName));
  EXPECT_EQ(run->ExitCode(), 1);
}

TEST_F(BatchRunTest, WaypointUploadPreparesNamesAndAddsTheIdWaypoints) {
  struct Case {
    JobKind kind;
    GpsType instrument;
    const char* firstDescription;
    const char* secondDescription;
  };
  const Case cases[] = {
      {JobKind::WriteWaypoints, GpsType::IqCompeo, "Takeoff north", "LZ"},
      {JobKind::WriteWaypoints2, GpsType::IqCompeo, "TK1 Takeoff north", "LZ "},
  };
  for (const Case& c : cases) {
    job = CommandLineJob();
    job.jobKind = c.kind;
    job.gpsType = c.instrument;
    job.fileName = dir.File("wpts.wpt");
    job.compId = 12;
    job.civlId = 4567;
    ASSERT_FALSE(WriteFileAtomically(job.fileName, kGeoFile));
    transfers.requests.clear();
    ASSERT_EQ(Run().RunCommandLineJob(), 0);
    ASSERT_EQ(transfers.requests.size(), 1u);
    const BatchTransferRequest& request = transfers.requests[0];
    EXPECT_EQ(request.kind, BatchTransferKind::WaypointUpload);
    ASSERT_EQ(request.waypoints.size(), 4u);  // the file's two and both IDs
    EXPECT_STREQ(request.waypoints[0].description, c.firstDescription);
    EXPECT_STREQ(request.waypoints[1].description, c.secondDescription);
    EXPECT_STREQ(request.waypoints[2].name, "COMPID");
    EXPECT_STREQ(request.waypoints[2].description, "COMPID 12");
    EXPECT_STREQ(request.waypoints[3].name, "CIVLID");
    EXPECT_STREQ(request.waypoints[3].description, "CIVLID 4567");
    // The list shows the file as read, with the IDs.
    ASSERT_EQ(waypoints.Count(), 4);
    EXPECT_STREQ(waypoints.waypoints[1].description, "");
    EXPECT_EQ(ui.statusLines.back(), "4 waypoints read");
    EXPECT_EQ(ui.productLines.back(), job.fileName);
    EXPECT_EQ(notes.back(), "Transfer started");
  }
}

TEST_F(BatchRunTest, WaypointUploadOfAFileWithoutWaypointsStartsNothing) {
  job.jobKind = JobKind::WriteWaypoints;
  job.fileName = dir.File("wpts.wpt");
  job.exitAfter = 1;
  hidden = false;
  ASSERT_FALSE(WriteFileAtomically(job.fileName, "$FormatGEO\r\n"));
  EXPECT_EQ(Run().RunCommandLineJob(), -1);
  EXPECT_TRUE(transfers.requests.empty());
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "No waypoints found", "Decoding waypoint file"}}));
  EXPECT_EQ(run->ExitCode(), 0);
}

TEST_F(BatchRunTest, WaypointUploadFileErrorsFailTheRun) {
  struct Case {
    std::string bytes;  // empty: no file at all
    RecordedBox box;
  };
  const Case cases[] = {
      {"", {MessageKind::Error, "No such file or directory", "Error opening waypoint file"}},
      {"\r\nno waypoint\r\n", {MessageKind::Error, "Bad line 2", "Decoding WinPilot file"}},
      {"$FormatGEO\r\nlower N 46 30 00.00 W 007 15 00.00 1\r\n",
       {MessageKind::Error, "Bad line 2", "Decoding waypoint file"}},
  };
  for (const Case& c : cases) {
    job = CommandLineJob();
    job.jobKind = JobKind::WriteWaypoints;
    job.gpsType = GpsType::IqCompeo;
    job.fileName = dir.File(c.bytes.empty() ? "absent.wpt" : "wpts.wpt");
    if (!c.bytes.empty()) {
      ASSERT_FALSE(WriteFileAtomically(job.fileName, c.bytes));
    }
    ui.boxes.clear();
    EXPECT_EQ(Run().RunCommandLineJob(), 0);
    EXPECT_TRUE(transfers.requests.empty());
    EXPECT_EQ(ui.boxes, std::vector<RecordedBox>{c.box}) << c.bytes;
    EXPECT_EQ(run->ExitCode(), 1);
  }
}

// ---- WR_CTR -----------------------------------------------------------------

constexpr const char* kTwoAirspaces =
    "AC CTR\r\nAN Sion\r\nAL GND\r\nAH 2000m\r\nDP 46:14:00 N 007:20:00 E\r\nDP 46:16:30 N 007:21:00 E\r\n"
    "DP 46:15:15 N 007:24:45 E\r\n"
    "AC R\r\nAN Circle\r\nAL GND\r\nAH FL95\r\nV X=46:30:00 N 008:00:00 E\r\nDC 5\r\n";

TEST_F(BatchRunTest, AirspaceUploadSendsEveryAirspaceOfTheFile) {
  job.jobKind = JobKind::WriteCtr;
  job.fileName = dir.File("air.txt");
  ASSERT_FALSE(WriteFileAtomically(job.fileName, kTwoAirspaces));
  ASSERT_EQ(Run().RunCommandLineJob(), 0);
  ASSERT_EQ(transfers.requests.size(), 1u);
  EXPECT_EQ(transfers.requests[0].kind, BatchTransferKind::CtrUpload);
  const CtrList* sent = std::any_cast<CtrList>(&transfers.requests[0].ctrList);
  ASSERT_NE(sent, nullptr);
  ASSERT_EQ(sent->size(), 2u);
  EXPECT_TRUE((*sent)[0].selected && (*sent)[1].selected);
  EXPECT_EQ(airspace.areas.size(), 2u);
  EXPECT_EQ(ui.statusLines, std::vector<std::string>{"2 CTRs read"});
  EXPECT_EQ(notes, std::vector<std::string>{"Transfer started"});
  EXPECT_FALSE(run->ContinueCommandLineJob(true));
  EXPECT_EQ(notes.back(), "Transfer completed");
}

TEST_F(BatchRunTest, AirspaceFileWithoutAirspacesStartsNothing) {
  job.jobKind = JobKind::WriteCtr;
  job.fileName = dir.File("air.txt");
  job.exitAfter = 1;
  ASSERT_FALSE(WriteFileAtomically(job.fileName, "* only a comment\r\n"));
  EXPECT_EQ(Run().RunCommandLineJob(), -1);
  EXPECT_TRUE(transfers.requests.empty());
  EXPECT_EQ(run->ExitCode(), 0);
}

TEST_F(BatchRunTest, MissingAirspaceFileFailsTheRun) {
  job.jobKind = JobKind::WriteCtr;
  job.fileName = dir.File("absent.txt");
  EXPECT_EQ(Run().RunCommandLineJob(), 0);
  EXPECT_TRUE(transfers.requests.empty());
  EXPECT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(run->ExitCode(), 1);
}

// ---- LOGFILE ------------------------------------------------------------------

struct ExtensionCase {
  const char* name;
  RecordedBox box;
};

class LogFileExtension : public BatchRunTest, public ::testing::WithParamInterface<ExtensionCase> {};

TEST_P(LogFileExtension, IsRefused) {
  job.jobKind = JobKind::LogFile;
  job.fileName = dir.File(GetParam().name);  // refused before the file is looked at
  EXPECT_EQ(Run().RunCommandLineJob(), 0);
  EXPECT_EQ(ui.boxes, std::vector<RecordedBox>{GetParam().box});
  EXPECT_EQ(run->ExitCode(), 1);
  EXPECT_TRUE(transfers.requests.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Names, LogFileExtension,
    ::testing::Values(
        ExtensionCase{"flight.txt",
                      {MessageKind::Error, "Unsupported track log file extension", "Parsing command line"}},
        ExtensionCase{"flight.IGC",
                      {MessageKind::Error, "Unsupported track log file extension", "Parsing command line"}},
        ExtensionCase{"flight", {MessageKind::Error, "Missing track log file extension", "Parsing command line"}},
        ExtensionCase{"x.d/flight", {MessageKind::Error, "Missing track log file extension", "Parsing command line"}}));

// Every format of the track file table opens from its golden file.
TEST_F(BatchRunTest, LogFileOpensEveryFormat) {
  struct Case {
    const char* golden;
    size_t count;
    int32_t pressure;
  };
  const Case cases[] = {{"flight.plt", 3, 0}, {"flight.dat", 3, 0}, {"flight.tnc", 5, 0}, {"flight.mps", 3, 0},
                        {"flight.log", 3, 0}, {"flight.csv", 3, 1}, {"flight.gpx", 3, 0}, {"flight.igc", 3, 1}};
  for (const Case& c : cases) {
    ui.statusLines.clear(), ui.productLines.clear(), ui.boxes.clear();
    log = TrackLog{};
    job.jobKind = JobKind::LogFile;
    job.fileName = dir.File(c.golden);
    ASSERT_FALSE(WriteFileAtomically(job.fileName, testing::GoldenFile(std::string("track_files/") + c.golden)));
    EXPECT_EQ(Run().RunCommandLineJob(), 0) << c.golden;
    EXPECT_EQ(log.points.size(), c.count) << c.golden;
    EXPECT_EQ(log.hasPressureAltitude, c.pressure) << c.golden;
    EXPECT_EQ(ui.statusLines, std::vector<std::string>{CFormat("%zu positions read (Signature ignored)", c.count)})
        << c.golden;
    EXPECT_TRUE(ui.boxes.empty()) << c.golden;
    EXPECT_EQ(run->ExitCode(), 0) << c.golden;
  }
}

TEST_F(BatchRunTest, LogFileTopNavTimesAreTakenBackToUtc) {
  settings.utcOffsetForTN = 7200;
  job.jobKind = JobKind::LogFile;
  job.fileName = dir.File("flight.tnc");
  ASSERT_FALSE(WriteFileAtomically(job.fileName, testing::GoldenFile("track_files/flight.tnc")));
  EXPECT_EQ(Run().RunCommandLineJob(), 0);
  ASSERT_FALSE(log.points.empty());
  EXPECT_EQ(log.points[0].time, TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 8, 0, 0, 0}));
}

// ---- DAT2KML ------------------------------------------------------------------

// An old FlightLog file of `count` points a second apart, 5 m east of each
// other in zone 32T, without the optional validation word.
std::string DatFile(uint32_t count) {
  std::vector<uint32_t> words = {0, 0x01000000, count, 0x80002054};
  for (uint32_t i = 0; i < count; ++i) words.insert(words.end(), {710071200 + i, 500000 + 5 * i, 5206000, 15000});
  uint32_t sum = 0;
  for (const uint32_t word : words) sum += word;
  words.push_back(0 - sum);
  std::string bytes;
  for (const uint32_t word : words) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(word >> shift);
  }
  return bytes;
}

TEST_F(BatchRunTest, DatFileBecomesAKmlTripBesideIt) {
  job.jobKind = JobKind::Dat2Kml;
  job.fileName = dir.File("flight");
  ASSERT_FALSE(WriteFileAtomically(job.fileName + ".dat", DatFile(120)));
  ASSERT_EQ(ConvertCommandLineToKml(job, ui, settings), 0) << (ui.boxes.empty() ? "" : ui.boxes[0].text);
  const TrackFileRead read = FindTrackFileFormat("kml-track")->read(FileText(job.fileName + ".kml"), {});
  ASSERT_TRUE(read.Ok()) << read.error.text;
  EXPECT_EQ(read.records.Count(), 120);
  EXPECT_EQ(read.records.hasPressureAltitude, 0);
  // A second run does not replace it without OVERWRITE.
  EXPECT_EQ(ConvertCommandLineToKml(job, ui, settings), -1);
  EXPECT_EQ(ui.boxes.back().text, "File already exists");
  job.overwrite = 1;
  EXPECT_EQ(ConvertCommandLineToKml(job, ui, settings), 0);
}

TEST_F(BatchRunTest, DatFileFaultsAreShown) {
  job.jobKind = JobKind::Dat2Kml;
  job.fileName = dir.File("absent");
  EXPECT_EQ(ConvertCommandLineToKml(job, ui, settings), -1);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].caption, "Error opening file");
  job.fileName = dir.File("bad");
  ASSERT_FALSE(WriteFileAtomically(job.fileName + ".dat", std::string(20, '\0')));
  EXPECT_EQ(ConvertCommandLineToKml(job, ui, settings), -1);
  EXPECT_EQ(ui.boxes.back(), (RecordedBox{MessageKind::Error, "Zero track positions", "Decoding track log file"}));
  job.fileName = std::string(253, 'x');
  EXPECT_EQ(ConvertCommandLineToKml(job, ui, settings), -1);
  EXPECT_EQ(ui.boxes.back(), (RecordedBox{MessageKind::Error, "File name too long", "Reading .dat log file"}));
}

// ---- OZI_LOG, MPS_LOG ---------------------------------------------------------

TEST_F(BatchRunTest, DownloadedLogIsWrittenInTheJobsFormat) {
  struct Case {
    JobKind kind;
    const char* name;
    const char* format;
  };
  for (const Case& c : {Case{JobKind::OziLog, "flight-$date.plt", "ozi-track"},
                        Case{JobKind::MpsLog, "flight-$date.mps", "mapsource"}}) {
    ui.statusLines.clear(), ui.productLines.clear(), ui.boxes.clear();
    job.jobKind = c.kind;
    job.fileName = dir.File(c.name);
    job.exitAfter = 1;
    ASSERT_EQ(Run().RunCommandLineJob(), 0) << c.format;
    ASSERT_EQ(transfers.requests.back().kind, BatchTransferKind::TrackDownload);
    log = testing::DownloadedLog();
    EXPECT_TRUE(run->ContinueCommandLineJob(true));
    const std::string written = dir.File(std::string(c.name).replace(7, 5, "20240517"));
    const TrackFileRead read = FindTrackFileFormat(c.format)->read(FileText(written), FileReadContext{});
    ASSERT_TRUE(read.Ok()) << c.format << ": " << read.error.text;
    EXPECT_EQ(read.records.Count(), 60) << c.format;
    EXPECT_EQ(ui.statusLines, std::vector<std::string>{"60 positions written"}) << c.format;
    EXPECT_EQ(ui.productLines, std::vector<std::string>{written}) << c.format;
    EXPECT_EQ(run->ExitCode(), 0) << c.format;
  }
}

TEST_F(BatchRunTest, HiddenRunLeavesAnExistingOziFileAndSucceeds) {
  job.jobKind = JobKind::OziLog;
  job.fileName = dir.File("flight.plt");
  job.exitAfter = 1;
  hidden = true;
  ASSERT_FALSE(WriteFileAtomically(job.fileName, "old"));
  ASSERT_EQ(Run().RunCommandLineJob(), 0);
  log = testing::DownloadedLog();
  EXPECT_TRUE(run->ContinueCommandLineJob(true));
  EXPECT_EQ(FileText(job.fileName), "old");
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(run->ExitCode(), 0);
}

TEST_F(BatchRunTest, LogFileIgcIsOpened) {
  const std::vector<TrackPoint> points = testing::TestFlight();
  IgcEncoderInput input;
  input.points = points;
  input.serial = "000";
  job.jobKind = JobKind::LogFile;
  job.fileName = dir.File("flight.igc");
  ASSERT_FALSE(WriteFileAtomically(job.fileName, EncodeIgc(input).text));
  job.exitAfter = 1;
  EXPECT_EQ(Run().RunCommandLineJob(), -1);
  EXPECT_EQ(log.points.size(), 60u);
  EXPECT_EQ(log.hasPressureAltitude, 1);
  EXPECT_EQ(log.signable, 0);
  EXPECT_FALSE(log.rawIgc.empty());  // the file stays at hand for "Save IGC log from GPS"
  EXPECT_EQ(ui.statusLines, std::vector<std::string>{"60 positions read (Signature ignored)"});
  EXPECT_EQ(ui.productLines, std::vector<std::string>{job.fileName});
  EXPECT_EQ(run->ExitCode(), 0);
}

TEST_F(BatchRunTest, LogFileGpxIsOpened) {
  job.jobKind = JobKind::LogFile;
  job.fileName = dir.File("flight.gpx");
  ASSERT_FALSE(
      WriteFileAtomically(job.fileName,
                          "<?xml version=\"1.0\"?>\n<gpx><trk><trkseg>\n"
                          "<trkpt lat=\"46.1\" lon=\"8.1\"><ele>1500</ele><time>2024-05-17T10:00:00Z</time></trkpt>\n"
                          "<trkpt lat=\"46.2\" lon=\"8.2\"><ele>1510</ele><time>2024-05-17T10:00:02Z</time></trkpt>\n"
                          "</trkseg></trk></gpx>\n"));
  EXPECT_EQ(Run().RunCommandLineJob(), 0);
  EXPECT_EQ(log.points.size(), 2u);
  EXPECT_EQ(ui.statusLines, std::vector<std::string>{"2 positions read (Signature ignored)"});
}

TEST_F(BatchRunTest, LogFileWithoutPositions) {
  job.jobKind = JobKind::LogFile;
  job.fileName = dir.File("flight.gpx");
  ASSERT_FALSE(WriteFileAtomically(job.fileName, "<?xml version=\"1.0\"?>\n<gpx></gpx>\n"));
  EXPECT_EQ(Run().RunCommandLineJob(), 0);
  EXPECT_EQ(ui.statusLines.back(), "No positions found");
  EXPECT_EQ(run->ExitCode(), 1);
}

TEST_F(BatchRunTest, LogFileMissing) {
  job.jobKind = JobKind::LogFile;
  job.fileName = dir.File("absent.igc");
  EXPECT_EQ(Run().RunCommandLineJob(), 0);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Error opening file", "Reading track log file"}}));
  EXPECT_EQ(run->ExitCode(), 1);
}

// ---- CHKKML -------------------------------------------------------------------

class CheckKml : public BatchRunTest {
 protected:
  // A trip file as a download writes it: signed when the log was signable.
  void WriteTrip(int32_t isSigned) {
    const std::vector<TrackPoint> points = testing::TestFlight();
    ScriptedUserInterface writer;
    ASSERT_EQ(WriteKmlTrackFile(writer, {job.fileName, true, true}, points, isSigned, 1, 1, "6030 12345 3.36", {}), 0);
  }
};

TEST_F(CheckKml, ValidSignatureGivesExitCodeOne) {
  job.jobKind = JobKind::CheckKml;
  job.fileName = dir.File("trip.kml");
  WriteTrip(1);
  EXPECT_EQ(Run().RunCommandLineJob(), -1);
  EXPECT_EQ(run->ExitCode(), 1);
}

TEST_F(CheckKml, UnsignedFileGivesExitCodeZero) {
  job.jobKind = JobKind::CheckKml;
  job.fileName = dir.File("trip.kml");
  WriteTrip(0);
  EXPECT_EQ(Run().RunCommandLineJob(), -1);
  EXPECT_EQ(run->ExitCode(), 0);
}

TEST_F(CheckKml, TamperedFileGivesExitCodeZero) {
  job.jobKind = JobKind::CheckKml;
  job.fileName = dir.File("trip.kml");
  WriteTrip(1);
  std::string text = FileText(job.fileName);
  const size_t at = text.find("hash=\"");
  ASSERT_NE(at, std::string::npos);
  char& digit = text[at + 6];
  digit = digit == 'a' ? 'b' : 'a';
  ASSERT_FALSE(WriteFileAtomically(job.fileName, text));
  EXPECT_EQ(Run().RunCommandLineJob(), -1);
  EXPECT_EQ(run->ExitCode(), 0);
}

TEST_F(CheckKml, MissingFileGivesExitCodeZero) {
  job.jobKind = JobKind::CheckKml;
  job.fileName = dir.File("absent.kml");
  EXPECT_EQ(Run().RunCommandLineJob(), -1);
  EXPECT_EQ(run->ExitCode(), 0);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Error opening file", "Reading track log file"}}));
}

}  // namespace
}  // namespace trelvik
