// The window follows the desktop: the airspace view and the analysis dialogs
// drawn in the palette's colours, every field reachable from the keyboard
// under a name a screen reader can say, no mnemonic taken twice in a dialog.
//
// With TRELVIK_SCREENSHOT_HOLD_MS set, the scene tests keep their windows on
// screen that long (for screenshots under a real display); with
// TRELVIK_DARK_PALETTE set they use a dark Fusion palette.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTableView>
#include <QTest>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <set>

#include "airspace/ctr_edit.hpp"
#include "analysis/test_flight.hpp"
#include "analysis_modal_script.hpp"
#include "qt_application.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "ui/airspace/airspace_commands.hpp"
#include "ui/airspace/ctr_editor_dialog.hpp"
#include "ui/airspace/dy_notice_dialog.hpp"
#include "ui/analysis/analysis_commands.hpp"
#include "ui/analysis/rotate_track_dialog.hpp"
#include "ui/analysis/statistics_window.hpp"
#include "ui/analysis/value_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"
#include "ui/track_view_window.hpp"
#include "window_look.hpp"

namespace trelvik {
namespace {

using testing::DarkLook;
using testing::HoldForScreenshot;
using testing::Luminance;
using testing::ModalScript;
namespace cmd = command;

constexpr const char* kAirspaces =
    "AC D\r\nAN TMA Geneva 1\r\nAL 1500 ft AMSL\r\nAH FL 95\r\n"
    "DP 46:30:00 N 006:10:00 E\r\nDP 46:40:00 N 006:10:00 E\r\nDP 46:40:00 N 006:30:00 E\r\n"
    "AC C\r\nAN CTR Sion\r\nAL GND\r\nAH 2500 m\r\nV X=46:13:00 N 007:20:00 E\r\nDC 5\r\n"
    "AC R\r\nAN R Glider area\r\nAL GND\r\nAH FL 125\r\nV D=-\r\nV X=46:00:00 N 007:00:00 E\r\n"
    "DB 46:05:00 N 007:00:00 E, 46:00:00 N 007:07:00 E\r\nDP 46:00:00 N 007:00:00 E\r\n";

// Mnemonic letters of a dialog's labels (with a buddy) and buttons; a letter
// twice means one of them cannot be reached with Alt.
std::map<QChar, QStringList> Mnemonics(const QWidget& dialog) {
  std::map<QChar, QStringList> letters;
  auto note = [&letters](const QString& text) {
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    if (at >= 0 && at + 1 < text.size() && text[at + 1] != QLatin1Char('&')) letters[text[at + 1].toLower()] << text;
  };
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (label->buddy() != nullptr) note(label->text());
  }
  for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) note(button->text());
  return letters;
}

// The widget Tab moves to from `from`.
QWidget* NextTabStop(QWidget* from) {
  QWidget* w = from->nextInFocusChain();
  while (w != from && (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisible())) {
    w = w->nextInFocusChain();
  }
  return w;
}

// Every input of a dialog: reachable with Tab and named for a screen reader.
void ExpectKeyboardAndNames(QWidget& dialog) {
  SCOPED_TRACE(dialog.windowTitle().toStdString());
  for (const auto& [letter, texts] : Mnemonics(dialog)) {
    EXPECT_EQ(texts.size(), 1) << "mnemonic " << QString(letter).toStdString() << " in "
                               << texts.join(", ").toStdString();
  }
  std::vector<QWidget*> inputs;
  for (QLineEdit* w : dialog.findChildren<QLineEdit*>()) inputs.push_back(w);
  for (QPlainTextEdit* w : dialog.findChildren<QPlainTextEdit*>()) inputs.push_back(w);
  for (QListWidget* w : dialog.findChildren<QListWidget*>()) inputs.push_back(w);
  for (QWidget* input : inputs) {
    EXPECT_FALSE(input->accessibleName().isEmpty()) << input->metaObject()->className();
    EXPECT_TRUE(input->focusPolicy() & Qt::TabFocus) << input->accessibleName().toStdString();
  }
  // Tab from the first input visits every input and every enabled button.
  std::set<QWidget*> visited;
  QWidget* start = dialog.focusWidget() != nullptr ? dialog.focusWidget() : dialog.nextInFocusChain();
  QWidget* w = start;
  for (int i = 0; i < 200; ++i) {
    visited.insert(w);
    w = w->nextInFocusChain();
    if (w == start) break;
  }
  for (QWidget* input : inputs) EXPECT_TRUE(visited.count(input)) << input->accessibleName().toStdString();
}

