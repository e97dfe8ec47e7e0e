// The waypoint list's commands in the window, offscreen: new and edit through
// the "Edit Waypoint" dialog, delete, open and save with the file-type
// choice, and the guards with their messages.
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "analysis_modal_script.hpp"
#include "base/atomic_file.hpp"
#include "qt_application.hpp"
#include "settings/settings.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "ui/command_ids.hpp"
#include "ui/list_model.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"
#include "ui/waypoints/waypoint_commands.hpp"
#include "ui/waypoints/waypoint_dialog.hpp"
#include "waypoints/waypoint_fixtures.hpp"

namespace trelvik {
namespace {

using testing::ModalScript;
using testing::RecordedBox;
namespace cmd = command;

class WaypointWindow : public ::testing::Test {
 protected:
  WaypointWindow() {
    testing::Application();
    window = std::make_unique<MainWindow>(log, waypoints, qtUi, MainWindowOptions{}, &recorder);
    InstallWaypointCommands(*window, {waypoints, settings, recorder, qtUi, {}});
    window->ShowView(ViewMode::Waypoints);
  }

  void Fill(std::initializer_list<const char*> names) {
    waypoints.waypoints.clear();
    for (const char* name : names) waypoints.waypoints.push_back(testing::MakeWaypoint(name, name, 46, 7, 0, 0, 0));
    window->RefreshList();
  }
  void Select(std::initializer_list<int> rows) {
    window->List().clearSelection();
    for (const int row : rows) {
      window->List().selectionModel()->select(window->Model().index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const Waypoint& waypoint : waypoints.waypoints) names.emplace_back(waypoint.name);
    return names;
  }

  testing::TempDir dir;
  testing::ScriptedUserInterface recorder;
  Settings settings;
  TrackLog log;
  WaypointList waypoints;
  QtUserInterface qtUi;
  std::unique_ptr<MainWindow> window;
};

TEST_F(WaypointWindow, DeleteRemovesTheSelectedRowsOrSaysWhyNot) {
  window->Dispatch(cmd::kDeleteWaypoints);
  Fill({"A", "B", "C", "D"});
  window->Dispatch(cmd::kDeleteWaypoints);
  Select({0, 2});
  window->Dispatch(cmd::kDeleteWaypoints);
  EXPECT_EQ(Names(), (std::vector<std::string>{"B", "D"}));
  Select({0, 1});
  window->Dispatch(cmd::kDeleteWaypoints);
  EXPECT_TRUE(waypoints.waypoints.empty());
  window->Dispatch(cmd::kDeleteWaypoints);
  EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{
                                {MessageKind::Error, "No waypoints in list", "Delete waypoint(s)"},
                                {MessageKind::Error, "No waypoint selected", "Delete waypoint(s)"},
                                {MessageKind::Error, "No waypoints in list", "Delete waypoint(s)"},
                            }));
}

TEST_F(WaypointWindow, NewWaypointComesFromTheEditorAndIsRefusedWhileBusy) {
  ModalScript script({[](QWidget& widget) {
    auto& dialog = dynamic_cast<WaypointDialog&>(widget);
    EXPECT_EQ(dialog.windowTitle(), "Edit Waypoint");
    EXPECT_EQ(dialog.Id().text(), "");
    EXPECT_EQ(dialog.Height().text(), "0");
    EXPECT_EQ(dialog.Type().currentText(), "Point");
    dialog.Id().setText("lz");
    dialog.Comment().setText("Landing field");
    dialog.Latitude().setText("N 46 30");
    dialog.Longitude().setText("E 7 15");
    dialog.Type().setCurrentIndex(1);
    dialog.accept();
  }});
  Fill({"A"});
  window->Dispatch(cmd::kNewWaypoint);
  EXPECT_TRUE(script.Done());
  ASSERT_EQ(Names(), (std::vector<std::string>{"A", "LZ"}));
  EXPECT_STREQ(waypoints.waypoints[1].description, "Landing field");
  EXPECT_EQ(waypoints.waypoints[1].airport, 1);
  EXPECT_EQ(waypoints.waypoints[1].lat, DegreesToSemicircle(46.5));
  EXPECT_EQ(window->Model().rowCount(), 2);

  window->SetJobRunning(true);
  window->Dispatch(cmd::kNewWaypoint);
  EXPECT_EQ(script.Unexpected(), 0);
  EXPECT_EQ(recorder.boxes.back(), (RecordedBox{MessageKind::Error, "Busy GPS driver", "New waypoint"}));
}

TEST_F(WaypointWindow, EditKeepsTheDialogOpenAtABadFieldAndWritesBackOnOk) {
  {  // a script of its own for each opening
    ModalScript script({[](QWidget& widget) {
      auto& dialog = dynamic_cast<WaypointDialog&>(widget);
      EXPECT_EQ(dialog.Id().text(), "B");
      dialog.Height().setText("high");
      dialog.accept();  // refused: the dialog stays
      EXPECT_TRUE(dialog.isVisible());
      dialog.Height().setText("1234");
      dialog.Utm().setChecked(true);
      dialog.Zone().setText("32T");
      dialog.Easting().setText("500000");
      dialog.Northing().setText("5150000");
      dialog.accept();
    }});
    window->Dispatch(cmd::kEditWaypoint);
    Fill({"A", "B"});
    window->Dispatch(cmd::kEditWaypoint);
    Select({1});
    window->Dispatch(cmd::kEditWaypoint);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(waypoints.waypoints[1].alt, 1234);
    EXPECT_NEAR(waypoints.waypoints[1].lon, DegreesToSemicircle(9.0), 2);
    EXPECT_EQ(window->List().selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(window->List().selectionModel()->selectedRows().front().row(), 1);
    EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{
                                  {MessageKind::Error, "No waypoints in list", "Edit waypoint"},
                                  {MessageKind::Error, "No waypoint selected", "Edit waypoint"},
                                  {MessageKind::Error, "Bad height", "Edit waypoint"},
                              }));
  }
  // The "UTM" box is remembered for the next opening.
  ModalScript again({[](QWidget& widget) {
    auto& dialog = dynamic_cast<WaypointDialog&>(widget);
    EXPECT_TRUE(dialog.Utm().isChecked());
    dialog.reject();
  }});
  window->Dispatch(cmd::kEditWaypoint);
  EXPECT_TRUE(again.Done());
}

