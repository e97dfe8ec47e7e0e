#include "access/save_trace.hpp"

#include "base/atomic_file.hpp"
#include "base/message_box.hpp"

namespace trelvik {

int SaveTrace(UserInterface& ui, const DebugTrace& trace, std::string& folder) {
  constexpr const char* kCaption = "Save debug buffer";
  // One copy up front: a job may still be appending while the user picks a name.
  const std::string bytes = trace.Contents();
  if (bytes.empty()) {
    ShowError(ui, "Buffer is empty", kCaption);
    return -1;
  }
  const std::optional<std::string> path = SaveFileDialog(ui, kCaption, "Log files", ".log", folder);
  if (!path) return -1;
  if (const FileWriteError error = WriteFileAtomically(*path, bytes)) {
    ShowSystemError(ui, "File write error", error.errorNumber);
    return -1;
  }
  ShowInfo(ui, "File written", kCaption);
  return 0;
}

}  // namespace trelvik
