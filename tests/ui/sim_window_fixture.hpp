#pragma once
// The window on the offscreen platform, its instrument commands wired to a
// simulated instrument on a pseudo-terminal, for tests that drive a transfer
// through the window as a pilot does.
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "access/gps_access.hpp"
#include "access/posix_serial_link.hpp"
#include "access/sim_process.hpp"
#include "instruments/protocol_table.hpp"
#include "qt_application.hpp"
#include "settings/settings_store.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik::testing {

class SimulatedInstrumentWindow : public ::testing::Test {
 protected:
  static constexpr int kDownloadLimitMs = 90000;

  void SetUp() override {
    Application();
    if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim is not built";
    ASSERT_TRUE(sim.Start(SimArguments()));
    ASSERT_TRUE(RegisterInstruments(table));
    store = std::make_unique<SettingsStore>(
        SettingsPaths{dir.File("config/settings.conf"), dir.File("no-system.conf"), dir.Path()});
    ASSERT_EQ(store->Load(recorder), 0);
    store->Values().portName = sim.PtyPath();
    Configure(store->Values());
    window = std::make_unique<MainWindow>(log, waypoints, qtUi, MainWindowOptions{}, Reporter());
    access = std::make_unique<GpsAccess>(table, opener);
    access->InitGpsAccess();
    window->AttachGpsAccess(*access, store->Values().traceDir);
    window->AttachSettingsStore(*store);
    window->OfferInstrumentCommands(table);
    InstallCommands();
    window->show();
  }

  // The window goes here, before the members of the test's own fixture
  // that its command groups may use.
  void TearDown() override {
    if (window) window->close();
    access.reset();
    window.reset();
  }

  // The simulator's command line.
  virtual std::vector<std::string> SimArguments() const = 0;
  // Settings beyond the simulator's port, before the window exists.
  virtual void Configure(Settings&) {}
  // Command groups beyond the instrument commands.
  virtual void InstallCommands() {}
  // Where the window's own reports go (null: its message boxes).
  virtual UserInterface* Reporter() { return nullptr; }

  bool WaitForJobEnd() {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDownloadLimitMs);
    while (window->JobRunning() && std::chrono::steady_clock::now() < limit) QTest::qWait(20);
    return !window->JobRunning();
  }

  TempDir dir;
  SimProcess sim;
  JobTable table;
  PosixLinkOpener opener;
  ScriptedUserInterface recorder;
  std::unique_ptr<SettingsStore> store;
  TrackLog log;
  WaypointList waypoints;
  QtUserInterface qtUi;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<GpsAccess> access;  // after the window: it goes first and waits for the job
};

}  // namespace trelvik::testing
