#pragma once
// The program with its window: the settings, the GPS access layer with every
// instrument driver, the window's command groups, and a command-line job run
// with the window shown.
#include <functional>
#include <string>

#include "base/user_interface.hpp"
#include "competition/pilot_list.hpp"
#include "settings/settings.hpp"

namespace trelvik {

struct CommandLineJob;

// What the command line decides about the window.
struct WindowStart {
  bool commandLineJob = false;  // a job to run (not only options)
  bool minimised = false;
  std::string portName;
  int posX = 0;
  int posY = 0;
};

struct WindowHooks {
  // Parses the command line with the window's message boxes and the loaded
  // settings (conversion jobs run inside the parse); 0 to go on, -1 to end at
  // once with `exitCode`.
  std::function<int(UserInterface& ui, Settings& settings, WindowStart& start, int& exitCode)> parse;
  // The job the parse found; called only when `start.commandLineJob` is set.
  std::function<const CommandLineJob&()> job;
  // The program's pilot list (COMP_FS reads into it during the parse); null:
  // the window keeps one of its own.
  PilotList* pilots = nullptr;
};

// Creates the application and the window, runs them, returns the exit code.
int RunWindowFace(int argc, char** argv, const WindowHooks& hooks);

}  // namespace trelvik
