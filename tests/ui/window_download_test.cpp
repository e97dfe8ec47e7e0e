// The pilot's road through the window, on the offscreen platform against the
// simulated Flytec instrument: the quick button, the "Track List" dialog, the
// download, then the IGC and FlightLog saves; the files must carry what the
// unattended run writes for the same flight.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>

#include "access/gps_access.hpp"
#include "access/posix_serial_link.hpp"
#include "access/sim_process.hpp"
#include "analysis_modal_script.hpp"
#include "automation/batch_headless_run.hpp"
#include "automation/command_line_job.hpp"
#include "base/atomic_file.hpp"
#include "instruments/protocol_table.hpp"
#include "qt_application.hpp"
#include "sim_window_fixture.hpp"
#include "settings/settings_store.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "support/text_count.hpp"
#include "trackfiles/igc_names.hpp"
#include "trackfiles/igc_verify.hpp"
#include "trackfiles/kml_flightlog.hpp"
#include "ui/choice_list_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/igc_dialogs.hpp"
#include "ui/list_model.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"
#include "ui/window_batch_run.hpp"

namespace trelvik {
namespace {

using testing::Button;
using testing::Later;
using testing::ModalScript;
namespace cmd = command;

struct SeenBox {
  std::string caption;
  std::string text;
  bool operator==(const SeenBox&) const = default;
};

// A step that notes a message box and presses the button named `button`.
ModalScript::Step Note(std::vector<SeenBox>& seen, const QString& button = QStringLiteral("OK")) {
  return [&seen, button](QWidget& widget) {
    auto& box = dynamic_cast<QMessageBox&>(widget);
    seen.push_back({box.windowTitle().toStdString(), box.text().toStdString()});
    for (QAbstractButton* candidate : box.buttons()) {
      if (candidate->text() == button) {
        candidate->click();
        return;
      }
    }
    box.reject();
  };
}

// A step that notes the file dialog's title and proposed name and picks `path`.
ModalScript::Step PickFile(std::string& title, std::string& proposed, std::string path) {
  return [&title, &proposed, path](QWidget& widget) {
    auto& dialog = dynamic_cast<QFileDialog&>(widget);
    title = dialog.windowTitle().toStdString();
    const QStringList selected = dialog.selectedFiles();
    proposed = selected.isEmpty() ? std::string() : QFileInfo(selected.front()).fileName().toStdString();
    dialog.selectFile(QString::fromStdString(path));
    static_cast<QDialog&>(dialog).accept();  // QFileDialog's own accept takes the typed name
  };
}

std::vector<std::string> Lines(const std::string& text, char first) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == first) lines.push_back(line);
  }
  return lines;
}

std::string FileText(const std::string& path) {
  std::string bytes;
  return ReadWholeFile(path, bytes) ? bytes : std::string("<missing>");
}

// The track's coordinates: from the Tracklog placemark to its coordinates' end.
std::string TrackCoordinates(const std::string& kml) {
  const size_t name = kml.find("<name>Tracklog</name>");
  if (name == std::string::npos) return "<no track>";
  const size_t begin = kml.find("<coordinates>", name);
  const size_t end = kml.find("</coordinates>", begin);
  return begin == std::string::npos || end == std::string::npos ? "<no coordinates>" : kml.substr(begin, end - begin);
}

class WindowDownload : public testing::SimulatedInstrumentWindow {
 protected:
  std::vector<std::string> SimArguments() const override { return {"flytec", "--flights=2"}; }

  // The unattended run of the same instrument and flight.
  int RunUnattended(JobKind kind, const std::string& fileName) {
    CommandLineJob job;
    job.jobKind = kind;
    job.gpsType = GpsType::IqCompeo;
    job.portName = sim.PtyPath();
    job.fileName = fileName;
    job.overwrite = 1;
    job.windowMode = WindowMode::Hidden;
    job.trackList[0] = 0;
    testing::ScriptedUserInterface console;
    TrackLog batchLog;
    WaypointList batchWaypoints;
    AirspaceList airspace;
    PosixLinkOpener batchOpener;
    return RunHeadlessBatch(job,
                            {console, table, batchOpener, nullptr, batchLog, batchWaypoints, airspace, store->Values()});
  }
};

