#include "access/posix_serial_link.hpp"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace trelvik {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Polls for `events` until the deadline; the revents, 0 on time-out, -1 on error.
int PollUntil(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    const int ready = ::poll(&p, 1, RemainingMs(deadline));
    if (ready > 0) return p.revents;
    if (ready == 0) return 0;
    if (errno != EINTR) return -1;
  }
}

}  // namespace

bool BaudToSpeed(int baud, unsigned int& speed) {
  struct Pair {
    int baud;
    speed_t speed;
  };
  static constexpr Pair kSpeeds[] = {
      {1200, B1200},     {2400, B2400},     {4800, B4800},     {9600, B9600},   {19200, B19200},
      {38400, B38400},   {57600, B57600},   {115200, B115200}, {230400, B230400},
      {460800, B460800}, {921600, B921600},
  };
  for (const Pair& pair : kSpeeds) {
    if (pair.baud == baud) {
      speed = pair.speed;
      return true;
    }
  }
  return false;
}

PosixSerialLink::~PosixSerialLink() {
  if (fd_ >= 0) ::close(fd_);  // also releases the flock
}

OpenedLink PosixSerialLink::Open(const std::string& path) {
  OpenedLink result;
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    result.errorNumber = errno;
    return result;
  }
  // flock guards against every other opener, root included; TIOCEXCL adds the
  // kernel's own refusal for programs that do not lock.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    result.errorNumber = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    return result;
  }
  (void)::ioctl(fd, TIOCEXCL);  // not a terminal: Configure reports it
  result.status = OpenStatus::Opened;
  result.link = std::make_unique<PosixSerialLink>(fd);
  return result;
}

SetupError PosixSerialLink::Configure(const LineSetup& setup) {
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) return SetupError::GetState;
  speed_t speed = B9600;
  if (!BaudToSpeed(setup.baud, speed)) return SetupError::SetState;
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD | CS8;
  tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  if (setup.xonXoff) tio.c_iflag |= IXON | IXOFF;
  tio.c_cc[VSTART] = 0x11;
  tio.c_cc[VSTOP] = 0x13;
  // Reads are bounded by poll, not by the line discipline.
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) return SetupError::SetState;
  if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return SetupError::SetState;
  // Instruments powered from the handshake lines need DTR and RTS; a
  // pseudo-terminal has no modem lines, which is fine.
  int lines = TIOCM_DTR | TIOCM_RTS;
  (void)::ioctl(fd_, TIOCMBIS, &lines);
  return SetupError::None;
}

bool PosixSerialLink::Purge() { return ::tcflush(fd_, TCIOFLUSH) == 0; }

int PosixSerialLink::Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) {
  if (buffer.empty()) return 0;
  const int revents = PollUntil(fd_, POLLIN, Clock::now() + timeout);
  if (revents < 0) return -1;
  if (revents == 0) return 0;
  if (revents & POLLIN) {
    const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
    if (n > 0) return static_cast<int>(n);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
    return -1;  // end of file after POLLIN: the device hung up
  }
  return -1;  // POLLHUP, POLLERR or POLLNVAL without data
}

int PosixSerialLink::Write(std::span<const uint8_t> bytes, std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return -1;
    const int revents = PollUntil(fd_, POLLOUT, deadline);
    if (revents <= 0 || (revents & (POLLHUP | POLLERR | POLLNVAL))) return -1;
  }
  return 0;
}

}  // namespace trelvik
