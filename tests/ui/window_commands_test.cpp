// The window's instrument commands as the job table offers them, their guards,
// the "Set COM port" and "Track List" dialogs, the logbook question and the
// settings at close; no instrument needed.
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTableView>
#include <QTimer>
#include <QApplication>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "support/fake_link.hpp"
#include "access/gps_access.hpp"
#include "analysis_modal_script.hpp"
#include "instruments/protocol_table.hpp"
#include "qt_application.hpp"
#include "settings/settings_store.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "ui/choice_list_dialog.hpp"
#include "ui/com_port_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/logbook_question.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"
#include "ui/utc_offset_dialog.hpp"

namespace trelvik {
namespace {

using testing::Button;
using testing::ModalScript;
using testing::RecordedBox;
namespace cmd = command;

class WindowCommands : public ::testing::Test {
 protected:
  WindowCommands() {
    testing::Application();
    EXPECT_TRUE(RegisterInstruments(table));
    store = std::make_unique<SettingsStore>(
        SettingsPaths{dir.File("config/settings.conf"), dir.File("no-system.conf"), dir.Path()});
    EXPECT_EQ(store->Load(recorder), 0);
    store->Values().portName = "/dev/ttyUSB0";
    window = std::make_unique<MainWindow>(log, waypoints, qtUi, MainWindowOptions{}, &recorder);
    access = std::make_unique<GpsAccess>(table, opener);
    window->AttachGpsAccess(*access, store->Values().traceDir);
    window->AttachSettingsStore(*store);
    window->OfferInstrumentCommands(table);
  }

  testing::TempDir dir;
  JobTable table;
  FakeLinkOpener opener;
  testing::ScriptedUserInterface recorder;
  std::unique_ptr<SettingsStore> store;
  TrackLog log;
  WaypointList waypoints;
  QtUserInterface qtUi;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<GpsAccess> access;
};

struct OfferCase {
  int id;
  bool offered;
};

TEST_F(WindowCommands, OnlyCommandsWithADriverCellAreOffered) {
  const OfferCase cases[] = {
      {cmd::kReadCompeo, true},  {cmd::kReadFlytec, true},   {cmd::kReadAllIqTracks, true},
      {40055, true},             {40086, true},              {40018, true},  // waypoints in and out
      {cmd::kReadFlytecFlightList, true},
      {cmd::kReadGarmin, true},     {40021, true},
      {cmd::kReadFlymaster, true}, {40171, true},  // Flymaster download and its settings dialogs
      {40179, true},                               // Leonardo
      {40109, false},            {40098, false},  // the airspace commands start those
  };
  for (const OfferCase& offer : cases) {
    EXPECT_EQ(window->HasHandler(offer.id), offer.offered) << offer.id;
    if (QPushButton* button = window->QuickButton(offer.id)) {
      EXPECT_EQ(button->isEnabled(), offer.offered);
    }
  }
}

TEST_F(WindowCommands, AnUnsavedLogIsKeptWhenTheUserCancels) {
  log.points.resize(5);
  recorder.QueueAnswer(Answer::Cancel);
  window->QuickButton(cmd::kReadCompeo)->click();
  ASSERT_EQ(recorder.questions.size(), 1u);
  EXPECT_EQ(recorder.questions[0].kind, QuestionKind::OkCancel);
  EXPECT_EQ(recorder.questions[0].text, "Continue without saving current track log ?");
  EXPECT_EQ(recorder.questions[0].caption, "Unsaved track log");
  EXPECT_EQ(log.Count(), 5);
  EXPECT_FALSE(window->JobRunning());
}

TEST_F(WindowCommands, InstrumentCommandsAreRefusedWhileAJobRuns) {
  access->SetJobRunning(true);
  const std::pair<int, const char*> cases[] = {
      {cmd::kReadCompeo, "Download track log"}, {40055, "Download waypoints"},
      {40018, "Upload waypoints"},              {cmd::kReadFlytecFlightList, "Download flightlist"},
      {cmd::kSaveLogIgc, "Write IGC track log file"}, {cmd::kSaveLogFlightLog, "Get flight statistics"},
  };
  for (const auto& [id, caption] : cases) {
    recorder.boxes.clear();
    window->Dispatch(id);
    EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Busy GPS driver", caption}})) << id;
  }
}

TEST_F(WindowCommands, AnUploadNeedsSelectedWaypoints) {
  window->Dispatch(40018);
  EXPECT_EQ(recorder.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "No waypoints selected", "Upload waypoints"}}));
  EXPECT_FALSE(window->JobRunning());
}

