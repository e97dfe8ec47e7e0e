#include "automation/command_line.hpp"

#include <gtest/gtest.h>

#include <functional>

#include "command_line_test_support.hpp"
#include "records/track_time.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::Parse;
using testing::Parsed;
using testing::ParsingError;
using testing::TempDir;

TrackTime Time(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute, uint16_t second) {
  SystemTime date;
  date.year = year, date.month = month, date.day = day, date.hour = hour, date.minute = minute, date.second = second;
  return TrackTimeFromDate(date);
}

struct Accepted {
  std::string line;
  std::function<void(CommandLineJob&)> expect;  // changes from a default job
};

TEST(CommandLine, AcceptedLinesGiveExactlyTheseJobs) {
  const std::string longName(300, 'n');
  const Accepted cases[] = {
      {"\"C:\\My Flights\\day 1.igc\"",
       [](CommandLineJob& j) { j.jobKind = JobKind::LogFile, j.fileName = "C:\\My Flights\\day 1.igc"; }},
      {"flight.igc /EXIT", [](CommandLineJob& j) { j.jobKind = JobKind::LogFile, j.fileName = "flight.igc /EXIT"; }},
      {"\"/EXIT /WIN=0\" ignored after the quote",
       [](CommandLineJob& j) { j.exitAfter = 1, j.windowMode = WindowMode::Hidden; }},
      {longName, [&](CommandLineJob& j) { j.jobKind = JobKind::LogFile, j.fileName = longName.substr(0, 260); }},
      {"/gps=iqcompeo /kml_log=out.kml",
       [](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::KmlLog, j.fileName = "out.kml"; }},
      {"/COM=1", [](CommandLineJob& j) { j.portName = "/dev/ttyS0"; }},
      {"/COM=12", [](CommandLineJob& j) { j.portName = "/dev/ttyS11"; }},
      {"/COM=/dev/ttyUSB0", [](CommandLineJob& j) { j.portName = "/dev/ttyUSB0"; }},
      {"/USB", [](CommandLineJob& j) { j.useUsb = 1; }},
      {"/KML_LOG=a.kml /GPS=IQCOMPEO", [](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::KmlLog, j.fileName = "a.kml"; }},
      {"/OZI_LOG=a.plt /GPS=IQCOMPEO", [](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::OziLog, j.fileName = "a.plt"; }},
      {"/RD_LOG=a.plt /GPS=IQCOMPEO", [](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::OziLog, j.fileName = "a.plt"; }},
      {"/MPS_LOG=a.mps /GPS=IQCOMPEO", [](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::MpsLog, j.fileName = "a.mps"; }},
      {"/IGC_LOG=out/ /GPS=IQCOMPEO", [](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::IgcLog, j.fileName = "out/"; }},
      {"/RD_WPT=a.wpt /GPS=IQCOMPEO", [](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::ReadWaypoints, j.fileName = "a.wpt"; }},
      {"/RD_GEO_WPT=a.wpt /GPS=IQCOMPEO", [](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::ReadGeoWaypoints, j.fileName = "a.wpt"; }},
      {"/WR_WPT=a.wpt /GPS=IQCOMPEO", [](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::WriteWaypoints, j.fileName = "a.wpt"; }},
      {"/WR_WPT2=a.wpt /GPS=IQCOMPEO", [](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::WriteWaypoints2, j.fileName = "a.wpt"; }},
      {"/WR_CTR=a.txt /GPS=IQCOMPEO", [](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::WriteCtr, j.fileName = "a.txt"; }},
      {"/CHKKML=a.kml", [](CommandLineJob& j) { j.jobKind = JobKind::CheckKml, j.fileName = "a.kml"; }},
      {"/LOGFILE=a.igc", [](CommandLineJob& j) { j.jobKind = JobKind::LogFile, j.fileName = "a.igc"; }},
      {"/KML_LOG=a.kml /LOGFILE=b.igc", [](CommandLineJob& j) { j.jobKind = JobKind::LogFile, j.fileName = "b.igc"; }},
      {"/GPS=IQCOMPEO /KML_LOG=" + longName,
       [&](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::KmlLog, j.fileName = longName.substr(0, 260); }},
      {"/PILOT=\"Anna Berg\" /ID=D-1234", [](CommandLineJob& j) { j.pilot = "Anna Berg", j.gliderId = "D-1234"; }},
      {"/PILOT=Anna /PILOT= /ID=X /ID=", [](CommandLineJob& j) { j.pilot = "Anna", j.gliderId = "X"; }},
      {"/PILOT=" + longName + " /ID=" + longName,
       [&](CommandLineJob& j) { j.pilot = longName.substr(0, 80), j.gliderId = longName.substr(0, 20); }},
      {"/PILOT=\xC3\x89ric", [](CommandLineJob& j) { j.pilot = "\xC3\x89ric"; }},
      {"/EXIT /OVERWRITE /NOSPLIT /NOCHECK /PWROFF /NOLOOPOPT /COMP_SPECIAL",
       [](CommandLineJob& j) {
         j.exitAfter = 1, j.overwrite = 1, j.noSplit = 1, j.noCheck = 1, j.powerOff = 1, j.noLoopOpt = 1;
         j.compSpecial = 1;
       }},
      {"/WIN=0", [](CommandLineJob& j) { j.windowMode = WindowMode::Hidden; }},
      {"/WIN=1", [](CommandLineJob& j) { j.windowMode = WindowMode::Minimised; }},
      {"/WIN=0 /WIN=2", [](CommandLineJob& j) { j.windowMode = WindowMode::Normal; }},
      {"/TIMEOUT=100000", [](CommandLineJob& j) { j.timeout = 86400; }},
      {"/TIMEOUT=-5", [](CommandLineJob& j) { j.timeout = 0; }},
      {"/TIMEOUT=45", [](CommandLineJob& j) { j.timeout = 45; }},
      {"/TRACK=1,3,7", [](CommandLineJob& j) { j.trackList[0] = 1, j.trackList[1] = 3, j.trackList[2] = 7; }},
      {"/TRACK=\"1, 3 ,7\"", [](CommandLineJob& j) { j.trackList[0] = 1, j.trackList[1] = 3, j.trackList[2] = 7; }},
      {"/TRACK=5 /TRACK=\" \"", [](CommandLineJob&) {}},
      {"/TRACK=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20",
       [](CommandLineJob& j) {
         for (int i = 0; i < 20; ++i) j.trackList[i] = i + 1;
       }},
      {"/SESSION=77", [](CommandLineJob& j) { j.sessionNumber = 77, j.sessionGiven = 1; }},
      {"/SENDLOG=10", [](CommandLineJob& j) { j.sendLogInterval = 10; }},
      {"/POSX=-20 /POSY=300", [](CommandLineJob& j) { j.posX = -20, j.posY = 300; }},
      {"/COMPID=12 /CIVLID=34567", [](CommandLineJob& j) { j.compId = 12, j.civlId = 34567; }},
      {"/COMPID=0 /CIVLID=17999999", [](CommandLineJob& j) { j.compId = 0, j.civlId = 17999999; }},
      {"/NOTIFY=/nonexistent/notify.sock",
       [](CommandLineJob& j) { j.notifyClass = "/nonexistent/notify.sock", j.notifyTick = testing::kTestTick; }},
      {"/GPS=IQCOMPEO /COMP_LOG=igc /COMP_DIR=\"/data/comp day\" /FILTER=20230615100000 /FILTEREND=20230615180000",
       [](CommandLineJob& j) {
         j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::CompLog, j.compFileType = CompFileType::Igc;
         j.compDir = "/data/comp day";
         j.filterStart = Time(2023, 6, 15, 10, 0, 0), j.filterEnd = Time(2023, 6, 15, 18, 0, 0);
       }},
      {"/COMP_LOG=KML /GPS=IQCOMPEO", [](CommandLineJob& j) { j.gpsType = GpsType::IqCompeo, j.jobKind = JobKind::CompLog, j.compFileType = CompFileType::Kml; }},
      {"/FILTER=20240229235959", [](CommandLineJob& j) { j.filterStart = Time(2024, 2, 29, 23, 59, 59); }},
  };
  for (const Accepted& c : cases) {
    CommandLineJob expected;
    c.expect(expected);
    const Parsed parsed = Parse(c.line);
    EXPECT_EQ(parsed.rc, 0) << c.line;
    EXPECT_TRUE(parsed.boxes.empty()) << c.line << ": " << (parsed.boxes.empty() ? "" : parsed.boxes[0].text);
    ASSERT_TRUE(parsed.result.job) << c.line;
    EXPECT_TRUE(*parsed.result.job == expected) << c.line;
  }
}

