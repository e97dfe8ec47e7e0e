#pragma once
// Faults between a simulated instrument and the line: the instrument goes
// silent, sends a burst of garbage, loses one line, garbles one byte, or hangs
// up, each at a chosen point of what it sends. Counts are of bytes actually put on the line.
#include <cstdint>
#include <string>
#include <string_view>

namespace trelvik::sim {

struct FaultPlan {
  int64_t silenceAfter = -1;  // bytes sent, then nothing more
  int64_t garbageAfter = -1;  // bytes sent, then garbageCount garbage bytes once
  int garbageCount = 8;
  int64_t dropLine = 0;       // 1-based number of the instrument's line that never arrives; 0 = none
  int64_t hangupAfter = -1;   // bytes sent, then the line hangs up
  int64_t corruptAfter = -1;  // bytes sent, then the next byte goes out with its bits flipped
};

class FaultInjector {
 public:
  explicit FaultInjector(const FaultPlan& plan) : plan_(plan) {}
  // What goes on the line of the instrument's `bytes`.
  std::string Filter(std::string_view bytes);
  // The hang-up point has been reached: close the line once the returned bytes are out.
  bool HangUpDue() const { return hangUpDue_; }
  int64_t Sent() const { return sent_; }

 private:
  FaultPlan plan_;
  int64_t line_ = 1;  // number of the line the next byte belongs to
  int64_t sent_ = 0;
  bool garbageDone_ = false;
  bool hangUpDue_ = false;
};

}  // namespace trelvik::sim
