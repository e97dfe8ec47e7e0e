#include "instruments/logit/codec.hpp"

namespace trelvik::logit {
namespace {

constexpr std::string_view kCountPrefix = "$PMLR,NUMTRACKPOINTS,";
constexpr int32_t kLargestBeforeDigit = 214748362;

int HexDigit(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string TrimmedEnd(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

TrackRequest TrackRequestFor(int baud) {
  switch (baud) {
    case 19200: return {"$PMLR,24,02,0100,0398\r\n", 19200};
    case 38400: return {"$PMLR,24,02,0101,0399\r\n", 38400};
    case 57600: return {"$PMLR,24,02,0102,039A\r\n", 57600};
    case 115200: return {"$PMLR,24,02,0103,039B\r\n", 115200};
    // The loggers know this sentence with this checksum, which is not the sum.
    default: return {"$PMLR,24,02,0110,0388\r\n", kSlowBaud};
  }
}

std::string RestartCommand(int point) { return pmlr::Command("$PMLR,59," + std::to_string(point) + ","); }

std::string NameCommand(std::string_view name) { return "$PMLR,IDGPS,01," + std::string(name) + ",       *00\r\n"; }

Identity IdentityFromFields(const std::array<std::string, 5>& fields) {
  return {TrimmedEnd(fields[0]), TrimmedEnd(fields[1]), TrimmedEnd(fields[2]), TrimmedEnd(fields[3])};
}

bool ChecksumRequired(const std::array<std::string, 5>& fields) { return TrimmedEnd(fields[3]) != "1.02"; }

std::string ProductLine(const Identity& identity) {
  return identity.model + " " + identity.firmware.substr(0, 4) + " (" + identity.description + ")";
}

int PointCountParser::Fail(int code) {
  state_ = 0;
  return code;
}

int PointCountParser::Feed(uint8_t c) {
  switch (state_) {
    case 0:  // waiting for "$"
      if (c != '$') return 0;
      state_ = 1;
      matched_ = 1;
      xor_ = 0;
      return 0;
    case 1:  // the rest of the prefix
      if (c != static_cast<uint8_t>(kCountPrefix[matched_])) return Fail(-1);
      xor_ ^= c;
      if (++matched_ == kCountPrefix.size()) {
        state_ = 2;
        value_ = 0;
      }
      return 0;
    case 2:  // the count
      if (c == '*') {
        checksum_ = 0;
        state_ = 3;
        return 0;
      }
      if (c == '\r' || c == '\n') return Fail(-2);
      if (c < '0' || c > '9') return Fail(-3);
      if (value_ > kLargestBeforeDigit) return Fail(-4);
      xor_ ^= c;
      value_ = value_ * 10 + (c - '0');
      return 0;
    case 3:
    case 4: {
      if (c == '\r' || c == '\n') return Fail(-5);
      const int digit = HexDigit(c);
      if (digit < 0) return Fail(-6);
      checksum_ = static_cast<uint8_t>(checksum_ << 4 | digit);
      ++state_;
      return 0;
    }
    default:
      if (c != '\r') return Fail(-7);
      if (checksum_ != xor_) return Fail(-8);
      count_ = value_;
      state_ = 0;
      return 1;
  }
}

}  // namespace trelvik::logit
