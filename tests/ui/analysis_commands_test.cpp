// Track analysis in the window: the flight statistics dialog with its worker,
// halt and save, the split choice, the filter toggles and settings dialogs,
// the loop flight gap and "Rotate Track".
#include "ui/analysis/analysis_commands.hpp"

#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <time.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>

#include "analysis/test_flight.hpp"
#include "analysis_modal_script.hpp"
#include "qt_application.hpp"
#include "records/track_time.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "ui/analysis/olc_window.hpp"
#include "ui/analysis/rotate_track_dialog.hpp"
#include "ui/analysis/statistics_window.hpp"
#include "ui/analysis/value_dialog.hpp"
#include "ui/choice_list_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {
namespace {

using testing::ModalScript;
using testing::RecordedBox;
namespace cmd = command;

RecordedBox Error(const std::string& text, const std::string& caption) { return {MessageKind::Error, text, caption}; }

// Waits until the computation is into the triangle search, the longest part
// of the run, or has finished; the dialog keeps handling events meanwhile,
// which is what keeps its status text moving.
void WaitForTriangleSearch(FlightStatisticsWindow& dialog) {
  QElapsedTimer waiting;
  waiting.start();
  while (!dialog.StatusLine().text().startsWith("Computing triangle") && !dialog.ComputationFinished() &&
         waiting.elapsed() < 60000) {
    QTest::qWait(5);
  }
}

constexpr TrackTime kStart = 1000000000;  // 2021-09-09, a flight's first fix

// The optimisation's worst case: a long flight that circles inside a small
// area, so every pair of samples closes within the loop gap and the loop
// searches see every combination. 14 m/s, one point a second.
std::vector<TrackPoint> CirclingFlight(int count) {
  std::vector<TrackPoint> points(static_cast<size_t>(count));
  const double centreLat = 46.5 * M_PI / 180, centreLon = 7.5 * M_PI / 180;
  const double radiusRad = 200.0 / 6371000.0;
  for (int i = 0; i < count; ++i) {
    const double angle = i * 2 * M_PI / 90;
    TrackPoint& p = points[static_cast<size_t>(i)];
    p.time = kStart + static_cast<TrackTime>(i);
    p.lat = RadiansToSemicircle(centreLat + radiusRad * std::sin(angle));
    p.lon = RadiansToSemicircle(centreLon + radiusRad * std::cos(angle) / std::cos(centreLat));
    p.gpsAlt = 15000 + (i % 900);
  }
  points.front().flags = kNewSegment;
  return points;
}

class AnalysisCommandsTest : public ::testing::Test {
 protected:
  AnalysisCommandsTest() {
    testing::Application();
    MainWindowOptions options;
    options.portName = "/dev/ttyUSB0";
    window = std::make_unique<MainWindow>(log, waypoints, qtUi, options, &recorder);
    settings.logFilter = 1;
    settings.trackGapTime = 1200;
    settings.loopFlightGap = 800;
    settings.portName = "/dev/ttyUSB0";
    settings.trackLogDir = dir.Path();
    InstallAnalysisCommands(*window, {log, settings, recorder, qtUi});
  }

  void LoadLog(std::vector<TrackPoint> points) {
    log = TrackLog();
    log.points = std::move(points);
    log.utcTimes = 1;
    log.modelName = "Sim 5020";
    window->ShowView(ViewMode::TrackLog);
  }

