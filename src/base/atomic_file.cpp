#include "base/atomic_file.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace trelvik {

std::string FileWriteError::Text() const { return std::strerror(errorNumber); }

namespace {

FileWriteError Fail(const char* operation, int fd, const std::string& tempPath) {
  FileWriteError error{errno ? errno : EIO, operation};
  if (fd >= 0) ::close(fd);
  ::unlink(tempPath.c_str());
  return error;
}

}  // namespace

FileWriteError WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string folder = FolderOf(path);
  std::string pattern = (folder.empty() ? std::string(".") : folder) + "/.trelvik-XXXXXX";
  if (path.size() && path[0] == '/' && folder.empty()) pattern = "/.trelvik-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  const std::string tempPath(name.data());
  if (fd < 0) return FileWriteError{errno ? errno : EIO, "create"};

  // A replaced file keeps the permissions it had; a new one gets the usual 0666 & ~umask.
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) {
    ::fchmod(fd, existing.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }

  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail("write", fd, tempPath);
    }
    written += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) return Fail("sync", fd, tempPath);
  if (::close(fd) != 0) return Fail("write", -1, tempPath);
  if (::rename(tempPath.c_str(), path.c_str()) != 0) return Fail("rename", -1, tempPath);
  return {};
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  std::string data;
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (error) *error = std::strerror(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    data.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  bytes = std::move(data);
  return true;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace trelvik
