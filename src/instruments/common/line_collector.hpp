#pragma once
// Collects the "$" ... CR LF lines of text replies, one byte at a time.
#include <cstddef>
#include <cstdint>
#include <string>

namespace trelvik {

// At most `limit` characters are kept from the "$" up to the CR; the line is
// complete at the LF that follows. A "$" always starts a new line.
class LineCollector {
 public:
  explicit LineCollector(size_t limit) : limit_(limit) {}
  // True when `c` completed a line; Line() holds it without CR LF.
  bool Feed(uint8_t c);
  const std::string& Line() const { return line_; }
  std::string& Line() { return line_; }
  void Reset() {
    state_ = State::Idle;
    line_.clear();
  }

 private:
  enum class State { Idle, InLine, AwaitLf };
  size_t limit_;
  State state_ = State::Idle;
  std::string line_;
};

}  // namespace trelvik
