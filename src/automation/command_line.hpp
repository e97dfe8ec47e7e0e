#pragma once
// Reads the command line into the one job it describes, before any window
// exists. Every fault is shown under "Parsing command line" and ends the
// program before the window opens.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "automation/command_line_job.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

inline constexpr const char* kParsingCaption = "Parsing command line";

// What the parser needs from layers that are wired in by the program. An
// empty hook means the facility is missing from this build: the option that
// needs it is refused with a message, never treated as done.
struct CommandLineHooks {
  // COMP_FS: reads the pilot list from a flight score file at once; 0, or -1
  // after its own message.
  std::function<int(const std::string& path, UserInterface& ui)> readFsPilotList;
  // COMP_LOG with a pilot list loaded by COMP_FS: competition mode on, in its
  // special variant when COMP_SPECIAL was given.
  std::function<void(bool special)> enableCompetitionMode;
  // IGC2KML and DAT2KML run while the line is parsed: 0 converted, -1 after
  // its own message.
  std::function<int(const CommandLineJob& job, UserInterface& ui)> convertToKml;
  // Monotonic milliseconds for `notifyTick`; the steady clock when empty.
  std::function<uint32_t()> tickCount;
};

struct CommandLineResult {
  // The job to run; present after 0 for a non-empty line.
  std::optional<CommandLineJob> job;
  // The process's exit code when parsing returned -1: kExitUsage (2) after a
  // refused line, 0 after a conversion that was done, 1 after a conversion that
  // failed or could not run.
  int exitCode = 0;
};

// 0: go on (with `result.job` when the line named one). -1: the program ends
// now with `result.exitCode`; a message has been shown unless a conversion
// ran to its end.
[[nodiscard]] int ParseCommandLine(std::string_view text, UserInterface& ui, CommandLineResult& result,
                                   const CommandLineHooks& hooks = {});

}  // namespace trelvik
