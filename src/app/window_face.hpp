#pragma once
// The program with its window. Kept apart from the command-line code so that
// this file sees only the window's and the GPS access layer's names.
#include <functional>
#include <string>

#include "base/user_interface.hpp"

namespace trelvik {

// What the command line decides about the window.
struct WindowStart {
  bool commandLineJob = false;  // a job to run (not only options)
  bool minimised = false;
  std::string portName;
  int posX = 0;
  int posY = 0;
};

struct WindowHooks {
  // Parses the command line with the window's message boxes; 0 to go on,
  // -1 to end at once with `exitCode`.
  std::function<int(UserInterface& ui, WindowStart& start, int& exitCode)> parse;
  // Runs the command-line job once the window shows; the run's exit code.
  std::function<int(UserInterface& ui)> runJob;
};

// Creates the application and the window, runs them, returns the exit code.
int RunWindowFace(int argc, char** argv, const WindowHooks& hooks);

}  // namespace trelvik
