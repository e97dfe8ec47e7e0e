#include "instruments/garmin/packets.hpp"

#include <bit>
#include <cstring>

namespace trelvik::garmin {

uint16_t GarminPacket::U16(size_t at) const {
  uint16_t value = 0;
  for (size_t i = 0; i < 2; ++i) {
    if (at + i < size) value = static_cast<uint16_t>(value | data[at + i] << (8 * i));
  }
  return value;
}

uint32_t GarminPacket::U32(size_t at) const {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) {
    if (at + i < size) value |= static_cast<uint32_t>(data[at + i]) << (8 * i);
  }
  return value;
}

float GarminPacket::F32(size_t at) const { return std::bit_cast<float>(U32(at)); }

void GarminPacket::PutU16(size_t at, uint16_t value) {
  data[at] = static_cast<uint8_t>(value);
  data[at + 1] = static_cast<uint8_t>(value >> 8);
}

void GarminPacket::PutU32(size_t at, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) data[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void GarminPacket::PutF32(size_t at, float value) { PutU32(at, std::bit_cast<uint32_t>(value)); }

GarminPacket MakePacket(uint8_t id, std::initializer_list<uint8_t> data) {
  GarminPacket packet;
  packet.id = id;
  for (const uint8_t byte : data) packet.data[packet.size++] = byte;
  return packet;
}

GarminPacket ProductRequest() { return MakePacket(kPidProductRequest); }
GarminPacket Ack(uint8_t acknowledgedId) { return MakePacket(kPidAck, {acknowledgedId, 0}); }

GarminPacket Command(uint16_t command) {
  return MakePacket(kPidCommand, {static_cast<uint8_t>(command), static_cast<uint8_t>(command >> 8)});
}

GarminPacket Records(uint16_t count) {
  return MakePacket(kPidRecords, {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)});
}

GarminPacket TransferComplete(uint16_t command) {
  return MakePacket(kPidTransferComplete, {static_cast<uint8_t>(command), static_cast<uint8_t>(command >> 8)});
}

bool IsAckOf(const GarminPacket& packet, uint8_t id) {
  return packet.id == kPidAck && packet.size >= 2 && packet.data[0] == id && packet.data[1] == 0;
}

bool IsRecords(const GarminPacket& packet) { return packet.id == kPidRecords && packet.size >= 2; }

bool IsTransferComplete(const GarminPacket& packet) { return packet.id == kPidTransferComplete && packet.size >= 2; }

bool IsProductData(const GarminPacket& packet) { return packet.id == kPidProductData && packet.size > 4; }

std::string_view PacketString(const GarminPacket& packet, size_t at, size_t* next) {
  if (at >= packet.size) {
    if (next != nullptr) *next = packet.size;
    return {};
  }
  const char* text = reinterpret_cast<const char*>(packet.data.data()) + at;
  const size_t room = packet.size - at;
  const void* end = std::memchr(text, 0, room);
  const size_t length = end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - text) : room;
  if (next != nullptr) *next = at + length + (length < room ? 1 : 0);
  return {text, length};
}

ProductData ParseProductData(const GarminPacket& packet) {
  ProductData product;
  product.productId = packet.U16(0);
  product.version = static_cast<int16_t>(packet.U16(2));
  product.description = std::string(PacketString(packet, 4).substr(0, kProductTextLimit));
  return product;
}

}  // namespace trelvik::garmin
