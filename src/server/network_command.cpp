#include "server/network_command.hpp"

#include <algorithm>

#include "base/c_format.hpp"

namespace trelvik {
namespace {

// Digits only; more than nine would overflow what the values mean anyway.
std::optional<uint32_t> UnsignedValue(std::string_view value) {
  if (value.empty() || value.size() > 9) return std::nullopt;
  uint32_t number = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + static_cast<uint32_t>(c - '0');
  }
  return number;
}

const ProtocolRow* RowNamed(std::span<const ProtocolRow> rows, std::string_view name) {
  for (const ProtocolRow& row : rows) {
    if (!row.serverName.empty() && row.serverName == name) return &row;
  }
  return nullptr;
}

// Null when the value was taken, else the error text.
const char* TakeValue(NetworkCommand& command, std::string_view name, std::string_view value,
                      std::span<const ProtocolRow> rows) {
  if (name == "com") {
    if (value.starts_with('/')) {
      command.portName = std::string(value);
      return nullptr;
    }
    const std::optional<uint32_t> number = UnsignedValue(value);
    if (!number) return "Bad COM port value";
    command.portName = *number == 0 ? std::string() : CFormat("/dev/ttyS%u", *number - 1);
    return nullptr;
  }
  if (name == "gps") {
    command.gps = RowNamed(rows, value);
    return command.gps == nullptr ? "Unrecognized GPS type" : nullptr;
  }
  if (name == "abort") {
    command.abort = UnsignedValue(value);
    return command.abort ? nullptr : "Bad abort value";
  }
  if (name == "track") {
    command.track = UnsignedValue(value);
    return command.track ? nullptr : "Bad track select";
  }
  return "Unrecognized parameter";
}

}  // namespace

std::variant<NetworkCommand, std::string> ParseNetworkCommand(std::string_view text,
                                                              std::span<const ProtocolRow> rows) {
  if (!text.starts_with(kCommandIdentifier)) return std::string("$Trelvik Error Bad command identifier");
  NetworkCommand command;
  size_t at = kCommandIdentifier.size();
  for (;;) {
    while (at < text.size() && text[at] == ' ') ++at;
    if (at == text.size()) return command;
    if (text[at] != '/') return std::string("Missing parameter start '/'");
    const size_t equals = text.find('=', at + 1);
    if (equals == std::string_view::npos) return std::string("Missing parameter assignment character '='");
    const std::string_view name = text.substr(at + 1, equals - at - 1);
    std::string_view value;
    if (equals + 1 < text.size() && text[equals + 1] == '"') {
      const size_t close = text.find('"', equals + 2);
      if (close == std::string_view::npos) return std::string("Missing '\"'");
      value = text.substr(equals + 2, close - equals - 2);
      at = close + 1;
    } else {
      const size_t end = std::min(text.find(' ', equals + 1), text.size());
      value = text.substr(equals + 1, end - equals - 1);
      if (value.empty()) return std::string("Missing parameter value");
      at = end;
    }
    if (const char* error = TakeValue(command, name, value, rows)) return std::string(error);
  }
}

}  // namespace trelvik
