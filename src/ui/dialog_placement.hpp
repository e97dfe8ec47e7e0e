#pragma once
// Where a message box or small dialog opens when the command line gave a
// screen position: that point, pulled back so the window can still be grabbed.
// Plain integers so the rule is tested without a screen.

namespace trelvik {

struct DialogPlacementInput {
  int x = 0;              // wanted top-left corner, screen pixels
  int y = 0;
  int windowWidth = 0;    // outer width of the dialog
  int captionHeight = 0;  // height of its title bar
  int screenWidth = 0;
  int screenHeight = 0;
};

struct DialogPoint {
  int x = 0;
  int y = 0;
  bool operator==(const DialogPoint&) const = default;
};

// x at most screen width - 5, or 7 - width when less than 7 pixels would stay
// on screen at the left; y at most screen height - 7, or 5 - caption height
// when the caption would vanish above the top.
DialogPoint PlaceDialog(const DialogPlacementInput& input);

}  // namespace trelvik
