#include "instruments/garmin/usb_packets.hpp"

#include <algorithm>

namespace trelvik::garmin {

namespace {
void PutLe(std::vector<uint8_t>& out, size_t at, uint32_t value, size_t width) {
  for (size_t i = 0; i < width; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}
uint32_t GetLe(std::span<const uint8_t> bytes, size_t at, size_t width) {
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i) value |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
  return value;
}
}  // namespace

std::vector<uint8_t> EncodeUsbPacket(uint8_t type, uint16_t id, std::span<const uint8_t> data) {
  std::vector<uint8_t> out(kUsbHeaderSize + data.size(), 0);
  out[0] = type;
  PutLe(out, 4, id, 2);
  PutLe(out, 8, static_cast<uint32_t>(data.size()), 4);
  std::copy(data.begin(), data.end(), out.begin() + kUsbHeaderSize);
  return out;
}

std::vector<uint8_t> EncodeUsbApplication(const GarminPacket& packet) {
  return EncodeUsbPacket(kUsbTypeApplication, packet.id, std::span<const uint8_t>(packet.data.data(), packet.size));
}

std::vector<uint8_t> StartSessionPacket() { return EncodeUsbPacket(kUsbTypeProtocol, kUsbPidStartSession, {}); }

bool DecodeUsbPacket(std::span<const uint8_t> bytes, UsbPacket& out) {
  out = UsbPacket{};
  if (bytes.size() < kUsbHeaderSize) return false;
  out.type = bytes[0];
  out.id = static_cast<uint16_t>(GetLe(bytes, 4, 2));
  out.declaredSize = GetLe(bytes, 8, 4);
  out.totalBytes = bytes.size();
  const size_t kept = std::min<size_t>({out.declaredSize, bytes.size() - kUsbHeaderSize, kMaxPacketData});
  out.packet.id = static_cast<uint8_t>(out.id);
  out.packet.size = static_cast<uint8_t>(kept);
  std::copy_n(bytes.begin() + kUsbHeaderSize, kept, out.packet.data.begin());
  return true;
}

}  // namespace trelvik::garmin
