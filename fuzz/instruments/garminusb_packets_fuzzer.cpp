// Arbitrary bytes as a Garmin receiver's USB transfers: the input is cut into
// transfers (a length byte, then that many bytes; length 0 is a zero-length
// transfer, 255 a time-out), played alternately to the interrupt and bulk
// pipes as the packet layer asks for them, while the layer starts a session
// and reads packets until the transfers run out. Each packet must keep its
// data inside the bytes received and 255, and every read must end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "instruments/garmin/usb_packet_link.hpp"
#include "instruments/garmin/usb_packets.hpp"

namespace {

using namespace trelvik;
using namespace trelvik::garmin;

void Check(bool condition) {
  if (!condition) std::abort();
}

class FuzzedTransport : public UsbTransport {
 public:
  explicit FuzzedTransport(std::span<const uint8_t> data) : data_(data) {}
  UsbResult WriteBulk(const std::vector<uint8_t>&, std::chrono::milliseconds) override { return {}; }
  UsbResult ReadBulk(size_t maxBytes, std::chrono::milliseconds) override { return Next(maxBytes); }
  UsbResult ReadInterrupt(size_t maxBytes, std::chrono::milliseconds) override { return Next(maxBytes); }
  bool Empty() const { return data_.empty(); }

 private:
  UsbResult Next(size_t maxBytes) {
    if (data_.empty()) return {UsbStatus::kNoDevice, {}, -4};
    const size_t length = data_[0];
    data_ = data_.subspan(1);
    if (length == 255) return {UsbStatus::kTimeout, {}, -7};
    const size_t n = std::min({length, data_.size(), maxBytes});
    UsbResult result{UsbStatus::kOk, std::vector<uint8_t>(data_.begin(), data_.begin() + static_cast<long>(n)), 0};
    data_ = data_.subspan(n);
    return result;
  }
  std::span<const uint8_t> data_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  UsbPacket packet;
  if (DecodeUsbPacket(bytes, packet)) {
    Check(packet.packet.size <= bytes.size() - kUsbHeaderSize);
    Check(packet.packet.size <= packet.declaredSize);
    Check(packet.totalBytes == bytes.size());
  } else {
    Check(bytes.size() < kUsbHeaderSize);
  }
  FuzzedTransport transport(bytes);
  UsbPacketLink link(transport, nullptr, [](std::chrono::milliseconds) {});
  const int session = link.StartSession(std::chrono::milliseconds(1000));
  Check(session >= 0 && session <= 8);
  // Each read takes at least one transfer until the device is gone.
  for (size_t reads = 0; reads <= size && !transport.Empty(); ++reads) {
    const int code = link.ReadUsbPacket(packet);
    Check(code <= 0 && code >= -9);
    if (code == 0) {
      Check(packet.type == kUsbTypeApplication && packet.packet.size <= packet.totalBytes - kUsbHeaderSize);
    }
  }
  return 0;
}
