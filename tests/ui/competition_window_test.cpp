// Competition mode in the window, on the offscreen platform against the
// simulated Flytec instrument: the state restored at start, the pilot list
// view, and a download that ends in the "Save competition log" dialog and the
// files of the competition folder.
#include <gtest/gtest.h>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <filesystem>

#include "access/gps_access.hpp"
#include "access/posix_serial_link.hpp"
#include "access/sim_process.hpp"
#include "analysis_modal_script.hpp"
#include "base/atomic_file.hpp"
#include "instruments/protocol_table.hpp"
#include "qt_application.hpp"
#include "sim_window_fixture.hpp"
#include "records/names.hpp"
#include "settings/settings_store.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "ui/choice_list_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/competition/competition_commands.hpp"
#include "ui/competition/competition_dialogs.hpp"
#include "ui/list_model.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {
namespace {

using testing::Button;
using testing::Later;
using testing::ModalScript;
namespace cmd = command;

class CompetitionWindow : public testing::SimulatedInstrumentWindow {
 protected:
  std::vector<std::string> SimArguments() const override {
    return {"flytec", "--flights=2", "--compid=56", "--civlid=4567"};
  }
  void Configure(Settings& settings) override {
    settings.compMode = 1;
    settings.pilotListName = std::filesystem::absolute("tests/data/pilot_lists/competition.fsdb");
    settings.compDir = dir.File("comp");
    settings.logFilter = 0;
    std::filesystem::create_directory(settings.compDir);
  }
  void InstallCommands() override {
    InstallCompetitionCommands(*window, {log, store->Values(), pilots, recorder, qtUi, false});
  }
  UserInterface* Reporter() override { return &recorder; }

  // A track download that takes the first track and confirms in "Save
  // competition log" the pilot of list row `pilotRow` (-1: the one it
  // preselects); false when a dialog was missing.
  bool DownloadConfirmingThePilot(int pilotRow = -1) {
    ModalScript script;
    script.Add(Later([](QWidget& widget) { Button(widget, QStringLiteral("OK"))->click(); }));  // Track List
    script.Add(Later([pilotRow](QWidget& widget) {
      auto& dialog = dynamic_cast<SaveCompetitionLogDialog&>(widget);
      if (pilotRow >= 0) dialog.PilotListView().setCurrentRow(pilotRow);
      Button(dialog, QStringLiteral("OK"))->click();
    }));
    window->QuickButton(cmd::kReadCompeo)->click();
    if (!WaitForJobEnd()) return false;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDownloadLimitMs);
    while (!script.Done() && std::chrono::steady_clock::now() < limit) QTest::qWait(20);
    QTest::qWait(50);
    return script.Done() && script.Unexpected() == 0 && WaitForJobEnd();
  }

  int NoPilotIdQuestions() {
    return static_cast<int>(std::count_if(recorder.questions.begin(), recorder.questions.end(),
                                          [](const auto& question) { return question.caption == "No pilot ID"; }));
  }

  std::vector<std::string> CompFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(store->Values().compDir)) {
      names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  PilotList pilots;
};

TEST_F(CompetitionWindow, StateRestoredAtStartAndThePilotListView) {
  EXPECT_TRUE(window->TitleText().endsWith(QStringLiteral(", Competition mode"))) << window->TitleText().toStdString();
  ASSERT_EQ(pilots.entries.size(), 3u);
  EXPECT_EQ(recorder.statusLines.back(), "3 pilots registered");
  window->Dispatch(cmd::kViewPilotList);
  QAbstractItemModel* rows = window->List().model();
  ASSERT_EQ(rows->rowCount(), 3);
  EXPECT_EQ(rows->index(0, 0).data().toString(), QStringLiteral("Anna Berger"));
  EXPECT_EQ(rows->index(0, 1).data().toString(), QStringLiteral("12"));
  EXPECT_EQ(rows->index(1, 2).data().toString(), QString());
  window->Dispatch(cmd::kViewTrackLog);
  EXPECT_EQ(window->List().model(), &window->Model());
}

