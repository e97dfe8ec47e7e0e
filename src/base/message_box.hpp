#pragma once
// Message boxes and file dialogs as every operation uses them: captions and texts
// cut to what the boxes show, system error texts, and the open/save rules
// (default extension, remembered folder, overwrite question).
#include <optional>
#include <string>
#include <string_view>

#include "base/user_interface.hpp"

namespace trelvik {

inline constexpr size_t kMessageTextLimit = 99;

// Cuts a caption or text to kMessageTextLimit bytes without splitting a UTF-8 character.
std::string CutMessageText(std::string_view text);

void ShowError(UserInterface& ui, std::string_view text, std::string_view caption);
void ShowInfo(UserInterface& ui, std::string_view text, std::string_view caption);
void ShowWarning(UserInterface& ui, std::string_view text, std::string_view caption);
Answer AskOkCancel(UserInterface& ui, std::string_view text, std::string_view caption);
Answer AskYesNo(UserInterface& ui, std::string_view text, std::string_view caption);
// Shows the system's text for an errno value as an error under the caller's caption.
void ShowSystemError(UserInterface& ui, std::string_view caption, int errorNumber);

// Lets the user pick a file name: the default extension is appended to a name
// without one, and the chosen folder is remembered in `folder`. Nothing on
// cancel or on a name that grows too long (shown).
std::optional<std::string> ChooseFileName(UserInterface& ui, FileDialogKind kind, std::string_view title,
                                          std::string_view typeName, std::string_view extension, std::string& folder,
                                          std::string_view proposedName = {});

struct OpenedFile {
  std::string path;
  std::string bytes;
};

// Lets the user pick a file and reads it whole. `folder` is where the chooser
// starts and becomes the chosen file's folder. Nothing on cancel or failure
// (failures are shown).
std::optional<OpenedFile> OpenFileDialog(UserInterface& ui, std::string_view title, std::string_view typeName,
                                         std::string_view extension, std::string& folder);

// Lets the user pick a file name to write, appending the default extension and
// asking before an existing file is replaced. The caller writes with
// WriteFileAtomically. Nothing on cancel or failure (failures are shown).
std::optional<std::string> SaveFileDialog(UserInterface& ui, std::string_view title, std::string_view typeName,
                                          std::string_view extension, std::string& folder,
                                          std::string_view proposedName = {});

// True when `path` may be written: it does not exist yet, or the user answered
// Ok to "File already exists, overwrite ?". Shows "Error opening file" when the
// folder cannot take the file.
bool CreateWithOverwriteQuestion(UserInterface& ui, const std::string& path);

}  // namespace trelvik
