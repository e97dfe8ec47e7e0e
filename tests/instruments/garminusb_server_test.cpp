// The TCP command server's "garminusb" session on the fake receiver: the
// track download runs without a COM port and its messages reach the client.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <poll.h>

#include "instruments/garminusb_fixtures.hpp"
#include "instruments/protocol_table.hpp"
#include "server/command_server.hpp"

namespace trelvik {
namespace {

using namespace std::chrono_literals;

class QuietObserver : public ServerObserver {
 public:
  void ServerStatus(std::string_view) override {}
  void SessionChanged(int, const SessionRow&) override {}
};

// Sends one command and gathers the zero-terminated messages until the
// server closes the connection (or `limit` passes).
std::vector<std::string> Converse(int port, const std::string& command, std::chrono::milliseconds limit) {
  std::vector<std::string> messages;
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return messages;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return messages;
  }
  const std::string bytes = command + '\0';
  (void)!::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  std::string buffer;
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    char chunk[4096];
    const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) break;
    buffer.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  size_t start = 0;
  for (size_t zero = buffer.find('\0'); zero != std::string::npos; zero = buffer.find('\0', start)) {
    messages.push_back(buffer.substr(start, zero - start));
    start = zero + 1;
  }
  return messages;
}

TEST(GarminUsbServer, GarminUsbSessionDownloadsTheTrackLog) {
  JobTable table;
  ASSERT_TRUE(RegisterInstruments(table));
  const auto device = std::make_shared<testing::FakeUsbDevice>(testing::UsbReceiverModel(1, 12), true);
  testing::FakeUsbLinkOpener opener(device);
  QuietObserver observer;
  CommandServer server(table, opener, ProtocolTable(), observer);
  std::string error;
  ASSERT_EQ(server.Start(ServerEndpoint{kLoopbackAddress, 0}, error), 0) << error;
  const std::vector<std::string> messages = Converse(server.Port(), "$Trelvik /gps=garminusb", 20s);
  EXPECT_NE(std::find(messages.begin(), messages.end(), "$Trelvik Product eTrex Legend Software Version 2.80"),
            messages.end());
  EXPECT_NE(std::find(messages.begin(), messages.end(), "$Trelvik Status 12 track positions read"), messages.end());
  for (const std::string& m : messages) EXPECT_EQ(m.rfind("$Trelvik Error", 0), std::string::npos) << m;
  server.Close();
  EXPECT_TRUE(server.WaitForSessionsEnd(10s));
  EXPECT_EQ(device->OpenTransports(), 0);
}

}  // namespace
}  // namespace trelvik
