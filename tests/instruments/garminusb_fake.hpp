#pragma once
// A Garmin receiver on USB without hardware: trelvik-sim's receiver model
// behind its USB packet layer, reached through the UsbTransport interface the
// driver uses, with the faults a real receiver shows. A fault at byte k of
// the receiver's answers acts as on the serial fake: silence from there on
// (the transfer holding byte k arrives cut short), garbage (a cut transfer,
// a burst of junk, then silence), a hang-up (the receiver is unplugged) or a
// corrupt byte (its bits flipped where it is a packet header's: a wrong type,
// id or size field; the bus's CRCs keep data bytes whole).
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "access/link.hpp"
#include "garmin/garmin_usb.hpp"
#include "support/fake_link.hpp"
#include "support/recording_channel.hpp"

namespace trelvik::testing {

// The receiver and what happened to it; shared by the opener, the transports
// it opened and the test, and outlives them all.
class FakeUsbDevice {
 public:
  FakeUsbDevice(sim::garmin::ReceiverModel model, bool bulkData, uint32_t unitId = 3456789012u)
      : receiver_(std::move(model), unitId, bulkData) {}

  // Silent reads advance `clock` by their time-out, as a real read waits.
  void UseClock(ManualClock* clock) { clock_ = clock; }
  void InjectFault(size_t atByte, LinkFault fault);
  // Every answer comes after `count` zero-length transfers.
  void ZeroReadsBeforeEachPacket(int count) { zeroReads_ = count; }
  // Called after each whole packet reached the host, with their count.
  void OnPacketDelivered(std::function<void(int)> call) { onPacket_ = std::move(call); }
  // Once silent reads have waited this long in all, the receiver goes away.
  void WaitLimit(std::chrono::milliseconds limit) { waitLimit_ = limit; }
  void SessionAnswerBytes(size_t bytes) { receiver_.sessionAnswerBytes = bytes; }
  // The receiver is unplugged once `count` packets have reached the host.
  void UnplugAfterPackets(int count) { unplugAfter_ = count; }

  // What the host did and got.
  std::vector<sim::garmin::SimPacket> Received() const;
  int SessionStarts() const;
  bool PoweredOff() const;
  size_t AnswerBytes() const;
  bool WaitedOut() const;
  int OpenTransports() const;

  // The transport's side.
  UsbResult Write(const std::vector<uint8_t>& bytes);
  UsbResult Read(sim::garmin::UsbPipe pipe, size_t maxBytes, std::chrono::milliseconds timeout);
  void Opened(int change);

 private:
  UsbResult Wait(std::chrono::milliseconds timeout);
  // Delivers a chunk starting at `packetOffset` of its packet, with the fault.
  UsbResult Deliver(std::string chunk, size_t packetOffset, bool packetEnds);

  mutable std::mutex mutex_;
  sim::garmin::GarminUsbReceiver receiver_;
  ManualClock* clock_ = nullptr;
  std::optional<size_t> faultAt_;
  LinkFault fault_ = LinkFault::Silence;
  bool silent_ = false;
  bool gone_ = false;
  bool garbageNext_ = false;
  int zeroReads_ = 0;
  int zeroReadsLeft_ = -1;  // -1: not counted down for the next packet yet
  std::function<void(int)> onPacket_;
  int packetsDelivered_ = 0;
  int unplugAfter_ = 0;
  size_t answerBytes_ = 0;
  // The rest of a packet longer than one transfer, per pipe, and whether a
  // zero-length transfer must end a packet that filled its last one exactly.
  std::string rest_[2];
  size_t packetOffset_[2] = {0, 0};
  bool endWithZeroLength_[2] = {false, false};
  std::chrono::milliseconds waited_{0};
  std::chrono::milliseconds waitLimit_{0};
  bool waitedOut_ = false;
  int openTransports_ = 0;
};

// Opens the device while it is plugged in; `refusal` set: found but refused.
class FakeUsbOpener : public UsbOpener {
 public:
  explicit FakeUsbOpener(std::shared_ptr<FakeUsbDevice> device) : device_(std::move(device)) {}
  OpenedUsb Open(UsbDeviceId id) override;

  bool plugged = true;
  int absentAttempts = 0;  // attempts that find nothing before it shows up
  std::string refusal;
  int attempts = 0;

 private:
  std::shared_ptr<FakeUsbDevice> device_;
};

// A link opener with no serial ports and the fake receiver on USB.
class FakeUsbLinkOpener : public LinkOpener {
 public:
  explicit FakeUsbLinkOpener(std::shared_ptr<FakeUsbDevice> device) : usb(std::move(device)) {}
  OpenedLink Open(const std::string&) override { return {}; }
  UsbOpener* Usb() override { return &usb; }

  FakeUsbOpener usb;
};

}  // namespace trelvik::testing
