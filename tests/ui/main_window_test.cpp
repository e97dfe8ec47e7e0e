#include "ui/main_window.hpp"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "access/gps_access.hpp"
#include "access/job_table.hpp"
#include "analysis/test_flight.hpp"
#include "support/fake_link.hpp"
#include "qt_application.hpp"
#include "support/scripted_user_interface.hpp"
#include "ui/command_ids.hpp"
#include "ui/list_model.hpp"
#include "ui/menu_table.hpp"
#include "ui/qt_user_interface.hpp"
#include "ui/track_view_window.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;
namespace cmd = command;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    testing::Application();
    MainWindowOptions options;
    options.portName = "/dev/ttyUSB0";
    window = std::make_unique<MainWindow>(log, waypoints, qtUi, options, &recorder);
  }

  QStringList HeaderTexts() const {
    QStringList headers;
    const ListModel& model = window->Model();
    for (int i = 0; i < model.columnCount(); ++i) headers << model.headerData(i, Qt::Horizontal).toString();
    return headers;
  }

  void SelectRows(int first, int last) {
    QItemSelectionModel* selection = window->List().selectionModel();
    selection->clearSelection();
    const QItemSelection rows(window->Model().index(first, 0), window->Model().index(last, 0));
    selection->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }

  TrackLog log;
  WaypointList waypoints;
  QtUserInterface qtUi;
  testing::ScriptedUserInterface recorder;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, TitleShowsVersionAndPort) {
  EXPECT_EQ(window->windowTitle(), "Trelvik 4.72, /dev/ttyUSB0");
}

TEST_F(MainWindowTest, StartsInTheWaypointViewAndSwitchesViews) {
  EXPECT_EQ(window->Mode(), ViewMode::Waypoints);
  EXPECT_EQ(HeaderTexts().front(), "ID");
  window->Dispatch(cmd::kViewTrackLog);
  EXPECT_EQ(window->Mode(), ViewMode::TrackLog);
  EXPECT_EQ(HeaderTexts(), (QStringList{"UTC date", "UTC time", "Latitude", "Longitude", "H (GPS)", "H (B-G)", "km/h"}));
  window->Dispatch(cmd::kViewAirspace);
  EXPECT_EQ(HeaderTexts().size(), 5);
  window->Dispatch(cmd::kViewPilotList);
  EXPECT_EQ(HeaderTexts(), (QStringList{"Name", "Comp. ID", "CIVL ID", "Device"}));
}

TEST_F(MainWindowTest, ColumnsAreSizedFromTheListFontSoTheirTextsFit) {
  window->Dispatch(cmd::kTest);
  const QTableView& list = window->List();
  const QFontMetrics metrics = list.fontMetrics();
  const ListModel& model = window->Model();
  for (int column = 0; column < model.columnCount(); ++column) {
    const QString text = model.data(model.index(1, column)).toString();
    EXPECT_LE(metrics.horizontalAdvance(text) + 6, list.columnWidth(column)) << text.toStdString();
  }
  window->Dispatch(cmd::kViewWaypoints);
  EXPECT_GT(list.columnWidth(5), list.columnWidth(6));  // "Name" 50, "Time" 18
  EXPECT_GT(list.columnWidth(6), list.columnWidth(4));  // "T" 3
  QFont larger = list.font();
  larger.setPointSize(larger.pointSize() * 2);
  window->List().setFont(larger);
  window->RefreshList();
  EXPECT_GT(list.columnWidth(5), 50 * list.fontMetrics().averageCharWidth());
}

TEST_F(MainWindowTest, UtmBoxSwitchesTheColumnSet) {
  window->Dispatch(cmd::kViewTrackLog);
  window->UtmBox().click();
  EXPECT_TRUE(window->UtmDisplay());
  EXPECT_EQ(HeaderTexts().mid(2, 3), (QStringList{"Zone", "Easting", "Northing"}));
  window->UtmBox().click();
  EXPECT_EQ(HeaderTexts().mid(2, 2), (QStringList{"Latitude", "Longitude"}));
}

TEST_F(MainWindowTest, TestFillsTheTrackViewWith2201Rows) {
  window->Dispatch(cmd::kTest);
  EXPECT_EQ(window->Mode(), ViewMode::TrackLog);
  EXPECT_EQ(window->Model().rowCount(), kTestFlightPoints);
  EXPECT_EQ(log.Count(), kTestFlightPoints);
  window->UtmBox().click();
  EXPECT_EQ(window->Model().data(window->Model().index(0, 2)).toString(), "32V");
  EXPECT_EQ(window->Model().data(window->Model().index(0, 7)).toString(), "START");
}

