#include "airspace/ctr_selection.hpp"

#include <string>
#include <unordered_map>

#include "base/atomic_file.hpp"
#include "base/message_box.hpp"
#include "settings/utf8_text.hpp"

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

bool CtrNamesFit(UserInterface& ui, const CtrList& list, size_t nameLength) {
  std::unordered_map<std::string, const CtrArea*> byPrefix;
  for (const CtrArea& area : list) {
    if (!area.selected) continue;
    std::string prefix = CutToCharacters(area.name, nameLength);
    const auto [it, inserted] = byPrefix.emplace(std::move(prefix), &area);
    if (inserted) continue;
    const bool cut = it->second->name.size() > it->first.size() || area.name.size() > it->first.size();
    ShowError(ui,
              cut ? "One or more of the selected CTRs have equal\r\nnames after limiting the length to fit the GPS"
                  : "One or more of the selected CTRs have equal names",
              kUploadCtrCaption);
    return false;
  }
  return true;
}

std::optional<std::string> SaveCtrExport(UserInterface& ui, std::string_view text, std::string_view extension,
                                         std::string& folder) {
  std::optional<std::string> path = SaveFileDialog(ui, "Save CTR(s)", "CTR files", extension, folder);
  if (!path) return std::nullopt;
  if (const FileWriteError error = WriteFileAtomically(*path, text)) {
    ShowSystemError(ui, "File write error", error.errorNumber);
    return std::nullopt;
  }
  return path;
}

}  // namespace trelvik
