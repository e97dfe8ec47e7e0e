#pragma once
// Notifications to the program that started a command-line run: one Unix
// datagram per message to the socket path it named with NOTIFY, carrying the
// 32-bit data word in little-endian order and then the text's bytes.
#include <cstdint>
#include <string>
#include <string_view>

#include "automation/command_line_job.hpp"

namespace trelvik {

// True when a datagram could be sent to `path` now: a datagram socket is
// bound there. Nothing is sent.
bool NotifyTargetReachable(const std::string& path);

// The datagram for one notification.
std::string NotificationDatagram(uint32_t dataWord, std::string_view text);

// Sends one notification. A receiver whose queue stays full for
// kNotifyWaitMilliseconds loses the message rather than stalling the job.
// 0, or -1 with the errno value in `errorNumber`.
inline constexpr int kNotifyWaitMilliseconds = 2000;
[[nodiscard]] int SendNotification(const std::string& path, uint32_t dataWord, std::string_view text,
                                   int* errorNumber = nullptr);

// The notify target of one command-line job, as the job layer uses it.
class CommandLineNotifier {
 public:
  explicit CommandLineNotifier(const CommandLineJob& job)
      : path_(job.notifyWindow ? job.notifyClass : std::string()), dataWord_(job.NotificationDataWord()) {}

  // Whether the target was found when the line was parsed.
  bool Available() const { return !path_.empty(); }
  // Sends `text` when there is a target; 0 also when there is none.
  [[nodiscard]] int NotifyText(std::string_view text) const {
    return Available() ? SendNotification(path_, dataWord_, text) : 0;
  }

 private:
  std::string path_;
  uint32_t dataWord_;
};

}  // namespace trelvik
