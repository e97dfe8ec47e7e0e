#include "instruments/garmin/usb_packet_link.hpp"

namespace trelvik::garmin {

namespace {
constexpr auto kWriteTimeout = std::chrono::milliseconds(500);
constexpr auto kInterruptTimeout = std::chrono::milliseconds(500);
constexpr auto kBulkTimeout = std::chrono::milliseconds(3000);
constexpr size_t kInterruptTransfer = 64;
constexpr size_t kBulkTransfer = 4096;
constexpr int kMaxZeroReads = 50;
constexpr auto kZeroReadPause = std::chrono::milliseconds(20);
}  // namespace

void UsbPacketLink::TraceBytes(std::string_view pipe, const std::vector<uint8_t>& bytes) {
  if (trace_ == nullptr) return;
  trace_->TraceText(pipe);
  trace_->TraceHexBytes(bytes.data(), static_cast<int>(bytes.size()));
}

void UsbPacketLink::TracePipeError(bool bulk, int number) {
  if (trace_ == nullptr) return;
  trace_->TraceText(bulk ? "Bulk IN error " : "INT pipe error ");
  trace_->TraceText(std::to_string(number));
  trace_->TraceText("\r\n");
}

int UsbPacketLink::Send(const GarminPacket& packet) {
  const std::vector<uint8_t> bytes = EncodeUsbApplication(packet);
  TraceBytes("Bulk OUT pipe:\r\n", bytes);
  const UsbResult result = transport_.WriteBulk(bytes, kWriteTimeout);
  if (result.status == UsbStatus::kNoDevice) deviceGone_ = true;
  return result.status == UsbStatus::kOk ? 0 : -1;
}

PipeRead UsbPacketLink::Gather(bool bulk, std::vector<uint8_t>& bytes) {
  bytes.clear();
  const size_t transfer = bulk ? kBulkTransfer : kInterruptTransfer;
  int zeroReads = 0;
  for (;;) {
    const UsbResult result =
        bulk ? transport_.ReadBulk(transfer, kBulkTimeout) : transport_.ReadInterrupt(transfer, kInterruptTimeout);
    if (result.status == UsbStatus::kTimeout) {
      TracePipeError(bulk, 2);
      return PipeRead::kTimeout;
    }
    if (result.status != UsbStatus::kOk) {
      pipeError_ = result.error;
      if (result.status == UsbStatus::kNoDevice) deviceGone_ = true;
      TracePipeError(bulk, result.status == UsbStatus::kNoDevice ? 3 : 1);
      return PipeRead::kFailed;
    }
    if (result.bytes.empty()) {
      // After a transfer of a whole buffer, a zero-length one ends the packet
      // (USB's rule for data that fills its last transfer exactly). Before
      // any data it ends nothing; a receiver that sends only those is dead.
      if (!bytes.empty()) break;
      if (++zeroReads > kMaxZeroReads) {
        TracePipeError(bulk, 4);
        return PipeRead::kFailed;
      }
      pause_(kZeroReadPause);
      continue;
    }
    for (uint8_t b : result.bytes) {
      if (bytes.size() < kUsbMaxPacket) bytes.push_back(b);
    }
    if (result.bytes.size() < transfer) break;
  }
  TraceBytes(bulk ? "Bulk IN pipe:\r\n" : "Interrupt IN pipe:\r\n", bytes);
  return PipeRead::kOk;
}

PipeRead UsbPacketLink::ReadPipe(bool bulk, UsbPacket& packet, bool& shortPacket) {
  std::vector<uint8_t> bytes;
  const PipeRead read = Gather(bulk, bytes);
  if (read != PipeRead::kOk) return read;
  shortPacket = !DecodeUsbPacket(bytes, packet);
  return PipeRead::kOk;
}

int UsbPacketLink::ReadUsbPacket(UsbPacket& packet) {
  bool shortPacket = false;
  if (bulk_) {
    if (ReadPipe(true, packet, shortPacket) != PipeRead::kOk) return lastReadCode_ = -7;
    if (shortPacket) return lastReadCode_ = -9;
    if (packet.type != kUsbTypeApplication) return lastReadCode_ = -8;
    return lastReadCode_ = 0;
  }
  if (ReadPipe(false, packet, shortPacket) != PipeRead::kOk || shortPacket) {
    return lastReadCode_ = -1;
  }
  if (packet.type == kUsbTypeProtocol) {
    if (packet.id != kUsbPidDataAvailable || packet.declaredSize != 0) return lastReadCode_ = -2;
    bulk_ = true;
    Trace("Bulk pipe TRUE\r\n");
    if (ReadPipe(true, packet, shortPacket) != PipeRead::kOk) return lastReadCode_ = -3;
    if (shortPacket) return lastReadCode_ = -5;
    if (packet.type != kUsbTypeApplication) return lastReadCode_ = -4;
    return lastReadCode_ = 0;
  }
  if (packet.type != kUsbTypeApplication) return lastReadCode_ = -6;
  return lastReadCode_ = 0;
}

int UsbPacketLink::Read(std::chrono::milliseconds /*timeout*/, GarminPacket& packet) {
  UsbPacket usb;
  const int code = ReadUsbPacket(usb);
  if (code != 0) return (code == -1 && !deviceGone_) ? -1 : -2;
  packet = usb.packet;
  return 0;
}

void UsbPacketLink::SendAbort() {
  const std::vector<uint8_t> start = StartSessionPacket();
  TraceBytes("Bulk OUT pipe:\r\n", start);
  (void)transport_.WriteBulk(start, kWriteTimeout);
}

int UsbPacketLink::StartSession(std::chrono::milliseconds limit) {
  if (bulk_) Trace("Bulk pipe FALSE\r\n");
  bulk_ = false;
  const std::vector<uint8_t> start = StartSessionPacket();
  TraceBytes("Bulk OUT pipe:\r\n", start);
  if (transport_.WriteBulk(start, kWriteTimeout).status != UsbStatus::kOk) return 1;
  bool afterBulkTimeout = false;
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    UsbPacket packet;
    bool shortPacket = false;
    const PipeRead read = ReadPipe(bulk_, packet, shortPacket);
    if (deviceGone_) return bulk_ ? 3 : 2;
    if (bulk_ && read == PipeRead::kTimeout) {
      bulk_ = false;
      afterBulkTimeout = true;
      Trace("Bulk pipe FALSE\r\n");
      continue;
    }
    if (read != PipeRead::kOk) return bulk_ ? 3 : (afterBulkTimeout ? 8 : 2);
    if (shortPacket || packet.type != kUsbTypeProtocol) continue;
    if (packet.id == kUsbPidSessionStarted) {
      if (packet.totalBytes != kUsbHeaderSize + 4) return 4;
      unitId_ = packet.packet.U32(0);
      Trace("Session started\r\n");
      return 0;
    }
    if (packet.id == kUsbPidDataAvailable) {
      if (packet.totalBytes != kUsbHeaderSize) return 5;
      bulk_ = true;
      Trace("Bulk pipe TRUE\r\n");
      continue;
    }
    return 6;
  }
  return 7;
}

}  // namespace trelvik::garmin
