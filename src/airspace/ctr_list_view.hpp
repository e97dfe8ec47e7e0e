#pragma once
// The airspace view of the main window: its columns and the text of each cell.
#include <array>
#include <string>
#include <string_view>

#include "airspace/ctr_area.hpp"

namespace trelvik {

struct CtrColumn {
  std::string_view header;
  int widthInCharacters;  // times the list font's average character width
};

inline constexpr std::array<CtrColumn, 5> kCtrColumns = {{
    {"Name", 18}, {"Floor (Remark)", 18}, {"Ceiling", 18}, {"Distance", 10}, {"Segments", 10}}};

inline constexpr size_t kCtrCellLimit = 79;  // characters shown in one cell

// Name, floor remark, ceiling remark, warning distance and segment count.
std::array<std::string, kCtrColumns.size()> CtrRowTexts(const CtrArea& area);

}  // namespace trelvik
