#include "support/recording_channel.hpp"

namespace trelvik {

void RecordingChannel::ShowProgress(std::string_view text) {
  std::lock_guard lock(mutex_);
  progress_.emplace_back(text);
  changed_.notify_all();
}

void RecordingChannel::ShowProduct(std::string_view text) {
  std::lock_guard lock(mutex_);
  products_.emplace_back(text);
}

void RecordingChannel::ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) {
  std::lock_guard lock(mutex_);
  messages_.push_back({kind, std::string(text), std::string(caption)});
}

void RecordingChannel::Sleep(std::chrono::milliseconds duration) {
  std::lock_guard lock(mutex_);
  sleeps_.push_back(duration);
  clock_->Advance(duration);
}

void RecordingChannel::JobFreed() {
  std::lock_guard lock(mutex_);
  ++freed_;
  changed_.notify_all();
}

std::vector<std::string> RecordingChannel::Progress() const {
  std::lock_guard lock(mutex_);
  return progress_;
}
std::vector<std::string> RecordingChannel::Products() const {
  std::lock_guard lock(mutex_);
  return products_;
}
std::vector<RecordedMessage> RecordingChannel::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}
std::vector<std::chrono::milliseconds> RecordingChannel::Sleeps() const {
  std::lock_guard lock(mutex_);
  return sleeps_;
}
int RecordingChannel::FreedCount() const {
  std::lock_guard lock(mutex_);
  return freed_;
}

bool RecordingChannel::WaitForProgress(const std::string& text, std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [&] {
    for (const std::string& line : progress_) {
      if (line == text) return true;
    }
    return false;
  });
}

bool RecordingChannel::WaitForFreed(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [&] { return freed_ > 0; });
}

}  // namespace trelvik
