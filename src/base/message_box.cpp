#include "base/message_box.hpp"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "base/atomic_file.hpp"

namespace trelvik {

std::string CutMessageText(std::string_view text) {
  if (text.size() <= kMessageTextLimit) return std::string(text);
  size_t cut = kMessageTextLimit;
  // Step back over UTF-8 continuation bytes so the box never shows half a character.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return std::string(text.substr(0, cut));
}

namespace {

void Show(UserInterface& ui, MessageKind kind, std::string_view text, std::string_view caption) {
  ui.ShowMessage(kind, CutMessageText(text), CutMessageText(caption));
}

Answer Ask(UserInterface& ui, QuestionKind kind, std::string_view text, std::string_view caption) {
  return ui.Ask(kind, CutMessageText(text), CutMessageText(caption));
}

constexpr size_t kMaxFileName = 256;

bool HasExtension(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
}

}  // namespace

std::optional<std::string> ChooseFileName(UserInterface& ui, FileDialogKind kind, std::string_view title,
                                          std::string_view typeName, std::string_view extension, std::string& folder,
                                          std::string_view proposedName) {
  FileDialogRequest request{kind, std::string(title), std::string(typeName), std::string(extension), folder,
                            std::string(proposedName)};
  std::optional<std::string> chosen = ui.ChooseFile(request);
  if (!chosen || chosen->empty()) return std::nullopt;
  std::string path = *chosen;
  if (!HasExtension(path)) {
    path += extension;
    if (path.size() > kMaxFileName) {
      ShowError(ui, "Too long file name", "Error opening file");
      return std::nullopt;
    }
  }
  folder = FolderOf(path);
  return path;
}

void ShowError(UserInterface& ui, std::string_view text, std::string_view caption) {
  Show(ui, MessageKind::Error, text, caption);
}
void ShowInfo(UserInterface& ui, std::string_view text, std::string_view caption) {
  Show(ui, MessageKind::Information, text, caption);
}
void ShowWarning(UserInterface& ui, std::string_view text, std::string_view caption) {
  Show(ui, MessageKind::Warning, text, caption);
}
Answer AskOkCancel(UserInterface& ui, std::string_view text, std::string_view caption) {
  return Ask(ui, QuestionKind::OkCancel, text, caption);
}
Answer AskYesNo(UserInterface& ui, std::string_view text, std::string_view caption) {
  return Ask(ui, QuestionKind::YesNo, text, caption);
}

void ShowSystemError(UserInterface& ui, std::string_view caption, int errorNumber) {
  ShowError(ui, std::strerror(errorNumber), caption);
}

std::optional<OpenedFile> OpenFileDialog(UserInterface& ui, std::string_view title, std::string_view typeName,
                                         std::string_view extension, std::string& folder) {
  std::optional<std::string> path = ChooseFileName(ui, FileDialogKind::Open, title, typeName, extension, folder);
  if (!path) return std::nullopt;
  OpenedFile file{*path, {}};
  std::string error;
  if (!ReadWholeFile(file.path, file.bytes, &error)) {
    ShowError(ui, error, "Error opening file");
    return std::nullopt;
  }
  return file;
}

std::optional<std::string> SaveFileDialog(UserInterface& ui, std::string_view title, std::string_view typeName,
                                          std::string_view extension, std::string& folder,
                                          std::string_view proposedName) {
  std::optional<std::string> path =
      ChooseFileName(ui, FileDialogKind::Save, title, typeName, extension, folder, proposedName);
  if (!path || !CreateWithOverwriteQuestion(ui, *path)) return std::nullopt;
  return path;
}

bool CreateWithOverwriteQuestion(UserInterface& ui, const std::string& path) {
  if (DirectoryExists(path)) {
    ShowSystemError(ui, "Error opening file", EISDIR);
    return false;
  }
  if (FileExists(path)) {
    if (AskOkCancel(ui, "File already exists, overwrite ?", "File creation") != Answer::Ok) return false;
  }
  const std::string folder = FolderOf(path);
  const std::string probe = !folder.empty() ? folder : (path.starts_with('/') ? "/" : ".");
  if (::access(probe.c_str(), W_OK) != 0) {
    ShowSystemError(ui, "Error opening file", errno);
    return false;
  }
  return true;
}

}  // namespace trelvik