TEST_F(MainWindowTest, AVirtualListOf200000PointsHasNoRowObjects) {
  log.points.assign(200000, TrackPoint{});
  window->ShowView(ViewMode::TrackLog);
  EXPECT_EQ(window->Model().rowCount(), 200000);
  window->List().scrollToBottom();
  EXPECT_EQ(window->Model().data(window->Model().index(199999, 1)).toString(), "00:00:00");
}

TEST_F(MainWindowTest, TrackViewDrawsTheSelectedPositions) {
  window->Dispatch(cmd::kTest);
  window->Dispatch(cmd::kSelectAll);
  window->Dispatch(cmd::kShowTrack);
  ASSERT_TRUE(recorder.boxes.empty());
  TrackViewWindow* view = window->TrackView();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->windowTitle(), "Track view");
  view->resize(300, 200);
  const QImage picture = view->grab().toImage();
  const QRgb background = view->palette().color(QPalette::Base).rgb();
  const QRgb ink = view->palette().color(QPalette::Text).rgb();
  int inked = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb pixel = picture.pixel(x, y);
      if (pixel == ink) ++inked;
      EXPECT_TRUE(pixel == ink || pixel == background) << x << "," << y;
      if (HasFailure()) return;
    }
  }
  EXPECT_GT(inked, 300);  // thousands of segments leave a visible line
  // A second track view replaces the first.
  QPointer<TrackViewWindow> first = view;
  window->Dispatch(cmd::kShowTrack);
  QTRY_VERIFY(first.isNull());
  EXPECT_NE(window->TrackView(), nullptr);
}

TEST_F(MainWindowTest, TrackViewNeedsTheTrackViewAndTwoPositions) {
  window->Dispatch(cmd::kShowTrack);
  window->Dispatch(cmd::kTest);
  window->Dispatch(cmd::kShowTrack);
  SelectRows(5, 5);
  window->Dispatch(cmd::kShowTrack);
  EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{
                                {MessageKind::Error, "Incorrect view mode", "Show track"},
                                {MessageKind::Error, "No positions selected", "Show track"},
                                {MessageKind::Error, "Less than 2 positions selected", "Show track"},
                            }));
  EXPECT_EQ(window->TrackView(), nullptr);
}

struct BusyCase {
  int id;
  const char* caption;
};

TEST_F(MainWindowTest, CommandsWhileAJobRunsAreRefusedAndChangeNothing) {
  const BusyCase cases[] = {
      {cmd::kViewTrackLog, "Change view mode"}, {cmd::kViewAirspace, "Change view mode"},
      {cmd::kSelectAll, "Select all items"},    {cmd::kSmallListSize, "Set list size"},
      {cmd::kLargeListSize, "Set list size"},   {cmd::kShowTrack, "Show track"},
      {cmd::kTest, "Test"},
  };
  waypoints.waypoints.resize(3);
  window->RefreshList();
  window->SetJobRunning(true);
  for (const BusyCase& busy : cases) {
    recorder.boxes.clear();
    window->Dispatch(busy.id);
    EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Busy GPS driver", busy.caption}}))
        << busy.id;
  }
  EXPECT_EQ(window->Mode(), ViewMode::Waypoints);
  EXPECT_FALSE(window->List().selectionModel()->hasSelection());
  EXPECT_EQ(window->CurrentListSize(), ListSize::Default);
  EXPECT_TRUE(log.Empty());
  recorder.boxes.clear();
  window->UtmBox().click();
  EXPECT_FALSE(window->UtmDisplay());
  EXPECT_EQ(recorder.boxes.size(), 1u);
}

TEST_F(MainWindowTest, AbortClearsTheBusyFlagAndDoesNothingWhenIdle) {
  int aborts = 0;
  window->SetAbortHandler([&] { ++aborts; });
  QPushButton* abort = window->findChild<QPushButton*>(QString(), Qt::FindChildrenRecursively);
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    if (button->text() == "&Abort transfer") abort = button;
  }
  abort->click();
  EXPECT_EQ(aborts, 0);
  window->SetJobRunning(true);
  abort->click();
  EXPECT_EQ(aborts, 1);
  EXPECT_FALSE(window->JobRunning());
}

TEST_F(MainWindowTest, ChoosingTheListSizeInUseDoesNotRebuild) {
  QSignalSpy changes(window.get(), &MainWindow::listSizeChanged);
  window->Dispatch(cmd::kDefaultListSize);
  EXPECT_EQ(changes.count(), 0);
  const int defaultHeight = window->height();
  window->Dispatch(cmd::kSmallListSize);
  EXPECT_EQ(changes.count(), 1);
  EXPECT_LT(window->height(), defaultHeight);
  window->Dispatch(cmd::kSmallListSize);
  EXPECT_EQ(changes.count(), 1);
}

