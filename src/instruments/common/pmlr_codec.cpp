#include "instruments/common/pmlr_codec.hpp"

#include "base/c_format.hpp"

namespace trelvik::pmlr {
namespace {

constexpr std::string_view kProductPrefix = "$PMLR,IDGPS,01,";
constexpr uint8_t kFrameStart = 0x8B;

int HexDigit(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

uint32_t Big32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) << 24 | static_cast<uint32_t>(b[at + 1]) << 16 |
         static_cast<uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

int32_t Signed24(std::span<const uint8_t> b, size_t at) {
  const uint32_t raw = static_cast<uint32_t>(b[at]) << 16 | static_cast<uint32_t>(b[at + 1]) << 8 | b[at + 2];
  return (raw & 0x800000u) != 0 ? static_cast<int32_t>(raw) - 0x1000000 : static_cast<int32_t>(raw);
}

}  // namespace

std::string Command(std::string_view text) {
  unsigned sum = 0;
  for (const char c : text) sum += static_cast<uint8_t>(c);
  return std::string(text) + CFormat("%04X\r\n", sum & 0xFFFFu);
}

// ---- product answer ------------------------------------------------------------

void ProductParser::Restart() {
  state_ = State::Search;
  matched_ = 0;
  field_ = 0;
  xor_ = 0;
  checksum_ = 0;
  for (std::string& f : fields_) f.clear();
}

ProductStep ProductParser::Fail() {
  Restart();
  return ProductStep::Error;
}

ProductStep ProductParser::Feed(uint8_t c) {
  switch (state_) {
    case State::Search:
    case State::Prefix:
      if (state_ == State::Prefix && c == static_cast<uint8_t>(kProductPrefix[matched_])) {
        xor_ ^= c;
        if (++matched_ == kProductPrefix.size()) state_ = State::Field;
        return ProductStep::More;
      }
      // Only a "$" starts the search again.
      Restart();
      if (c == '$') {
        state_ = State::Prefix;
        matched_ = 1;
      }
      return ProductStep::More;
    case State::Field: {
      if (c == '\r' || c == '\n') return Fail();
      const int last = rules_.maxFields - 1;
      if (c == '*' && field_ >= 3) {
        state_ = State::Hex1;
        return ProductStep::More;
      }
      xor_ ^= c;
      if (c == ',' && field_ < last) {
        ++field_;
        return ProductStep::More;
      }
      std::string& field = fields_[static_cast<size_t>(field_)];
      if (c == ' ' && field.empty()) return ProductStep::More;  // leading blanks
      if (field.size() < rules_.fieldLimits[static_cast<size_t>(field_)]) field += static_cast<char>(c);
      return ProductStep::More;
    }
    case State::Hex1:
    case State::Hex2: {
      const int digit = HexDigit(c);
      if (digit < 0) return Fail();
      checksum_ = static_cast<uint8_t>(checksum_ << 4 | digit);
      state_ = state_ == State::Hex1 ? State::Hex2 : State::Cr;
      return ProductStep::More;
    }
    case State::Cr:
      if (c != '\r') return Fail();
      state_ = State::Last;
      return ProductStep::More;
    case State::Last: state_ = State::Search; return ProductStep::Complete;
  }
  return ProductStep::More;
}

// ---- frames ----------------------------------------------------------------------

FrameStep FrameParser::Fail(FrameFault fault) {
  fault_ = fault;
  state_ = State::Search;
  return FrameStep::Fault;
}

FrameStep FrameParser::Feed(uint8_t c) {
  if (state_ < State::Sum1) sum_ = static_cast<uint16_t>(sum_ + c);
  switch (state_) {
    case State::Search:
      if (c == kFrameStart) {
        sum_ = c;
        fault_ = FrameFault::None;
        state_ = State::Number;
      }
      return FrameStep::More;
    case State::Number:
      number_ = c;
      state_ = State::KindLetter;
      return FrameStep::More;
    case State::KindLetter:
      if (c != dialect_.kindLetter) return Fail(FrameFault::KindLetter);
      state_ = State::KindByte;
      return FrameStep::More;
    case State::KindByte:
      if (c != dialect_.kindByte) return Fail(FrameFault::KindByte);
      state_ = State::Type;
      return FrameStep::More;
    case State::Type:
      wordPos_ = 1;
      if (c == 0) {
        kind_ = FrameKind::Data;
        state_ = State::Count;
      } else if (c == 'D') {
        kind_ = FrameKind::Start;
        word_ = "DEBUT";
        state_ = State::Word;
      } else if (c == 'F') {
        kind_ = FrameKind::End;
        word_ = "FIN";
        state_ = State::Word;
      } else if (c == 'R' && dialect_.restartWord) {
        kind_ = FrameKind::Restart;
        word_ = "RESTART";
        state_ = State::Word;
      } else {
        return Fail(FrameFault::Type);
      }
      return FrameStep::More;
    case State::Word:
      if (c != static_cast<uint8_t>(word_[wordPos_])) {
        return Fail(kind_ == FrameKind::Start ? FrameFault::StartWord
                    : kind_ == FrameKind::End ? FrameFault::EndWord
                                              : FrameFault::RestartWord);
      }
      if (++wordPos_ == word_.size()) {
        count_ = 0;
        state_ = State::Sum1;
      }
      return FrameStep::More;
    case State::Count:
      if (c == 0 || c > dialect_.maxEntries) return Fail(FrameFault::Count);
      count_ = c;
      bodyBytes_ = 0;
      state_ = State::Body;
      return FrameStep::More;
    case State::Body:
      body_[bodyBytes_++] = c;
      if (bodyBytes_ == static_cast<size_t>(count_) * dialect_.entrySize) state_ = State::Sum1;
      return FrameStep::More;
    case State::Sum1:
      received_ = static_cast<uint16_t>(c << 8);
      state_ = State::Sum2;
      return FrameStep::More;
    case State::Sum2:
      received_ = static_cast<uint16_t>(received_ | c);
      if (received_ != sum_) return Fail(FrameFault::Checksum);
      state_ = State::Cr;
      return FrameStep::More;
    case State::Cr:
      if (c != '\r') return Fail(FrameFault::Cr);
      state_ = State::Lf;
      return FrameStep::More;
    case State::Lf:
      if (c != '\n') return Fail(FrameFault::Lf);
      state_ = State::Search;
      return FrameStep::Frame;
  }
  return FrameStep::More;
}

PointEntry DecodePointEntry(std::span<const uint8_t> e) {
  PointEntry p;
  p.number = static_cast<uint16_t>(e[0] << 8 | e[1]);
  p.time = Big32(e, 2);
  p.lat = static_cast<int32_t>(Big32(e, 6));
  p.lon = static_cast<int32_t>(Big32(e, 10));
  p.altitude = Signed24(e, 14);
  p.flags = e[17];
  return p;
}

WaypointEntry DecodeWaypointEntry(std::span<const uint8_t> e) {
  WaypointEntry w;
  w.name.assign(reinterpret_cast<const char*>(e.data()), 6);
  w.time = Big32(e, 6);
  w.lat = static_cast<int32_t>(Big32(e, 10));
  w.lon = static_cast<int32_t>(Big32(e, 14));
  w.altitude = Signed24(e, 18);
  w.flags = e[21];
  return w;
}

}  // namespace trelvik::pmlr
