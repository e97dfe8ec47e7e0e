#include "trackfiles/file_read_report.hpp"

#include "base/message_box.hpp"

namespace trelvik {

void ShowFileNotice(UserInterface& ui, const FileNotice& notice) {
  if (notice.kind == FileNoticeKind::Warning) {
    ShowWarning(ui, notice.text, notice.caption);
  } else {
    ShowInfo(ui, notice.text, notice.caption);
  }
}

bool ShowFileReadError(UserInterface& ui, FileReadStatus status, const FileMessage& error) {
  if (status == FileReadStatus::Failed) ShowError(ui, error.text, error.caption);
  return status == FileReadStatus::Read;
}

}  // namespace trelvik