  void SelectAll() { window->List().selectAll(); }
  void SelectRows(int first, int last) {
    window->List().clearSelection();
    for (int row = first; row <= last; ++row) {
      window->List().selectionModel()->select(window->List().model()->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }

  testing::TempDir dir;
  TrackLog log;
  WaypointList waypoints;
  Settings settings;
  QtUserInterface qtUi;
  testing::ScriptedUserInterface recorder;
  std::unique_ptr<MainWindow> window;
};

// ---- flight statistics ----

TEST_F(AnalysisCommandsTest, StatisticsNeedALoadedLogInTheTrackView) {
  window->Dispatch(cmd::kSaveLogButton);
  LoadLog(GenerateTestFlight());
  window->ShowView(ViewMode::Waypoints);
  window->Dispatch(cmd::kSaveLogFlightLog);
  window->ShowView(ViewMode::TrackLog);
  SelectRows(0, 8);
  window->Dispatch(cmd::kSaveLogFlightLog);
  window->List().clearSelection();
  window->Dispatch(cmd::kSaveLogFlightLog);
  window->SetJobRunning(true);
  window->Dispatch(cmd::kSaveLogFlightLog);
  EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{
                                Error("No positions loaded", "Get flight statistics"),
                                Error("Incorrect view mode", "Get flight statistics"),
                                Error("Too few positions selected", "Initialize track statistics dialog box"),
                                Error("No position(s) selected", "Initialize track statistics dialog box"),
                                Error("Busy GPS driver", "Get flight statistics"),
                            }));
}

TEST_F(AnalysisCommandsTest, OlcStatisticsNeedAnIgcBufferOrFivePositions) {
  LoadLog(GenerateTestFlight());
  window->Dispatch(cmd::kOlcFromIgcBuffer);
  window->List().clearSelection();
  window->Dispatch(cmd::kOlcFromSelection);
  SelectRows(0, 3);
  window->Dispatch(cmd::kOlcFromSelection);
  EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{
                                Error("No raw IGC buffer stored", "OLC statistics"),
                                Error("No position(s) selected", "Initialize OLC statistics"),
                                Error("Number of positions must be 5 or more", "Initialize OLC statistics"),
                            }));
  recorder.boxes.clear();
  SelectAll();
  ModalScript script;
  QString best;
  script.Add([&](QWidget& modal) {
    auto* dialog = qobject_cast<OlcWindow*>(&modal);
    ASSERT_NE(dialog, nullptr);
    if (!dialog->Finished()) {
      QSignalSpy finished(dialog, &OlcWindow::searchFinished);
      ASSERT_TRUE(finished.wait(60000));
    }
    best = dialog->FinalResult().text();
    dialog->reject();
  });
  window->Dispatch(cmd::kOlcFromSelection);
  EXPECT_TRUE(best.startsWith("Best result is ")) << best.toStdString();
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(AnalysisCommandsTest, StatisticsDialogShowsTheFlightAndItsDistances) {
  LoadLog(GenerateTestFlight());
  SelectAll();
  ModalScript script;
  QStringList values, distances, contestScores;
  QString status;
  script.Add([&](QWidget& modal) {
    auto* dialog = qobject_cast<FlightStatisticsWindow*>(&modal);
    ASSERT_NE(dialog, nullptr);
    // The window's own state: the scores may well be shown before this step runs.
    if (!QTest::qWaitFor([dialog] { return dialog->DistancesShown() && dialog->ContestScoresShown(); }, 60000)) {
      ADD_FAILURE() << "no results within a minute";
      dialog->ExitButton().click();
      return;
    }
    QTest::qWait(20);  // the last progress text is queued behind the distances
    for (int i = 0; i < 9; ++i) values << dialog->Value(i).text();
    for (int i = 0; i < 7; ++i) distances << dialog->Distance(i).text();
    for (int i = 0; i < 2; ++i) contestScores << dialog->ContestScore(i).text();
    status = dialog->StatusLine().text();
    EXPECT_FALSE(dialog->HaltButton().isEnabled());
    dialog->ExitButton().click();
  });
  window->Dispatch(cmd::kSaveLogButton);
  ASSERT_EQ(values.size(), 9);
  EXPECT_EQ(values[0], "2008-07-12");  // the test flight's date
  EXPECT_TRUE(values[3].contains(" : "));
  EXPECT_TRUE(values[4].endsWith(" m"));
  EXPECT_TRUE(values[8].endsWith(" km"));
  for (const QString& distance : distances) EXPECT_TRUE(distance.contains('.')) << distance.toStdString();
  EXPECT_GT(distances[3].toDouble(), distances[0].toDouble());  // 5 points beat 2 on a figure-eight
  EXPECT_TRUE(status.startsWith("Computing completed (")) << status.toStdString();
  for (const QString& score : contestScores) {
    EXPECT_TRUE(score.contains(QRegularExpression("^[A-Za-z0-9 ]+ [0-9]+\\.[0-9]{2} km, [0-9]+\\.[0-9]{2} points$")))
        << score.toStdString();
  }
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(AnalysisCommandsTest, HaltStopsTheWorstCaseComputationWithin100Ms) {
  LoadLog(CirclingFlight(20000));
  SelectAll();
  ModalScript script;
  qint64 stopMs = -1;
  QString phaseAtHalt, statusAfterHalt;
  script.Add([&](QWidget& modal) {
    auto* dialog = qobject_cast<FlightStatisticsWindow*>(&modal);
    ASSERT_NE(dialog, nullptr);
    WaitForTriangleSearch(*dialog);
    ASSERT_FALSE(dialog->ComputationFinished()) << "finished before the triangle search could be halted";
    // The search runs for about a second on 2000 samples; halt well inside it.
    QTest::qWait(10);
    phaseAtHalt = dialog->StatusLine().text();
    QElapsedTimer stopping;
    stopping.start();
    dialog->HaltButton().click();
    while (!dialog->ComputationFinished() && stopping.elapsed() < 10000) QTest::qWait(1);
    stopMs = stopping.elapsed();
    QTest::qWait(20);
    statusAfterHalt = dialog->StatusLine().text();
    dialog->reject();
  });
  window->Dispatch(cmd::kSaveLogButton);
  EXPECT_EQ(phaseAtHalt, "Computing triangle distance");
  EXPECT_GE(stopMs, 0);
  EXPECT_LT(stopMs, 100);
  std::cout << "halt took " << stopMs << " ms\n";
  EXPECT_TRUE(statusAfterHalt == "Computation halted" || statusAfterHalt.startsWith("Computing completed"))
      << statusAfterHalt.toStdString();
}

TEST_F(AnalysisCommandsTest, ClosingDuringTheComputationReturnsPromptly) {
  LoadLog(CirclingFlight(20000));
  SelectAll();
  ModalScript script;
  qint64 closeMs = -1;
  std::chrono::nanoseconds closeWork{-1};
  // The processor time of every thread of the program: what the close costs,
  // however little of a core a machine busy with other tests lends it.
  const auto processTime = [] {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
  };
  script.Add([&](QWidget& modal) {
    auto* dialog = qobject_cast<FlightStatisticsWindow*>(&modal);
    ASSERT_NE(dialog, nullptr);
    WaitForTriangleSearch(*dialog);
    QElapsedTimer closing;
    closing.start();
    const auto before = processTime();
    dialog->ExitButton().click();
    closeWork = processTime() - before;
    closeMs = closing.elapsed();
  });
  window->Dispatch(cmd::kSaveLogButton);
  EXPECT_GE(closeMs, 0);
  EXPECT_LT(closeWork, std::chrono::milliseconds(100));
  // Waiting, which costs no processor time, still has to end soon.
  EXPECT_LT(closeMs, 1000);
}

TEST_F(AnalysisCommandsTest, SaveWaitsForTheComputationThenWritesTheLogbook) {
  LoadLog(CirclingFlight(20000));
  SelectAll();
  const std::string target = dir.File("flights.kml");
  ModalScript script;
  std::vector<RecordedBox> early;
  script.Add([&](QWidget& modal) {
    auto* dialog = qobject_cast<FlightStatisticsWindow*>(&modal);
    ASSERT_NE(dialog, nullptr);
    ASSERT_FALSE(dialog->ComputationFinished());
    dialog->SaveButton().click();
    early = recorder.boxes;
    recorder.boxes.clear();
    dialog->HaltButton().click();
    if (!dialog->ComputationFinished()) {
      QSignalSpy finished(dialog, &FlightStatisticsWindow::computationFinished);
      ASSERT_TRUE(finished.wait(10000));
    }
    dialog->Description().setPlainText("Evening thermals");
    recorder.QueueFile(target);
    dialog->SaveButton().click();
    dialog->reject();
  });
  window->Dispatch(cmd::kSaveLogButton);
  EXPECT_EQ(early, (std::vector<RecordedBox>{Error("Statistics not yet finished", "Save track log")}));
  EXPECT_EQ(
      recorder.boxes,
      (std::vector<RecordedBox>{{MessageKind::Information, "Track saved (NO signature)", "Save FlightLog track"}}));
  ASSERT_TRUE(std::filesystem::exists(target));
  EXPECT_EQ(log.saved, 1);
  EXPECT_EQ(settings.trackLogDir, dir.Path());
  ASSERT_FALSE(recorder.fileRequests.empty());
  EXPECT_EQ(recorder.fileRequests.back().title, "Save track for FlightLog");
}

TEST_F(AnalysisCommandsTest, DescriptionIsLimitedTo8000Characters) {
  LoadLog(GenerateTestFlight());
  SelectAll();
  ModalScript script;
  qsizetype length = 0;
  script.Add([&](QWidget& modal) {
    auto* dialog = qobject_cast<FlightStatisticsWindow*>(&modal);
    ASSERT_NE(dialog, nullptr);
    dialog->Description().setPlainText(QString(8005, QLatin1Char('x')));
    length = dialog->Description().toPlainText().size();
    dialog->reject();
  });
  window->Dispatch(cmd::kSaveLogButton);
  EXPECT_EQ(length, 8000);
}

// A log of two flights, a day apart.
std::vector<TrackPoint> TwoFlights() {
  std::vector<TrackPoint> first = CirclingFlight(200);
  std::vector<TrackPoint> second = CirclingFlight(300);
  for (TrackPoint& p : second) p.time += 86400;
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

TEST_F(AnalysisCommandsTest, SplitLogOffersTheFlightsNewestFirst) {
  LoadLog(TwoFlights());
  SelectAll();
  ModalScript script;
  QString title;
  int lines = 0;
  int keptPoints = 0;
  script.Add([&](QWidget& modal) {
    auto* dialog = qobject_cast<ChoiceListDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    lines = dialog->Lines().topLevelItemCount();
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      if (button->text() == "OK") button->click();  // the preselected newest flight
    }
  });
  script.Add([&](QWidget& modal) {
    auto* dialog = qobject_cast<FlightStatisticsWindow*>(&modal);
    ASSERT_NE(dialog, nullptr);
    keptPoints = static_cast<int>(dialog->Statistics().duration) + 1;
    dialog->reject();
  });
  window->Dispatch(cmd::kSaveLogButton);
  EXPECT_EQ(title, "Split track (/dev/ttyUSB0, Sim 5020)");
  EXPECT_EQ(lines, 2);
  EXPECT_EQ(keptPoints, 300);
}

TEST_F(AnalysisCommandsTest, CancelledSplitCountsAsNoSelection) {
  LoadLog(TwoFlights());
  SelectAll();
  ModalScript script;
  script.Add([](QWidget& modal) { qobject_cast<QDialog*>(&modal)->reject(); });
  window->Dispatch(cmd::kSaveLogButton);
  EXPECT_EQ(script.Unexpected(), 0);
  EXPECT_EQ(recorder.boxes,
            (std::vector<RecordedBox>{Error("No position(s) selected", "Initialize track statistics dialog box")}));
}

// ---- filters and settings dialogs ----

TEST_F(AnalysisCommandsTest, FilterTogglesFollowAndChangeTheSettings) {
  struct Case {
    int id;
    int32_t Settings::*value;
  };
  const Case cases[] = {{cmd::kSpeedFilter, &Settings::logFilter},
                        {cmd::kTimestampFilter, &Settings::timestampFilter},
                        {cmd::kFiltersDuringDownload, &Settings::downloadFilter}};
  settings.timestampFilter = 0;
  settings.downloadFilter = 1;
  InstallAnalysisCommands(*window, {log, settings, recorder, qtUi});
  for (const Case& c : cases) {
    QAction* action = window->Action(c.id);
    ASSERT_NE(action, nullptr);
    ASSERT_TRUE(action->isCheckable());
    EXPECT_EQ(action->isChecked(), settings.*c.value != 0);
    const int32_t before = settings.*c.value;
    action->trigger();
    EXPECT_EQ(settings.*c.value, before != 0 ? 0 : 1);
    EXPECT_EQ(action->isChecked(), settings.*c.value != 0);
  }
}

struct ValueCase {
  const char* field;
  std::vector<RecordedBox> messages;  // empty: accepted
  int32_t stored;                     // the setting afterwards
};

// Opens the dialog of `id`, types `field`, presses OK; returns the dialog's title,
// its field's starting text and whether OK closed it.
struct ValueRun {
  QString title;
  QString shown;
  QStringList notes;
  bool closed = false;
};
ValueRun RunValueDialog(MainWindow& window, int id, const char* field) {
  ModalScript script;
  ValueRun run;
  script.Add([&](QWidget& modal) {
    auto* dialog = qobject_cast<ValueDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    run.title = dialog->windowTitle();
    run.shown = dialog->Field().text();
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
      if (label->wordWrap()) run.notes << label->text();
    }
    dialog->Field().setText(QString::fromLatin1(field));
    dialog->accept();
    run.closed = !dialog->isVisible();
    if (!run.closed) dialog->reject();
  });
  window.Action(id)->trigger();
  return run;
}