TEST_F(WindowDownload, QuickButtonDownloadThenIgcAndFlightLogSavesMatchTheUnattendedRun) {
  ASSERT_TRUE(window->QuickButton(cmd::kReadCompeo)->isEnabled());
  std::string trackListTitle;
  QStringList trackLines;
  std::vector<SeenBox> boxes;
  {
    ModalScript script;
    script.Add(Later([&](QWidget& widget) {
      trackListTitle = widget.windowTitle().toStdString();
      const QTreeWidget& lines = dynamic_cast<ChoiceListDialog&>(widget).Lines();
      for (int row = 0; row < lines.topLevelItemCount(); ++row) trackLines << lines.topLevelItem(row)->text(0);
      EXPECT_TRUE(lines.topLevelItem(0)->isSelected());
      // While the instrument waits for the choice, every other command is refused.
      window->QuickButton(cmd::kReadFlytec)->click();
      window->Dispatch(cmd::kViewWaypoints);
      Button(widget, QStringLiteral("OK"))->click();
    }));
    script.Add(Note(boxes));
    script.Add(Note(boxes));
    window->QuickButton(cmd::kReadCompeo)->click();
    EXPECT_TRUE(window->JobRunning());
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_EQ(script.Unexpected(), 0);
  }
  EXPECT_EQ(trackListTitle.rfind("Track List (" + sim.PtyPath() + ", ", 0), 0u) << trackListTitle;
  EXPECT_EQ(trackLines, (QStringList{"01", "02"}));
  EXPECT_EQ(boxes, (std::vector<SeenBox>{{"Download track log", "Busy GPS driver"},
                                         {"Change view mode", "Busy GPS driver"}}));
  ASSERT_GT(log.Count(), 100);
  EXPECT_EQ(window->Mode(), ViewMode::TrackLog);
  EXPECT_EQ(window->Model().rowCount(), log.Count());
  EXPECT_FALSE(log.rawIgc.empty());

  // "Save IGC log from GPS": the instrument's file as it came, under its proposed name.
  std::string title, proposed;
  {
    ModalScript script;
    script.Add(Later([](QWidget& widget) { dynamic_cast<RawIgcDialog&>(widget).SaveClicked(); }));
    script.Add(PickFile(title, proposed, dir.File("raw.igc")));
    window->Dispatch(cmd::kSaveIgcFromGps);
    EXPECT_EQ(script.Unexpected(), 0);
  }
  EXPECT_EQ(title, "Save track log");
  EXPECT_EQ(proposed, IgcShortName(log.rawIgcDate, log.rawIgcSerial, 1));

  // "Save log in IGC format" of every row, with a recorder serial of its own.
  window->Dispatch(cmd::kSelectAll);
  boxes.clear();
  {
    ModalScript script;
    script.Add(Later([](QWidget& widget) {
      auto& dialog = dynamic_cast<IgcFormatDialog&>(widget);
      EXPECT_EQ(dialog.windowTitle(), "IGC File Format");
      dialog.serial->setText(QStringLiteral("T01"));
      Button(dialog, QStringLiteral("&Save"))->click();
    }));
    script.Add(PickFile(title, proposed, dir.File("saved.igc")));
    if (log.signable != 1) script.Add(Note(boxes));
    window->Dispatch(cmd::kSaveLogIgc);
    EXPECT_EQ(script.Unexpected(), 0);
  }
  EXPECT_EQ(proposed, IgcShortName(log.points.front().time, "T01", 1));
  EXPECT_EQ(window->StatusLine().text().toStdString(), std::to_string(log.Count()) + " positions written");
  EXPECT_EQ(log.saved, 1);

  // "&Save log (FlightLog/.kml)".
  boxes.clear();
  {
    ModalScript script;
    script.Add(PickFile(title, proposed, dir.File("flights.kml")));
    script.Add(Note(boxes));
    window->Dispatch(cmd::kSaveLogFlightLog);
    EXPECT_EQ(script.Unexpected(), 0);
  }
  EXPECT_EQ(title, "Save track for FlightLog");
  const std::string kml = FileText(dir.File("flights.kml"));
  const char* saved = log.signable == 1 ? "Track saved (Signature OK)" : "Track saved (NO signature)";
  EXPECT_EQ(boxes, (std::vector<SeenBox>{{"Save FlightLog track", saved}}));

  // The same logbook again: Cancel in "File already exists" leaves it untouched.
  boxes.clear();
  {
    ModalScript script;
    script.Add(PickFile(title, proposed, dir.File("flights.kml")));
    script.Add(Note(boxes, QStringLiteral("&Cancel")));
    window->Dispatch(cmd::kSaveLogFlightLog);
    EXPECT_EQ(script.Unexpected(), 0);
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes.front().caption, "File already exists");
  EXPECT_EQ(FileText(dir.File("flights.kml")), kml);

  // What the unattended run writes for the same flight.
  ASSERT_EQ(RunUnattended(JobKind::IgcLog, dir.File("unattended.igc")), 0);
  ASSERT_EQ(RunUnattended(JobKind::KmlLog, dir.File("unattended.kml")), 0);
  const std::string unattendedIgc = FileText(dir.File("unattended.igc"));
  EXPECT_EQ(FileText(dir.File("raw.igc")), unattendedIgc);
  std::vector<std::string> expectedB;
  for (const std::string& line : Lines(unattendedIgc, 'B')) expectedB.push_back(line.substr(0, 35));
  const std::string savedIgc = FileText(dir.File("saved.igc"));
  EXPECT_EQ(Lines(savedIgc, 'B'), expectedB);
  EXPECT_EQ(VerifyIgcText(savedIgc),
            log.signable == 1 ? IgcVerification::Passed : IgcVerification::NoSecurityRecord);
  EXPECT_EQ(TrackCoordinates(kml), TrackCoordinates(FileText(dir.File("unattended.kml"))));
}

