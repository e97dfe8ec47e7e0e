#include "instruments/dsx/codec.hpp"

#include "base/c_format.hpp"

namespace trelvik::dsx {
namespace {

constexpr std::string_view kConnectionAnswer = "Conn\n\r\r\n#";
constexpr std::string_view kLabel = "recs n.";
constexpr size_t kFlightDigits = 3;
constexpr size_t kCountDigits = 6;

// The negative codes of "E505 Format error %".
constexpr int kNumberNotDigit = -1;
constexpr int kNoBlankAfterNumber = -2;
constexpr int kLabelBroken = -3;
constexpr int kCountNotDigit = -4;
constexpr int kAfterCount = -5;
constexpr int kTooManyFlights = -6;

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string F(int flight) { return CFormat("F%03d\r", flight); }
std::string E(int item) { return CFormat("E%d\r", item); }
std::string H(int item, std::string_view text) {
  return CFormat("H%d%.*s\r", item, static_cast<int>(text.size()), text.data());
}
std::string C1(std::string_view telephone) {
  return CFormat("C1%.*s\r", static_cast<int>(telephone.size()), telephone.data());
}

bool ConnectionMatcher::Feed(uint8_t c) {
  if (matched_ == kConnectionAnswer.size()) return true;
  if (static_cast<char>(c) == kConnectionAnswer[matched_]) {
    ++matched_;
  } else {
    matched_ = static_cast<char>(c) == kConnectionAnswer[0] ? 1 : 0;
  }
  return matched_ == kConnectionAnswer.size();
}

int FlightListParser::Feed(uint8_t c) {
  switch (state_) {
    case State::LineStart:
      if (c == '\r' || c == '\n' || c == '#') return 0;
      if (!IsDigit(c)) return kNumberNotDigit;
      flight_ = {c - '0', 0};
      pos_ = 1;
      state_ = State::Number;
      return 0;
    case State::Number:
      if (!IsDigit(c)) return kNumberNotDigit;
      flight_.number = flight_.number * 10 + (c - '0');
      if (++pos_ == kFlightDigits) state_ = State::Blank;
      return 0;
    case State::Blank:
      if (c != ' ') return kNoBlankAfterNumber;
      pos_ = 0;
      state_ = State::Label;
      return 0;
    case State::Label:
      if (static_cast<char>(c) != kLabel[pos_]) return kLabelBroken;
      if (++pos_ == kLabel.size()) {
        pos_ = 0;
        state_ = State::Count;
      }
      return 0;
    case State::Count:
      if (IsDigit(c) && pos_ < kCountDigits) {
        flight_.records = flight_.records * 10 + (c - '0');
        ++pos_;
        return 0;
      }
      if (pos_ == 0) return kCountNotDigit;
      if (c == '\r' || c == '\n') {
        state_ = State::LineStart;  // no blank after the count: the line does not count
        return 0;
      }
      if (c != ' ') return kAfterCount;
      if (flights_.size() == kMaxFlights) return kTooManyFlights;
      flights_.push_back(flight_);
      state_ = State::Rest;
      return 0;
    case State::Rest:
      if (c == '\r' || c == '\n') state_ = State::LineStart;
      return 0;
  }
  return 0;
}

bool ItemReplyCollector::Feed(uint8_t c) {
  if (c == '\r') return true;
  // A prompt or line feed left from the previous reply is not part of this one.
  if (text_.empty() && (c == '#' || c == '\n')) return false;
  if (text_.size() < kItemReplyLimit) text_ += static_cast<char>(c);
  return false;
}

}  // namespace trelvik::dsx