TEST_F(AnalysisCommandsTest, VarioFilterDialog) {
  const ValueCase cases[] = {
      {"4", {}, 4},
      {"", {}, 0},
      {"fast", {Error("Bad input", "Set vario filter")}, 3},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.field);
    settings.varioFilter = 3;
    recorder.boxes.clear();
    const ValueRun run = RunValueDialog(*window, cmd::kVarioFilter, c.field);
    EXPECT_EQ(run.title, "Vario filter");
    EXPECT_EQ(run.shown, "3");
    EXPECT_EQ(run.closed, c.messages.empty());
    EXPECT_EQ(recorder.boxes, c.messages);
    EXPECT_EQ(settings.varioFilter, c.stored);
    EXPECT_EQ(window->Action(cmd::kVarioFilter)->isChecked(), c.stored != 0);
  }
}

TEST_F(AnalysisCommandsTest, TrackGapDialogWorksInMinutesAndStaysOpenSilently) {
  const ValueCase cases[] = {{"30", {}, 1800}, {"", {}, 1200}, {"half", {}, 1200}};
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.field);
    settings.trackGapTime = 1200;
    const ValueRun run = RunValueDialog(*window, cmd::kGapFilterTime, c.field);
    EXPECT_EQ(run.title, "Set Track Gap Time");
    EXPECT_EQ(run.shown, "20");
    EXPECT_EQ(run.closed, c.stored != 1200);
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(settings.trackGapTime, c.stored);
  }
}