TEST_F(WindowCommands, TheFlightLogSaveNeedsALog) {
  window->Dispatch(cmd::kSaveLogButton);
  EXPECT_EQ(recorder.boxes,
            (std::vector<RecordedBox>{{MessageKind::Error, "No positions loaded", "Get flight statistics"}}));
}

TEST_F(WindowCommands, SetComPortStoresTheTypedPortAndRetitlesTheWindow) {
  EXPECT_EQ(window->windowTitle(), "Trelvik 4.72, /dev/ttyUSB0");
  ModalScript script;
  script.Add([](QWidget& widget) {
    auto& dialog = dynamic_cast<ComPortDialog&>(widget);
    dialog.UserSelect().setText(QStringLiteral("21"));
    dialog.TryAccept();  // stays open
    dialog.UserSelect().setText(QStringLiteral("2"));
    dialog.TryAccept();
  });
  window->Dispatch(cmd::kSetComPort);
  EXPECT_EQ(script.Unexpected(), 0);
  EXPECT_EQ(store->Values().portName, "/dev/ttyS1");
  EXPECT_EQ(window->windowTitle(), "Trelvik 4.72, /dev/ttyS1");
  EXPECT_TRUE(std::find(recorder.boxes.begin(), recorder.boxes.end(),
                        RecordedBox{MessageKind::Error, "User port out of range (1-20)", "Set COM port"}) !=
              recorder.boxes.end());
}

TEST_F(WindowCommands, SetUtcOffsetForTnStoresTheChosenOffset) {
  ModalScript script;
  script.Add([](QWidget& widget) {
    auto& dialog = dynamic_cast<UtcOffsetDialog&>(widget);
    dialog.Hours().setCurrentIndex(dialog.Hours().findText(QStringLiteral("-3")));
    dialog.HalfHour().setCurrentIndex(1);
    dialog.accept();
  });
  window->Dispatch(cmd::kSetUtcOffsetForTn);
  EXPECT_EQ(script.Unexpected(), 0);
  EXPECT_EQ(store->Values().utcOffsetForTN, -12600);
}

TEST_F(WindowCommands, CtrlVVerifiesAnIgcFileEvenFromTheList) {
  window->show();
  window->List().setFocus();
  QApplication::setActiveWindow(window.get());
  QTest::keyClick(&window->List(), Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(recorder.fileRequests.size(), 1u);
  EXPECT_EQ(recorder.fileRequests[0].title, "Read track log");
}

struct CloseCase {
  bool commandLineRun;
  bool written;
};

TEST_F(WindowCommands, SettingsAreWrittenAtCloseUnlessACommandLineJobRan) {
  for (const CloseCase close : {CloseCase{true, false}, CloseCase{false, true}}) {
    testing::TempDir folder;
    SettingsStore settings(SettingsPaths{folder.File("settings.conf"), folder.File("none.conf"), folder.Path()});
    ASSERT_EQ(settings.Load(recorder), 0);
    settings.SetCommandLineRun(close.commandLineRun);
    MainWindowOptions options;
    options.commandLineJob = close.commandLineRun;
    MainWindow closing(log, waypoints, qtUi, options, &recorder);
    closing.AttachSettingsStore(settings);
    settings.Values().portName = "/dev/ttyACM0";
    closing.Dispatch(cmd::kExit);
    EXPECT_TRUE(closing.QuitFlag());
    EXPECT_EQ(std::filesystem::exists(folder.File("settings.conf")), close.written) << close.commandLineRun;
  }
}

struct UserPortCase {
  const char* typed;
  const char* port;   // null: refused
  const char* error;  // the refusal
};

TEST(ComPortDialog, UserSelectTakesANumberOrADevicePath) {
  const UserPortCase cases[] = {
      {"1", "/dev/ttyS0", nullptr},
      {"12", "/dev/ttyS11", nullptr},
      {"20", "/dev/ttyS19", nullptr},
      {" /dev/pts/7 ", "/dev/pts/7", nullptr},
      {"0", nullptr, "User port out of range (1-20)"},
      {"21", nullptr, "User port out of range (1-20)"},
      {"COM3", nullptr, "User port input error"},
      {"-2", nullptr, "User port input error"},
  };
  for (const UserPortCase& c : cases) {
    testing::ScriptedUserInterface ui;
    const std::optional<std::string> port = ReadUserPort(ui, c.typed);
    if (c.port) {
      EXPECT_EQ(port, std::optional<std::string>(c.port)) << c.typed;
      EXPECT_TRUE(ui.boxes.empty()) << c.typed;
    } else {
      EXPECT_FALSE(port) << c.typed;
      EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, c.error, "Set COM port"}})) << c.typed;
    }
  }
  testing::ScriptedUserInterface ui;
  EXPECT_FALSE(ReadUserPort(ui, "/dev/" + std::string(80, 'x')));
}

