// The command-line competition download end to end: the real program,
// headless, downloads the simulated Flytec instrument into a competition
// folder, with and without a pilot list.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "access/sim_process.hpp"
#include "base/atomic_file.hpp"
#include "e2e/batch_e2e_process.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_reader.hpp"

namespace trelvik::testing {
namespace {

constexpr int kRunLimitMs = 60000;
const std::string kFsList = std::filesystem::absolute("tests/data/pilot_lists/competition.fsdb");

class CompetitionEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    program_ = ProgramUnderTest(why);
    if (program_.empty()) GTEST_SKIP() << why;
    if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim is not built";
    std::filesystem::create_directory(Folder());
  }

  // The instrument with two generated flights; flight 0 is 2024-07-15 from
  // 10:00:00, 600 fixes two seconds apart.
  void StartSim(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"flytec", "--flights=2"};
    args.insert(args.end(), extra.begin(), extra.end());
    ASSERT_TRUE(sim.Start(args));
  }

  ProgramRun Run(std::vector<std::string> args, bool withPort = true) {
    std::vector<std::string> full;
    if (withPort) full.push_back("/COM=" + sim.PtyPath());
    full.insert(full.end(), {"/GPS=IQCOMPEO", "/TRACK=0", "/COMP_DIR=" + Folder()});
    full.insert(full.end(), args.begin(), args.end());
    return RunProgram(program_, full, {{"XDG_CONFIG_HOME", dir.File("config")}}, kRunLimitMs);
  }

  std::string Folder() const { return dir.File("comp"); }
  const std::string& ProgramPath() const { return program_; }

  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Folder())) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string Text(const std::string& name) const {
    std::string bytes;
    return ReadWholeFile(Folder() + "/" + name, bytes) ? bytes : "<missing>";
  }

  ProgramRun CheckKml(const std::string& name) {
    return RunProgram(program_, {"/CHKKML=" + Folder() + "/" + name}, {{"XDG_CONFIG_HOME", dir.File("config")}},
                      kRunLimitMs);
  }

  TempDir dir;
  SimProcess sim;

 private:
  std::string program_;
};

