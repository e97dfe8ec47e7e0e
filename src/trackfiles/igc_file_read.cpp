#include "trackfiles/igc_file_read.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <stdexcept>

namespace trelvik {
namespace {

template <typename Result>
Result Fault(IgcFileFault fault, int errorNumber, int fd) {
  if (fd >= 0) ::close(fd);
  Result result;
  result.fault = fault;
  result.errorNumber = errorNumber;
  return result;
}

template <typename Result>
Result ReadWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Fault<Result>(IgcFileFault::Open, errno, -1);
  struct stat info {};
  if (::fstat(fd, &info) != 0) return Fault<Result>(IgcFileFault::Size, errno, fd);
  if (S_ISDIR(info.st_mode)) return Fault<Result>(IgcFileFault::Open, EISDIR, fd);
  if (info.st_size == 0) return Fault<Result>(IgcFileFault::Empty, 0, fd);

  Result result;
  try {
    result.bytes.resize(static_cast<size_t>(info.st_size));
  } catch (const std::bad_alloc&) {
    return Fault<Result>(IgcFileFault::Memory, ENOMEM, fd);
  } catch (const std::length_error&) {
    return Fault<Result>(IgcFileFault::Memory, ENOMEM, fd);
  }
  // The size was taken before reading; a file that shrinks meanwhile is read as it is now.
  size_t done = 0;
  while (done < result.bytes.size()) {
    const ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fault<Result>(IgcFileFault::Read, errno, fd);
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  result.bytes.resize(done);
  if (done == 0) return Fault<Result>(IgcFileFault::Empty, 0, -1);
  return result;
}

}  // namespace

IgcFileBytes ReadIgcFileBytes(const std::string& path) { return ReadWholeFile<IgcFileBytes>(path); }

IgcBulkFileBytes ReadIgcFileBulk(const std::string& path) { return ReadWholeFile<IgcBulkFileBytes>(path); }

}  // namespace trelvik
