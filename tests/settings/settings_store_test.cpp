#include "settings/settings_store.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "base/atomic_file.hpp"
#include "settings/setting_table.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

constexpr std::string_view kFirstStartFile =
    "PilotListName=/home/pilot\n"
    "PilotListDir=/home/pilot\n"
    "GoogleDir=/home/pilot\n"
    "CompDir=/home/pilot\n"
    "OziDir=/home/pilot\n"
    "TrackLogDir=/home/pilot\n"
    "WaypointDir=/home/pilot\n"
    "CtrDir=/home/pilot\n"
    "TraceDir=/home/pilot\n"
    "Baudrate=9600\n"
    "PortName=/dev/ttyS0\n"
    "Port=1\n"
    "LogFilter=1\n"
    "LogExportExt=1\n"
    "LogImportExt=1\n"
    "WptExportExt=1\n"
    "WptImportExt=1\n"
    "CompTimeStart=555674400\n"
    "CompTimeStop=0\n"
    "CompWptNNN=0\n"
    "CompMode=0\n"
    "CompSpecial=0\n"
    "TrackGapTime=1200\n"
    "AddIgcToCompOut=0\n"
    "LoopFlightGap=800\n"
    "VarioFilter=0\n"
    "TimestampFilter=0\n"
    "DownloadFilter=0\n"
    "FlymasterPwrOff=0\n"
    "UtcOffsetForTN=0\n"
    "IgcDir=/home/pilot\n"
    "IgcPilotName=None\n"
    "IgcFlightNo=1\n"
    "IgcContestId=1\n"
    "IgcGliderType=None\n"
    "IgcGliderId=None\n"
    "IgcSite=None\n"
    "IgcClass=None\n"
    "IgcSaveMask=5\n"
    "IgcAddEnl=0\n"
    "OlcDir=/home/pilot\n"
    "OlcFirstName=\n"
    "OlcLastName=\n"
    "OlcBirthDate=\n"
    "OlcGliderClass=\n"
    "OlcGliderType=\n"
    "OlcCallSign=\n"
    "OlcStartPlace=\n"
    "OlcRegion=\n"
    "OlcLongFileName=0\n"
    "DsxDataMode=0\n"
    "CsvAbsTime=0\n"
    "CsvRelTime=0\n"
    "CsvRelDist=0\n"
    "CsvAccDist=0\n"
    "CsvBearing=0\n"
    "Csv400deg=0\n"
    "CsvSpeed=0\n"
    "CsvVario=0\n"
    "CtrSegError=10\n";

class SettingsStoreTest : public ::testing::Test {
 protected:
  SettingsPaths Paths() const {
    return {dir.Path() + "/config/trelvik/settings.conf", dir.Path() + "/xdg/trelvik/settings.conf", "/home/pilot"};
  }
  std::string UserFile() const { return Paths().userFile; }
  void WriteUserFile(std::string_view bytes) {
    std::filesystem::create_directories(FolderOf(UserFile()));
    ASSERT_FALSE(WriteFileAtomically(UserFile(), bytes));
  }
  std::string ReadUserFile() const {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(UserFile(), bytes));
    return bytes;
  }
  // Loads, lets `change` edit the values, saves: the next start of the program.
  template <typename Change>
  SettingsSaveOutcome Run(Change change) {
    SettingsStore store(Paths());
    EXPECT_EQ(store.Load(ui), 0);
    change(store.Values());
    const SettingsSaveResult result = store.Save();
    EXPECT_FALSE(result.error);
    return result.outcome;
  }

  TempDir dir;
  ScriptedUserInterface ui;
};

TEST_F(SettingsStoreTest, FirstStartRunsOnDefaultsAndWritesAllSixty) {
  SettingsStore store(Paths());
  ASSERT_EQ(store.Load(ui), 0);
  EXPECT_EQ(store.Values().loopFlightGap, 800);
  EXPECT_EQ(store.Save().outcome, SettingsSaveOutcome::Written);
  EXPECT_EQ(ReadUserFile(), kFirstStartFile);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SettingsStoreTest, LaterStartRewritesOnlyTheChangedLine) {
  WriteUserFile(std::string("# kept as written\n") + std::string(kFirstStartFile) + "Unknown=kept\n");
  EXPECT_EQ(Run([](Settings& s) { s.loopFlightGap = 1500; }), SettingsSaveOutcome::Written);
  std::string expected = std::string("# kept as written\n") + std::string(kFirstStartFile) + "Unknown=kept\n";
  expected.replace(expected.find("LoopFlightGap=800"), 17, "LoopFlightGap=1500");
  EXPECT_EQ(ReadUserFile(), expected);

  SettingsStore again(Paths());
  ASSERT_EQ(again.Load(ui), 0);
  EXPECT_EQ(again.Values().loopFlightGap, 1500);
}