TEST_F(CompetitionEndToEnd, CommandLinePilotNamesTheKmlFile) {
  StartSim();
  const ProgramRun run = Run({"/COMP_LOG=KML", "/PILOT=Anna Berger", "/COMPID=12", "/CIVLID=4567", "/EXIT"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Files(), std::vector<std::string>{"Anna Berger.20240715-100000.4567.12.kml"}) << run.out;
  const std::string kml = Text(Files().at(0));
  EXPECT_NE(kml.find("Tracklog from Trelvik competition mode"), std::string::npos);
  EXPECT_NE(kml.find("civl_pilot_id=\"4567\" comp_pilot_id=\"12\""), std::string::npos);
  EXPECT_NE(run.out.find("Status: \"" + Folder() + "/Anna Berger.20240715-100000.4567.12.kml\" written\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(CheckKml(Files().at(0)).exitCode, 1) << "the keyed hash is valid";
}

TEST_F(CompetitionEndToEnd, IgcOutputReadsBackWithPilotAndId) {
  StartSim();
  const ProgramRun run = Run({"/COMP_LOG=IGC", "/PILOT=Anna", "/COMPID=12"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> files = Files();
  ASSERT_EQ(files,
            (std::vector<std::string>{"Anna.20240715-100000.[CIVLID].12.igc", "Anna.20240715-100000.[CIVLID].12.kml"}));
  const std::string igc = Text(files[0]);
  EXPECT_NE(igc.find("HOPLTPILOT: Anna\r\n"), std::string::npos);
  EXPECT_NE(igc.find("HOCIDCOMPETITIONID: 12\r\n"), std::string::npos);
  const TrackFileRead read = ReadIgcTrackFile(igc);
  ASSERT_TRUE(read.Ok()) << read.error.text;
  EXPECT_GT(read.records.Count(), 500);
  EXPECT_NE(run.out.find("Status: File saved, signature OK\n"), std::string::npos) << run.out;
}

TEST_F(CompetitionEndToEnd, TimeWindowKeepsOnlyItsFixes) {
  StartSim();
  const ProgramRun run =
      Run({"/COMP_LOG=IGC", "/PILOT=Anna", "/FILTER=20240715100500", "/FILTEREND=20240715101000", "/NOCHECK"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> files = Files();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_TRUE(files[0].starts_with("Anna.20240715-100500.")) << files[0];
  const TrackFileRead read = ReadIgcTrackFile(Text(files[0]));
  ASSERT_TRUE(read.Ok());
  EXPECT_EQ(read.records.Count(), 151);  // 10:05:00 to 10:10:00 inclusive, every two seconds
}

TEST_F(CompetitionEndToEnd, TimeWindowOutsideTheFlightWritesNothing) {
  StartSim();
  const ProgramRun run = Run({"/COMP_LOG=KML", "/PILOT=Anna", "/FILTER=20240716100000"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Save log for competition: No positions found"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Some removed due to time filtering\n"), std::string::npos) << run.err;
  EXPECT_TRUE(Files().empty());
}

TEST_F(CompetitionEndToEnd, SecondRunFindsTheFilesAlreadyProcessed) {
  StartSim();
  ASSERT_EQ(Run({"/COMP_LOG=IGC", "/PILOT=Anna", "/CIVLID=7"}).exitCode, 0);
  const std::vector<std::string> first = Files();
  ASSERT_EQ(first.size(), 2u);
  const std::string kml = Text(first[1]);
  const ProgramRun second = Run({"/COMP_LOG=IGC", "/PILOT=Anna", "/CIVLID=7"});
  EXPECT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(Files(), first);
  EXPECT_EQ(Text(first[1]), kml);
  EXPECT_NE(second.out.find(".igc\" already processed\n"), std::string::npos) << second.out;
  EXPECT_NE(second.out.find(".kml\" already processed\n"), std::string::npos) << second.out;
}

TEST_F(CompetitionEndToEnd, ListEntryNamedByTheInstrumentsIdWaypoints) {
  StartSim({"--compid=56", "--civlid=4567"});
  // The instrument's CIVL ID wins over its COMP ID and over the command line.
  const ProgramRun run = Run({"/COMP_FS=" + kFsList, "/COMP_LOG=KML", "/CIVLID=8910", "/PILOT=Nobody"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Files(), std::vector<std::string>{"Anna Berger.20240715-100000.4567.12.kml"}) << run.out;
  EXPECT_NE(run.out.find("Status: COMP ID = 56, CIVL ID = 4567\n"), std::string::npos) << run.out;
}

TEST_F(CompetitionEndToEnd, IdsUploadedToTheInstrumentAreFoundAgain) {
  StartSim();
  const std::string waypoints = dir.File("task.cup");
  ASSERT_FALSE(WriteFileAtomically(waypoints,
                                   "name,code,country,lat,lon,elev,style\r\n"
                                   "Fiesch,FIESCH,CH,4625.460N,00808.100E,2240.0m,2\r\n"));
  const ProgramRun upload =
      RunProgram(ProgramPath(), {"/COM=" + sim.PtyPath(), "/GPS=IQCOMPEO", "/WR_WPT=" + waypoints, "/COMPID=34"},
                 {{"XDG_CONFIG_HOME", dir.File("config")}}, kRunLimitMs);
  ASSERT_EQ(upload.exitCode, 0) << upload.err;
  const ProgramRun run = Run({"/COMP_FS=" + kFsList, "/COMP_LOG=KML"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Files(), std::vector<std::string>{"Bruno & Co.20240715-100000.[CIVLID].34.kml"}) << run.out;
}

TEST_F(CompetitionEndToEnd, ListEntryNamedByTheCommandLineWhenTheInstrumentHasNoIds) {
  StartSim();
  const ProgramRun run = Run({"/COMP_FS=" + kFsList, "/COMP_LOG=KML", "/CIVLID=8910"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Files(), std::vector<std::string>{"Carla Dias.20240715-100000.8910.56.kml"});
}

TEST_F(CompetitionEndToEnd, NoListEntryFailsAndWritesNothing) {
  StartSim({"--civlid=999"});
  const ProgramRun run = Run({"/COMP_FS=" + kFsList, "/COMP_LOG=KML", "/COMPID=77"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Save log for competition: No pilot in the list has CIVL ID 999, COMP ID 77\n"),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(Files().empty());
}

TEST_F(CompetitionEndToEnd, IdsOutsideWhatAWaypointCanHoldAreRefused) {
  for (const std::string& option : {std::string("/COMPID=18000000"), std::string("/COMPID=-1")}) {
    const ProgramRun run = Run({"/COMP_LOG=KML", option}, false);
    EXPECT_EQ(run.exitCode, 2) << option;
    EXPECT_NE(run.err.find("Parsing command line: Bad COMPID value"), std::string::npos) << run.err;
  }
  const ProgramRun civl = Run({"/COMP_LOG=KML", "/CIVLID=123456789"}, false);
  EXPECT_EQ(civl.exitCode, 2);
  EXPECT_NE(civl.err.find("Parsing command line: Bad CIVLID value"), std::string::npos) << civl.err;
  EXPECT_TRUE(Files().empty());
}

}  // namespace
}  // namespace trelvik::testing
