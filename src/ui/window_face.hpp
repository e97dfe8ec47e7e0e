#pragma once
// The program with its window: the settings, the GPS access layer with every
// instrument driver, the window's command groups, and a command-line job run
// with the window shown.
#include "automation/window_entry.hpp"

namespace trelvik {

// Creates the application and the window, runs them, returns the exit code.
int RunWindowFace(int argc, char** argv, const WindowHooks& hooks);

}  // namespace trelvik
