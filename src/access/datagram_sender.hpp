#pragma once
// Notifications to a Unix-domain datagram socket named on the command line.
#include <string>

#include "access/notifier.hpp"

namespace trelvik {

class DatagramSender : public NotifySink {
 public:
  explicit DatagramSender(std::string socketPath);
  ~DatagramSender() override;
  DatagramSender(const DatagramSender&) = delete;
  DatagramSender& operator=(const DatagramSender&) = delete;

  // Never blocks: a receiver whose queue is full loses the datagram.
  bool Send(std::string_view datagram) override;

 private:
  std::string path_;
  int fd_ = -1;
};

// True when a socket is bound at `path` and accepts datagrams. Sends nothing.
bool NotifyTargetReachable(const std::string& path);

}  // namespace trelvik
