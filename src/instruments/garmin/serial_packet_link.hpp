#pragma once
// Packets over the job's serial port: the DLE framing of link_serial on the
// job's link, reading up to 100 bytes at a time and keeping what a packet did
// not consume for the next one. Lives in the job's thread routine.
#include "access/gps_job.hpp"
#include "instruments/garmin/link_serial.hpp"
#include "instruments/garmin/packet_link.hpp"

namespace trelvik::garmin {

class SerialPacketLink : public PacketLink {
 public:
  explicit SerialPacketLink(GpsJob& job) : job_(job) {}
  int Send(const GarminPacket& packet) override;
  int Read(std::chrono::milliseconds timeout, GarminPacket& packet) override;
  void Reset() override;
  void SendAbort() override { (void)Send(Command(kCmdAbortTransfer)); }

 private:
  // Feeds the unconsumed bytes; true when a packet completed.
  bool FeedBuffered(GarminPacket& packet);

  static constexpr size_t kReadBuffer = 100;
  GpsJob& job_;
  SerialReceiver receiver_;
  uint8_t buffer_[kReadBuffer] = {};
  size_t filled_ = 0;
  size_t consumed_ = 0;
};

}  // namespace trelvik::garmin
