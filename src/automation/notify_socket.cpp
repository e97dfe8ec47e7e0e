#include "automation/notify_socket.hpp"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace trelvik {
namespace {

// A datagram socket connected to `path`, or -1 with errno set.
int ConnectTo(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path || path.find('\0') != std::string::npos) {
    errno = ENAMETOOLONG;
    return -1;
  }
  std::memcpy(address.sun_path, path.data(), path.size());
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

}  // namespace

bool NotifyTargetReachable(const std::string& path) {
  const int fd = ConnectTo(path);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

std::string NotificationDatagram(uint32_t dataWord, std::string_view text) {
  std::string datagram;
  datagram.reserve(4 + text.size());
  for (int shift = 0; shift < 32; shift += 8) datagram.push_back(static_cast<char>((dataWord >> shift) & 0xFF));
  datagram += text;
  return datagram;
}

int SendNotification(const std::string& path, uint32_t dataWord, std::string_view text, int* errorNumber) {
  const auto fail = [&](int error) {
    if (errorNumber != nullptr) *errorNumber = error;
    return -1;
  };
  const int fd = ConnectTo(path);
  if (fd < 0) return fail(errno);
  const std::string datagram = NotificationDatagram(dataWord, text);
  bool waited = false;
  for (;;) {
    const ssize_t sent = ::send(fd, datagram.data(), datagram.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    if (sent >= 0) break;
    const int error = errno;
    if (error == EINTR) continue;
    if ((error == EAGAIN || error == EWOULDBLOCK) && !waited) {
      pollfd writable{fd, POLLOUT, 0};
      waited = true;
      if (::poll(&writable, 1, kNotifyWaitMilliseconds) > 0) continue;
    }
    ::close(fd);
    return fail(error);
  }
  ::close(fd);
  return 0;
}

}  // namespace trelvik