TEST(CommandLine, EmptyLinesDescribeNoJob) {
  const std::string_view lines[] = {"", "\"\"", std::string_view("\0/EXIT", 6)};
  for (std::string_view line : lines) {
    const Parsed parsed = Parse(line);
    EXPECT_EQ(parsed.rc, 0);
    EXPECT_FALSE(parsed.result.job);
    EXPECT_TRUE(parsed.boxes.empty());
  }
}

struct Refused {
  std::string line;
  std::string message;
};

TEST(CommandLine, EveryRefusalShowsItsMessageAndEndsWithExitCodeTwo) {
  const Refused cases[] = {
      {"\"flight.igc", "Bad double apostrophe (\") balance"},
      {"/COM=0 /WIN=0", "Bad COM port"},
      {"/COM=3x", "Bad COM port"},
      {"/COM=", "Bad COM port"},
      {"/COM", "Bad COM port"},
      {"/COM=COM3", "Bad COM port"},
      {"/COM=-1", "Bad COM port"},
      {"/COM=/dev/" + std::string(80, 'x'), "Bad COM port"},
      {"/GPS=GARMIN2", "Bad GPS type"},
      {"/GPS=", "Bad GPS type"},
      {"/KML_LOG=", "Missing log file name"},
      {"/MPS_LOG", "Missing log file name"},
      {"/OZI_LOG=", "Missing log file name"},
      {"/RD_LOG=", "Missing log file name"},
      {"/IGC_LOG=", "Missing log file directory name"},
      {"/RD_WPT=", "Missing wpt file name"},
      {"/RD_GEO_WPT=", "Missing wpt file name"},
      {"/WR_WPT=", "Missing wpt file name"},
      {"/WR_WPT2=", "Missing wpt file name"},
      {"/WR_CTR=", "Missing CTR file name"},
      {"/WIN=3", "Bad window size"},
      {"/WIN=", "Bad window size"},
      {"/WIN=00", "Bad window size"},
      {"/CHKKML=", "Missing file name"},
      {"/IGC2KML=", "Missing IGC/KML file name"},
      {"/DAT2KML=", "Missing DAT/KML file name"},
      {"/LOGFILE=", "Missing track log file name"},
      {"/IGC2KML=a /SCORE=OLC", "Bad scoring rules"},
      {"/LOGFILE=a.igc /SCORE=", "Bad scoring rules"},
      {"/CHKKML=a.kml /SCORE=FFVL", "SCORE needs IGC2KML or LOGFILE"},
      {"/COMP_LOG=GPX", "Bad competition fle type"},
      {"/COMP_LOG=", "Bad competition fle type"},
      {"/COMP_DIR=", "Missing competition directory name"},
      {"/COMP_FS=", "Missing flight score file name"},
      {"/COMPID=12a", "Bad COMPID value"},
      {"/CIVLID=x", "Bad CIVLID value"},
      {"/CIVLID=99999999999", "Bad CIVLID value"},
      // An ID waypoint's position spells at most 17999999.
      {"/COMPID=18000000", "Bad COMPID value"},
      {"/COMPID=-1", "Bad COMPID value"},
      {"/CIVLID=-5", "Bad CIVLID value"},
      {"/FILTER=2023061512000", "Bad track log start filter time"},
      {"/FILTER=202306151200000", "Bad track log start filter time"},
      {"/FILTER=20231315120000", "Bad track log start filter time"},
      {"/FILTER=20230600120000", "Bad track log start filter time"},
      {"/FILTER=20230615240000", "Bad track log start filter time"},
      {"/FILTER=20230615126000", "Bad track log start filter time"},
      {"/FILTER=20230615120060", "Bad track log start filter time"},
      {"/FILTER=20230230120000", "Bad track log start filter time"},
      {"/FILTER=19000101000000", "Bad track log start filter time"},
      {"/FILTER=2023-6-15 12:00", "Bad track log start filter time"},
      {"/FILTEREND=x", "Bad track log stop filter time"},
      {"/FILTER=20230615140000 /FILTEREND=20230615120000", "Comp. start time after end time"},
      {"/FILTEREND=20230615120000 /FILTER=20230615140000", "Comp. stop time before start time"},
      {"/NOTIFY=", "Missing window class name"},
      {"/SESSION=", "Missing session number"},
      {"/SESSION=1a", "Bad session number"},
      {"/SESSION=-1", "Bad session number"},
      {"/SENDLOG=x", "Bad SENDLOG value"},
      {"/POSX=1.5", "Bad POSX value"},
      {"/POSY=y", "Bad POSY value"},
      {"/USERNAME=", "Missing username"},
      {"/TIMEOUT=abc", "Bad TIMEOUT value"},
      {"/TRACK=", "Missing TRACK list"},
      {"/TRACK", "Missing TRACK list"},
      {"/TRACK=1;3", "Bad TRACK value"},
      {"/TRACK=1,,3", "Bad TRACK value"},
      {"/TRACK=1,3,", "Bad TRACK value"},
      {"/TRACK=-1", "Bad TRACK value"},
      {"/TRACK=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21", "Bad TRACK value"},
      {"/FOO", "Unrecognized command"},
      {"/", "Unrecognized command"},
      {"/EXIT/WIN=0", "Unrecognized command"},
      {"/NOLOOPOPTNOLOOPOPT", "Unrecognized command"},  // cut to 16 characters
      {"/EXIT x", "Error at position 7"},
      {"/EXIT  /WIN=0 x/", "Error at position 15"},
      {"/PILOT=\"a b\"x", "Error at position 13"},
      {"/PILOT=Z\xC3\xBCrich x", "Error at position 15"},  // a character counts once, whatever its bytes
      {"/COM=0 x", "Bad COM port"},                        // each option acts before the rest of the line is read
      {"/IGC2KML=a.igc /COM=0", "Bad COM port"},
  };
  for (const Refused& c : cases) {
    const Parsed parsed = Parse(c.line);
    EXPECT_EQ(parsed.rc, -1) << c.line;
    EXPECT_FALSE(parsed.result.job) << c.line;
    EXPECT_EQ(parsed.result.exitCode, 2) << c.line;
    ASSERT_EQ(parsed.boxes.size(), 1u) << c.line;
    EXPECT_EQ(parsed.boxes[0], ParsingError(c.message)) << c.line;
  }
}

