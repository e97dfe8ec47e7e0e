#pragma once
// How a caller with a user interface shows what a file reader handed back.
#include "base/user_interface.hpp"
#include "trackfiles/file_read_outcome.hpp"

namespace trelvik {

void ShowFileNotice(UserInterface& ui, const FileNotice& notice);

// The error after a failure; true when the status is Read.
bool ShowFileReadError(UserInterface& ui, FileReadStatus status, const FileMessage& error);

// Shows the notices and, after a failure, the error under its caption. True
// when records were read.
template <typename Records>
bool ShowFileRead(UserInterface& ui, const FileReadOutcome<Records>& outcome) {
  for (const FileNotice& notice : outcome.notices) ShowFileNotice(ui, notice);
  return ShowFileReadError(ui, outcome.status, outcome.error);
}

}  // namespace trelvik