class WindowLook : public ::testing::Test {
 protected:
  WindowLook() {
    testing::Application();
    if (qEnvironmentVariableIsSet("TRELVIK_DARK_PALETTE")) dark = std::make_unique<DarkLook>();
    MainWindowOptions options;
    options.portName = "/dev/ttyUSB0";
    window = std::make_unique<MainWindow>(log, waypoints, qtUi, options, &recorder);
    settings.ctrSegError = 10;
    settings.ctrDir = dir.Path();
    settings.logFilter = 1;
    settings.trackGapTime = 1200;
    settings.loopFlightGap = 800;
    settings.trackLogDir = dir.Path();
    InstallAirspaceCommands(*window, {airspace, waypoints, settings, recorder, qtUi});
    InstallAnalysisCommands(*window, {log, settings, recorder, qtUi});
  }

  void ReadAirspaces() {
    const std::string path = dir.File("airspace.txt");
    std::ofstream(path, std::ios::binary) << kAirspaces;
    recorder.QueueFile(path);
    window->Dispatch(cmd::kReadCtrFile);
    window->Dispatch(cmd::kViewAirspace);
    window->StatusLine().setText(QStringLiteral("3 CTRs read"));
  }

  testing::TempDir dir;
  std::unique_ptr<DarkLook> dark;
  TrackLog log;
  WaypointList waypoints;
  AirspaceList airspace;
  Settings settings;
  QtUserInterface qtUi;
  testing::ScriptedUserInterface recorder;
  std::unique_ptr<MainWindow> window;
};

// The share of the viewport's pixels close to the palette's base colour, and
// whether any pixel is close to its text colour.
struct Coverage {
  double ground = 0;
  bool text = false;
};
Coverage ViewportCoverage(QTableView& list) {
  const QImage image = list.viewport()->grab().toImage();
  const double base = Luminance(list.palette().color(QPalette::Base).rgb());
  const double alternate = Luminance(list.palette().color(QPalette::AlternateBase).rgb());
  const double text = Luminance(list.palette().color(QPalette::Text).rgb());
  int ground = 0, total = 0;
  Coverage coverage;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const double l = Luminance(image.pixel(x, y));
      ++total;
      if (std::abs(l - base) < 12 || std::abs(l - alternate) < 12) ++ground;
      if (std::abs(l - text) < 40) coverage.text = true;
    }
  }
  coverage.ground = total > 0 ? static_cast<double>(ground) / total : 0;
  return coverage;
}

TEST_F(WindowLook, AirspaceViewIsDrawnInThePalettesColours) {
  ReadAirspaces();
  window->resize(900, 500);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  Coverage coverage = ViewportCoverage(window->List());
  EXPECT_GT(coverage.ground, 0.8);
  EXPECT_TRUE(coverage.text);
  HoldForScreenshot();

  // The same in a dark palette: nothing painted in fixed light colours.
  if (!dark) dark = std::make_unique<DarkLook>();
  QTest::qWait(10);
  ASSERT_LT(Luminance(window->List().palette().color(QPalette::Base).rgb()), 60);
  coverage = ViewportCoverage(window->List());
  EXPECT_GT(coverage.ground, 0.8);
  EXPECT_TRUE(coverage.text);
}

