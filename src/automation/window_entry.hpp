#pragma once
// What the program and its window library agree on: the command line's
// decisions about the window, the hooks through which the window runs the
// program's parse, and the library's one exported entry.
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

// The window face as the window library exports it, without C++ name
// mangling, so the program can look it up by a fixed name.
using RunWindowFaceEntry = int (*)(int argc, char** argv, const WindowHooks* hooks);
inline constexpr const char* kRunWindowFaceSymbol = "trelvik_run_window_face";

}  // namespace trelvik