TEST_F(WindowDownload, AllTracksGoIntoALogbookAndTheUnsavedLogStays) {
  log.points = {TrackPoint{kNewSegment, 1000, 1, 2, 30, 4, 0}};
  log.saved = 0;
  store->Values().trackLogDir = "/";
  std::string title, proposed;
  std::vector<SeenBox> boxes;
  {
    ModalScript script;
    // No "Continue without saving" question: the loaded log is not replaced.
    script.Add(Later([](QWidget& widget) { Button(widget, QStringLiteral("&All"))->click(); }));
    script.Add(PickFile(title, proposed, dir.File("season")));
    script.Add(Note(boxes));
    window->Dispatch(cmd::kReadAllFlytecTracks);
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_EQ(script.Unexpected(), 0);
  }
  EXPECT_EQ(title, "Save track for FlightLog");
  EXPECT_EQ(boxes, (std::vector<SeenBox>{{"Save FlightLog track", "File written"}}));
  EXPECT_EQ(window->ProductLine().text().toStdString(), dir.File("season.kml"));
  EXPECT_EQ(store->Values().trackLogDir, dir.Path());  // the chosen folder is remembered
  const std::string kml = FileText(dir.File("season.kml"));
  EXPECT_EQ(testing::CountOccurrences(kml, "<name>Trip</name>"), 2u);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.points[0].time, 1000u);
}

TEST_F(WindowDownload, SettingsAreWrittenAtCloseWithThePortInTheTitle) {
  EXPECT_EQ(window->windowTitle().toStdString(), "Trelvik 4.72, " + sim.PtyPath());
  window->close();
  const std::string written = FileText(dir.File("config/settings.conf"));
  EXPECT_NE(written.find("PortName=" + sim.PtyPath()), std::string::npos) << written;
}

TEST_F(WindowDownload, ACommandLineJobRunsInTheShownWindowAndExitEndsIt) {
  CommandLineJob job;
  job.jobKind = JobKind::KmlLog;
  job.gpsType = GpsType::IqCompeo;
  job.portName = sim.PtyPath();
  job.fileName = dir.File("run.kml");
  job.overwrite = 1;
  job.exitAfter = 1;
  job.windowMode = WindowMode::Normal;
  job.trackList[0] = 0;
  store->SetCommandLineRun(true);
  AirspaceList airspace;
  WindowBatchRun run(*window, qtUi, *access, job, store->Values(), airspace);
  ASSERT_TRUE(run.Start());
  EXPECT_TRUE(window->JobRunning());
  const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDownloadLimitMs);
  while (!window->QuitFlag() && std::chrono::steady_clock::now() < limit) QTest::qWait(20);
  EXPECT_TRUE(window->QuitFlag());
  (void)access->WaitForGpsJobEnd();
  EXPECT_EQ(window->ExitCode(), 0);
  EXPECT_NE(FileText(dir.File("run.kml")).find("<name>Tracklog</name>"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("config/settings.conf")));
}

