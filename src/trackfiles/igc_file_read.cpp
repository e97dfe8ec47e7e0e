#include "trackfiles/igc_file_read.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <stdexcept>

namespace trelvik {
namespace {

IgcFileBytes Fault(IgcFileFault fault, int errorNumber, int fd) {
  if (fd >= 0) ::close(fd);
  return {{}, fault, errorNumber};
}

}  // namespace

IgcFileBytes ReadIgcFileBytes(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Fault(IgcFileFault::Open, errno, -1);
  struct stat info {};
  if (::fstat(fd, &info) != 0) return Fault(IgcFileFault::Size, errno, fd);
  if (S_ISDIR(info.st_mode)) return Fault(IgcFileFault::Open, EISDIR, fd);
  if (info.st_size == 0) return Fault(IgcFileFault::Empty, 0, fd);

  IgcFileBytes result;
  try {
    result.bytes.resize(static_cast<size_t>(info.st_size));
  } catch (const std::bad_alloc&) {
    return Fault(IgcFileFault::Memory, ENOMEM, fd);
  } catch (const std::length_error&) {
    return Fault(IgcFileFault::Memory, ENOMEM, fd);
  }
  // The size was taken before reading; a file that shrinks meanwhile is read as it is now.
  size_t done = 0;
  while (done < result.bytes.size()) {
    const ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fault(IgcFileFault::Read, errno, fd);
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  result.bytes.resize(done);
  if (done == 0) return {{}, IgcFileFault::Empty, 0};
  return result;
}

}  // namespace trelvik
