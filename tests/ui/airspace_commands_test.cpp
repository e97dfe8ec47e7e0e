// The CTR menu in the window: the airspace view's rows, the file read with
// its questions, the guards, the OpenAir editor and the other list commands.
#include "ui/airspace/airspace_commands.hpp"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <fstream>
#include <memory>
#include <sstream>

#include "airspace/ctr_edit.hpp"
#include "analysis_modal_script.hpp"
#include "qt_application.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "ui/airspace/ctr_editor_dialog.hpp"
#include "ui/airspace/dy_notice_dialog.hpp"
#include "ui/analysis/value_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/list_model.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {
namespace {

using testing::ModalScript;
using testing::RecordedBox;
namespace cmd = command;

// Two airspaces by hand: a polygon of four points and a circle.
constexpr const char* kTwoAirspaces =
    "* test airspaces\r\n"
    "AC D\r\n"
    "AN TMA ONE\r\n"
    "AL 1500 ft\r\n"
    "AH FL 95\r\n"
    "DP 46:30:00 N 006:10:00 E\r\n"
    "DP 46:40:00 N 006:10:00 E\r\n"
    "DP 46:40:00 N 006:30:00 E\r\n"
    "DP 46:30:00 N 006:30:00 E\r\n"
    "AC C\r\n"
    "AN CTR TWO\r\n"
    "AL GND\r\n"
    "AH 2500 m\r\n"
    "V X=46:20:00 N 006:05:00 E\r\n"
    "DC 5\r\n";

RecordedBox Error(const std::string& text, const std::string& caption) { return {MessageKind::Error, text, caption}; }

class AirspaceCommandsTest : public ::testing::Test {
 protected:
  AirspaceCommandsTest() {
    testing::Application();
    MainWindowOptions options;
    options.portName = "/dev/ttyUSB0";
    window = std::make_unique<MainWindow>(log, waypoints, qtUi, options, &recorder);
    settings.ctrSegError = 10;
    settings.ctrDir = dir.Path();
    InstallAirspaceCommands(*window, {airspace, waypoints, settings, recorder, qtUi});
  }

