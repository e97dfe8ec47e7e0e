#pragma once
// Where a job's reports go and how it waits: the window (or the headless
// console), a TCP session, or a recording fake in tests. Drivers never show a
// box, read a clock or sleep on their own, so tests run without real waits.
// All calls come from the job's thread except where noted.
#include <chrono>
#include <cstdint>
#include <string_view>

#include "base/user_interface.hpp"
#include "records/track_time.hpp"

namespace trelvik {

class JobChannel {
 public:
  virtual ~JobChannel() = default;
  // The "Status" line. Also called from the window thread by the abort command.
  virtual void ShowProgress(std::string_view text) = 0;
  // The "Product" line: the instrument's name and identity.
  virtual void ShowProduct(std::string_view text) = 0;
  virtual void ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) = 0;
  // True when the far side gave up (a TCP client that went away); the job then
  // stops as if aborted.
  virtual bool CancelRequested() { return false; }
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
  // Monotonic milliseconds; wraps like a 32-bit tick counter.
  virtual uint32_t TickMs() = 0;
  // The current time in UTC, for what a job stamps with the date of its run.
  virtual TrackTime UtcNow() { return CurrentTrackTime(); }
  // The job's block is gone; a TCP session closes its connection here.
  virtual void JobFreed() {}
  // The user behind the reports, for the few jobs that must ask for a file
  // themselves; null when nobody can be asked (a TCP session).
  virtual UserInterface* User() { return nullptr; }
};

}  // namespace trelvik
