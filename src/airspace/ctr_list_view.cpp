#include "airspace/ctr_list_view.hpp"

#include "base/c_format.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {

std::array<std::string, kCtrColumns.size()> CtrRowTexts(const CtrArea& area) {
  return {CutToCharacters(area.name, kCtrCellLimit), CutToCharacters(area.floorRemark, kCtrCellLimit),
          CutToCharacters(area.ceilingRemark, kCtrCellLimit), CFormat("%d", area.warningDistance),
          CFormat("%d", area.SegmentCount())};
}

}  // namespace trelvik
