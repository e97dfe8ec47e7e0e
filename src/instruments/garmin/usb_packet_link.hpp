#pragma once
// Packets over a Garmin receiver's USB pipes: the interrupt pipe until the
// receiver announces data, then the bulk pipe. No link acknowledgements, so
// the application steps of the serial driver run over it unchanged.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "access/debug_trace.hpp"
#include "access/usb_link.hpp"
#include "instruments/garmin/packet_link.hpp"
#include "instruments/garmin/usb_packets.hpp"

namespace trelvik::garmin {

// Outcome of one gathered pipe read.
enum class PipeRead { kOk, kTimeout, kFailed };

class UsbPacketLink : public PacketLink {
 public:
  // How the link waits between zero-length reads: the job's sleep, so tests
  // pass it in no real time.
  using Pause = std::function<void(std::chrono::milliseconds)>;

  UsbPacketLink(UsbTransport& transport, DebugTrace* trace, Pause pause)
      : transport_(transport), trace_(trace), pause_(std::move(pause)) {}

  int Send(const GarminPacket& packet) override;
  // 0, -1 when the pipe timed out, -2 for any other failure; the packet
  // layer's own code is kept in LastReadCode().
  int Read(std::chrono::milliseconds timeout, GarminPacket& packet) override;
  void Reset() override {}
  // USB has no abort command: a new session start ends the transfer.
  void SendAbort() override;

  // 0 or the packet layer's negative code: -7 bulk read failed, -8 bulk packet
  // not application, -9 bulk packet short; -1 interrupt read failed, -2 an
  // unexpected protocol packet, -3/-4/-5 the bulk read after a data-available
  // notice failed / was not application / was short, -6 not application.
  int ReadUsbPacket(UsbPacket& packet);
  int LastReadCode() const override { return lastReadCode_; }

  // Starts the session: 0 with UnitId() set, or the error number 1..8 whose
  // text the caller reports ("E00n Start session error"); after 3,
  // PipeError() holds the failed bulk read's error number.
  int StartSession(std::chrono::milliseconds limit = std::chrono::seconds(10));
  uint32_t UnitId() const { return unitId_; }
  bool BulkMode() const { return bulk_; }
  // True once a transfer found the receiver gone.
  bool DeviceGone() const { return deviceGone_; }
  int PipeError() const { return pipeError_; }

 private:
  PipeRead Gather(bool bulk, std::vector<uint8_t>& bytes);
  PipeRead ReadPipe(bool bulk, UsbPacket& packet, bool& shortPacket);

  void Trace(std::string_view text) {
    if (trace_ != nullptr) trace_->TraceText(text);
  }
  void TraceBytes(std::string_view pipe, const std::vector<uint8_t>& bytes);
  // "INT pipe error n" / "Bulk IN error n": 1 failed, 2 timed out, 3 device
  // gone, 4 nothing but zero-length transfers.
  void TracePipeError(bool bulk, int number);

  UsbTransport& transport_;
  DebugTrace* trace_;
  Pause pause_;
  bool bulk_ = false;
  bool deviceGone_ = false;
  uint32_t unitId_ = 0;
  int lastReadCode_ = 0;
  int pipeError_ = 0;
};

}  // namespace trelvik::garmin