TEST(ComPortDialog, WithoutListedPortsOnlyTheFirstSerialPortIsOffered) {
  testing::Application();
  testing::TempDir dir;
  testing::ScriptedUserInterface ui;
  const DeviceRoots roots{dir.File("dev"), dir.File("sys")};
  ComPortDialog dialog(ui, "/dev/ttyS0", roots, nullptr);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error,
                                                  "Error reading the registry, only COM1 is possible.",
                                                  "Select COM port"}}));
  ASSERT_EQ(dialog.Ports().count(), 1);
  EXPECT_EQ(dialog.Ports().itemText(0), "/dev/ttyS0");
  dialog.TryAccept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Chosen(), "/dev/ttyS0");
}

TEST(TrackListDialog, OkAllAndCancelGiveTheChosenLines) {
  testing::Application();
  QtUserInterface qtUi;
  QtTrackListChooser chooser(qtUi);
  TrackListQuestion question;
  question.title = "Track List (/dev/pts/3, COMPEO)";
  question.note = "Multiple track selection is not available on all GPS types.";
  question.columnHeads = {"No.", "Date", "Time", "Duration"};
  question.lines = {"01   2024-07-15   10:00:00   1:40:00", "03   2024-07-14   09:30:00   25:00:00"};
  struct Case {
    const char* button;
    std::optional<std::vector<int>> chosen;
  };
  const Case cases[] = {{"OK", std::vector<int>{0}}, {"&All", std::vector<int>{0, 1}}, {"&Cancel", std::nullopt}};
  for (const Case& c : cases) {
    QStringList firstRow;
    ModalScript script;
    script.Add([&](QWidget& widget) {
      EXPECT_EQ(widget.windowTitle(), "Track List (/dev/pts/3, COMPEO)");
      const QTreeWidgetItem* first = dynamic_cast<ChoiceListDialog&>(widget).Lines().topLevelItem(0);
      for (int column = 0; column < 4; ++column) firstRow << first->text(column);
      Button(widget, QString::fromLatin1(c.button))->click();
    });
    EXPECT_EQ(chooser.ChooseTracks(question), c.chosen) << c.button;
    EXPECT_EQ(firstRow, (QStringList{"01", "2024-07-15", "10:00:00", "1:40:00"}));
  }
}

TEST(TrackListDialog, AFileTrackChoiceOfNothingIsNoSelection) {
  testing::Application();
  QtUserInterface qtUi;
  const FileTrackChooser choose = QtFileTrackChooser(qtUi);
  TrackListRequest request{"Track List", "Select one of these tracks", "Date / time", "OK", "&Cancel",
                           {"2024-07-15 10:00", "2024-07-15 14:00"}};
  ModalScript script;
  script.Add([](QWidget& widget) {
    dynamic_cast<ChoiceListDialog&>(widget).Lines().clearSelection();
    Button(widget, QStringLiteral("OK"))->click();
  });
  script.Add([](QWidget& widget) {
    auto& lines = dynamic_cast<ChoiceListDialog&>(widget).Lines();
    lines.clearSelection();
    lines.topLevelItem(1)->setSelected(true);
    Button(widget, QStringLiteral("OK"))->click();
  });
  EXPECT_EQ(choose(request), kTrackListNoSelection);
  EXPECT_EQ(choose(request), 1);
}

TEST(LogbookQuestion, HasAppendOverwriteAndCancel) {
  testing::Application();
  const std::unique_ptr<QMessageBox> box = BuildLogbookQuestionBox("/tmp/flights.kml", nullptr);
  EXPECT_EQ(box->windowTitle(), "File already exists");
  QStringList texts;
  for (QAbstractButton* button : box->buttons()) texts << button->text();
  texts.sort();
  EXPECT_EQ(texts, (QStringList{"&Append", "&Cancel", "&Overwrite"}));
  EXPECT_EQ(LogbookAnswerOf(*box), ExistingLogbookAnswer::Cancel);  // closed without a click
}

}  // namespace
}  // namespace trelvik
