#pragma once
// The airspace editor's work without its window: "&Edit CTR" and "&New CTR"
// show OpenAir text and a warning distance, the user changes them, and OK
// hands both back here to be checked, parsed and put into the list.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "airspace/ctr_area.hpp"
#include "airspace/openair_parser.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

inline constexpr std::string_view kEditCtrCaption = "Edit CTR";
inline constexpr std::string_view kEditCtrWarningLabel = "&Warning distance (m)";
inline constexpr std::string_view kNewCtrTemplate =
    "*Airspace name\r\nAN Put airspace name here\r\n*Airspace floor (Remark)\r\nAL Put floor remark here\r\n"
    "*Airspace ceiling\r\nAH Put ceiling remark here\r\n*Use records V, DP, DA, DB or DC\r\n"
    "*Pos. formats: DD.dd... or DD:MM.mm... or DD:MM:SS.s\r\n";

// What the editor opens with.
struct CtrEditorContent {
  size_t row = 0;  // the airspace being edited (unused for a new one)
  std::string text;
  int32_t warningDistance = kDefaultWarningDistance;
};

// "&Edit CTR": the first selected row's airspace as editor text. Nothing after
// "No CTR in list" or "No CTR selected".
[[nodiscard]] std::optional<CtrEditorContent> EditCtrText(UserInterface& ui, const CtrList& list,
                                                           const std::vector<int>& selectedRows);

// "&New CTR": the template and the default warning distance.
CtrEditorContent NewCtrText();

// OK in the editor of "&Edit CTR": the first airspace of `text` takes the
// warning distance and the edited airspace's place; later ones are dropped.
// False (the editor stays open) after a message, or when the text holds no
// airspace.
[[nodiscard]] bool EditCtr(UserInterface& ui, CtrList& list, size_t row, std::string_view text,
                                std::string_view warningDistance, const DyNotifier& notifyDy = {});

// OK in the editor of "&New CTR": as EditCtr, the airspace going to the front.
[[nodiscard]] bool NewCtr(UserInterface& ui, CtrList& list, std::string_view text,
                               std::string_view warningDistance, const DyNotifier& notifyDy = {});

// "&Delete CTR(s)": removes the airspaces at `selectedRows`, keeping the
// others in order. False after "No CTR(s) selected" or "Program error".
bool DeleteCtrs(UserInterface& ui, CtrList& list, const std::vector<int>& selectedRows);

}  // namespace trelvik