  std::string WriteFile(const std::string& name, const std::string& text) {
    const std::string path = dir.File(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  void ReadFile(const std::string& text) {
    recorder.QueueFile(WriteFile("airspace.txt", text));
    window->Dispatch(cmd::kReadCtrFile);
  }

  QAbstractItemModel& Rows() const { return *window->List().model(); }

  QStringList Row(int row) const {
    QStringList cells;
    for (int column = 0; column < Rows().columnCount(); ++column) cells << Rows().index(row, column).data().toString();
    return cells;
  }

  void SelectRow(int row) {
    window->List().clearSelection();
    window->List().selectRow(row);
  }

  testing::TempDir dir;
  TrackLog log;
  WaypointList waypoints;
  AirspaceList airspace;
  Settings settings;
  QtUserInterface qtUi;
  testing::ScriptedUserInterface recorder;
  std::unique_ptr<MainWindow> window;
};

TEST_F(AirspaceCommandsTest, ReadFileFillsTheAirspaceViewRows) {
  ReadFile(kTwoAirspaces);
  EXPECT_TRUE(recorder.boxes.empty());
  EXPECT_EQ(recorder.statusLines.back(), "2 CTRs read");
  ASSERT_EQ(recorder.fileRequests.size(), 1u);
  EXPECT_EQ(recorder.fileRequests[0].title, "Read CTR");
  EXPECT_EQ(recorder.fileRequests[0].folder, dir.Path());

  window->Dispatch(cmd::kViewAirspace);
  ASSERT_EQ(window->Mode(), ViewMode::Airspace);
  QStringList headers;
  for (int i = 0; i < Rows().columnCount(); ++i) headers << Rows().headerData(i, Qt::Horizontal).toString();
  EXPECT_EQ(headers, (QStringList{"Name", "Floor (Remark)", "Ceiling", "Distance", "Segments"}));
  ASSERT_EQ(Rows().rowCount(), 2);
  EXPECT_EQ(Row(0), (QStringList{"TMA ONE", "1500 ft", "FL 95", "200", "4"}));
  EXPECT_EQ(Row(1), (QStringList{"CTR TWO", "GND", "2500 m", "200", "1"}));
  // The window's column widths land on the airspace columns.
  EXPECT_GT(window->List().columnWidth(0), window->List().columnWidth(3));

  // Back in another view the window's own rows return.
  window->Dispatch(cmd::kViewWaypoints);
  EXPECT_EQ(window->List().model(), static_cast<QAbstractItemModel*>(&window->Model()));
}

TEST_F(AirspaceCommandsTest, ReadingIntoAShownViewRefreshesItsRows) {
  window->Dispatch(cmd::kViewAirspace);
  EXPECT_EQ(Rows().rowCount(), 0);
  ReadFile(kTwoAirspaces);
  EXPECT_EQ(Rows().rowCount(), 2);
}

TEST_F(AirspaceCommandsTest, SecondReadAsksWhetherToKeepTheCurrentList) {
  struct Case {
    Answer keep;
    QStringList names;
  };
  const Case cases[] = {
      {Answer::Yes, {"NEW ONE", "TMA ONE", "CTR TWO"}},
      {Answer::No, {"NEW ONE"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.keep));
    airspace.Clear();
    recorder.questions.clear();
    ReadFile(kTwoAirspaces);
    recorder.QueueAnswer(c.keep);
    ReadFile("AN NEW ONE\r\nAL GND\r\nAH FL 100\r\nV X=46:00:00 N 006:00:00 E\r\nDC 2\r\n");
    ASSERT_EQ(recorder.questions.size(), 1u);
    EXPECT_EQ(recorder.questions[0].text, "Keep current CTR list ?");
    EXPECT_EQ(recorder.questions[0].caption, "Read CTR file");
    window->Dispatch(cmd::kViewAirspace);
    QStringList names;
    for (int row = 0; row < Rows().rowCount(); ++row) names << Row(row).front();
    EXPECT_EQ(names, c.names);
  }
}

TEST_F(AirspaceCommandsTest, ABadFileLeavesTheListAndShowsTheLine) {
  ReadFile(kTwoAirspaces);
  ReadFile("AN BROKEN\r\nDP 95:00:00 N 006:00:00 E\r\n");
  EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{Error("Bad position format on line 2", "Parsing CTR buffer")}));
  EXPECT_EQ(airspace.areas.size(), 2u);
}

TEST_F(AirspaceCommandsTest, ReadIsRefusedWhileAJobRuns) {
  window->SetJobRunning(true);
  window->Dispatch(cmd::kReadCtrFile);
  EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{Error("Busy GPS driver", "Read CTR file")}));
  EXPECT_TRUE(recorder.fileRequests.empty());
}

struct GuardCase {
  int id;
  const char* caption;
};

const GuardCase kListCommands[] = {
    {cmd::kWriteCtrFile, "Write CTR file"},
    {cmd::kWriteCtrGpx, "Save CTR(s) in .gpx file"},
    {cmd::kWriteCtrGoogleApi, "Save CTR(s) in Google API file"},
    {cmd::kEditCtr, "Edit CTR"},
    {cmd::kNewCtr, "Edit CTR"},
    {cmd::kDeleteCtrs, "Edit CTR"},
    {cmd::kShowCtrAsWaypoints, "Show CTR"},
};

TEST_F(AirspaceCommandsTest, ListCommandsAreRefusedOutsideTheAirspaceViewAndWhileBusy) {
  ReadFile(kTwoAirspaces);
  for (const GuardCase& c : kListCommands) {
    SCOPED_TRACE(c.caption);
    recorder.boxes.clear();
    window->Dispatch(cmd::kViewWaypoints);
    window->Dispatch(c.id);
    EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{Error("Incorrect view mode", c.caption)}));

    recorder.boxes.clear();
    window->Dispatch(cmd::kViewAirspace);
    window->SetJobRunning(true);
    window->Dispatch(c.id);
    window->SetJobRunning(false);
    EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{Error("Busy GPS driver", c.caption)}));
  }
  EXPECT_EQ(airspace.areas.size(), 2u);
}

