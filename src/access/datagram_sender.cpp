#include "access/datagram_sender.hpp"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace trelvik {
namespace {

bool MakeAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

}  // namespace

DatagramSender::DatagramSender(std::string socketPath) : path_(std::move(socketPath)) {
  fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
}

DatagramSender::~DatagramSender() {
  if (fd_ >= 0) ::close(fd_);
}

bool DatagramSender::Send(std::string_view datagram) {
  sockaddr_un address;
  if (fd_ < 0 || !MakeAddress(path_, address)) return false;
  const ssize_t sent = ::sendto(fd_, datagram.data(), datagram.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&address), sizeof address);
  return sent == static_cast<ssize_t>(datagram.size());
}

bool NotifyTargetReachable(const std::string& path) {
  sockaddr_un address;
  if (!MakeAddress(path, address)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  // connect() on a datagram socket only checks that a receiver is bound there.
  const bool reachable = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return reachable;
}

}  // namespace trelvik
