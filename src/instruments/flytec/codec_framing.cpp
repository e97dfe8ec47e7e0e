// Framing of the $PBRANS and $PBRCTR replies.
#include "instruments/flytec/codec.hpp"

namespace trelvik::flytec {
namespace {

constexpr size_t kSentenceLimit = 81;

int HexDigit(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

int SentenceFramer::Fail(int code) {
  state_ = State::Idle;
  return code;
}

int SentenceFramer::Feed(uint8_t c) {
  if (c == '$' && state_ != State::Hex1 && state_ != State::Hex2) {
    // A new sentence; a cut-off one before it is dropped, as the instrument
    // starts afresh after a hiccup.
    if (state_ == State::Cr) return Fail(-4);
    if (state_ == State::Lf) return Fail(-6);
    sentence_.assign(1, '$');
    xor_ = 0;
    state_ = State::Body;
    return 0;
  }
  switch (state_) {
    case State::Idle:
      return 0;
    case State::Body:
      if (c == '*') {
        state_ = State::Hex1;
        return 0;
      }
      if (sentence_.size() >= kSentenceLimit) return Fail(-1);
      sentence_ += static_cast<char>(c);
      xor_ ^= c;
      return 0;
    case State::Hex1:
    case State::Hex2: {
      const int digit = HexDigit(c);
      if (digit < 0) return Fail(state_ == State::Hex1 ? -2 : -3);
      checksum_ = static_cast<uint8_t>(state_ == State::Hex1 ? digit << 4 : checksum_ | digit);
      state_ = state_ == State::Hex1 ? State::Hex2 : State::Cr;
      return 0;
    }
    case State::Cr:
      if (c != '\r') return Fail(-4);
      state_ = State::Lf;
      return 0;
    case State::Lf:
      if (c != '\n') return Fail(-6);
      if (checksum_ != xor_) return Fail(-5);
      state_ = State::Idle;
      return 1;
  }
  return 0;
}

char AckStatus(std::string_view sentence) {
  constexpr std::string_view kAck = "$PBRANS,";
  if (!sentence.starts_with(kAck) || sentence.size() <= kAck.size()) return 0;
  return sentence[kAck.size()];
}

std::string_view AckStatusText(char status) {
  switch (status) {
    case '1': return "CTR transfer ok";
    case '2': return "Plausibility error";
    case '3': return "No further memory";
    case '4': return "No more writing allowed";
    case '5': return "NMEA syntax error";
    default: return "Unknown ack. status";
  }
}

}  // namespace trelvik::flytec
