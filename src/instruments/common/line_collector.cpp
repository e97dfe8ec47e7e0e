#include "instruments/common/line_collector.hpp"

namespace trelvik {

bool LineCollector::Feed(uint8_t c) {
  if (c == '$') {
    line_.assign(1, '$');
    state_ = State::InLine;
    return false;
  }
  switch (state_) {
    case State::Idle: return false;
    case State::InLine:
      if (c == '\r') {
        state_ = State::AwaitLf;
      } else if (line_.size() < limit_) {
        line_ += static_cast<char>(c);
      }
      return false;
    case State::AwaitLf:
      if (c != '\n') return false;
      state_ = State::Idle;
      return true;
  }
  return false;
}

}  // namespace trelvik
