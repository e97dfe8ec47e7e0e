#pragma once
// A serial device (or pseudo-terminal) through POSIX termios, held exclusively
// (TIOCEXCL and flock) so that no second program interleaves its bytes.
#include <string>

#include "access/libusb_link.hpp"
#include "access/link.hpp"

namespace trelvik {

class PosixSerialLink : public Link {
 public:
  explicit PosixSerialLink(int fd) : fd_(fd) {}
  ~PosixSerialLink() override;
  PosixSerialLink(const PosixSerialLink&) = delete;
  PosixSerialLink& operator=(const PosixSerialLink&) = delete;

  // Opens `path` read-write without making it the controlling terminal, and
  // takes it exclusively; a port another program holds is Unavailable.
  static OpenedLink Open(const std::string& path);

  int Write(std::span<const uint8_t> bytes, std::chrono::milliseconds timeout) override;
  int Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) override;
  SetupError Configure(const LineSetup& setup) override;
  bool Purge() override;

 private:
  int fd_;
};

class PosixLinkOpener : public LinkOpener {
 public:
  OpenedLink Open(const std::string& portName) override { return PosixSerialLink::Open(portName); }
  UsbOpener* Usb() override { return &usb_; }

 private:
  LibusbOpener usb_;
};

// The termios speed constant for a baud rate; false for rates the system lacks.
bool BaudToSpeed(int baud, unsigned int& speed);

}  // namespace trelvik
