#pragma once
// "Dump Debug Data": the trace saved as a .log file the user picks.
#include <string>

#include "access/debug_trace.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

// `folder` is the trace folder setting: where the chooser starts, updated to the
// chosen file's folder. 0 when the file was written, -1 otherwise (every
// outcome has been shown to the user).
[[nodiscard]] int SaveTrace(UserInterface& ui, const DebugTrace& trace, std::string& folder);

}  // namespace trelvik