TEST_F(MainWindowTest, MenusFollowTheTableAndOnlyWorkingCommandsAreEnabled) {
  int commands = 0;
  for (const MenuEntry& entry : MainMenuTable()) {
    if (entry.row != MenuRow::Command && entry.row != MenuRow::Check) continue;
    ++commands;
    QAction* action = window->Action(entry.id);
    ASSERT_NE(action, nullptr) << entry.text;
    EXPECT_EQ(action->text(), QString::fromLatin1(entry.text));
    EXPECT_EQ(action->isEnabled(), window->HasHandler(entry.id)) << entry.text;
    if (entry.shortcut) {
      EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(entry.shortcut)));
    }
  }
  EXPECT_GT(commands, 100);
  EXPECT_EQ(window->Action(cmd::kViewWaypoints)->shortcut(), QKeySequence("Ctrl+1"));
  EXPECT_EQ(window->Action(cmd::kLargeListSize)->shortcut(), QKeySequence("Ctrl+Alt+2"));
  // No instrument job can start in this window yet, so no instrument entry is offered.
  EXPECT_FALSE(window->Action(40085)->isEnabled());
  EXPECT_FALSE(window->QuickButton(cmd::kReadFlytec)->isEnabled());
  EXPECT_EQ(window->QuickButton(cmd::kReadFlytec)->text(), "Flytec 5020/5030");
}

TEST_F(MainWindowTest, AHandlerEnablesItsEntryAndQuickButton) {
  int started = 0;
  window->SetHandler(cmd::kReadFlytec, [&] { ++started; });
  EXPECT_TRUE(window->Action(cmd::kReadFlytec)->isEnabled());
  window->QuickButton(cmd::kReadFlytec)->click();
  EXPECT_EQ(started, 1);
}

TEST_F(MainWindowTest, CompSpecialShortcutRefreshesTheTitle) {
  MainWindowOptions options;
  options.portName = "/dev/ttyS0";
  options.competitionMode = true;
  MainWindow competition(log, waypoints, qtUi, options, &recorder);
  EXPECT_EQ(competition.windowTitle(), "Trelvik 4.72, /dev/ttyS0, Competition mode");
  competition.Dispatch(cmd::kToggleCompSpecial);
  EXPECT_EQ(competition.windowTitle(), "Trelvik 4.72, /dev/ttyS0, Comp. mode");
}

TEST_F(MainWindowTest, StatusAndProductLinesTakeTheJobsTexts) {
  qtUi.SetStatus("12 points received");
  qtUi.SetProduct("Flymaster GpsSD");
  EXPECT_EQ(window->StatusLine().text(), "12 points received");
  EXPECT_EQ(window->ProductLine().text(), "Flymaster GpsSD");
}

TEST_F(MainWindowTest, CloseSequenceFreesTheStoresOnce) {
  window->Dispatch(cmd::kTest);
  int aborts = 0;
  window->SetAbortHandler([&] { ++aborts; });
  window->SetJobRunning(true);
  window->show();
  window->Dispatch(cmd::kExit);
  EXPECT_TRUE(window->QuitFlag());
  EXPECT_FALSE(window->JobRunning());
  EXPECT_EQ(aborts, 1);
  EXPECT_TRUE(log.Empty());
  EXPECT_EQ(window->Model().rowCount(), 0);
  window->close();
  EXPECT_EQ(aborts, 1);
}

TEST_F(MainWindowTest, WithTheGpsAccessLayerTheTraceCommandsWorkAndAbortReachesIt) {
  EXPECT_FALSE(window->Action(cmd::kDumpDebugData)->isEnabled());
  JobTable table;
  FakeLinkOpener opener;
  GpsAccess access(table, opener);
  std::string traceFolder = "/tmp";
  window->AttachGpsAccess(access, traceFolder);
  EXPECT_TRUE(window->Action(cmd::kDumpDebugData)->isEnabled());
  EXPECT_TRUE(window->Action(cmd::kClearDebugData)->isEnabled());
  window->Dispatch(cmd::kDumpDebugData);
  access.Trace().TraceText("$PBRTL,");
  window->Dispatch(cmd::kClearDebugData);
  EXPECT_EQ(access.Trace().Count(), 0);
  window->Dispatch(cmd::kDumpDebugData);
  access.SetJobRunning(true);
  EXPECT_TRUE(window->JobRunning());
  window->Dispatch(cmd::kViewTrackLog);
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    if (button->text() == "&Abort transfer") button->click();
  }
  EXPECT_FALSE(access.JobRunning());
  EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{
                                {MessageKind::Error, "Buffer is empty", "Save debug buffer"},
                                {MessageKind::Error, "Buffer is empty", "Save debug buffer"},
                                {MessageKind::Error, "Busy GPS driver", "Change view mode"},
                                {MessageKind::Error, "Port not in use", "Abort GPS access"},
                            }));
}

}  // namespace
}  // namespace trelvik
