#include "server/socket_error_name.hpp"

#include <array>
#include <cerrno>
#include <utility>

namespace trelvik {
namespace {

// WSANOTINITIALISED has no POSIX counterpart: sockets need no start-up here.
constexpr std::array<std::pair<int, std::string_view>, 25> kNames = {{
    {EINTR, "WSAEINTR"},
    {EACCES, "WSAEACCES"},
    {EFAULT, "WSAEFAULT"},
    {EINVAL, "WSAEINVAL"},
    {EWOULDBLOCK, "WSAEWOULDBLOCK"},
    {EINPROGRESS, "WSAEINPROGRESS"},
    {EALREADY, "WSAEALREADY"},
    {ENOTSOCK, "WSAENOTSOCK"},
    {EMSGSIZE, "WSAEMSGSIZE"},
    {EOPNOTSUPP, "WSAEOPNOTSUPP"},
    {EAFNOSUPPORT, "WSAEAFNOSUPPORT"},
    {EADDRINUSE, "WSAEADDRINUSE"},
    {EADDRNOTAVAIL, "WSAEADDRNOTAVAIL"},
    {ENETDOWN, "WSAENETDOWN"},
    {ENETUNREACH, "WSAENETUNREACH"},
    {ENETRESET, "WSAENETRESET"},
    {ECONNABORTED, "WSAECONNABORTED"},
    {ECONNRESET, "WSAECONNRESET"},
    {ENOBUFS, "WSAENOBUFS"},
    {EISCONN, "WSAEISCONN"},
    {ENOTCONN, "WSAENOTCONN"},
    {ESHUTDOWN, "WSAESHUTDOWN"},
    {ETIMEDOUT, "WSAETIMEDOUT"},
    {ECONNREFUSED, "WSAECONNREFUSED"},
    {EHOSTUNREACH, "WSAEHOSTUNREACH"},
}};

}  // namespace

std::string_view SocketErrorName(int errnoValue) {
  if (errnoValue == EAGAIN) return "WSAEWOULDBLOCK";  // the same value on Linux, not everywhere
  for (const auto& [value, name] : kNames) {
    if (value == errnoValue) return name;
  }
  return "UNKNOWN";
}

}  // namespace trelvik
