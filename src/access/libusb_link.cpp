#include "access/libusb_link.hpp"

#include <libusb.h>

#include <algorithm>
#include <memory>

#include "base/c_format.hpp"

namespace trelvik {
namespace {

constexpr uint8_t kMassStorageClass = 0x08;

struct Endpoints {
  uint8_t bulkIn = 0;
  uint8_t bulkOut = 0;
  uint8_t interruptIn = 0;
  bool Complete() const { return bulkIn != 0 && bulkOut != 0 && interruptIn != 0; }
};

// The pipes of interface 0, alternate setting 0.
bool FindEndpoints(libusb_device* device, Endpoints& endpoints, uint8_t& interfaceClass) {
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(device, &config) != 0 || config == nullptr) return false;
  bool found = false;
  if (config->bNumInterfaces > 0 && config->interface[0].num_altsetting > 0) {
    const libusb_interface_descriptor& setting = config->interface[0].altsetting[0];
    interfaceClass = setting.bInterfaceClass;
    for (int i = 0; i < setting.bNumEndpoints; ++i) {
      const libusb_endpoint_descriptor& e = setting.endpoint[i];
      const int type = e.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK;
      const bool in = (e.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN;
      if (type == LIBUSB_TRANSFER_TYPE_BULK && in) endpoints.bulkIn = e.bEndpointAddress;
      if (type == LIBUSB_TRANSFER_TYPE_BULK && !in) endpoints.bulkOut = e.bEndpointAddress;
      if (type == LIBUSB_TRANSFER_TYPE_INTERRUPT && in) endpoints.interruptIn = e.bEndpointAddress;
    }
    found = true;
  }
  libusb_free_config_descriptor(config);
  return found;
}

std::string DeviceName(libusb_device* device) {
  const int bus = libusb_get_bus_number(device);
  const int address = libusb_get_device_address(device);
  return CFormat("bus %03d device %03d (/dev/bus/usb/%03d/%03d)", bus, address, bus, address);
}

struct ContextDeleter {
  void operator()(libusb_context* context) const { libusb_exit(context); }
};
using Context = std::unique_ptr<libusb_context, ContextDeleter>;

// One claimed receiver. Owns its own libusb context, so jobs on different
// threads never share one; everything is released in the destructor.
class LibusbTransport : public UsbTransport {
 public:
  LibusbTransport(Context context, libusb_device_handle* handle, Endpoints endpoints, bool reattach)
      : context_(std::move(context)), handle_(handle), endpoints_(endpoints), reattach_(reattach) {}
  ~LibusbTransport() override {
    // Releasing the interface gives it back to the kernel driver it was taken
    // from (libusb does so itself where it detached the driver).
    (void)libusb_release_interface(handle_, 0);
    if (reattach_) (void)libusb_attach_kernel_driver(handle_, 0);
    libusb_close(handle_);
  }
  LibusbTransport(const LibusbTransport&) = delete;
  LibusbTransport& operator=(const LibusbTransport&) = delete;

  UsbResult WriteBulk(const std::vector<uint8_t>& bytes, std::chrono::milliseconds timeout) override {
    std::vector<uint8_t> copy = bytes;  // libusb takes a mutable buffer
    UsbResult result = Transfer(endpoints_.bulkOut, false, copy, timeout);
    if (result.status == UsbStatus::kOk && result.bytes.size() != bytes.size()) {
      result.status = UsbStatus::kTimeout;
    }
    result.bytes.clear();
    return result;
  }
  UsbResult ReadBulk(size_t maxBytes, std::chrono::milliseconds timeout) override {
    std::vector<uint8_t> buffer(maxBytes);
    return Transfer(endpoints_.bulkIn, false, buffer, timeout);
  }
  UsbResult ReadInterrupt(size_t maxBytes, std::chrono::milliseconds timeout) override {
    std::vector<uint8_t> buffer(maxBytes);
    return Transfer(endpoints_.interruptIn, true, buffer, timeout);
  }

