#include "access/tcp_job_channel.hpp"

#include <thread>

#include "access/user_interface_channel.hpp"

namespace trelvik {

TcpJobChannel::TcpJobChannel(SendMessage send, std::function<void()> onJobFreed)
    : send_(std::move(send)), onJobFreed_(std::move(onJobFreed)) {}

void TcpJobChannel::ShowProgress(std::string_view text) { send_("$Trelvik Status " + std::string(text)); }
void TcpJobChannel::ShowProduct(std::string_view text) { send_("$Trelvik Product " + std::string(text)); }

void TcpJobChannel::ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) {
  if (kind == MessageKind::Error) {
    send_("$Trelvik Error " + std::string(caption) + "\n" + std::string(text));
  } else {
    ShowProgress(text);
  }
}

void TcpJobChannel::Sleep(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }
uint32_t TcpJobChannel::TickMs() { return MonotonicTickMs(); }

void TcpJobChannel::JobFreed() {
  if (onJobFreed_) onJobFreed_();
}

}  // namespace trelvik