TEST_F(WindowLook, TrackViewIsDrawnInThePalettesColours) {
  for (const bool darkPass : {false, true}) {
    SCOPED_TRACE(darkPass ? "dark" : "as started");
    if (darkPass && !dark) dark = std::make_unique<DarkLook>();
    window->Dispatch(cmd::kTest);
    window->List().selectAll();
    window->show();
    window->Dispatch(cmd::kShowTrack);
    QWidget* view = window->TrackView();
    ASSERT_NE(view, nullptr);
    view->move(40, 40);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    EXPECT_FALSE(view->accessibleName().isEmpty());
    const QImage image = view->grab().toImage();
    const double base = Luminance(view->palette().color(QPalette::Base).rgb());
    const double text = Luminance(view->palette().color(QPalette::Text).rgb());
    int ground = 0, line = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const double l = Luminance(image.pixel(x, y));
        if (std::abs(l - base) < 12) ++ground;
        if (std::abs(l - text) < 40) ++line;
      }
    }
    EXPECT_GT(ground, image.width() * image.height() * 8 / 10);
    EXPECT_GT(line, 100);
    if (!darkPass) HoldForScreenshot();
    view->close();
  }
}

TEST_F(WindowLook, EditorDialogKeyboardAndNames) {
  ReadAirspaces();
  window->List().selectRow(0);
  ModalScript script;
  script.Add([](QWidget& modal) {
    ExpectKeyboardAndNames(modal);
    HoldForScreenshot();
    qobject_cast<QDialog*>(&modal)->reject();
  });
  window->show();
  window->Dispatch(cmd::kEditCtr);
  EXPECT_EQ(script.Opened(), 1);
}

TEST_F(WindowLook, StatisticsDialogKeyboardAndNames) {
  log.points = GenerateTestFlight();
  log.utcTimes = 1;
  window->ShowView(ViewMode::TrackLog);
  window->List().selectAll();
  window->show();
  ModalScript script;
  script.Add([](QWidget& modal) {
    auto* dialog = qobject_cast<FlightStatisticsWindow*>(&modal);
    ASSERT_NE(dialog, nullptr);
    // "&Halt computation" stays enabled until the distances and the contest
    // scores are both on show.
    if (!QTest::qWaitFor([dialog] { return dialog->DistancesShown() && dialog->ContestScoresShown(); }, 60000)) {
      ADD_FAILURE() << "no results within a minute";
      dialog->reject();
      return;
    }
    dialog->Description().setPlainText(QStringLiteral("Figure-eight over the lake"));
    ExpectKeyboardAndNames(*dialog);
    // The buttons follow the description in the tab order; "&Halt computation"
    // is disabled once the computation has finished.
    EXPECT_EQ(NextTabStop(&dialog->Description()), &dialog->SaveButton());
    EXPECT_EQ(NextTabStop(&dialog->SaveButton()), &dialog->ExitButton());
    HoldForScreenshot();
    dialog->reject();
  });
  window->Dispatch(cmd::kSaveLogButton);
  EXPECT_EQ(script.Opened(), 1);
}

TEST_F(WindowLook, SmallDialogsKeyboardAndNames) {
  log.points = GenerateTestFlight();
  window->ShowView(ViewMode::TrackLog);
  window->List().selectAll();
  const int commands[] = {cmd::kVarioFilter, cmd::kGapFilterTime, cmd::kLoopFlightGap, cmd::kSetCtrAccuracy,
                          cmd::kRotateTrack};
  for (const int id : commands) {
    ModalScript script;
    script.Add([](QWidget& modal) {
      ExpectKeyboardAndNames(modal);
      qobject_cast<QDialog*>(&modal)->reject();
    });
    window->Dispatch(id);
    EXPECT_EQ(script.Opened(), 1) << id;
  }
  DyNoticeDialog notice(QStringLiteral("CTR at line 3:  DY record (not implemented)"));
  ExpectKeyboardAndNames(notice);
}

}  // namespace
}  // namespace trelvik
