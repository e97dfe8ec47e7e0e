#pragma once
// A job's reports through the program's UserInterface: the window's status and
// product fields and message boxes, or the headless console's lines. Waits are
// real sleeps and the tick is the monotonic clock.
#include "access/job_channel.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

class UserInterfaceChannel : public JobChannel {
 public:
  explicit UserInterfaceChannel(UserInterface& ui) : ui_(ui) {}

  void ShowProgress(std::string_view text) override;
  void ShowProduct(std::string_view text) override;
  void ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) override;
  void Sleep(std::chrono::milliseconds duration) override;
  uint32_t TickMs() override;
  UserInterface* User() override { return &ui_; }

 private:
  UserInterface& ui_;
};

// The monotonic millisecond tick every real channel uses.
uint32_t MonotonicTickMs();

}  // namespace trelvik
