#pragma once
// The open and save dialogs of the track log commands: one filter list made
// from the format table, the entry it starts at, and what the user chose.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/user_interface.hpp"

namespace trelvik {

struct TrackFileDialog {
  FileDialogKind kind = FileDialogKind::Open;
  std::string title;
  std::vector<std::string> filters;  // "GPX files (*.gpx)" ... then "GPX files (*.*)" ...
  size_t startEntry = 1;             // 1-based
  std::string folder;
};

struct TrackFileChoice {
  std::string path;
  size_t entry = 0;  // 1-based entry of the filter list the file was chosen under; 0: none
};

// The window's dialog (or a test's script); nothing when the user cancelled.
using TrackFileChooser = std::function<std::optional<TrackFileChoice>(const TrackFileDialog&)>;

}  // namespace trelvik
