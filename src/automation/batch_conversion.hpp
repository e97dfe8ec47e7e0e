#pragma once
// The conversions a command line runs while it is parsed, before any window
// exists (IGC2KML), offered to the parser as its hook.
#include "automation/command_line.hpp"
#include "competition/pilot_list.hpp"
#include "settings/settings.hpp"

namespace trelvik {

// IGC2KML and DAT2KML: `fileName` + ".igc" (or ".dat") becomes `fileName` +
// ".kml" with the flight's statistics and optimised distances. 0, or -1 after
// the failure was shown.
[[nodiscard]] int ConvertCommandLineToKml(const CommandLineJob& job, UserInterface& ui, const Settings& settings);

// The parser's hooks with the conversions filled in; `settings` (LoopFlightGap)
// must outlive the parse. COMP_FS reads into `pilots` (refused when null).
CommandLineHooks BatchCommandLineHooks(const Settings& settings, PilotList* pilots = nullptr);

}  // namespace trelvik
