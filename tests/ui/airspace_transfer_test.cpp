// The CTR menu's instrument transfers against the simulated Flytec: the
// download fills the airspace view, an upload of the selection comes back in
// the next download.
#include <gtest/gtest.h>

#include <QTableView>
#include <QTest>
#include <chrono>
#include <fstream>
#include <memory>

#include "access/gps_access.hpp"
#include "access/job_table.hpp"
#include "access/posix_serial_link.hpp"
#include "access/sim_process.hpp"
#include "instruments/protocol_table.hpp"
#include "qt_application.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "ui/airspace/airspace_commands.hpp"
#include "ui/command_ids.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {
namespace {

constexpr int kReadFromFlytec = 40110;
constexpr int kSendToFlytec = 40099;
constexpr int kSendToGarminUsb = 40107;
constexpr int kJobLimitMs = 30000;

class AirspaceTransfer : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::Application();
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim is not built";
    ASSERT_TRUE(sim.Start({"flytec"}));
    ASSERT_TRUE(RegisterInstruments(table));
    MainWindowOptions options;
    options.portName = sim.PtyPath();
    window = std::make_unique<MainWindow>(log, waypoints, qtUi, options, &recorder);
    access = std::make_unique<GpsAccess>(table, opener);
    access->InitGpsAccess();
    window->AttachGpsAccess(*access, traceFolder);
    settings.ctrSegError = 10;
    settings.ctrDir = dir.Path();
    InstallAirspaceCommands(*window, {airspace, waypoints, settings, recorder, qtUi, {}, &table});
  }

  void TearDown() override {
    if (window) window->close();
    access.reset();
  }

  bool RunJob(int id) {
    window->Dispatch(id);
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kJobLimitMs);
    while (window->JobRunning() && std::chrono::steady_clock::now() < limit) QTest::qWait(20);
    return !window->JobRunning();
  }

  QStringList Names() const {
    QStringList names;
    const QAbstractItemModel& rows = *window->List().model();
    for (int row = 0; row < rows.rowCount(); ++row) names << rows.index(row, 0).data().toString();
    return names;
  }

  testing::TempDir dir;
  testing::SimProcess sim;
  JobTable table;
  PosixLinkOpener opener;
  testing::ScriptedUserInterface recorder;
  TrackLog log;
  WaypointList waypoints;
  AirspaceList airspace;
  Settings settings;
  std::string traceFolder;
  QtUserInterface qtUi;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<GpsAccess> access;  // after the window: it goes first and waits for the job
};

TEST_F(AirspaceTransfer, DownloadFillsTheViewAndAnUploadComesBack) {
  window->Dispatch(command::kViewAirspace);
  ASSERT_TRUE(RunJob(kReadFromFlytec));
  EXPECT_TRUE(recorder.boxes.empty()) << recorder.boxes.front().text;
  EXPECT_EQ(Names(), (QStringList{"CTR Sion", "TMA Circle", "Arc Zone"}));

  // One more airspace from a file, in front of the downloaded ones.
  const std::string file = dir.File("extra.txt");
  std::ofstream(file, std::ios::binary)
      << "AN EXTRA ONE\r\nAL GND\r\nAH FL 95\r\nV X=46:00:00 N 007:00:00 E\r\nDC 2\r\n";
  recorder.QueueFile(file);
  recorder.QueueAnswer(Answer::Yes);  // keep the downloaded list
  window->Dispatch(command::kReadCtrFile);
  ASSERT_EQ(Names().front(), "EXTRA ONE");

  window->List().selectRow(0);
  ASSERT_TRUE(RunJob(kSendToFlytec));
  EXPECT_TRUE(recorder.boxes.empty()) << recorder.boxes.front().text;

  ASSERT_TRUE(RunJob(kReadFromFlytec));
  EXPECT_TRUE(recorder.boxes.empty()) << recorder.boxes.front().text;
  EXPECT_EQ(Names(), (QStringList{"CTR Sion", "TMA Circle", "Arc Zone", "EXTRA ONE"}));
}

TEST_F(AirspaceTransfer, UploadNeedsTheViewASelectionAndAnOfferedCell) {
  window->Dispatch(kSendToFlytec);
  window->Dispatch(command::kViewAirspace);
  window->Dispatch(kSendToFlytec);
  EXPECT_EQ(recorder.boxes, (std::vector<testing::RecordedBox>{
                                {MessageKind::Error, "Incorrect view mode", "Upload CTR"},
                                {MessageKind::Error, "No CTR(s) selected", "Upload CTR"},
                            }));
  // A transfer whose cell no driver fills stays disabled.
  EXPECT_EQ(window->HasHandler(kSendToGarminUsb), table.Find(7, 8) != nullptr);
}

}  // namespace
}  // namespace trelvik