TEST_F(AirspaceCommandsTest, CommandsWithoutASelectionSaySo) {
  const GuardCase cases[] = {
      {cmd::kWriteCtrFile, "No CTR(s) selected"},
      {cmd::kWriteCtrGpx, "No CTR(s) selected"},
      {cmd::kWriteCtrGoogleApi, "No CTR(s) selected"},
      {cmd::kDeleteCtrs, "No CTR(s) selected"},
      {cmd::kEditCtr, "No CTR selected"},
      {cmd::kShowCtrAsWaypoints, "No CTR selected"},
  };
  ReadFile(kTwoAirspaces);
  window->Dispatch(cmd::kViewAirspace);
  for (const GuardCase& c : cases) {
    recorder.boxes.clear();
    window->Dispatch(c.id);
    ASSERT_EQ(recorder.boxes.size(), 1u) << c.caption;
    EXPECT_EQ(recorder.boxes[0].text, c.caption);
  }
  EXPECT_TRUE(recorder.fileRequests.size() == 1u);  // only the read asked for a file
}

TEST_F(AirspaceCommandsTest, EditOnAnEmptyListSaysSo) {
  window->Dispatch(cmd::kViewAirspace);
  window->Dispatch(cmd::kEditCtr);
  EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{Error("No CTR in list", "Edit CTR")}));
}

