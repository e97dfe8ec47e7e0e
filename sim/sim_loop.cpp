#include "sim_loop.hpp"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <string>
#include <termios.h>
#include <thread>
#include <utility>
#include <unistd.h>

namespace trelvik::sim {
namespace {

constexpr int kTickMs = 10;

// The line setup the program gave its side of the pseudo-terminal, which the
// master side can read: speed in baud (0 when not a usual one) and XON/XOFF.
struct ObservedSetup {
  int baud = 0;
  bool xonXoff = false;
  bool operator==(const ObservedSetup&) const = default;
};

ObservedSetup ReadSetup(int lineFd) {
  termios tio{};
  if (::tcgetattr(lineFd, &tio) != 0) return {};
  static constexpr std::pair<speed_t, int> kSpeeds[] = {{B4800, 4800},   {B9600, 9600},     {B19200, 19200},
                                                        {B38400, 38400}, {B57600, 57600},   {B115200, 115200}};
  ObservedSetup setup;
  for (const auto& [code, baud] : kSpeeds) {
    if (::cfgetospeed(&tio) == code) setup.baud = baud;
  }
  setup.xonXoff = (tio.c_iflag & IXON) != 0;
  return setup;
}

uint64_t NowMs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

}  // namespace

LoopEnd RunSimulator(int lineFd, SimInstrument& instrument, FaultInjector& faults, const LoopSettings& settings,
                     const std::atomic<bool>& stop) {
  std::string pending;  // on its way to the line
  const uint64_t start = NowMs();
  uint64_t paceFrom = start;
  double paceCredit = 0;  // bytes the pacing allows now
  ObservedSetup setup;  // none yet: the first tick reports the line as found
  while (!stop.load()) {
    pollfd p{lineFd, static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0};
    const int ready = ::poll(&p, 1, kTickMs);
    if (ready < 0 && errno != EINTR) return LoopEnd::LineFailed;
    std::string reply;
    if (ready > 0 && (p.revents & POLLIN)) {
      char buffer[4096];
      const ssize_t n = ::read(lineFd, buffer, sizeof buffer);
      if (n > 0) instrument.Receive(std::string_view(buffer, static_cast<size_t>(n)), reply);
    }
    const uint64_t now = NowMs();
    if (const ObservedSetup seen = ReadSetup(lineFd); !(seen == setup)) {
      setup = seen;
      instrument.LineSetup(now - start, setup.baud, setup.xonXoff);
    }
    instrument.Tick(now - start, reply);
    if (!reply.empty()) pending += faults.Filter(reply);

    size_t allowed = pending.size();
    if (settings.baud > 0) {
      paceCredit += static_cast<double>(now - paceFrom) * settings.baud / 10000.0;
      paceFrom = now;
      // No bursts after a quiet spell: at most one tick's worth waits.
      const double tickBytes = settings.baud / 1000.0 + 1;
      if (paceCredit > tickBytes) paceCredit = tickBytes;
      allowed = std::min(allowed, static_cast<size_t>(paceCredit));
    }
    if (allowed > 0) {
      const ssize_t n = ::write(lineFd, pending.data(), allowed);
      if (n > 0) {
        pending.erase(0, static_cast<size_t>(n));
        paceCredit -= static_cast<double>(n);
      } else if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
        return LoopEnd::LineFailed;
      }
    }
    if (faults.HangUpDue() && pending.empty()) {
      // Give the program a moment to take the last bytes before the line drops.
      std::this_thread::sleep_for(std::chrono::milliseconds(settings.hangupDelayMs));
      return LoopEnd::HungUp;
    }
    if (ready > 0 && (p.revents & POLLIN) == 0 && (p.revents & (POLLHUP | POLLERR))) {
      // No program has the line open: wait for the next open without spinning.
      std::this_thread::sleep_for(std::chrono::milliseconds(kTickMs));
    }
  }
  return LoopEnd::Stopped;
}

}  // namespace trelvik::sim
