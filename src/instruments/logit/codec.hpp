#pragma once
// LogIt loggers (the TRACKLOGGER among them) without I/O: their $PMLR
// commands, the meaning of the identification answer and the point-count
// answer's parser. Identification and track frames use the shared $PMLR codec.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "instruments/common/pmlr_codec.hpp"

namespace trelvik::logit {

inline constexpr std::string_view kPointCountRequest = "$PMLR,58,00,02B0\r\n";
inline constexpr std::string_view kEraseCommand = "$PMLR,99,00,02B5\r\n";
inline constexpr int kSlowBaud = 4800;
inline constexpr size_t kOwnerNameWidth = 9;
inline constexpr std::string_view kTrackLogger = "TRACKLOGGER";

// Fields 1 to 3 keep 20 characters, field 4 (the firmware) 40.
inline constexpr pmlr::ProductRules kProductRules{4, {20, 20, 20, 40, 0}};

// The track request for a speed, and the speed it switches to: 57600,
// 38400, 19200 and 115200 have their own; anything else is 4800.
struct TrackRequest {
  std::string_view sentence;
  int baud;
};
TrackRequest TrackRequestFor(int baud);

// "$PMLR,59,<point>,<sum>": go on from this point after a broken frame.
std::string RestartCommand(int point);
// "$PMLR,IDGPS,01,<name>,       *00": `name` already 9 characters wide.
std::string NameCommand(std::string_view name);

// The identification fields with the blanks at their ends cut.
struct Identity {
  std::string model;        // field 1
  std::string description;  // field 2
  std::string serial;       // field 3
  std::string firmware;     // field 4
};
Identity IdentityFromFields(const std::array<std::string, 5>& fields);
// Firmware 1.02 sends a wrong checksum: its answers are taken as they are.
bool ChecksumRequired(const std::array<std::string, 5>& fields);
// "<model> <firmware, 4 characters> (<description>)".
std::string ProductLine(const Identity& identity);

// "$PMLR,NUMTRACKPOINTS,<n>*hh" CR: 0 while it goes on, 1 when complete
// (Count()), or the negative code of the malformed answer; then afresh.
class PointCountParser {
 public:
  int Feed(uint8_t c);
  int32_t Count() const { return count_; }

 private:
  int Fail(int code);

  int state_ = 0;
  size_t matched_ = 0;
  uint8_t xor_ = 0;
  uint8_t checksum_ = 0;
  int32_t value_ = 0;
  int32_t count_ = 0;
};

}  // namespace trelvik::logit
