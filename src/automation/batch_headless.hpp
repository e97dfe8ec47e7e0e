#pragma once
// The unattended run without a window: the command-line job runs to its end
// and its failure flag becomes the process's exit code, whether or not EXIT
// was given. Messages go to standard error, progress to standard output, and
// nothing waits for input that cannot come.
#include "base/headless_user_interface.hpp"
#include "competition/pilot_list.hpp"
#include "settings/settings.hpp"

namespace trelvik {

struct CommandLineJob;

// Runs `job` with the program's instrument drivers on the real serial ports,
// the process's track log and a fresh airspace list. `settings` are the
// loaded settings (the port, the analysis and filter settings are read; they
// are never written back). Returns the exit code: 0, or 1 after a failed
// transfer or step (CHKKML: 1 for a valid signature). `pilots` holds the
// list COMP_FS read; null: the run keeps a list of its own.
[[nodiscard]] int RunHeadlessCommandLine(const CommandLineJob& job, HeadlessUserInterface& console,
                                         const Settings& settings, PilotList* pilots = nullptr);

}  // namespace trelvik
