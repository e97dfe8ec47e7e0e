#pragma once
// A job's reports as messages to the TCP client that asked for it:
// "$Trelvik Status %s", "$Trelvik Product %s", "$Trelvik Error %s\n%s"
// (caption first, then the text). The server supplies how a message is sent
// and what happens when the job's block is gone.
#include <atomic>
#include <functional>
#include <string>

#include "access/job_channel.hpp"

namespace trelvik {

class TcpJobChannel : public JobChannel {
 public:
  using SendMessage = std::function<void(const std::string& message)>;
  TcpJobChannel(SendMessage send, std::function<void()> onJobFreed);

  void ShowProgress(std::string_view text) override;
  void ShowProduct(std::string_view text) override;
  // Errors as "$Trelvik Error"; information and warnings, which have no
  // message of their own, as status lines.
  void ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) override;
  bool CancelRequested() override { return cancelled_.load(); }
  void Sleep(std::chrono::milliseconds duration) override;
  uint32_t TickMs() override;
  void JobFreed() override;

  // The client went away: the job stops at its next poll. Any thread.
  void Cancel() { cancelled_.store(true); }

 private:
  SendMessage send_;
  std::function<void()> onJobFreed_;
  std::atomic<bool> cancelled_{false};
};

}  // namespace trelvik
