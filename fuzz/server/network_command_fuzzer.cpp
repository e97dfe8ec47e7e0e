// Any byte string as a network command: the decoder answers a command or an
// error text from its list, never crashes or hangs, and a command it accepts
// names only the server's own instrument rows and ports.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "instruments/protocol_table.hpp"
#include "server/network_command.hpp"

namespace {

constexpr std::string_view kErrors[] = {"$Trelvik Error Bad command identifier",
                                        "Missing parameter start '/'",
                                        "Missing parameter assignment character '='",
                                        "Missing parameter value",
                                        "Missing '\"'",
                                        "Bad COM port value",
                                        "Unrecognized GPS type",
                                        "Bad abort value",
                                        "Bad track select",
                                        "Unrecognized parameter"};

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::span<const trelvik::ProtocolRow> rows = trelvik::ProtocolTable();
  const auto parsed = trelvik::ParseNetworkCommand(text, rows);
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    Require(std::find(std::begin(kErrors), std::end(kErrors), *error) != std::end(kErrors));
    return 0;
  }
  const trelvik::NetworkCommand& command = std::get<trelvik::NetworkCommand>(parsed);
  Require(text.starts_with(trelvik::kCommandIdentifier));
  if (command.gps != nullptr) {
    Require(command.gps >= rows.data() && command.gps < rows.data() + rows.size());
    Require(!command.gps->serverName.empty());
  }
  if (command.portName && !command.portName->empty()) Require(command.portName->front() == '/');
  return 0;
}
