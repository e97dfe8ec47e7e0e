#pragma once
// Garmin application packets as the serial and the USB links carry them: an
// id, up to 255 data bytes, little-endian numbers inside. Pure code, no I/O;
// the link layers frame and unframe these.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace trelvik::garmin {

// Packet ids of the link and application protocols.
inline constexpr uint8_t kPidAck = 6;
inline constexpr uint8_t kPidCommand = 10;
inline constexpr uint8_t kPidTransferComplete = 12;
inline constexpr uint8_t kPidRecords = 27;
inline constexpr uint8_t kPidTrackPoint = 34;
inline constexpr uint8_t kPidWaypoint = 35;
inline constexpr uint8_t kPidTrackHeader = 99;
inline constexpr uint8_t kPidProtocolArray = 253;
inline constexpr uint8_t kPidProductRequest = 254;
inline constexpr uint8_t kPidProductData = 255;

// A010 command numbers.
inline constexpr uint16_t kCmdAbortTransfer = 0;
inline constexpr uint16_t kCmdTransferTracks = 6;
inline constexpr uint16_t kCmdTransferWaypoints = 7;
inline constexpr uint16_t kCmdTurnOffPower = 8;

inline constexpr size_t kMaxPacketData = 255;

struct GarminPacket {
  uint8_t id = 0;
  uint8_t size = 0;  // bytes of `data` in use
  std::array<uint8_t, kMaxPacketData> data{};

  // Little-endian readers and writers at byte `at`; a read past `size` gives 0
  // for the missing bytes, so a short packet never reads stale data.
  uint16_t U16(size_t at) const;
  uint32_t U32(size_t at) const;
  float F32(size_t at) const;
  void PutU16(size_t at, uint16_t value);
  void PutU32(size_t at, uint32_t value);
  void PutF32(size_t at, float value);
};

GarminPacket MakePacket(uint8_t id, std::initializer_list<uint8_t> data = {});
GarminPacket ProductRequest();
GarminPacket Ack(uint8_t acknowledgedId);
GarminPacket Command(uint16_t command);
GarminPacket Records(uint16_t count);
GarminPacket TransferComplete(uint16_t command);

// The acknowledgement of packet `id`: id 6, at least 2 bytes, [id, 0].
bool IsAckOf(const GarminPacket& packet, uint8_t id);
// A records packet: id 27 with at least its 16-bit count.
bool IsRecords(const GarminPacket& packet);
// A transfer complete packet: id 12 with at least its 16-bit command.
bool IsTransferComplete(const GarminPacket& packet);

// Product data: id 255 with more than 4 bytes.
struct ProductData {
  uint16_t productId = 0;
  int16_t version = 0;      // software version x 100
  std::string description;  // at most kProductTextLimit characters
};
inline constexpr size_t kProductTextLimit = 80;
bool IsProductData(const GarminPacket& packet);
ProductData ParseProductData(const GarminPacket& packet);

// The zero-terminated text at `at`: it ends at its terminator or at the end
// of the packet data, whichever comes first. `next` gets the position after
// the terminator (or the size).
std::string_view PacketString(const GarminPacket& packet, size_t at, size_t* next = nullptr);

}  // namespace trelvik::garmin
