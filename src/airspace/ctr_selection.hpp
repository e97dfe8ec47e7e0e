#pragma once
// The checks every CTR menu command makes before it acts, and the selection
// pass that carries the list view's selected rows into the airspace records.
#include <string_view>
#include <vector>

#include "airspace/ctr_area.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

inline constexpr std::string_view kCtrListActionCaption = "CTR list action";

// False after "Busy GPS driver" while an instrument job runs, or "Incorrect
// view mode" when the window does not show the airspace list; both under the
// command's caption.
[[nodiscard]] bool CtrCommandAllowed(UserInterface& ui, bool jobRunning, bool airspaceViewShown,
                                     std::string_view caption);

// Sets the selected flag of exactly the airspaces at `rows` (0-based list view
// rows). False after "No CTR(s) selected" (the command's caption) when there is
// none, or "Program error" when a row lies beyond the list.
[[nodiscard]] bool MarkCtrSelection(UserInterface& ui, CtrList& list, const std::vector<int>& rows,
                                    std::string_view caption);

}  // namespace trelvik
