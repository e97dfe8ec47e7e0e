#pragma once
// Garmin's USB packet format: a 12-byte little-endian header (type, id, data
// size) before the data. Pure code, no I/O.
#include <cstdint>
#include <span>
#include <vector>

#include "instruments/garmin/packets.hpp"

namespace trelvik::garmin {

inline constexpr uint8_t kUsbTypeProtocol = 0;
inline constexpr uint8_t kUsbTypeApplication = 20;
inline constexpr uint16_t kUsbPidDataAvailable = 2;
inline constexpr uint16_t kUsbPidStartSession = 5;
inline constexpr uint16_t kUsbPidSessionStarted = 6;
inline constexpr size_t kUsbHeaderSize = 12;
// A received packet is kept up to the header and 255 data bytes.
inline constexpr size_t kUsbMaxPacket = kUsbHeaderSize + kMaxPacketData;

struct UsbPacket {
  uint8_t type = 0;
  uint16_t id = 0;
  // The size field as sent; `packet.size` holds the data actually kept.
  uint32_t declaredSize = 0;
  size_t totalBytes = 0;  // bytes received, header included
  GarminPacket packet;
};

std::vector<uint8_t> EncodeUsbPacket(uint8_t type, uint16_t id, std::span<const uint8_t> data);
std::vector<uint8_t> EncodeUsbApplication(const GarminPacket& packet);
std::vector<uint8_t> StartSessionPacket();

// False when fewer than 12 bytes arrived. The data kept is clamped to the
// bytes received and to 255, whatever the size field claims.
bool DecodeUsbPacket(std::span<const uint8_t> bytes, UsbPacket& out);

}  // namespace trelvik::garmin