TEST(CommandLine, IgcLogNamingAnExistingDirectoryGetsItsSlash) {
  TempDir dir;
  const std::string file = dir.File("flight.igc");
  const struct {
    std::string value;
    std::string fileName;
  } cases[] = {
      {dir.Path(), dir.Path() + "/"},
      {dir.Path() + "/", dir.Path() + "/"},
      {file, file},
      {dir.File("$date"), dir.File("$date")},
  };
  for (const auto& c : cases) {
    const Parsed parsed = Parse("/GPS=IQCOMPEO /IGC_LOG=" + c.value);
    ASSERT_TRUE(parsed.result.job) << c.value;
    EXPECT_EQ(parsed.result.job->fileName, c.fileName);
  }
}

TEST(CommandLine, CompetitionModeFollowsAPilotListFromTheFlightScoreFile) {
  std::vector<std::string> readPaths;
  std::vector<bool> modes;
  CommandLineHooks hooks = testing::FixedTickHooks();
  hooks.readFsPilotList = [&](const std::string& path, UserInterface&) {
    readPaths.push_back(path);
    return 0;
  };
  hooks.enableCompetitionMode = [&](bool special) { modes.push_back(special); };

  EXPECT_EQ(Parse("/GPS=IQCOMPEO /COMP_FS=\"/data/task 1.fsdb\" /COMP_LOG=KML /COMP_SPECIAL", hooks).rc, 0);
  EXPECT_EQ(readPaths, std::vector<std::string>{"/data/task 1.fsdb"});
  EXPECT_EQ(modes, std::vector<bool>{true});

  EXPECT_EQ(Parse("/GPS=IQCOMPEO /COMP_LOG=KML", hooks).rc, 0);  // no pilot list: the mode stays as it is
  EXPECT_EQ(Parse("/GPS=IQCOMPEO /COMP_FS=p.fsdb /KML_LOG=a.kml", hooks).rc, 0);
  EXPECT_EQ(modes.size(), 1u);
}