TEST_F(WaypointWindow, OpenRecognisesTheFileAndAppendsOrReplaces) {
  recorder.QueueFile("tests/data/waypoint_files/waypoints.cup");
  window->Dispatch(cmd::kOpenWaypoints);
  EXPECT_EQ(Names(), (std::vector<std::string>{"TK1", "LZ", "LONGNA"}));
  EXPECT_EQ(recorder.statusLines.back(), "3 waypoints read");
  EXPECT_EQ(recorder.productLines.back(), "tests/data/waypoint_files/waypoints.cup");
  EXPECT_EQ(settings.wptImportExt, 1);  // the dialog's first entry, as chosen
  EXPECT_EQ(settings.waypointDir, "tests/data/waypoint_files");

  recorder.QueueFile("tests/data/waypoint_files/waypoints.gpx");
  recorder.QueueAnswer(Answer::Yes);  // append
  recorder.QueueAnswer(Answer::Yes);  // overwrite TK1
  recorder.QueueAnswer(Answer::No);   // keep both LZ
  window->Dispatch(cmd::kOpenWaypoints);
  EXPECT_EQ(Names(), (std::vector<std::string>{"TK1", "LZ", "LONGNA", "LZ"}));
  EXPECT_STREQ(waypoints.waypoints[0].description, "Takeoff north");
  EXPECT_EQ(window->Model().rowCount(), 4);

  const std::string bad = dir.File("bad.wpt");
  ASSERT_FALSE(WriteFileAtomically(bad, "$FormatGEO\r\nA N 95 00 00.00 E 008 00 00.00 0\r\n"));
  recorder.QueueFile(bad);
  window->Dispatch(cmd::kOpenWaypoints);
  EXPECT_EQ(recorder.boxes.back(), (RecordedBox{MessageKind::Error, "Bad line 2", "Decoding waypoint file"}));
  EXPECT_EQ(waypoints.Count(), 4);

  window->SetJobRunning(true);
  window->Dispatch(cmd::kOpenWaypoints);
  EXPECT_EQ(recorder.boxes.back(), (RecordedBox{MessageKind::Error, "Busy GPS driver", "Read waypoints"}));
}

TEST_F(WaypointWindow, SaveWritesTheSelectionInTheRememberedType) {
  Fill({"A", "B", "C"});
  window->Dispatch(cmd::kSaveWaypointsAs);
  EXPECT_EQ(recorder.boxes.back(), (RecordedBox{MessageKind::Error, "No waypoints selected", "Save waypoints"}));

  struct Case {
    int32_t stored;     // WptExportExt
    const char* start;  // what the file begins with
    const char* extension;
  };
  const Case cases[] = {{3, "$FormatGEO\r\n", ".wpt"},
                        {5, "name,code,country", ".cup"},
                        {0, "OziExplorer Waypoint File", ".wpt"},  // outside 1..9: the first type
                        {12, "OziExplorer Waypoint File", ".wpt"}};
  Select({0, 2});
  for (const Case& c : cases) {
    settings.wptExportExt = c.stored;
    const std::string name = dir.File("out" + std::to_string(c.stored));
    recorder.QueueFile(name);
    window->Dispatch(cmd::kSaveWaypointsAs);
    const std::string written = name + c.extension;
    std::string text;
    ASSERT_TRUE(ReadWholeFile(written, text)) << written;
    EXPECT_EQ(text.substr(0, std::strlen(c.start)), c.start);
    EXPECT_NE(text.find("A"), std::string::npos);
    EXPECT_EQ(text.find("B "), std::string::npos);  // not selected
    EXPECT_EQ(recorder.boxes.back(), (RecordedBox{MessageKind::Information, "File written", "Save waypoints"}));
  }
  EXPECT_EQ(settings.wptExportExt, 1);  // the type of the last file
}

}  // namespace
}  // namespace trelvik