TEST_F(AirspaceCommandsTest, WritesTheSelectionAsOpenAir) {
  ReadFile(kTwoAirspaces);
  window->Dispatch(cmd::kViewAirspace);
  SelectRow(1);
  const std::string target = dir.File("out.txt");
  recorder.QueueFile(target);
  window->Dispatch(cmd::kWriteCtrFile);
  EXPECT_TRUE(recorder.boxes.empty());
  std::ifstream file(target, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(text.str(), "AN CTR TWO\r\nAL GND\r\nAH 2500 m\r\nV X = 46:20:00.0 N   6:05:00.0 E\r\nDC 5.0000\r\n");
}

// Opens the editor on `row` and hands it to `act`.
void WithEditor(ModalScript& script, const std::function<void(CtrEditorDialog&)>& act) {
  script.Add([act](QWidget& modal) {
    auto* editor = qobject_cast<CtrEditorDialog*>(&modal);
    ASSERT_NE(editor, nullptr);
    act(*editor);
    if (editor->isVisible()) editor->reject();
  });
}

TEST_F(AirspaceCommandsTest, EditorRoundTripKeepsTheAirspace) {
  ReadFile(kTwoAirspaces);
  window->Dispatch(cmd::kViewAirspace);
  SelectRow(0);
  const CtrArea before = airspace.areas[0];
  QString firstText;
  QString secondText;
  ModalScript script;
  WithEditor(script, [&](CtrEditorDialog& editor) {
    EXPECT_EQ(editor.windowTitle(), "Edit CTR");
    EXPECT_EQ(editor.WarningDistance().text(), "200");
    firstText = editor.Text().toPlainText();
    editor.accept();
    EXPECT_FALSE(editor.isVisible());
  });
  window->Dispatch(cmd::kEditCtr);
  SelectRow(0);  // the refresh after OK dropped the selection
  WithEditor(script, [&](CtrEditorDialog& editor) { secondText = editor.Text().toPlainText(); });
  window->Dispatch(cmd::kEditCtr);

  EXPECT_TRUE(firstText.startsWith("*Airspace name\nAN TMA ONE\n*Airspace floor (Remark)\nAL 1500 ft\n"));
  EXPECT_TRUE(firstText.contains("DP 46:40:00.0 N   6:30:00.0 E\n"));
  EXPECT_EQ(secondText, firstText);
  ASSERT_EQ(airspace.areas.size(), 2u);
  EXPECT_EQ(airspace.areas[0].segments, before.segments);
  EXPECT_EQ(airspace.areas[0].name, before.name);
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(AirspaceCommandsTest, EditorChangesReplaceTheAirspaceInItsRow) {
  ReadFile(kTwoAirspaces);
  window->Dispatch(cmd::kViewAirspace);
  SelectRow(1);
  ModalScript script;
  WithEditor(script, [](CtrEditorDialog& editor) {
    editor.Text().setPlainText(editor.Text().toPlainText().replace("AN CTR TWO", "AN CTR 2"));
    editor.WarningDistance().setText("500");
    editor.accept();
  });
  window->Dispatch(cmd::kEditCtr);
  EXPECT_EQ(Row(0).front(), "TMA ONE");
  EXPECT_EQ(Row(1), (QStringList{"CTR 2", "GND", "2500 m", "500", "1"}));
}

TEST_F(AirspaceCommandsTest, EditorStaysOpenOnEveryRefusal) {
  struct Case {
    const char* text;
    const char* warning;
    RecordedBox message;
  };
  const Case cases[] = {
      {"AN A\nDP 46 N 6 E\n", "", Error("Missing warning distance input", "Edit CTR")},
      {"AN A\nDP 46 N 6 E\n", "-5", Error("Bad warning distance format", "Edit CTR")},
      {"", "200", Error("Missing text", "Edit CTR")},
      {"AN A\nDP 46 N\n", "200", Error("Bad position format on line 2", "Parsing CTR buffer")},
      {"AN A\n", "200", Error("No segments in airspace (line 2)", "Parsing CTR buffer")},
  };
  ReadFile(kTwoAirspaces);
  window->Dispatch(cmd::kViewAirspace);
  SelectRow(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message.text);
    recorder.boxes.clear();
    ModalScript script;
    bool stayedOpen = false;
    WithEditor(script, [&](CtrEditorDialog& editor) {
      editor.Text().setPlainText(QString::fromLatin1(c.text));
      editor.WarningDistance().setText(QString::fromLatin1(c.warning));
      editor.accept();
      stayedOpen = editor.isVisible();
    });
    window->Dispatch(cmd::kEditCtr);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{c.message}));
  }
  EXPECT_EQ(Row(0).front(), "TMA ONE");
}

TEST_F(AirspaceCommandsTest, NewCtrStartsFromTheTemplateAndGoesToTheFront) {
  ReadFile(kTwoAirspaces);
  window->Dispatch(cmd::kViewAirspace);
  ModalScript script;
  WithEditor(script, [](CtrEditorDialog& editor) {
    EXPECT_EQ(editor.Text().toPlainText(), EditorTextFromOpenAir(std::string(kNewCtrTemplate)));
    EXPECT_EQ(editor.WarningDistance().text(), "200");
    editor.Text().setPlainText("AN FRESH\nAL GND\nAH FL 65\nDP 46 N 6 E\nDP 46.1 N 6 E\nDP 46.1 N 6.1 E\n");
    editor.accept();
  });
  window->Dispatch(cmd::kNewCtr);
  ASSERT_EQ(Rows().rowCount(), 3);
  EXPECT_EQ(Row(0), (QStringList{"FRESH", "GND", "FL 65", "200", "3"}));
}

TEST_F(AirspaceCommandsTest, DeleteRemovesTheSelectedRows) {
  ReadFile(kTwoAirspaces);
  window->Dispatch(cmd::kViewAirspace);
  SelectRow(0);
  window->Dispatch(cmd::kDeleteCtrs);
  ASSERT_EQ(Rows().rowCount(), 1);
  EXPECT_EQ(Row(0).front(), "CTR TWO");
}

