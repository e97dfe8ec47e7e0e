#include "airspace/ctr_file.hpp"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "airspace/ctr_names.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"

namespace trelvik {
namespace {

// Far beyond any airspace file (a whole continent is a few tens of MB).
constexpr off_t kMaxCtrFileSize = 512L * 1024 * 1024;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

bool ReadCtrFileBytes(UserInterface& ui, const std::string& path, std::string& bytes) {
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) {
    ShowSystemError(ui, "Error opening file", errno);
    return false;
  }
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0) {
    ShowSystemError(ui, "Error opening CTR file", errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    ShowSystemError(ui, "Error opening file", EISDIR);
    return false;
  }
  if (info.st_size > kMaxCtrFileSize) {
    ShowSystemError(ui, "Error opening CTR file", EFBIG);
    return false;
  }
  std::string data;
  try {
    data.reserve(static_cast<size_t>(info.st_size));
  } catch (const std::bad_alloc&) {
    ShowError(ui, "File buffer memory allocation", "Reading CTR file");
    return false;
  }
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(file.Get(), chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      ShowSystemError(ui, "CTR file read error", errno);
      return false;
    }
    if (n == 0) break;
    if (data.size() + static_cast<size_t>(n) > static_cast<size_t>(kMaxCtrFileSize)) {
      ShowSystemError(ui, "Error opening CTR file", EFBIG);
      return false;
    }
    data.append(chunk, static_cast<size_t>(n));
  }
  if (data.empty()) {
    ShowError(ui, "File is empty", "Reading CTR file");
    return false;
  }
  bytes = std::move(data);
  return true;
}

int ReadCtrFile(UserInterface& ui, AirspaceList& store, std::string& folder,
                const std::optional<std::string>& fileName, bool jobRunning, const DyNotifier& notifyDy) {
  if (jobRunning) {
    ShowError(ui, "Busy GPS driver", kReadCtrCaption);
    return -1;
  }
  std::string bytes;
  if (fileName && !fileName->empty()) {
    if (!ReadCtrFileBytes(ui, *fileName, bytes)) return -1;
  } else {
    std::optional<OpenedFile> opened = OpenFileDialog(ui, "Read CTR", "OpenAir files", ".txt", folder);
    if (!opened) return -1;
    if (opened->bytes.empty()) {
      ShowError(ui, "File is empty", "Reading CTR file");
      return -1;
    }
    bytes = std::move(opened->bytes);
  }
  CtrList read;
  const int count = ParseOpenAir(ui, bytes, read, notifyDy);
  if (count <= 0) return count;
  ui.SetStatus(CFormat("%d CTRs read", count));
  bool keep = false;
  if (!store.areas.empty()) keep = AskYesNo(ui, "Keep current CTR list ?", kReadCtrCaption) == Answer::Yes;
  store.Install(std::move(read), keep);
  FixEqualCtrNames(ui, store.areas);
  return count;
}

}  // namespace trelvik
