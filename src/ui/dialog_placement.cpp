#include "ui/dialog_placement.hpp"

namespace trelvik {

DialogPoint PlaceDialog(const DialogPlacementInput& input) {
  DialogPoint point{input.x, input.y};
  if (point.x > input.screenWidth - 5) {
    point.x = input.screenWidth - 5;
  } else if (point.x + input.windowWidth <= 6) {
    point.x = 7 - input.windowWidth;
  }
  if (point.y > input.screenHeight - 7) {
    point.y = input.screenHeight - 7;
  } else if (point.y + input.captionHeight <= 4) {
    point.y = 5 - input.captionHeight;
  }
  return point;
}

}  // namespace trelvik
