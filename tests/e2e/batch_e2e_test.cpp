// The unattended run end to end: the real program, headless, against the
// simulated Flytec instrument on a pseudo-terminal; files, standard error,
// notifications and exit codes as a calling program sees them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "access/sim_process.hpp"
#include "base/atomic_file.hpp"
#include "e2e/batch_e2e_process.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_encoder.hpp"

namespace trelvik::testing {
namespace {

constexpr int kRunLimitMs = 60000;
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  if (!std::filesystem::is_directory(folder)) return names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

std::string Text(const std::string& path) {
  std::string bytes;
  return ReadWholeFile(path, bytes) ? bytes : "<missing>";
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class BatchEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    program_ = ProgramUnderTest(why);
    if (program_.empty()) GTEST_SKIP() << why;
    if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim is not built";
    std::filesystem::create_directory(dir.File("out"));
    ASSERT_TRUE(notify.Bound());
  }

  // The simulated instrument with two generated flights: 2024-07-15 (entry
  // 0) and 2024-07-14, 600 fixes each.
  void StartSim(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"flytec", "--flights=2"};
    args.insert(args.end(), extra.begin(), extra.end());
    ASSERT_TRUE(sim.Start(args));
  }

  // The program with the instrument's port; settings come from an empty folder.
  ProgramRun Run(std::vector<std::string> args) {
    std::vector<std::string> full;
    if (!sim.PtyPath().empty()) full.push_back("/COM=" + sim.PtyPath());
    full.insert(full.end(), args.begin(), args.end());
    return RunProgram(program_, full, {{"XDG_CONFIG_HOME", dir.File("config")}}, kRunLimitMs);
  }

  const std::string& ProgramPath() const { return program_; }
  std::string Out(const std::string& name) const { return dir.File("out/" + name); }
  std::string NotifyOption() const { return "/NOTIFY=" + notify.Path(); }

  TempDir dir;
  SimProcess sim;
  NotifyReceiver notify{dir.File("notify.sock")};

 private:
  std::string program_;
};

// The notifications around a transfer: started first, the given end last.
void ExpectTransferNotes(const std::vector<std::string>& texts, const std::string& end) {
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts.front(), "Transfer started");
  EXPECT_EQ(texts.back(), end);
}

// ---- IGC_LOG ------------------------------------------------------------------

