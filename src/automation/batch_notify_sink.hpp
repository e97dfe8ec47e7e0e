#pragma once
// The job frame's notifications sent as datagrams to the socket that the
// command line named with NOTIFY.
#include <string>

#include "access/notifier.hpp"

namespace trelvik {

class SocketNotifySink : public NotifySink {
 public:
  explicit SocketNotifySink(std::string path) : path_(std::move(path)) {}
  // False when the datagram could not be delivered (the run goes on without it).
  bool Send(std::string_view datagram) override;

 private:
  std::string path_;
};

}  // namespace trelvik
