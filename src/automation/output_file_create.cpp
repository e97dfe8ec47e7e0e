#include "automation/output_file_create.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "base/atomic_file.hpp"
#include "base/message_box.hpp"

namespace trelvik {
namespace {

constexpr const char* kOpenError = "Error opening file";

// The folder a new file of `path` lands in, as access() wants it.
std::string FolderForProbe(const std::string& path) {
  const std::string folder = FolderOf(path);
  if (!folder.empty()) return folder;
  return path.starts_with('/') ? "/" : ".";
}

NewFileResult Failure(int errorNumber, const char* operation) {
  return {NewFileOutcome::Failed, errorNumber != 0 ? errorNumber : EIO, operation};
}

// True when something (even a dangling link) already has the name.
bool NameTaken(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0;
}

}  // namespace

OutputFileDecision DecideOutputFile(UserInterface& ui, const std::string& path, const OutputFileRules& rules) {
  if (DirectoryExists(path)) {
    ShowSystemError(ui, kOpenError, EISDIR);
    return OutputFileDecision::Failed;
  }
  if (!rules.overwrite && FileExists(path)) {
    if (rules.hiddenWindow) return OutputFileDecision::Skip;
    if (AskYesNo(ui, "File already exists, overwrite ?", "File creation") != Answer::Yes) {
      return OutputFileDecision::Skip;
    }
  }
  if (::access(FolderForProbe(path).c_str(), W_OK) != 0) {
    ShowSystemError(ui, kOpenError, errno);
    return OutputFileDecision::Failed;
  }
  return OutputFileDecision::Write;
}

NewFileResult CreateNewFile(const std::string& path, std::string_view bytes) {
  if (NameTaken(path)) return {NewFileOutcome::Exists, 0, {}};
  // The bytes go to a staging file first; a hard link then gives them the
  // name only if the name is still free.
  std::string pattern = FolderForProbe(path) + "/.trelvik-new-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return Failure(errno, "create");
  const std::string staging(name.data());
  // mkstemp makes the file private; the output gets the usual 0666 & ~umask.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  ::close(fd);
  if (const FileWriteError error = WriteFileAtomically(staging, bytes)) {
    ::unlink(staging.c_str());
    return Failure(error.errorNumber, error.operation == "create" ? "create" : "write");
  }
  NewFileResult result{NewFileOutcome::Created, 0, {}};
  if (::link(staging.c_str(), path.c_str()) != 0) {
    const int error = errno;
    if (error == EEXIST) {
      result = {NewFileOutcome::Exists, 0, {}};
    } else if (error == EPERM || error == EOPNOTSUPP || error == EMLINK) {
      // Folders on file systems without hard links (a FAT memory stick): the
      // name is checked once more and then taken by renaming.
      if (NameTaken(path)) {
        result = {NewFileOutcome::Exists, 0, {}};
      } else if (::rename(staging.c_str(), path.c_str()) != 0) {
        result = Failure(errno, "create");
      }
    } else {
      result = Failure(error, "create");
    }
  }
  ::unlink(staging.c_str());
  return result;
}

}  // namespace trelvik
