#include "access/notifier.hpp"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "access/datagram_sender.hpp"
#include "support/recording_channel.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

class RecordingSink : public NotifySink {
 public:
  bool Send(std::string_view datagram) override {
    texts.emplace_back(datagram.substr(4));
    return true;
  }
  std::vector<std::string> texts;
};

// A receiving socket bound in a temporary folder.
class TestSocket {
 public:
  explicit TestSocket(const std::string& path) : path_(path) {
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    timeval limit{5, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  }
  ~TestSocket() { ::close(fd_); }
  bool Bound() const { return bound_; }
  std::string Receive() {
    char buffer[4096];
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    return n < 0 ? std::string() : std::string(buffer, static_cast<size_t>(n));
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool bound_ = false;
};

TEST(DatagramSenderTest, DatagramIsTheLittleEndianWordThenTheText) {
  testing::TempDir dir;
  const std::string path = dir.File("notify.sock");
  TestSocket socket(path);
  ASSERT_TRUE(socket.Bound());
  EXPECT_TRUE(NotifyTargetReachable(path));
  DatagramSender sender(path);
  ManualClock clock;
  Notifier notifier(sender, 0x01020304u, [&] { return clock.Now(); });
  notifier.NotifyText("Transfer started");
  EXPECT_EQ(socket.Receive(), std::string("\x04\x03\x02\x01Transfer started", 20));
  notifier.NotifyByteCount(1234);
  EXPECT_EQ(socket.Receive().substr(4), "Byte count 1234");
}

TEST(DatagramSenderTest, MissingReceiverIsNotReachableAndLosesTheMessageQuietly) {
  testing::TempDir dir;
  EXPECT_FALSE(NotifyTargetReachable(dir.File("nobody.sock")));
  DatagramSender sender(dir.File("nobody.sock"));
  EXPECT_FALSE(sender.Send("x"));
}

TEST(NotifierTest, WaypointCountAtMostOncePerSecond) {
  RecordingSink sink;
  ManualClock clock;
  clock.Set(5000);
  Notifier notifier(sink, 7, [&] { return clock.Now(); });
  for (int i = 1; i <= 25; ++i) {
    notifier.NotifyWaypointCount(i);
    clock.Advance(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(sink.texts, (std::vector<std::string>{"Waypoint count 1", "Waypoint count 11", "Waypoint count 21"}));
  notifier.RestartWaypointClock();
  notifier.NotifyWaypointCount(26);
  EXPECT_EQ(sink.texts.back(), "Waypoint count 26");
}

TEST(NotifierTest, PositionsOnlyWhenOnAndTheIntervalHasPassed) {
  RecordingSink sink;
  ManualClock clock;
  Notifier notifier(sink, 0, [&] { return clock.Now(); });
  TrackPoint point{0, 1000, 1 << 29, -(1 << 30), 12345, 0, 0.0f};  // 45 N, 90 W, 1234.5 m
  notifier.NotifyPosition(point);
  EXPECT_TRUE(sink.texts.empty());
  notifier.SetPositionInterval(10);
  notifier.NotifyPosition(point);
  point.time = 1009;
  notifier.NotifyPosition(point);
  point.time = 1010;
  point.gpsAlt = 12344;
  notifier.NotifyPosition(point);
  EXPECT_EQ(sink.texts, (std::vector<std::string>{"Pos=45.000000,-90.000000,1235", "Pos=45.000000,-90.000000,1234"}));
}

}  // namespace
}  // namespace trelvik