TEST_F(AnalysisCommandsTest, LoopFlightGapDialog) {
  const ValueCase cases[] = {
      {"1200", {}, 1200},
      {"0", {}, 0},
      {"", {Error("Missing input", "Set gap distance")}, 800},
      {"far", {Error("Bad input", "Set gap distance")}, 800},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.field);
    settings.loopFlightGap = 800;
    recorder.boxes.clear();
    const ValueRun run = RunValueDialog(*window, cmd::kLoopFlightGap, c.field);
    EXPECT_EQ(run.title, "Loop flight gap distance");
    EXPECT_EQ(run.shown, "800");
    EXPECT_EQ(run.notes,
              (QStringList{"Set the maximum allowable loop flight gap distance in meters, e.g. 2 x 400m = 800m.",
                           "Setting the value to zero disables the out-and-return and triangle optimisation "
                           "calculation."}));
    EXPECT_EQ(run.closed, c.messages.empty());
    EXPECT_EQ(recorder.boxes, c.messages);
    EXPECT_EQ(settings.loopFlightGap, c.stored);
  }
}

// ---- rotate track ----

TEST_F(AnalysisCommandsTest, RotateChecksBeforeTheDialogOpens) {
  window->Dispatch(cmd::kRotateTrack);
  LoadLog(GenerateTestFlight());
  window->ShowView(ViewMode::Waypoints);
  window->Dispatch(cmd::kRotateTrack);
  window->ShowView(ViewMode::TrackLog);
  window->Dispatch(cmd::kRotateTrack);
  SelectRows(5, 5);
  window->Dispatch(cmd::kRotateTrack);  // the question is answered Cancel
  EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{Error("No positions loaded", "Rotate track log"),
                                                      Error("Incorrect view mode", "Rotate track log"),
                                                      Error("No position(s) selected", "Rotate track log")}));
  ASSERT_EQ(recorder.questions.size(), 1u);
  EXPECT_EQ(recorder.questions[0].text, "Only one position selected, continue ?");
  EXPECT_EQ(recorder.questions[0].caption, "Rotate track log");
  EXPECT_EQ(log.Count(), kTestFlightPoints);
}

