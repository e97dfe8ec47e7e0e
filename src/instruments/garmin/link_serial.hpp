#pragma once
// The serial link layer (L001 on the wire): DLE framing with stuffing and the
// 8-bit checksum, and the receiving state machine fed one byte at a time. Pure
// code; SerialPacketLink puts it on a port.
#include <cstdint>
#include <vector>

#include "instruments/garmin/packets.hpp"

namespace trelvik::garmin {

inline constexpr uint8_t kDle = 0x10;
inline constexpr uint8_t kEtx = 0x03;

// DLE, id, size, data, checksum, DLE, ETX, with every 0x10 in the size, the
// data and the checksum sent twice (the id never is).
std::vector<uint8_t> FrameSerialPacket(const GarminPacket& packet);

// Unframes what arrives. A packet with a wrong checksum, or a DLE followed by
// anything but a DLE inside the size, data or checksum, is dropped and the
// hunt for the next DLE begins: the waiting step then runs into its time limit.
class SerialReceiver {
 public:
  // True when `c` completed a packet with a good checksum; Packet() holds it
  // until the next packet's size byte arrives.
  bool Feed(uint8_t c);
  const GarminPacket& Packet() const { return packet_; }
  void Reset();

 private:
  enum class State { Hunt, Id, Size, Data, Checksum, Dle, Etx };
  bool Unstuff(uint8_t& c);  // false: wait for the next byte (or framing error, state reset)

  State state_ = State::Hunt;
  bool dleSeen_ = false;
  uint8_t sum_ = 0;
  uint8_t count_ = 0;
  GarminPacket packet_;
};

}  // namespace trelvik::garmin
