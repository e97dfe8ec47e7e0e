#include "instruments/garmin/serial_packet_link.hpp"

#include "access/job_report.hpp"
#include "access/serial_link.hpp"

namespace trelvik::garmin {

int SerialPacketLink::Send(const GarminPacket& packet) {
  const std::vector<uint8_t> frame = FrameSerialPacket(packet);
  return WriteBytes(job_, frame) < 0 ? -1 : 0;
}

void SerialPacketLink::Reset() {
  receiver_.Reset();
  filled_ = 0;
  consumed_ = 0;
}

bool SerialPacketLink::FeedBuffered(GarminPacket& packet) {
  while (consumed_ < filled_) {
    if (receiver_.Feed(buffer_[consumed_++])) {
      packet = receiver_.Packet();
      return true;
    }
  }
  return false;
}

int SerialPacketLink::Read(std::chrono::milliseconds timeout, GarminPacket& packet) {
  if (FeedBuffered(packet)) return 0;
  const uint32_t start = JobTick(job_);
  while (JobTick(job_) - start <= static_cast<uint32_t>(timeout.count())) {
    const int n = ReadChunk(job_, buffer_);
    if (n < 0) {
      filled_ = consumed_ = 0;
      return -2;
    }
    filled_ = static_cast<size_t>(n);
    consumed_ = 0;
    if (FeedBuffered(packet)) return 0;
  }
  return -1;
}

}  // namespace trelvik::garmin
