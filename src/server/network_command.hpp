#pragma once
// The syntax of one network command: "$Trelvik " and then parameters
// "/name=value" separated by blanks, a value running to the next blank or,
// when it starts with a double quote, to the next one. Pure code: what the
// command asks for is decided by the server, which knows its sessions.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "access/protocol_row.hpp"

namespace trelvik {

inline constexpr std::string_view kCommandIdentifier = "$Trelvik ";

struct NetworkCommand {
  // com: a device path; "/dev/ttyS<n-1>" for a number n, empty for 0.
  std::optional<std::string> portName;
  const ProtocolRow* gps = nullptr;  // the row whose server name gps= gave
  std::optional<uint32_t> abort;
  std::optional<uint32_t> track;
};

// The command, or the text of its first error. `rows` give the gps= names.
std::variant<NetworkCommand, std::string> ParseNetworkCommand(std::string_view text, std::span<const ProtocolRow> rows);

}  // namespace trelvik