TEST_F(AirspaceCommandsTest, ShowAsWaypointsFillsTheWaypointView) {
  ReadFile(kTwoAirspaces);
  window->Dispatch(cmd::kViewAirspace);
  SelectRow(0);
  window->Dispatch(cmd::kShowCtrAsWaypoints);
  EXPECT_TRUE(recorder.boxes.empty());
  EXPECT_EQ(window->Mode(), ViewMode::Waypoints);
  // Four corners and the closing point.
  ASSERT_EQ(waypoints.Count(), 5);
  EXPECT_EQ(std::string(waypoints.waypoints[1].name, 6), "CAAAAB");
  EXPECT_EQ(window->List().model()->rowCount(), 5);
}

TEST_F(AirspaceCommandsTest, SegmentAccuracyDialogChecksItsField) {
  struct Case {
    const char* field;
    const char* message;  // null: accepted
  };
  const Case cases[] = {{"", "Missing input"}, {"ten", "Bad input"}, {"0", "Use 1m or greater"}, {"25", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    recorder.boxes.clear();
    ModalScript script;
    bool closed = false;
    script.Add([&](QWidget& modal) {
      auto* dialog = qobject_cast<ValueDialog*>(&modal);
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->windowTitle(), "Set max. segment error");
      EXPECT_EQ(dialog->Field().text(), "10");
      EXPECT_TRUE(
          dialog->findChildren<QLabel*>().front()->text().startsWith("The number of segments for a full circle"));
      dialog->Field().setText(QString::fromLatin1(c.field));
      dialog->accept();
      closed = !dialog->isVisible();
      if (!closed) dialog->reject();
    });
    settings.ctrSegError = 10;
    window->Dispatch(cmd::kSetCtrAccuracy);
    if (c.message == nullptr) {
      EXPECT_TRUE(closed);
      EXPECT_TRUE(recorder.boxes.empty());
      EXPECT_EQ(settings.ctrSegError, 25);
    } else {
      EXPECT_FALSE(closed);
      EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{Error(c.message, "Set segment error")}));
      EXPECT_EQ(settings.ctrSegError, 10);
    }
  }
}

TEST_F(AirspaceCommandsTest, DyNoticeCanSilenceItselfForTheRestOfTheFile) {
  // Two airspaces with DY records between two that stay.
  const std::string text =
      "AN KEEP A\nDP 46 N 6 E\nAN DROP B\nDP 46 N 6 E\nDY 46 N 6 E\n"
      "AN DROP C\nDP 46 N 6 E\nDY 46 N 6 E\nAN KEEP D\nDP 46 N 6 E\n";
  ModalScript script;
  QString notice;
  script.Add([&](QWidget& modal) {
    auto* dialog = qobject_cast<DyNoticeDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "CTR error notification");
    EXPECT_EQ(dialog->SkipBox().text(), "&Skip further notifications");
    notice = dialog->Text().text();
    dialog->SkipBox().setChecked(true);
    dialog->accept();
  });
  ReadFile(text);
  EXPECT_EQ(script.Opened(), 1);
  EXPECT_EQ(notice, "CTR at line 3:  DY record (not implemented)");
  ASSERT_EQ(airspace.areas.size(), 2u);
  EXPECT_EQ(airspace.areas[1].name, "KEEP D");
}

TEST_F(AirspaceCommandsTest, DyNoticeClosedWithoutOkKeepsNotifying) {
  const std::string text =
      "AN DROP B\nDP 46 N 6 E\nDY 46 N 6 E\nAN DROP C\nDP 46 N 6 E\nDY 46 N 6 E\n"
      "AN KEEP\nDP 46 N 6 E\n";
  ModalScript script;
  for (int i = 0; i < 2; ++i) {
    script.Add([](QWidget& modal) {
      auto* dialog = qobject_cast<DyNoticeDialog*>(&modal);
      ASSERT_NE(dialog, nullptr);
      dialog->SkipBox().setChecked(true);
      dialog->reject();  // the window's close button
    });
  }
  ReadFile(text);
  EXPECT_EQ(script.Opened(), 2);
  EXPECT_EQ(script.Unexpected(), 0);
}

}  // namespace
}  // namespace trelvik
