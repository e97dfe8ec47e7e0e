#include "app/display_probe.hpp"

#include <arpa/inet.h>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace trelvik {

namespace {

constexpr int kConnectTimeoutMs = 2000;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
    if (x != b[i]) return false;
  }
  return true;
}

// Connects a non-blocking socket within the time-out; closes it either way.
bool ConnectWithin(int fd, const sockaddr* address, socklen_t length) {
  const int flags = ::fcntl(fd, F_GETFL, 0);
  ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  bool connected = ::connect(fd, address, length) == 0;
  if (!connected && errno == EINPROGRESS) {
    pollfd entry{fd, POLLOUT, 0};
    if (::poll(&entry, 1, kConnectTimeoutMs) == 1) {
      int error = 0;
      socklen_t size = sizeof error;
      connected = ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
  }
  ::close(fd);
  return connected;
}

// `abstract`: the Linux abstract namespace, where X servers also listen.
bool UnixSocketAccepts(const std::string& path, bool abstract) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const size_t offset = abstract ? 1 : 0;
  if (path.size() + offset >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path + offset, path.data(), path.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
  return ConnectWithin(fd, reinterpret_cast<const sockaddr*>(&address), length);
}

bool TcpPortAccepts(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
  bool accepted = false;
  for (addrinfo* entry = found; entry && !accepted; entry = entry->ai_next) {
    const int fd = ::socket(entry->ai_family, entry->ai_socktype | SOCK_CLOEXEC, entry->ai_protocol);
    if (fd >= 0) accepted = ConnectWithin(fd, entry->ai_addr, entry->ai_addrlen);
  }
  ::freeaddrinfo(found);
  return accepted;
}

// DISPLAY is [host]:number[.screen]; an empty host or "unix" means the local socket.
bool X11Reachable(std::string_view display) {
  const size_t colon = display.rfind(':');
  if (colon == std::string_view::npos) return false;
  std::string host(display.substr(0, colon));
  std::string_view rest = display.substr(colon + 1);
  int number = 0;
  size_t digits = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9' && digits < 6) {
    number = number * 10 + (rest[digits] - '0');
    ++digits;
  }
  if (digits == 0) return false;
  if (!host.empty() && host.front() == '/') return UnixSocketAccepts(std::string(display.substr(0, colon)), false);
  if (host.starts_with("tcp/")) host.erase(0, 4);
  if (host.empty() || host == "unix") {
    const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
    return UnixSocketAccepts(path, false) || UnixSocketAccepts(path, true);
  }
  return TcpPortAccepts(host, 6000 + number);
}

bool WaylandReachable(std::string_view name) {
  if (name.empty()) return false;
  if (name.front() == '/') return UnixSocketAccepts(std::string(name), false);
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (!runtime || !*runtime) return false;
  return UnixSocketAccepts(std::string(runtime) + "/" + std::string(name), false);
}

}  // namespace

bool AsksForHiddenWindow(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const size_t equals = argument.find('=');
    if (equals == std::string_view::npos || argument.substr(equals + 1) != "0") continue;
    if (EqualsIgnoringCase(argument.substr(0, equals), "/WIN")) return true;
  }
  return false;
}

bool AsksForServer(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const size_t equals = argument.find('=');
    if (equals != std::string_view::npos && EqualsIgnoringCase(argument.substr(0, equals), "/SERVER")) return true;
  }
  return false;
}

bool DisplayReachable() {
  const char* display = std::getenv("DISPLAY");
  if (display && *display && X11Reachable(display)) return true;
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return wayland && *wayland && WaylandReachable(wayland);
}

}  // namespace trelvik
