#pragma once
// The Qt dialogs of the track log file commands: the multi-format open and
// save dialogs, the multi-selection dialog of the conversions, and "New
// Track Log".
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "base/user_interface.hpp"
#include "trackfiles/track_file_dialog.hpp"
#include "trackfiles/track_log_open.hpp"

namespace trelvik {

// What the window asks through: Qt dialogs by default, scripts in tests.
struct TrackFileDialogs {
  TrackFileChooser chooseFile;
  NewLogAsker askNewLog;
  // The files of a multi-selection open dialog; nothing after a cancel.
  std::function<std::optional<std::vector<std::string>>(const FileDialogRequest&)> chooseFiles;
};

[[nodiscard]] TrackFileDialogs QtTrackFileDialogs(QWidget* owner);

}  // namespace trelvik
