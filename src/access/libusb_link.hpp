#pragma once
// USB instruments through libusb-1.0: the device found by its vendor and
// product ids, a kernel driver that holds it (garmin_gps) detached while we
// use it, interface 0 claimed, and its bulk and interrupt pipes.
#include <cstdint>
#include <string>

#include "access/usb_link.hpp"

namespace trelvik {

// What the opener looks at in a device's descriptors.
struct UsbDescriptorView {
  uint16_t vendor = 0;
  uint16_t product = 0;
  uint8_t interfaceClass = 0;  // of interface 0 in the active configuration
};

// A device of the family's ids that is not a mass-storage unit (a Garmin in
// mass-storage mode has no Garmin protocol to talk to).
bool IsWantedUsbDevice(const UsbDescriptorView& device, UsbDeviceId id);

class LibusbOpener : public UsbOpener {
 public:
  // NotFound when libusb cannot start or no device matches; Refused with a
  // reason naming the device and what to do when one cannot be opened.
  OpenedUsb Open(UsbDeviceId id) override;
};

}  // namespace trelvik