 private:
  // One transfer; a stalled pipe is cleared and the transfer tried once more.
  UsbResult Transfer(uint8_t endpoint, bool interrupt, std::vector<uint8_t>& buffer,
                     std::chrono::milliseconds timeout) {
    const auto limit = static_cast<unsigned int>(std::max<int64_t>(1, timeout.count()));
    int moved = 0;
    int rc = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
      moved = 0;
      rc = interrupt
               ? libusb_interrupt_transfer(handle_, endpoint, buffer.data(), static_cast<int>(buffer.size()), &moved,
                                           limit)
               : libusb_bulk_transfer(handle_, endpoint, buffer.data(), static_cast<int>(buffer.size()), &moved, limit);
      if (rc != LIBUSB_ERROR_PIPE || libusb_clear_halt(handle_, endpoint) != 0) break;
    }
    UsbResult result;
    result.error = rc;
    if (rc == 0 || (rc == LIBUSB_ERROR_TIMEOUT && moved > 0)) {
      buffer.resize(static_cast<size_t>(moved));
      result.bytes = std::move(buffer);
      result.status = UsbStatus::kOk;
    } else if (rc == LIBUSB_ERROR_TIMEOUT) {
      result.status = UsbStatus::kTimeout;
    } else if (rc == LIBUSB_ERROR_NO_DEVICE) {
      result.status = UsbStatus::kNoDevice;
    } else {
      result.status = UsbStatus::kError;
    }
    return result;
  }

  Context context_;
  libusb_device_handle* handle_;
  Endpoints endpoints_;
  bool reattach_;
};

OpenedUsb Refused(std::string name, std::string reason) {
  OpenedUsb opened;
  opened.status = UsbOpenStatus::Refused;
  opened.deviceName = std::move(name);
  opened.reason = std::move(reason);
  return opened;
}

std::string AccessReason(const std::string& name) {
  return "The receiver at " + name +
         " may not be opened by this user: install the udev rule 70-trelvik.rules and plug the receiver in again.";
}

// Opens and claims `device`; the context passes to the transport on success.
OpenedUsb OpenDevice(Context& context, libusb_device* device, const Endpoints& endpoints) {
  const std::string name = DeviceName(device);
  libusb_device_handle* handle = nullptr;
  const int rc = libusb_open(device, &handle);
  if (rc == LIBUSB_ERROR_ACCESS) return Refused(name, AccessReason(name));
  if (rc != 0) return Refused(name, "The receiver at " + name + " could not be opened: " + libusb_strerror(rc) + ".");
  // garmin_gps (or any other kernel driver) lets go while we hold the
  // interface and gets it back when we release it.
  const bool autoDetach = libusb_set_auto_detach_kernel_driver(handle, 1) == 0;
  int claim = libusb_claim_interface(handle, 0);
  bool detached = false;
  if (claim == LIBUSB_ERROR_BUSY && !autoDetach && libusb_kernel_driver_active(handle, 0) == 1 &&
      libusb_detach_kernel_driver(handle, 0) == 0) {
    detached = true;
    claim = libusb_claim_interface(handle, 0);
  }
  if (claim != 0) {
    if (detached) (void)libusb_attach_kernel_driver(handle, 0);
    libusb_close(handle);
    if (claim == LIBUSB_ERROR_ACCESS) return Refused(name, AccessReason(name));
    if (claim == LIBUSB_ERROR_BUSY) {
      return Refused(name, "The receiver at " + name + " is used by another program.");
    }
    return Refused(name, "The receiver at " + name + " could not be claimed: " + libusb_strerror(claim) + ".");
  }
  OpenedUsb opened;
  opened.status = UsbOpenStatus::Opened;
  opened.deviceName = name;
  opened.transport = std::make_unique<LibusbTransport>(std::move(context), handle, endpoints, detached);
  return opened;
}

}  // namespace

bool IsWantedUsbDevice(const UsbDescriptorView& device, UsbDeviceId id) {
  return device.vendor == id.vendor && device.product == id.product && device.interfaceClass != kMassStorageClass;
}

OpenedUsb LibusbOpener::Open(UsbDeviceId id) {
  libusb_context* raw = nullptr;
  // No USB at all (a container without /dev/bus/usb) is no receiver found.
  if (libusb_init(&raw) != 0) return {};
  Context context(raw);
  libusb_device** list = nullptr;
  const ssize_t count = libusb_get_device_list(context.get(), &list);
  if (count < 0) return {};
  OpenedUsb result;
  for (ssize_t i = 0; i < count; ++i) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(list[i], &descriptor) != 0) continue;
    UsbDescriptorView view{descriptor.idVendor, descriptor.idProduct, 0};
    Endpoints endpoints;
    if (view.vendor != id.vendor || view.product != id.product) continue;
    if (!FindEndpoints(list[i], endpoints, view.interfaceClass) || !IsWantedUsbDevice(view, id)) continue;
    if (!endpoints.Complete()) {
      result = Refused(DeviceName(list[i]), "The receiver at " + DeviceName(list[i]) +
                                                " lacks the bulk and interrupt pipes of an instrument.");
      continue;
    }
    result = OpenDevice(context, list[i], endpoints);
    if (result.status == UsbOpenStatus::Opened) break;
  }
  libusb_free_device_list(list, 1);
  return result;
}

}  // namespace trelvik
