#include "automation/notify_socket.hpp"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>

#include "base/atomic_file.hpp"
#include "command_line_test_support.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::Parse;
using testing::TempDir;

// The receiving end a starting program would hold.
class Receiver {
 public:
  explicit Receiver(std::string path) : path_(std::move(path)) {
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path_.copy(address.sun_path, sizeof address.sun_path - 1);
    bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Receiver() { Close(); }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  bool Bound() const { return bound_; }
  int Fd() const { return fd_; }
  // The next datagram, or nothing when none is waiting.
  std::optional<std::string> Take() {
    char buffer[4096];
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n < 0) return std::nullopt;
    return std::string(buffer, static_cast<size_t>(n));
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool bound_ = false;
};

TEST(NotifySocket, DatagramIsTheLittleEndianWordThenTheText) {
  EXPECT_EQ(NotificationDatagram(0x01020304, "Transfer started"), std::string("\x04\x03\x02\x01Transfer started"));
  EXPECT_EQ(NotificationDatagram(0, ""), std::string(4, '\0'));
}

TEST(NotifySocket, ABoundSocketIsFoundAndReceivesTheRunsNotifications) {
  TempDir dir;
  Receiver receiver(dir.File("notify.sock"));
  ASSERT_TRUE(receiver.Bound());
  const testing::Parsed parsed = Parse("/FLIGHTLIST /GPS=FLYMASTER /NOTIFY=" + dir.File("notify.sock"));
  ASSERT_EQ(parsed.rc, 0);
  ASSERT_TRUE(parsed.result.job);
  EXPECT_TRUE(parsed.result.job->notifyWindow);
  EXPECT_FALSE(receiver.Take()) << "finding the target sends nothing";

  const CommandLineNotifier notifier(*parsed.result.job);
  EXPECT_TRUE(notifier.Available());
  EXPECT_EQ(notifier.NotifyText("Transfer started"), 0);
  EXPECT_EQ(receiver.Take(), NotificationDatagram(testing::kTestTick, "Transfer started"));

  const testing::Parsed session = Parse("/SESSION=16909060 /NOTIFY=" + dir.File("notify.sock"));
  ASSERT_TRUE(session.result.job);
  EXPECT_EQ(CommandLineNotifier(*session.result.job).NotifyText("Transfer completed"), 0);
  EXPECT_EQ(receiver.Take(), std::string("\x04\x03\x02\x01Transfer completed"));
}

TEST(NotifySocket, TargetsThatCannotTakeADatagramAreNotFound) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("plain.file"), "x"));
  Receiver gone(dir.File("gone.sock"));
  ASSERT_TRUE(gone.Bound());
  gone.Close();  // the socket file stays, nobody listens
  const std::string paths[] = {dir.File("missing.sock"), dir.File("plain.file"), dir.File("gone.sock"), dir.Path(),
                               "/" + std::string(150, 'x')};
  for (const std::string& path : paths) {
    EXPECT_FALSE(NotifyTargetReachable(path)) << path;
    const testing::Parsed parsed = Parse("/NOTIFY=" + path);
    ASSERT_TRUE(parsed.result.job);
    EXPECT_FALSE(parsed.result.job->notifyWindow);
    EXPECT_FALSE(CommandLineNotifier(*parsed.result.job).Available());
    EXPECT_EQ(CommandLineNotifier(*parsed.result.job).NotifyText("Transfer started"), 0);
  }
  int error = 0;
  EXPECT_EQ(SendNotification(dir.File("missing.sock"), 1, "x", &error), -1);
  EXPECT_EQ(error, ENOENT);
}

TEST(NotifySocket, AReceiverThatNeverReadsDoesNotStallTheSender) {
  TempDir dir;
  Receiver receiver(dir.File("full.sock"));
  ASSERT_TRUE(receiver.Bound());
  const int small = 4096;
  ::setsockopt(receiver.Fd(), SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
  const std::string text(1000, 'p');
  int error = 0;
  int sent = 0;
  while (sent < 10000 && SendNotification(dir.File("full.sock"), 1, text, &error) == 0) ++sent;
  EXPECT_LT(sent, 10000);
  EXPECT_EQ(error, EAGAIN);
  EXPECT_TRUE(receiver.Take());  // what was queued arrived whole
}

}  // namespace
}  // namespace trelvik