// RD_GEO_WPT without EXIT: the file is written and the downloaded waypoints
// stay in the window's list; then WR_WPT sends a file's waypoints with the
// COMPID waypoint, and the list shows them.
TEST_F(WindowDownload, CommandLineWaypointJobsRunInTheWindowAndFillItsList) {
  store->SetCommandLineRun(true);
  AirspaceList airspace;
  const auto runToEnd = [&](const CommandLineJob& job) {
    WindowBatchRun run(*window, qtUi, *access, job, store->Values(), airspace);
    ASSERT_TRUE(run.Start());
    EXPECT_TRUE(WaitForJobEnd());
    QTest::qWait(50);  // the continuation is a queued call
    (void)access->WaitForGpsJobEnd();
  };
  CommandLineJob download;
  download.jobKind = JobKind::ReadGeoWaypoints;
  download.gpsType = GpsType::IqCompeo;
  download.portName = sim.PtyPath();
  download.fileName = dir.File("instrument.wpt");
  download.windowMode = WindowMode::Normal;
  runToEnd(download);
  EXPECT_EQ(window->ExitCode(), 0);
  EXPECT_EQ(FileText(download.fileName).substr(0, 12), "$FormatGEO\r\n");
  ASSERT_EQ(waypoints.Count(), 4);
  EXPECT_STREQ(waypoints.waypoints[0].name, "FIESCH");
  EXPECT_EQ(window->Mode(), ViewMode::Waypoints);

  CommandLineJob upload = download;
  upload.jobKind = JobKind::WriteWaypoints;
  upload.fileName = "tests/data/waypoint_files/waypoints_geo.wpt";
  upload.compId = 12;
  runToEnd(upload);
  EXPECT_EQ(window->ExitCode(), 0);
  ASSERT_EQ(waypoints.Count(), 4);  // the file's three and the COMPID waypoint
  EXPECT_STREQ(waypoints.waypoints[2].name, "PASS");
  EXPECT_STREQ(waypoints.waypoints[2].description, "");  // the list keeps the file's texts
  EXPECT_STREQ(waypoints.waypoints[3].name, "COMPID");
  EXPECT_EQ(window->Model().rowCount(), 4);
}

class WindowFlymasterDownload : public WindowDownload {
 protected:
  std::vector<std::string> SimArguments() const override {
    return {"flymaster", "--flights=1", "--record=" + dir.File("received.txt")};
  }
  // The power-off sentence is sent without an answer, after the job's last read.
  bool PowerOffReceived(std::chrono::milliseconds wait) const {
    const auto limit = std::chrono::steady_clock::now() + wait;
    do {
      if (FileText(dir.File("received.txt")).find("$PFMOFF*14\r\n") != std::string::npos) return true;
      QTest::qWait(20);
    } while (std::chrono::steady_clock::now() < limit);
    return false;
  }
};

// "Pwr off after log read": off at start, toggled by its menu item, read by
// the next Flymaster download.
TEST_F(WindowFlymasterDownload, ThePowerOffCheckMarkSwitchesTheInstrumentOffAfterTheLogRead) {
  QAction* powerOff = window->Action(cmd::kPowerOffAfterLog);
  ASSERT_NE(powerOff, nullptr);
  EXPECT_TRUE(powerOff->isEnabled());
  for (const bool checked : {false, true}) {
    if (checked) powerOff->trigger();
    ASSERT_EQ(powerOff->isChecked(), checked);
    // The second download first asks before it replaces the first one's log.
    std::vector<SeenBox> boxes;
    ModalScript script;
    if (checked) script.Add(Note(boxes, QStringLiteral("Ok")));
    script.Add(Later([](QWidget& widget) { Button(widget, QStringLiteral("OK"))->click(); }));
    window->Dispatch(cmd::kReadFlymaster);
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_EQ(script.Unexpected(), 0);
    ASSERT_EQ(boxes.size(), checked ? 1u : 0u);
    if (checked) {
      EXPECT_EQ(boxes[0].text, "Continue without saving current track log ?");
    }
    ASSERT_GT(log.Count(), 0) << checked;
    EXPECT_EQ(PowerOffReceived(std::chrono::milliseconds(checked ? 3000 : 0)), checked)
        << FileText(dir.File("received.txt"));
  }
}

}  // namespace
}  // namespace trelvik