TEST(CommandLine, AFailedFlightScoreFileEndsParsingWithItsOwnMessage) {
  CommandLineHooks hooks = testing::FixedTickHooks();
  hooks.readFsPilotList = [](const std::string&, UserInterface& ui) {
    ui.ShowMessage(MessageKind::Error, "Pilot list read error", "Read pilot list");
    return -1;
  };
  const Parsed parsed = Parse("/COMP_FS=p.fsdb /COMP_LOG=KML", hooks);
  EXPECT_EQ(parsed.rc, -1);
  EXPECT_FALSE(parsed.result.job);
  EXPECT_EQ(parsed.result.exitCode, 2);
  ASSERT_EQ(parsed.boxes.size(), 1u);
  EXPECT_EQ(parsed.boxes[0].text, "Pilot list read error");
}

TEST(CommandLine, WithoutAFlightScoreReaderComFsIsRefused) {
  const Parsed parsed = Parse("/COMP_FS=p.fsdb");
  EXPECT_EQ(parsed.rc, -1);
  EXPECT_EQ(parsed.result.exitCode, 2);
  ASSERT_EQ(parsed.boxes.size(), 1u);
  EXPECT_EQ(parsed.boxes[0], ParsingError("Reading flight score files is not available"));
}

TEST(CommandLine, ConversionsRunAtTheEndAndEndTheProgram) {
  struct Case {
    std::string line;
    int hookResult;
    JobKind kind;
    int exitCode;
  };
  const Case cases[] = {
      {"/IGC2KML=a.igc /OVERWRITE", 0, JobKind::Igc2Kml, 0},
      {"/DAT2KML=a.dat /OVERWRITE", -1, JobKind::Dat2Kml, 1},
  };
  for (const Case& c : cases) {
    std::vector<CommandLineJob> seen;
    CommandLineHooks hooks = testing::FixedTickHooks();
    hooks.convertToKml = [&](const CommandLineJob& job, UserInterface&) {
      seen.push_back(job);
      return c.hookResult;
    };
    const Parsed parsed = Parse(c.line, hooks);
    EXPECT_EQ(parsed.rc, -1);
    EXPECT_FALSE(parsed.result.job);
    EXPECT_EQ(parsed.result.exitCode, c.exitCode);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].jobKind, c.kind);
    EXPECT_EQ(seen[0].overwrite, 1);
    EXPECT_TRUE(parsed.boxes.empty());
  }
}

TEST(CommandLine, AConversionThatCannotRunIsAFailureNotASuccess) {
  for (std::string_view line : {"/IGC2KML=a.igc", "/DAT2KML=a.dat"}) {
    const Parsed parsed = Parse(line);
    EXPECT_EQ(parsed.rc, -1);
    EXPECT_EQ(parsed.result.exitCode, 1);
    ASSERT_EQ(parsed.boxes.size(), 1u);
    EXPECT_EQ(parsed.boxes[0], ParsingError("Conversion to KML is not available"));
  }
}

TEST(CommandLine, NotificationDataWordIsTheSessionOrTheTick) {
  const Parsed withTick = Parse("/NOTIFY=/nonexistent/s");
  ASSERT_TRUE(withTick.result.job);
  EXPECT_EQ(withTick.result.job->NotificationDataWord(), testing::kTestTick);
  const Parsed withSession = Parse("/NOTIFY=/nonexistent/s /SESSION=0");
  ASSERT_TRUE(withSession.result.job);
  EXPECT_EQ(withSession.result.job->NotificationDataWord(), 0u);
}

}  // namespace
}  // namespace trelvik
