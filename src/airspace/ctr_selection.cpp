#include "airspace/ctr_selection.hpp"

#include "base/message_box.hpp"

namespace trelvik {

bool CtrCommandAllowed(UserInterface& ui, bool jobRunning, bool airspaceViewShown, std::string_view caption) {
  if (jobRunning) {
    ShowError(ui, "Busy GPS driver", caption);
    return false;
  }
  if (!airspaceViewShown) {
    ShowError(ui, "Incorrect view mode", caption);
    return false;
  }
  return true;
}

bool MarkCtrSelection(UserInterface& ui, CtrList& list, const std::vector<int>& rows, std::string_view caption) {
  for (const int row : rows) {
    if (row < 0 || static_cast<size_t>(row) >= list.size()) {
      ShowError(ui, "Program error", kCtrListActionCaption);
      return false;
    }
  }
  if (rows.empty()) {
    ShowError(ui, "No CTR(s) selected", caption);
    return false;
  }
  for (CtrArea& area : list) area.selected = false;
  for (const int row : rows) list[static_cast<size_t>(row)].selected = true;
  return true;
}

}  // namespace trelvik