TEST_F(SettingsStoreTest, LaterStartWithoutChangesLeavesTheFileAlone) {
  WriteUserFile("IgcPilotName=Anna\r\n");
  EXPECT_EQ(Run([](Settings&) {}), SettingsSaveOutcome::Unchanged);
  EXPECT_EQ(ReadUserFile(), "IgcPilotName=Anna\r\n");
}

TEST_F(SettingsStoreTest, ADeletedValueIsWrittenAgainOnlyWhenItChanges) {
  WriteUserFile("IgcPilotName=Anna\n");
  EXPECT_EQ(Run([](Settings& s) { s.igcSite = "None"; }), SettingsSaveOutcome::Unchanged);
  EXPECT_EQ(Run([](Settings& s) { s.igcSite = "Fiesch"; }), SettingsSaveOutcome::Written);
  EXPECT_EQ(ReadUserFile(), "IgcPilotName=Anna\nIgcSite=Fiesch\n");
}

TEST_F(SettingsStoreTest, MissingLoopFlightGapMeans800Metres) {
  WriteUserFile("TrackGapTime=600\n");
  SettingsStore store(Paths());
  ASSERT_EQ(store.Load(ui), 0);
  EXPECT_EQ(store.Values().trackGapTime, 600);
  EXPECT_EQ(store.Values().loopFlightGap, 800);
}

TEST_F(SettingsStoreTest, UnreadableLinesKeepTheirDefaultsAndTheirText) {
  const std::string file =
      "LoopFlightGap=eight hundred\n"
      "TrackGapTime=99999999999\n"
      "CompTimeStart=-5\n"
      "IgcContestId=TOOLONG\n"
      "IgcPilotName=Ren\xE9\n"
      "CtrSegError\n"
      "VarioFilter=3\n"
      "loopflightgap=1\n";
  WriteUserFile(file);
  SettingsStore store(Paths());
  ASSERT_EQ(store.Load(ui), 0);
  Settings expected = BuiltInDefaults("/home/pilot");
  expected.varioFilter = 3;
  EXPECT_EQ(store.Values(), expected);
  EXPECT_EQ(store.Save().outcome, SettingsSaveOutcome::Unchanged);
  EXPECT_EQ(ReadUserFile(), file);
}

TEST_F(SettingsStoreTest, SystemFileGivesTheStartingValuesOfANewUser) {
  std::filesystem::create_directories(FolderOf(Paths().systemFile));
  ASSERT_FALSE(WriteFileAtomically(Paths().systemFile, "IgcPilotName=Club pilot\nLoopFlightGap=x\nCtrSegError=25\n"));
  SettingsStore store(Paths());
  ASSERT_EQ(store.Load(ui), 0);
  EXPECT_EQ(store.Values().igcPilotName, "Club pilot");
  EXPECT_EQ(store.Values().loopFlightGap, 800);
  EXPECT_EQ(store.Values().ctrSegError, 25);
  EXPECT_EQ(store.Save().outcome, SettingsSaveOutcome::Written);
  std::string expected(kFirstStartFile);
  expected.replace(expected.find("IgcPilotName=None"), 17, "IgcPilotName=Club pilot");
  expected.replace(expected.find("CtrSegError=10"), 14, "CtrSegError=25");
  EXPECT_EQ(ReadUserFile(), expected);
}

TEST_F(SettingsStoreTest, SystemFileIsIgnoredOnceTheUserHasAFile) {
  std::filesystem::create_directories(FolderOf(Paths().systemFile));
  ASSERT_FALSE(WriteFileAtomically(Paths().systemFile, "IgcPilotName=Club pilot\n"));
  WriteUserFile("IgcSite=Fiesch\n");
  SettingsStore store(Paths());
  ASSERT_EQ(store.Load(ui), 0);
  EXPECT_EQ(store.Values().igcPilotName, "None");
}

