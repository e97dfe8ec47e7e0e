#include "airspace/ctr_edit.hpp"

#include <algorithm>

#include "airspace/ctr_selection.hpp"
#include "airspace/openair_writer.hpp"
#include "base/message_box.hpp"
#include "records/number_parsers.hpp"
#include "records/text_scan.hpp"

namespace trelvik {
namespace {

bool IsAllBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return IsBlank(c); });
}

// The editor's fields, checked in the order the user reads them; the first
// airspace of the text, or nothing.
std::optional<CtrArea> EditedArea(UserInterface& ui, std::string_view text, std::string_view warningDistance,
                                  const DyNotifier& notifyDy) {
  if (IsAllBlank(warningDistance)) {
    ShowError(ui, "Missing warning distance input", kEditCtrCaption);
    return std::nullopt;
  }
  int32_t distance = 0;
  if (ParseUnsignedInt(warningDistance, distance) != 0) {
    ShowError(ui, "Bad warning distance format", kEditCtrCaption);
    return std::nullopt;
  }
  if (text.empty()) {
    ShowError(ui, "Missing text", kEditCtrCaption);
    return std::nullopt;
  }
  CtrList parsed;
  if (ParseOpenAir(ui, text, parsed, notifyDy) <= 0) return std::nullopt;
  CtrArea area = std::move(parsed.front());
  area.warningDistance = distance;
  return area;
}

}  // namespace

std::optional<CtrEditorContent> EditCtrText(UserInterface& ui, const CtrList& list,
                                             const std::vector<int>& selectedRows) {
  if (list.empty()) {
    ShowError(ui, "No CTR in list", kEditCtrCaption);
    return std::nullopt;
  }
  if (selectedRows.empty()) {
    ShowError(ui, "No CTR selected", kEditCtrCaption);
    return std::nullopt;
  }
  const int row = *std::min_element(selectedRows.begin(), selectedRows.end());
  if (row < 0 || static_cast<size_t>(row) >= list.size()) {
    ShowError(ui, "Program error", kCtrListActionCaption);
    return std::nullopt;
  }
  CtrEditorContent content;
  content.row = static_cast<size_t>(row);
  content.warningDistance = list[content.row].warningDistance;
  if (FormatCtrOpenAirForEdit(ui, list[content.row], content.text) < 0) return std::nullopt;
  return content;
}

CtrEditorContent NewCtrText() {
  CtrEditorContent content;
  content.text = kNewCtrTemplate;
  return content;
}

bool EditCtr(UserInterface& ui, CtrList& list, size_t row, std::string_view text,
                  std::string_view warningDistance, const DyNotifier& notifyDy) {
  std::optional<CtrArea> area = EditedArea(ui, text, warningDistance, notifyDy);
  if (!area) return false;
  if (row >= list.size()) {
    ShowError(ui, "Program error", kCtrListActionCaption);
    return false;
  }
  list[row] = std::move(*area);
  return true;
}

bool NewCtr(UserInterface& ui, CtrList& list, std::string_view text, std::string_view warningDistance,
                 const DyNotifier& notifyDy) {
  std::optional<CtrArea> area = EditedArea(ui, text, warningDistance, notifyDy);
  if (!area) return false;
  list.insert(list.begin(), std::move(*area));
  return true;
}

bool DeleteCtrs(UserInterface& ui, CtrList& list, const std::vector<int>& selectedRows) {
  if (!MarkCtrSelection(ui, list, selectedRows, kEditCtrCaption)) return false;
  std::erase_if(list, [](const CtrArea& area) { return area.selected; });
  return true;
}

}  // namespace trelvik
