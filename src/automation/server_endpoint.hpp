#pragma once
// Where the TCP command server listens: a port alone means the loopback
// address, so only programs on this machine can start downloads; an IPv4
// address before the port ("0.0.0.0:61234") exposes it to other computers.
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace trelvik {

inline constexpr int kDefaultServerPort = 61234;
inline constexpr const char* kLoopbackAddress = "127.0.0.1";

struct ServerEndpoint {
  std::string address = kLoopbackAddress;  // dotted IPv4
  int port = kDefaultServerPort;           // 0: the system chooses
  bool operator==(const ServerEndpoint&) const = default;
};

// The port field's value: "Missing port input", "Bad port input" or
// "Port out of range" on error.
std::variant<int, std::string> ParsePortInput(std::string_view text);
// "port" or "ADDRESS:port"; a bad address gives "Bad server address".
std::variant<ServerEndpoint, std::string> ParseServerEndpoint(std::string_view text);

}  // namespace trelvik
