#pragma once
// The checks every CTR menu command makes before it acts, and the selection
// pass that carries the list view's selected rows into the airspace records.
#include <optional>
#include <string>
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

inline constexpr std::string_view kUploadCtrCaption = "Upload CTR";
inline constexpr size_t kFlytecCtrNameLength = 17;  // characters of a name the Flytec units keep

// Before an upload to an instrument that keeps airspaces under names of
// `nameLength` characters: false after "One or more of the selected CTRs have
// equal names" (with "after limiting the length to fit the GPS" when a name
// had to be cut) when two selected airspaces share their first `nameLength`
// characters.
[[nodiscard]] bool CtrNamesFit(UserInterface& ui, const CtrList& list, size_t nameLength);

// Lets the user choose where an export of the selected airspaces goes and
// writes it there; the file's path, or nothing (failures are shown).
std::optional<std::string> SaveCtrExport(UserInterface& ui, std::string_view text, std::string_view extension,
                                         std::string& folder);

}  // namespace trelvik