TEST_F(AnalysisCommandsTest, RotateDialogRefusesFaultyFieldsAndTurnsTheSelection) {
  LoadLog(CirclingFlight(100));
  log.description = "Flytec 5020";
  SelectRows(10, 19);
  ModalScript script;
  std::vector<std::string> shownFirst;
  script.Add([&](QWidget& modal) {
    auto* dialog = qobject_cast<RotateTrackDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Rotate Track");
    shownFirst = {dialog->StartLatitude().text().toStdString(), dialog->EndLongitude().text().toStdString()};
    dialog->StartLatitude().setText("");
    dialog->accept();
    dialog->StartLatitude().setText("46.5");
    dialog->StartLongitude().setText("7.5");
    dialog->EndLatitude().setText("46.5");
    dialog->EndLongitude().setText("7.5");
    dialog->accept();  // positions too close
    EXPECT_TRUE(dialog->isVisible());
    dialog->EndLatitude().setText("47.5");
    dialog->accept();
    EXPECT_FALSE(dialog->isVisible());
  });
  window->Dispatch(cmd::kRotateTrack);
  EXPECT_EQ(shownFirst, (std::vector<std::string>{"0", "0"}));
  EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{Error("Missing start latitude input", "Decode position"),
                                                      Error("Positions are too close", "Decode position")}));
  // The rotated selection replaced the log; the start position went to 0, 0,
  // so the points lie within a few hundred metres of it.
  ASSERT_EQ(log.Count(), 10);
  EXPECT_TRUE(log.description.empty());
  for (const TrackPoint& p : log.points) {
    EXPECT_LT(std::abs(SemicircleToRadians(p.lat)), 1e-4);
    EXPECT_LT(std::abs(SemicircleToRadians(p.lon)), 1e-4);
  }
  EXPECT_EQ(window->Mode(), ViewMode::TrackLog);
  EXPECT_EQ(window->List().model()->rowCount(), 10);

  // The fields are remembered for the next opening.
  SelectAll();
  script.Add([&](QWidget& modal) {
    auto* dialog = qobject_cast<RotateTrackDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->EndLatitude().text(), "47.5");
    dialog->reject();
  });
  window->Dispatch(cmd::kRotateTrack);
  EXPECT_EQ(log.Count(), 10);
}

}  // namespace
}  // namespace trelvik
