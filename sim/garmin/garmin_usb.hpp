#pragma once
// A simulated Garmin receiver on USB: the receiver model of garmin_receiver
// behind Garmin's USB packet layer, written from the description of that
// layer on its own. The host writes whole packets to the bulk OUT pipe; the
// receiver answers on the interrupt IN pipe, or announces "data available"
// there and answers on the bulk IN pipe. There are no link acknowledgements
// on USB: each packet the model sends counts as delivered once queued.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "garmin/garmin_receiver.hpp"

namespace trelvik::sim::garmin {

enum class UsbPipe { Interrupt, Bulk };

// 12-byte little-endian header (type, id, data size) and the data.
std::string UsbPacketBytes(uint8_t type, uint16_t id, const std::string& data);

class GarminUsbReceiver {
 public:
  // `bulkData`: application packets go to the bulk pipe after a
  // data-available notice; otherwise all travel on the interrupt pipe.
  GarminUsbReceiver(ReceiverModel model, uint32_t unitId, bool bulkData)
      : receiver_(std::move(model)), unitId_(unitId), bulkData_(bulkData) {}

  // One bulk OUT transfer from the host.
  void HostWrite(const std::string& bytes);
  // The next packet waiting on `pipe`; none when the pipe is idle.
  std::optional<std::string> NextPacket(UsbPipe pipe);

  // The application packets the host sent, in order.
  const std::vector<SimPacket>& Received() const { return received_; }
  int SessionStarts() const { return sessionStarts_; }
  bool PoweredOff() const { return receiver_.PoweredOff(); }

  // Faults of the USB layer itself: the session-started answer's data size.
  size_t sessionAnswerBytes = 4;

 private:
  void Queue(const std::vector<SimPacket>& packets);

  GarminReceiver receiver_;
  uint32_t unitId_;
  bool bulkData_;
  bool announced_ = false;  // data available sent since the session started
  std::deque<std::string> interrupt_;
  std::deque<std::string> bulk_;
  std::vector<SimPacket> received_;
  int sessionStarts_ = 0;
};

}  // namespace trelvik::sim::garmin
