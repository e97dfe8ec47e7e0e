#include "trackfiles/track_file_dialog.hpp"

#include "base/message_box.hpp"
#include "trackfiles/file_type_filters.hpp"
#include "trackfiles/track_file_formats.hpp"

namespace trelvik {

namespace {

constexpr size_t kMaxFileName = 256;

}  // namespace

std::optional<ChosenTrackFile> ChooseTrackFile(UserInterface& ui, const TrackFileChooser& chooseFile,
                                               FileDialogKind kind, const char* title,
                                               const std::vector<const TrackFileFormat*>& rows,
                                               const std::vector<FileTypeChoice>& choices, int32_t& entry,
                                               std::string& folder) {
  if (entry < 1 || entry > static_cast<int32_t>(rows.size())) entry = 1;
  const TrackFileDialog dialog{kind, title, FileTypeFilterList(choices), static_cast<size_t>(entry), folder};
  const std::optional<TrackFileChoice> chosen = chooseFile(dialog);
  if (!chosen) return std::nullopt;
  const std::optional<FileTypeEntry> type = FileTypeOfEntry(chosen->entry, rows.size());
  if (!type) {
    entry = 1;
    return std::nullopt;
  }
  entry = static_cast<int32_t>(type->choice) + 1;
  ChosenTrackFile file{chosen->path, rows[type->choice]};
  if (type->typed && FileExtensionOf(file.path).empty()) {
    file.path += file.format->Extension();
    if (file.path.size() > kMaxFileName) {
      ShowError(ui, "Too long file name", "Error opening file");
      return std::nullopt;
    }
  }
  const size_t slash = file.path.rfind('/');
  if (slash != std::string::npos) folder = file.path.substr(0, slash);
  return file;
}

}  // namespace trelvik