TEST_F(BatchEndToEnd, IgcLogSavesTheInstrumentFileAndNotifies) {
  StartSim();
  const ProgramRun run =
      Run({"/GPS=IQCOMPEO", "/IGC_LOG=" + dir.File("out") + "/", "/TRACK=0", NotifyOption(), "/SESSION=7", "/EXIT"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> files = FilesIn(dir.File("out"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(files[0].starts_with("2024-07-15-xxx-")) << files[0];
  EXPECT_TRUE(files[0].ends_with("-01.igc")) << files[0];
  const std::string igc = Text(Out(files[0]));
  EXPECT_TRUE(igc.starts_with("AFLY01234\r\nHFDTE150724\r\n"));
  EXPECT_EQ(std::count(igc.begin(), igc.end(), '\n'), 605);  // the file exactly as the instrument sent it
  EXPECT_NE(run.out.find("Product: " + Out(files[0]) + "\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.err, "");
  const std::vector<NotifyReceiver::Note> notes = notify.Notes();
  ASSERT_FALSE(notes.empty());
  for (const NotifyReceiver::Note& note : notes) EXPECT_EQ(note.dataWord, 7u) << note.text;
  ExpectTransferNotes(notify.Texts(), "Transfer completed");
}

TEST_F(BatchEndToEnd, IgcLogTakesTheNextFreeFlightNumber) {
  StartSim();
  ASSERT_EQ(Run({"/GPS=IQCOMPEO", "/IGC_LOG=" + dir.File("out") + "/", "/TRACK=0"}).exitCode, 0);
  const ProgramRun second = Run({"/GPS=IQCOMPEO", "/IGC_LOG=" + dir.File("out") + "/", "/TRACK=0"});
  EXPECT_EQ(second.exitCode, 0) << second.err;
  const std::vector<std::string> files = FilesIn(dir.File("out"));
  ASSERT_EQ(files.size(), 2u);
  EXPECT_TRUE(files[1].ends_with("-02.igc")) << files[1];
}

TEST_F(BatchEndToEnd, IgcLogWithOverwriteReplacesFlightNumberOne) {
  StartSim();
  ASSERT_EQ(Run({"/GPS=IQCOMPEO", "/IGC_LOG=" + dir.File("out") + "/", "/TRACK=0"}).exitCode, 0);
  const std::string first = FilesIn(dir.File("out")).at(0);
  ASSERT_FALSE(WriteFileAtomically(Out(first), "stale"));
  const ProgramRun run = Run({"/GPS=IQCOMPEO", "/IGC_LOG=" + dir.File("out") + "/", "/TRACK=0", "/OVERWRITE"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(FilesIn(dir.File("out")), std::vector<std::string>{first});
  EXPECT_TRUE(Text(Out(first)).starts_with("AFLY01234"));
}

TEST_F(BatchEndToEnd, IgcLogWithoutFreeFlightNumberFails) {
  StartSim();
  ASSERT_FALSE(WriteFileAtomically(Out("given.igc"), "old"));
  const ProgramRun run = Run({"/GPS=IQCOMPEO", "/IGC_LOG=" + Out("given.igc"), "/TRACK=0", NotifyOption(), "/EXIT"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.ErrLines(), std::vector<std::string>{"Save IGC log: No free flight number available"});
  EXPECT_EQ(Text(Out("given.igc")), "old");
  // The transfer itself went well; the exit code tells that the file did not.
  ExpectTransferNotes(notify.Texts(), "Transfer completed");
}

// ---- OZI_LOG, RD_LOG, MPS_LOG, LOGFILE ----------------------------------------

TEST_F(BatchEndToEnd, TrackFormatsAreWrittenAndReadBack) {
  StartSim();
  for (const char* option : {"/OZI_LOG=", "/RD_LOG=", "/MPS_LOG="}) {
    const std::string name = Out(std::string(option + 1, 3) + "-$date" + (option[1] == 'M' ? ".mps" : ".plt"));
    const ProgramRun run = Run({"/GPS=IQCOMPEO", option + name, "/TRACK=0", NotifyOption(), "/EXIT"});
    EXPECT_EQ(run.exitCode, 0) << option << run.err;
    const std::string written = std::string(name).replace(name.find("$date"), 5, "20240715");
    EXPECT_NE(run.out.find("Status: 600 positions written\n"), std::string::npos) << option << run.out;
    // The program reads its own file back.
    const ProgramRun back = RunProgram(ProgramPath(), {"/WIN=0", "/LOGFILE=" + written},
                                       {{"XDG_CONFIG_HOME", dir.File("config")}}, kRunLimitMs);
    EXPECT_EQ(back.exitCode, 0) << option << back.err;
    EXPECT_NE(back.out.find("Status: 600 positions read (Signature ignored)\n"), std::string::npos)
        << option << back.out;
  }
  // Without OVERWRITE an existing file stays, and the run still succeeds.
  ASSERT_FALSE(WriteFileAtomically(Out("kept.plt"), "old"));
  const ProgramRun kept = Run({"/GPS=IQCOMPEO", "/OZI_LOG=" + Out("kept.plt"), "/TRACK=0", "/EXIT"});
  EXPECT_EQ(kept.exitCode, 0) << kept.err;
  EXPECT_EQ(Text(Out("kept.plt")), "old");
}

// ---- errors of the transfer ---------------------------------------------------

TEST_F(BatchEndToEnd, NoAnswerWithinTimeout) {
  StartSim({"--silence-after=0"});
  const auto start = std::chrono::steady_clock::now();
  const ProgramRun run = Run({"/GPS=IQCOMPEO", "/KML_LOG=" + Out("flight.kml"), "/TIMEOUT=2", NotifyOption(), "/EXIT"});
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.ErrLines(), std::vector<std::string>{"Get GPS product data: No valid response from GPS"});
  EXPECT_LT(seconds.count(), 15);  // one attempt of about two seconds, not thirty
  EXPECT_TRUE(FilesIn(dir.File("out")).empty());
  ExpectTransferNotes(notify.Texts(), "Transfer completed (error)");
}

TEST_F(BatchEndToEnd, BadTrackListSelection) {
  StartSim();
  const ProgramRun run = Run({"/GPS=IQCOMPEO", "/KML_LOG=" + Out("flight.kml"), "/TRACK=5", NotifyOption()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.ErrLines(), std::vector<std::string>{"Read GPS track log: No points detected"});
  EXPECT_TRUE(FilesIn(dir.File("out")).empty());
  ExpectTransferNotes(notify.Texts(), "Transfer completed (error)");
}

TEST_F(BatchEndToEnd, MissingPort) {
  const ProgramRun run = Run(
      {"/COM=" + dir.File("no-such-port"), "/GPS=IQCOMPEO", "/KML_LOG=" + Out("f.kml"), "/TIMEOUT=1", NotifyOption()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(run.err.empty());
  ExpectTransferNotes(notify.Texts(), "Transfer completed (error)");
}

// ---- KML_LOG and CHKKML ------------------------------------------------------

TEST_F(BatchEndToEnd, KmlLogNamesTheFileByDateAndSignsIt) {
  StartSim();
  const ProgramRun run = Run({"/GPS=IQCOMPEO", "/KML_LOG=" + Out("$date.kml"), "/TRACK=1", NotifyOption(), "/EXIT"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(FilesIn(dir.File("out")), std::vector<std::string>{"20240714.kml"});
  EXPECT_NE(run.out.find("Status: 600 positions written\n"), std::string::npos) << run.out;
  ExpectTransferNotes(notify.Texts(), "Transfer completed");

  // The program's own check finds the signature valid: exit code 1.
  const ProgramRun check = Run({"/CHKKML=" + Out("20240714.kml")});
  EXPECT_EQ(check.exitCode, 1) << check.err;
  std::string text = Text(Out("20240714.kml"));
  const size_t hash = text.find("hash=\"");
  ASSERT_NE(hash, std::string::npos);
  text[hash + 6] = text[hash + 6] == 'a' ? 'b' : 'a';
  ASSERT_FALSE(WriteFileAtomically(Out("20240714.kml"), text));
  EXPECT_EQ(Run({"/CHKKML=" + Out("20240714.kml")}).exitCode, 0);
}

TEST_F(BatchEndToEnd, KmlLogLeavesAnExistingFileAloneWithoutOverwrite) {
  StartSim();
  ASSERT_FALSE(WriteFileAtomically(Out("flight.kml"), "old"));
  const ProgramRun run =
      Run({"/GPS=IQCOMPEO", "/KML_LOG=" + Out("flight.kml"), "/TRACK=0", NotifyOption(), "/WIN=0", "/EXIT"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Text(Out("flight.kml")), "old");
  ExpectTransferNotes(notify.Texts(), "Transfer completed");
}

TEST_F(BatchEndToEnd, KmlLogWithOverwriteReplacesTheFile) {
  StartSim();
  ASSERT_FALSE(WriteFileAtomically(Out("flight.kml"), "old"));
  const ProgramRun run = Run({"/GPS=IQCOMPEO", "/KML_LOG=" + Out("flight.kml"), "/TRACK=0", "/OVERWRITE"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Text(Out("flight.kml")).starts_with("<?xml"));
}

TEST_F(BatchEndToEnd, WithoutTrackListTheFirstFlightIsTaken) {
  StartSim();
  const ProgramRun run = Run({"/GPS=IQCOMPEO", "/KML_LOG=" + Out("$date.kml")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.ErrLines(), std::vector<std::string>{"Track List: 1 taken"});
  EXPECT_EQ(FilesIn(dir.File("out")), std::vector<std::string>{"20240715.kml"});
}

// ---- FLIGHTLIST and WR_CTR ----------------------------------------------------

TEST_F(BatchEndToEnd, FlightListGoesToTheNotifyTarget) {
  StartSim();
  const ProgramRun run = Run({"/GPS=IQCOMPEO", "/FLIGHTLIST", NotifyOption(), "/EXIT"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> texts = notify.Texts();
  EXPECT_TRUE(Contains(texts, "Flightlist:\n2024.07.15,10:00:00,0:19:58\n2024.07.14,10:00:00,0:19:58\n"))
      << ::testing::PrintToString(texts);
  ExpectTransferNotes(texts, "Transfer completed");
}

TEST_F(BatchEndToEnd, FlightListNeedsANotifyTarget) {
  StartSim();
  const ProgramRun run = Run({"/GPS=IQCOMPEO", "/FLIGHTLIST", "/NOTIFY=" + dir.File("nobody.sock")});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.ErrLines(),
            std::vector<std::string>{"Parsing command line: Missing notify window for flightlist download"});
}

TEST_F(BatchEndToEnd, AirspaceUploadSendsTheFile) {
  StartSim({"--record=" + dir.File("received.txt")});
  ASSERT_FALSE(WriteFileAtomically(dir.File("air.txt"),
                                   "AC CTR\r\nAN Sion\r\nAL GND\r\nAH 2000m\r\nDP 46:14:00 N 007:20:00 E\r\n"
                                   "DP 46:16:30 N 007:21:00 E\r\nDP 46:15:15 N 007:24:45 E\r\n"));
  const ProgramRun run = Run({"/GPS=IQCOMPEO", "/WR_CTR=" + dir.File("air.txt"), NotifyOption(), "/EXIT"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(Text(dir.File("received.txt")).find("$PBRCTRW"), std::string::npos);
  ExpectTransferNotes(notify.Texts(), "Transfer completed");
}

TEST_F(BatchEndToEnd, AirspaceUploadWithABadFileStartsNothing) {
  StartSim();
  ASSERT_FALSE(WriteFileAtomically(dir.File("air.txt"), "AC CTR\r\nAN Broken\r\nDP nonsense\r\n"));
  const ProgramRun run = Run({"/GPS=IQCOMPEO", "/WR_CTR=" + dir.File("air.txt"), NotifyOption(), "/EXIT"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.ErrLines().size(), 1u) << run.err;
  EXPECT_TRUE(notify.Texts().empty());
}

// ---- files: IGC2KML and LOGFILE ----------------------------------------------

class BatchFiles : public BatchEndToEnd {
 protected:
  void SetUp() override {
    BatchEndToEnd::SetUp();
    if (IsSkipped()) return;
    std::vector<TrackPoint> points;
    for (int i = 0; i < 100; ++i) {
      points.push_back({i == 0 ? kNewSegment : 0, TrackTimeFromDate({2024, 7, 0, 15, 10, 0, 0, 0}) + 2u * i,
                        551000000 + 40000 * i, 97000000 + 30000 * i, 15000 + 20 * i, 1490 + 2 * i, 0.0f});
    }
    IgcEncoderInput input;
    input.points = points;
    input.serial = "000";
    ASSERT_FALSE(WriteFileAtomically(Out("flight.igc"), EncodeIgc(input).text));
  }
};

TEST_F(BatchFiles, IgcToKml) {
  const ProgramRun run = Run({"/IGC2KML=" + Out("flight")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Text(Out("flight.kml")).starts_with("<?xml"));
  // A second conversion does not replace the file without OVERWRITE.
  const ProgramRun again = Run({"/IGC2KML=" + Out("flight")});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_EQ(again.ErrLines(), std::vector<std::string>{"Write GoogleEarth file: File already exists"});
}

TEST_F(BatchFiles, LogFileReadsTheIgcFile) {
  const ProgramRun run = Run({"/LOGFILE=" + Out("flight.igc")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Status: 100 positions read (Signature ignored)\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Product: " + Out("flight.igc") + "\n"), std::string::npos) << run.out;
}

TEST_F(BatchFiles, LogFileAsTheOnlyArgument) {
  const ProgramRun run = Run({Out("flight.igc")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Status: 100 positions read (Signature ignored)\n"), std::string::npos) << run.out;
}

// The exact contest score of a real flight, beside the conversion and the
// reading; the figures are those the public igc-xc-score solver gives.
TEST_F(BatchFiles, ScoreByContestRules) {
  if (FlightCorpusDir().empty()) GTEST_SKIP() << "flight corpus not present";
  ASSERT_FALSE(WriteFileAtomically(Out("real.igc"), Text(FlightCorpusDir() + "/pg-flytec5020-2007-3s.igc")));
  const ProgramRun converted = Run({"/IGC2KML=" + Out("real"), "/SCORE=XCONTEST"});
  EXPECT_EQ(converted.exitCode, 0) << converted.err;
  EXPECT_NE(converted.out.find("Status: XContest: Closed free triangle 157.55 km, 218.86 points\n"), std::string::npos)
      << converted.out;
  EXPECT_TRUE(std::filesystem::exists(Out("real.kml")));
  const ProgramRun read = Run({"/WIN=0", "/LOGFILE=" + Out("real.igc"), "/SCORE=ffvl"});
  EXPECT_EQ(read.exitCode, 0) << read.err;
  EXPECT_NE(read.out.find("Status: FFVL: Flat triangle 157.55 km, 189.06 points\n"), std::string::npos) << read.out;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Out("")), std::filesystem::directory_iterator()), 3)
      << "only the flights and the conversion's KML";
}

TEST_F(BatchFiles, LogFileWithAnUnsupportedExtension) {
  ASSERT_FALSE(WriteFileAtomically(Out("flight.IGC"), Text(Out("flight.igc"))));
  const ProgramRun run = Run({"/LOGFILE=" + Out("flight.IGC")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.ErrLines(), std::vector<std::string>{"Parsing command line: Unsupported track log file extension"});
}

// ---- the other instruments that keep IGC files -----------------------------------

TEST_F(BatchEndToEnd, IqBasicIgcLogSavesTheInstrumentFile) {
  ASSERT_TRUE(sim.Start({"iqbasic", "--flights=2"}));
  const ProgramRun run = Run({"/GPS=IQBASIC", "/IGC_LOG=" + dir.File("out") + "/", "/TRACK=1", "/EXIT"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> files = FilesIn(dir.File("out"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(files[0].starts_with("2024-07-14-xxx-012-01")) << files[0];
  const std::string igc = Text(Out(files[0]));
  EXPECT_TRUE(igc.starts_with("AFLY01234\r\nHFDTE140724\r\n"));
  EXPECT_EQ(std::count(igc.begin(), igc.end(), '\n'), 605);
  EXPECT_NE(run.out.find("Product: IQ-BASIC, SW 1.2.34, S/N 1137\n"), std::string::npos) << run.out;
}

TEST_F(BatchEndToEnd, DsxWithoutTrackListTakesTheLatestFlightHeadless) {
  ASSERT_TRUE(sim.Start({"dsx", "--flights=2"}));
  const ProgramRun run = Run({"/GPS=DSX", "/IGC_LOG=" + dir.File("out") + "/", "/WIN=0"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.ErrLines(), std::vector<std::string>{"Track List: 1 taken"});
  const std::vector<std::string> files = FilesIn(dir.File("out"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(files[0].starts_with("2024-07-14-")) << files[0];
  const std::string igc = Text(Out(files[0]));
  EXPECT_TRUE(igc.starts_with("AFLY01234\r\nHFDTE140724\r\n"));
  EXPECT_TRUE(igc.ends_with("ZZZZ\r\n"));  // the recorder's file as it came, end mark included
}

}  // namespace
}  // namespace trelvik::testing
