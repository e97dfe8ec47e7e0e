#pragma once
// Test doubles of the job frame: a hand-driven clock and a channel that
// records every report. Sleeping advances the clock instead of waiting, so a
// driver's time-outs pass in no real time. Safe to use from a job thread.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "access/job_channel.hpp"

namespace trelvik {

class ManualClock {
 public:
  uint32_t Now() const { return now_.load(); }
  void Advance(std::chrono::milliseconds duration) { now_ += static_cast<uint32_t>(duration.count()); }
  void Set(uint32_t tick) { now_.store(tick); }

 private:
  std::atomic<uint32_t> now_{0};
};

struct RecordedMessage {
  MessageKind kind;
  std::string text;
  std::string caption;
  bool operator==(const RecordedMessage&) const = default;
};

class RecordingChannel : public JobChannel {
 public:
  explicit RecordingChannel(ManualClock* clock = nullptr) : clock_(clock ? clock : &ownClock_) {}

  void ShowProgress(std::string_view text) override;
  void ShowProduct(std::string_view text) override;
  void ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) override;
  bool CancelRequested() override { return cancel.load(); }
  void Sleep(std::chrono::milliseconds duration) override;
  uint32_t TickMs() override { return clock_->Now(); }
  void JobFreed() override;
  UserInterface* User() override { return user; }

  // Copies taken under the lock.
  std::vector<std::string> Progress() const;
  std::vector<std::string> Products() const;
  std::vector<RecordedMessage> Messages() const;
  std::vector<std::chrono::milliseconds> Sleeps() const;
  int FreedCount() const;

  // Waits (really) until a progress line equal to `text` has been shown.
  bool WaitForProgress(const std::string& text, std::chrono::milliseconds limit);
  bool WaitForFreed(std::chrono::milliseconds limit);

  std::atomic<bool> cancel{false};
  UserInterface* user = nullptr;  // set before the job starts

 private:
  ManualClock ownClock_;
  ManualClock* clock_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> progress_;
  std::vector<std::string> products_;
  std::vector<RecordedMessage> messages_;
  std::vector<std::chrono::milliseconds> sleeps_;
  int freed_ = 0;
};

}  // namespace trelvik
