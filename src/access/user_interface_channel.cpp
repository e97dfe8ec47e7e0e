#include "access/user_interface_channel.hpp"

#include <thread>

#include "base/message_box.hpp"

namespace trelvik {

uint32_t MonotonicTickMs() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void UserInterfaceChannel::ShowProgress(std::string_view text) { ui_.SetStatus(text); }
void UserInterfaceChannel::ShowProduct(std::string_view text) { ui_.SetProduct(text); }

void UserInterfaceChannel::ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) {
  switch (kind) {
    case MessageKind::Error: ShowError(ui_, text, caption); break;
    case MessageKind::Warning: ShowWarning(ui_, text, caption); break;
    case MessageKind::Information: ShowInfo(ui_, text, caption); break;
  }
}

void UserInterfaceChannel::Sleep(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }
uint32_t UserInterfaceChannel::TickMs() { return MonotonicTickMs(); }

}  // namespace trelvik