TEST_F(SettingsStoreTest, CommandLineRunNeverWrites) {
  SettingsStore first(Paths());
  ASSERT_EQ(first.Load(ui), 0);
  first.SetCommandLineRun(true);
  first.Values().igcPilotName = "Changed";
  EXPECT_EQ(first.Save().outcome, SettingsSaveOutcome::CommandLineRun);
  EXPECT_FALSE(std::filesystem::exists(UserFile()));

  WriteUserFile("IgcPilotName=Anna\n");
  SettingsStore later(Paths());
  ASSERT_EQ(later.Load(ui), 0);
  later.SetCommandLineRun(true);
  later.Values().igcPilotName = "Changed";
  EXPECT_EQ(later.Save().outcome, SettingsSaveOutcome::CommandLineRun);
  EXPECT_EQ(ReadUserFile(), "IgcPilotName=Anna\n");
}

TEST_F(SettingsStoreTest, SavingLeavesNoTemporaryFileBehind) {
  EXPECT_EQ(Run([](Settings&) {}), SettingsSaveOutcome::Written);
  EXPECT_EQ(Run([](Settings& s) { s.csvSpeed = 30; }), SettingsSaveOutcome::Written);
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(FolderOf(UserFile()))) {
    names.push_back(item.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"settings.conf"});
}

TEST_F(SettingsStoreTest, UnreadableUserFileRunsOnDefaultsAndSavesNothing) {
  std::filesystem::create_directories(UserFile());  // a folder where the file should be
  SettingsStore store(Paths());
  EXPECT_EQ(store.Load(ui), -1);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0], (RecordedBox{MessageKind::Error, "Is a directory", "Registry access error"}));
  EXPECT_EQ(store.Values(), BuiltInDefaults("/home/pilot"));
  store.Values().csvSpeed = 30;
  EXPECT_EQ(store.Save().outcome, SettingsSaveOutcome::NotLoaded);
  EXPECT_TRUE(std::filesystem::is_directory(UserFile()));
}

TEST_F(SettingsStoreTest, AFailedWriteIsOnlyReturned) {
  SettingsStore store(Paths());
  ASSERT_EQ(store.Load(ui), 0);
  // A plain file where the settings folder belongs: nothing can be created there.
  std::filesystem::create_directories(FolderOf(FolderOf(UserFile())));
  ASSERT_FALSE(WriteFileAtomically(FolderOf(UserFile()), "not a folder"));
  const SettingsSaveResult result = store.Save();
  EXPECT_EQ(result.outcome, SettingsSaveOutcome::WriteFailed);
  EXPECT_EQ(result.error.errorNumber, ENOTDIR);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SettingsStoreTest, AFailedWriteKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  WriteUserFile("IgcSite=Fiesch\n");
  SettingsStore store(Paths());
  ASSERT_EQ(store.Load(ui), 0);
  store.Values().igcSite = "Annecy";
  ::chmod(FolderOf(UserFile()).c_str(), 0500);
  const SettingsSaveResult result = store.Save();
  ::chmod(FolderOf(UserFile()).c_str(), 0700);
  EXPECT_EQ(result.outcome, SettingsSaveOutcome::WriteFailed);
  EXPECT_EQ(ReadUserFile(), "IgcSite=Fiesch\n");
}

TEST(DefaultSettingsPaths, FollowTheXdgVariables) {
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const char* oldHome = std::getenv("HOME");
  const std::string savedConfig = oldConfig ? oldConfig : "";
  const std::string savedHome = oldHome ? oldHome : "";

  ::setenv("HOME", "/home/pilot", 1);
  ::setenv("XDG_CONFIG_HOME", "/var/cfg", 1);
  SettingsPaths paths = DefaultSettingsPaths();
  EXPECT_EQ(paths.userFile, "/var/cfg/trelvik/settings.conf");
  EXPECT_EQ(paths.systemFile, "/etc/xdg/trelvik/settings.conf");
  EXPECT_EQ(paths.homeFolder, "/home/pilot");

  ::setenv("XDG_CONFIG_HOME", "relative/cfg", 1);  // not absolute: ignored
  EXPECT_EQ(DefaultSettingsPaths().userFile, "/home/pilot/.config/trelvik/settings.conf");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(DefaultSettingsPaths().userFile, "/home/pilot/.config/trelvik/settings.conf");

  if (oldConfig) ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
  if (oldHome)
    ::setenv("HOME", savedHome.c_str(), 1);
  else
    ::unsetenv("HOME");
}

}  // namespace
}  // namespace trelvik
