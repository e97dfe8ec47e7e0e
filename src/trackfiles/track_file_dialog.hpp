#pragma once
// The open and save dialogs of the track log commands: one filter list made
// from the format table, the entry it starts at, and what the user chose.
#include <cstddef>
#include <cstdint>
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

struct TrackFileFormat;
struct FileTypeChoice;

// What the user chose, with its format row.
struct ChosenTrackFile {
  std::string path;
  const TrackFileFormat* format = nullptr;
};

// Shows the dialog over the format rows `rows` (their dialog entries
// `choices`), starting at the remembered 1-based `entry` and `folder`, and
// remembers both for the next time; a name typed without an extension under a
// format's entry gets the format's. Nothing after a cancel, or after a too
// long name has been shown.
[[nodiscard]] std::optional<ChosenTrackFile> ChooseTrackFile(UserInterface& ui, const TrackFileChooser& chooseFile,
                                                             FileDialogKind kind, const char* title,
                                                             const std::vector<const TrackFileFormat*>& rows,
                                                             const std::vector<FileTypeChoice>& choices,
                                                             int32_t& entry, std::string& folder);

}  // namespace trelvik
