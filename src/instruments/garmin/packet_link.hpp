#pragma once
// The link under the application protocols: whole packets in and out. The
// serial port with DLE framing is one; Garmin's USB packet layer is another.
#include <chrono>

#include "instruments/garmin/packets.hpp"

namespace trelvik::garmin {

class PacketLink {
 public:
  virtual ~PacketLink() = default;
  // 0, or -1 when the packet could not be written.
  [[nodiscard]] virtual int Send(const GarminPacket& packet) = 0;
  // 0 with `packet` filled; -1 when `timeout` passed without a whole packet;
  // -2 when the port failed.
  [[nodiscard]] virtual int Read(std::chrono::milliseconds timeout, GarminPacket& packet) = 0;
  // Forgets a half-received packet and the bytes not yet consumed.
  virtual void Reset() = 0;
  // Tells the unit to drop the transfer in progress; no answer is awaited.
  virtual void SendAbort() = 0;
  // The link's own code for the last failed Read, where it numbers its
  // failures finer than Read's result; 0 where it does not.
  [[nodiscard]] virtual int LastReadCode() const { return 0; }
};

}  // namespace trelvik::garmin
