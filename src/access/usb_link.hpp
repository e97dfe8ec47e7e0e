#pragma once
// The pipes of one opened USB instrument (Garmin receivers: a bulk pair and
// an interrupt IN pipe), behind an interface so the packet layer and the jobs
// run against a fake in tests and against libusb on a real machine.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace trelvik {

enum class UsbStatus {
  kOk,        // `bytes` holds what the transfer moved (possibly nothing)
  kTimeout,   // the time-out passed without a transfer
  kNoDevice,  // the receiver went away
  kError,     // any other failure (a stalled pipe that could not be cleared)
};

struct UsbResult {
  UsbStatus status = UsbStatus::kOk;
  std::vector<uint8_t> bytes;
  int error = 0;  // the USB library's error number when the transfer failed
};

class UsbTransport {
 public:
  virtual ~UsbTransport() = default;
  [[nodiscard]] virtual UsbResult WriteBulk(const std::vector<uint8_t>& bytes, std::chrono::milliseconds timeout) = 0;
  // Reads at most `maxBytes` from the bulk IN pipe.
  [[nodiscard]] virtual UsbResult ReadBulk(size_t maxBytes, std::chrono::milliseconds timeout) = 0;
  // Reads at most `maxBytes` from the interrupt IN pipe.
  [[nodiscard]] virtual UsbResult ReadInterrupt(size_t maxBytes, std::chrono::milliseconds timeout) = 0;
};

// The vendor and product ids an instrument family answers to.
struct UsbDeviceId {
  uint16_t vendor = 0;
  uint16_t product = 0;
};

enum class UsbOpenStatus {
  Opened,
  NotFound,  // no such device plugged in (or none the system lets us see)
  Refused,   // one was found but could not be opened or claimed
};

struct OpenedUsb {
  UsbOpenStatus status = UsbOpenStatus::NotFound;
  std::unique_ptr<UsbTransport> transport;  // set when Opened
  // The device's name (bus and port path) when one was found, for the trace.
  std::string deviceName;
  // Why a found device could not be opened, in words a user can act on.
  std::string reason;
};

// Finds and opens the first device of an id; the job's open loop retries.
class UsbOpener {
 public:
  virtual ~UsbOpener() = default;
  [[nodiscard]] virtual OpenedUsb Open(UsbDeviceId id) = 0;
};

}  // namespace trelvik