TEST_F(CompetitionWindow, DownloadAsksForThePilotFoundByTheInstrumentsIds) {
  QString title;
  QStringList fields;
  int preselected = -1;
  {
    ModalScript script;
    script.Add(Later([](QWidget& widget) { Button(widget, QStringLiteral("OK"))->click(); }));  // Track List
    script.Add(Later([&](QWidget& widget) {
      auto& dialog = dynamic_cast<SaveCompetitionLogDialog&>(widget);
      title = dialog.windowTitle();
      preselected = dialog.PilotListView().currentRow();
      fields = {dialog.CompIdField().text(), dialog.CivlIdField().text(), dialog.NameField().text()};
      Button(dialog, QStringLiteral("OK"))->click();
    }));
    window->QuickButton(cmd::kReadCompeo)->click();
    ASSERT_TRUE(WaitForJobEnd());
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDownloadLimitMs);
    while (!script.Done() && std::chrono::steady_clock::now() < limit) QTest::qWait(20);
    QTest::qWait(50);
    EXPECT_EQ(script.Unexpected(), 0);
  }
  EXPECT_TRUE(title.startsWith(QString::fromStdString("Save competition log (" + sim.PtyPath())))
      << title.toStdString();
  EXPECT_EQ(preselected, 0);
  EXPECT_EQ(fields, (QStringList{"12", "4567", "Anna Berger"}));
  EXPECT_EQ(CompFiles(), std::vector<std::string>{"Anna Berger.20240715-100000.4567.12.kml"});
  EXPECT_EQ(log.pilotName, "Anna Berger");
  EXPECT_EQ(log.saved, 1);
  EXPECT_NE(std::find(recorder.statusLines.begin(), recorder.statusLines.end(), "Pilot [12] Anna Berger"),
            recorder.statusLines.end());
  EXPECT_EQ(NoPilotIdQuestions(), 0);  // the instrument had its IDs

  // "Add IGC file to comp. output", then "Save log" of a selection: the user's
  // command replaces the KML file and adds the IGC file.
  window->Dispatch(cmd::kAddIgcToCompOut);
  EXPECT_EQ(store->Values().addIgcToCompOut, 1);
  window->Dispatch(cmd::kSelectAll);
  {
    ModalScript script;
    script.Add(Later([](QWidget& widget) { Button(widget, QStringLiteral("OK"))->click(); }));
    window->Dispatch(cmd::kSaveLogButton);
    EXPECT_EQ(script.Unexpected(), 0);
  }
  EXPECT_EQ(CompFiles(), (std::vector<std::string>{"Anna Berger.20240715-100000.4567.12.igc",
                                                   "Anna Berger.20240715-100000.4567.12.kml"}));
}

// "Send to Flytec 50xx/60xx (Only Name)".
constexpr int kSendToFlytec = 40023;

TEST_F(CompetitionWindow, UploadAsksForThePilotSendsTheIdsAndRemembersTheInstrument) {
  Waypoint fiesch;
  fiesch.lat = 1000000;
  CopyToField(std::string("FIESCH"), fiesch.name);
  CopyToField(std::string("Fiesch"), fiesch.description);
  waypoints.waypoints = {fiesch};
  window->Dispatch(cmd::kViewWaypoints);
  window->Dispatch(cmd::kSelectAll);
  QString title;
  {
    ModalScript script;
    script.Add(Later([&](QWidget& widget) {
      auto& dialog = dynamic_cast<SelectPilotDialog&>(widget);
      title = dialog.windowTitle();
      dialog.PilotListView().setCurrentRow(2);  // Carla Dias: her IDs fill the fields
      Button(dialog, QStringLiteral("OK"))->click();
    }));
    window->Dispatch(kSendToFlytec);
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_EQ(script.Unexpected(), 0);
  }
  EXPECT_EQ(title.toStdString(), "Select pilot (" + sim.PtyPath() + ")");
  EXPECT_EQ(log.pilotName, "Carla Dias");
  EXPECT_EQ(pilots.entries[2].devices[0], "6030: 12345");
  EXPECT_EQ(window->ExitCode(), 0);

  // The instrument now holds Carla's IDs as well as the ones it came with
  // (COMP ID 56 is hers too): the download names her.
  {
    ModalScript script;
    script.Add(Later([](QWidget& widget) { Button(widget, QStringLiteral("OK"))->click(); }));
    script.Add(Later([](QWidget& widget) { Button(widget, QStringLiteral("OK"))->click(); }));
    window->QuickButton(cmd::kReadCompeo)->click();
    ASSERT_TRUE(WaitForJobEnd());
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDownloadLimitMs);
    while (!script.Done() && std::chrono::steady_clock::now() < limit) QTest::qWait(20);
    QTest::qWait(50);
  }
  EXPECT_EQ(log.civlId, 8910);
  EXPECT_EQ(CompFiles(), std::vector<std::string>{"Carla Dias.20240715-100000.8910.56.kml"});
}

