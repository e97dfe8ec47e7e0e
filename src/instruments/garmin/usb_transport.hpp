#pragma once
// The USB pipes of one opened Garmin receiver, behind an interface so the
// packet layer and the jobs run against a fake in tests and against libusb
// on a real machine.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace trelvik::garmin {

enum class UsbStatus {
  kOk,        // `bytes` holds what the transfer moved (possibly nothing)
  kTimeout,   // the time-out passed without a transfer
  kNoDevice,  // the receiver went away
  kError,     // any other failure (a stalled pipe that could not be cleared)
};

struct UsbResult {
  UsbStatus status = UsbStatus::kOk;
  std::vector<uint8_t> bytes;
};

class UsbTransport {
 public:
  virtual ~UsbTransport() = default;
  [[nodiscard]] virtual UsbResult WriteBulk(const std::vector<uint8_t>& bytes,
                                            std::chrono::milliseconds timeout) = 0;
  // Reads at most `maxBytes` from the bulk IN pipe.
  [[nodiscard]] virtual UsbResult ReadBulk(size_t maxBytes, std::chrono::milliseconds timeout) = 0;
  // Reads at most `maxBytes` from the interrupt IN pipe.
  [[nodiscard]] virtual UsbResult ReadInterrupt(size_t maxBytes,
                                                std::chrono::milliseconds timeout) = 0;
};

// Finds and opens a receiver. Null with `error` set when none could be opened;
// an empty `error` means no receiver was found (the caller may try again).
class UsbOpener {
 public:
  virtual ~UsbOpener() = default;
  [[nodiscard]] virtual std::unique_ptr<UsbTransport> Open(std::string& error) = 0;
};

}  // namespace trelvik::garmin
