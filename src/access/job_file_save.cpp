#include "access/job_file_save.hpp"

#include "access/job_channel.hpp"
#include "access/job_report.hpp"
#include "base/atomic_file.hpp"
#include "base/message_box.hpp"

namespace trelvik {

int SaveJobFile(GpsJob& job, const JobFileSave& save, std::string& folder, std::string_view text) {
  UserInterface* user = job.channel->User();
  if (user == nullptr) return -1;
  const std::optional<std::string> path =
      ChooseFileName(*user, FileDialogKind::Save, save.title, save.typeName, save.extension, folder);
  if (!path) return -1;
  if (FileExists(*path) && AskOkCancel(*user, "File already exists. Overwrite ?", save.title) != Answer::Ok) {
    return -1;
  }
  if (const FileWriteError error = WriteFileAtomically(*path, text)) {
    ShowSystemError(*user, "File write error", error.errorNumber);
    return -1;
  }
  ReportInfo(job, "File written", save.writtenCaption);
  ShowProduct(job, *path);
  return 0;
}

}  // namespace trelvik