// An instrument without ID waypoints: after the pilot was chosen, the window
// offers to send the pilot's IDs to it.
class CompetitionWindowWithoutIds : public CompetitionWindow {
 protected:
  std::vector<std::string> SimArguments() const override { return {"flytec", "--flights=2"}; }
};

TEST_F(CompetitionWindowWithoutIds, OkSendsThePilotsIdsThatTheNextDownloadFinds) {
  recorder.QueueAnswer(Answer::Ok);
  ASSERT_TRUE(DownloadConfirmingThePilot(2));  // Carla Dias
  ASSERT_EQ(NoPilotIdQuestions(), 1);
  EXPECT_EQ(recorder.questions.back().text,
            "The GPS did not contain any COMPID or CIVLID.\r\nDo you want to upload the following ID(s) ?\r\n"
            "\r\nCOMPID: 56\r\nCIVLID: 8910\r\nPilot: Carla Dias\r\nGPS: 6030: 12345");
  EXPECT_EQ(window->ExitCode(), 0);
  EXPECT_EQ(pilots.entries[2].devices[0], "6030: 12345");

  // The instrument now names Carla itself: preselected, and no offer the second time.
  log.compId = log.civlId = -1;
  ASSERT_TRUE(DownloadConfirmingThePilot());
  EXPECT_EQ(log.compId, 56);
  EXPECT_EQ(log.civlId, 8910);
  EXPECT_EQ(log.pilotName, "Carla Dias");
  EXPECT_EQ(NoPilotIdQuestions(), 1);
}

TEST_F(CompetitionWindowWithoutIds, CancelSendsNothing) {
  ASSERT_TRUE(DownloadConfirmingThePilot(2));
  ASSERT_EQ(NoPilotIdQuestions(), 1);
  EXPECT_FALSE(window->JobRunning());
  EXPECT_EQ(pilots.entries[2].devices[0], "");
  ASSERT_TRUE(DownloadConfirmingThePilot(2));
  EXPECT_EQ(NoPilotIdQuestions(), 2);  // the instrument still holds no ID
}

TEST_F(CompetitionWindowWithoutIds, NoOfferForAnInstrumentThatTakesNoIdWaypoints) {
  ASSERT_TRUE(DownloadConfirmingThePilot());  // nobody chosen: nothing to offer
  EXPECT_EQ(NoPilotIdQuestions(), 0);
  log.protocol = ProtocolType::LogIt;
  {
    ModalScript script;
    script.Add(Later([](QWidget& widget) {
      auto& dialog = dynamic_cast<SaveCompetitionLogDialog&>(widget);
      dialog.PilotListView().setCurrentRow(2);
      Button(dialog, QStringLiteral("OK"))->click();
    }));
    RunCompetitionFlow(*window, {log, store->Values(), pilots, recorder, qtUi, false});
    EXPECT_EQ(script.Unexpected(), 0);
  }
  EXPECT_EQ(log.pilotName, "Carla Dias");
  EXPECT_EQ(NoPilotIdQuestions(), 0);
  EXPECT_FALSE(window->JobRunning());
}

TEST_F(CompetitionWindow, SavePilotListAsCsv) {
  const std::string path = dir.File("pilots.csv");
  recorder.QueueFile(path);
  window->Dispatch(cmd::kSavePilotListCsv);
  std::string text;
  ASSERT_TRUE(ReadWholeFile(path, text));
  EXPECT_EQ(text,
            "Name,CompId,CivlId,Device1,Device2,Device3,Device4\r\n"
            "Anna Berger,12,4567,,,,\r\n"
            "Bruno & Co,34,,,,,\r\n"
            "Carla Dias,56,8910,,,,\r\n");
}

}  // namespace
}  // namespace trelvik
