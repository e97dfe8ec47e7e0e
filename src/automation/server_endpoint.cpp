#include "automation/server_endpoint.hpp"

#include <arpa/inet.h>

namespace trelvik {

std::variant<int, std::string> ParsePortInput(std::string_view text) {
  if (text.empty()) return std::string("Missing port input");
  // Ten digits hold any value a 32-bit field would; more is out of range anyway.
  long long port = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::string("Bad port input");
    if (port <= 65535) port = port * 10 + (c - '0');
  }
  if (port > 65535) return std::string("Port out of range");
  return static_cast<int>(port);
}

std::variant<ServerEndpoint, std::string> ParseServerEndpoint(std::string_view text) {
  ServerEndpoint endpoint;
  const size_t colon = text.rfind(':');
  if (colon != std::string_view::npos) {
    endpoint.address = std::string(text.substr(0, colon));
    in_addr parsed{};
    if (::inet_pton(AF_INET, endpoint.address.c_str(), &parsed) != 1) return std::string("Bad server address");
    text.remove_prefix(colon + 1);
  }
  std::variant<int, std::string> port = ParsePortInput(text);
  if (auto* error = std::get_if<std::string>(&port)) return *error;
  endpoint.port = std::get<int>(port);
  return endpoint;
}

}  // namespace trelvik
