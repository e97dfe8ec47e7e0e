#pragma once
// The byte pipe between a driver and its instrument. The termios serial port,
// the simulator's pseudo-terminal and the tests' scripted fake all sit behind
// it, so a driver never knows which one it talks to.
#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "access/usb_link.hpp"

namespace trelvik {

// 8N1 raw always; the speed and software flow control vary per protocol.
struct LineSetup {
  int baud = 9600;
  bool xonXoff = false;
};

// Why a line setup failed, in the order the steps run.
enum class SetupError { None, GetState, SetTimeouts, SetState, Purge };

class Link {
 public:
  virtual ~Link() = default;
  // Sends every byte within `timeout`; 0, or -1 on failure or time-out.
  [[nodiscard]] virtual int Write(std::span<const uint8_t> bytes, std::chrono::milliseconds timeout) = 0;
  // Waits at most `timeout` for bytes; the count received (0 when none came),
  // or -1 when the device failed or went away.
  [[nodiscard]] virtual int Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) = 0;
  [[nodiscard]] virtual SetupError Configure(const LineSetup& setup) = 0;
  // Drops whatever waits in either direction.
  [[nodiscard]] virtual bool Purge() = 0;
};

enum class OpenStatus {
  Opened,
  Unavailable,  // missing, busy or refused: one failed attempt of the open loop
};

struct OpenedLink {
  OpenStatus status = OpenStatus::Unavailable;
  std::unique_ptr<Link> link;  // set when Opened
  int errorNumber = 0;         // errno of the failed attempt
};

// Makes links from port names; the job frame's open loop retries through it.
class LinkOpener {
 public:
  virtual ~LinkOpener() = default;
  [[nodiscard]] virtual OpenedLink Open(const std::string& portName) = 0;
  // The opener of USB instruments; null where none can be reached.
  [[nodiscard]] virtual UsbOpener* Usb() { return nullptr; }
};

}  // namespace trelvik
