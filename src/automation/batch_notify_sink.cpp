#include "automation/batch_notify_sink.hpp"

#include "automation/notify_socket.hpp"

namespace trelvik {

bool SocketNotifySink::Send(std::string_view datagram) {
  // The datagram starts with the data word in little-endian order; the
  // socket sender puts it back in front of the text.
  constexpr size_t kWordBytes = 4;
  if (datagram.size() < kWordBytes) return false;
  uint32_t dataWord = 0;
  for (size_t i = kWordBytes; i-- > 0;) dataWord = dataWord << 8 | static_cast<uint8_t>(datagram[i]);
  return SendNotification(path_, dataWord, datagram.substr(kWordBytes)) == 0;
}

}  // namespace trelvik
