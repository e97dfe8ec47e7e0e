#pragma once
// A command-line job run with the window shown (WIN=1 or WIN=2): the window
// shows the transfer in its lines and list, the job's completion message
// reaches the run on the window thread, and the run decides whether the
// program ends.
#include <memory>

#include "airspace/airspace_list.hpp"
#include "automation/command_line_job.hpp"
#include "competition/pilot_list.hpp"
#include "settings/settings.hpp"

namespace trelvik {

class GpsAccess;
class MainWindow;
class QtUserInterface;

class WindowBatchRun {
 public:
  // Everything referred to outlives the run, and the run outlives every job
  // it starts (the program keeps it until the GPS access layer is gone).
  WindowBatchRun(MainWindow& window, QtUserInterface& qtUi, GpsAccess& access, const CommandLineJob& job,
                 Settings& settings, AirspaceList& airspace, PilotList* pilots = nullptr);
  ~WindowBatchRun();
  WindowBatchRun(const WindowBatchRun&) = delete;
  WindowBatchRun& operator=(const WindowBatchRun&) = delete;

  // Starts the job while the window initialises. False when the program must
  // end at once (its exit code is then the window's ExitCode()).
  [[nodiscard]] bool Start();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace trelvik
