#include "instruments/garminusb_fake.hpp"

#include "instruments/garminusb_fixtures.hpp"

#include <algorithm>

namespace trelvik::testing {
namespace {

using sim::garmin::UsbPipe;

constexpr size_t kGarbageBytes = 7;
constexpr size_t kHeaderBytes = 12;

class FakeUsbTransport : public UsbTransport {
 public:
  explicit FakeUsbTransport(std::shared_ptr<FakeUsbDevice> device) : device_(std::move(device)) { device_->Opened(1); }
  ~FakeUsbTransport() override { device_->Opened(-1); }
  FakeUsbTransport(const FakeUsbTransport&) = delete;
  FakeUsbTransport& operator=(const FakeUsbTransport&) = delete;

  UsbResult WriteBulk(const std::vector<uint8_t>& bytes, std::chrono::milliseconds) override {
    return device_->Write(bytes);
  }
  UsbResult ReadBulk(size_t maxBytes, std::chrono::milliseconds timeout) override {
    return device_->Read(UsbPipe::Bulk, maxBytes, timeout);
  }
  UsbResult ReadInterrupt(size_t maxBytes, std::chrono::milliseconds timeout) override {
    return device_->Read(UsbPipe::Interrupt, maxBytes, timeout);
  }

 private:
  std::shared_ptr<FakeUsbDevice> device_;
};

UsbResult NoDevice() { return {UsbStatus::kNoDevice, {}, -4}; }

}  // namespace

void FakeUsbDevice::InjectFault(size_t atByte, LinkFault fault) {
  std::lock_guard lock(mutex_);
  faultAt_ = atByte;
  fault_ = fault;
}

std::vector<sim::garmin::SimPacket> FakeUsbDevice::Received() const {
  std::lock_guard lock(mutex_);
  return receiver_.Received();
}

int FakeUsbDevice::SessionStarts() const {
  std::lock_guard lock(mutex_);
  return receiver_.SessionStarts();
}

bool FakeUsbDevice::PoweredOff() const {
  std::lock_guard lock(mutex_);
  return receiver_.PoweredOff();
}

size_t FakeUsbDevice::AnswerBytes() const {
  std::lock_guard lock(mutex_);
  return answerBytes_;
}

bool FakeUsbDevice::WaitedOut() const {
  std::lock_guard lock(mutex_);
  return waitedOut_;
}

int FakeUsbDevice::OpenTransports() const {
  std::lock_guard lock(mutex_);
  return openTransports_;
}

void FakeUsbDevice::Opened(int change) {
  std::lock_guard lock(mutex_);
  openTransports_ += change;
}

UsbResult FakeUsbDevice::Write(const std::vector<uint8_t>& bytes) {
  std::lock_guard lock(mutex_);
  if (gone_) return NoDevice();
  receiver_.HostWrite(std::string(bytes.begin(), bytes.end()));
  return {};
}

UsbResult FakeUsbDevice::Wait(std::chrono::milliseconds timeout) {
  if (clock_ != nullptr) clock_->Advance(timeout);
  waited_ += timeout;
  if (waitLimit_.count() > 0 && waited_ >= waitLimit_) {
    waitedOut_ = true;
    gone_ = true;
    return NoDevice();
  }
  return {UsbStatus::kTimeout, {}, -7};
}

UsbResult FakeUsbDevice::Read(UsbPipe pipe, size_t maxBytes, std::chrono::milliseconds timeout) {
  std::lock_guard lock(mutex_);
  if (gone_) return NoDevice();
  if (garbageNext_) {
    garbageNext_ = false;
    silent_ = true;
    return {UsbStatus::kOk, std::vector<uint8_t>(kGarbageBytes, 0xA5)};
  }
  if (silent_) return Wait(timeout);
  const int index = pipe == UsbPipe::Interrupt ? 0 : 1;
  if (endWithZeroLength_[index]) {
    endWithZeroLength_[index] = false;
    return {};
  }
  std::string& rest = rest_[index];
  if (rest.empty()) {
    std::optional<std::string> next = receiver_.NextPacket(pipe);
    if (!next) return Wait(timeout);
    rest = std::move(*next);
    zeroReadsLeft_ = zeroReads_;
  }
  if (zeroReadsLeft_ > 0) {
    --zeroReadsLeft_;
    return {};
  }
  const size_t n = std::min(maxBytes, rest.size());
  const size_t offset = packetOffset_[index];
  std::string chunk = rest.substr(0, n);
  rest.erase(0, n);
  const bool packetEnds = rest.empty();
  packetOffset_[index] = packetEnds ? 0 : offset + n;
  if (packetEnds && n == maxBytes) endWithZeroLength_[index] = true;
  return Deliver(std::move(chunk), offset, packetEnds);
}

UsbResult FakeUsbDevice::Deliver(std::string chunk, size_t packetOffset, bool packetEnds) {
  const size_t first = answerBytes_;
  if (faultAt_ && *faultAt_ >= first && *faultAt_ < first + chunk.size()) {
    const size_t at = *faultAt_ - first;
    if (fault_ == LinkFault::Corrupt) {
      // USB guards the bytes on the bus with CRCs: a wrong byte can only be
      // the receiver's own mistake in a header (type, id, size).
      if (packetOffset + at < kHeaderBytes) chunk[at] = static_cast<char>(~static_cast<uint8_t>(chunk[at]));
    } else {
      // The transfer holding byte k arrives cut there, and nothing after it.
      chunk.resize(at);
      rest_[0].clear();
      rest_[1].clear();
      packetOffset_[0] = packetOffset_[1] = 0;
      endWithZeroLength_[0] = endWithZeroLength_[1] = false;
      if (fault_ == LinkFault::HangUp) gone_ = true;
      if (fault_ == LinkFault::Silence) silent_ = true;
      if (fault_ == LinkFault::Garbage) garbageNext_ = true;
      packetEnds = false;
      if (chunk.empty()) {
        if (gone_) return NoDevice();
        if (silent_) return {UsbStatus::kTimeout, {}, -7};
      }
    }
  }
  answerBytes_ += chunk.size();
  if (packetEnds) {
    ++packetsDelivered_;
    if (packetsDelivered_ == unplugAfter_) gone_ = true;
    if (onPacket_) onPacket_(packetsDelivered_);
  }
  return {UsbStatus::kOk, std::vector<uint8_t>(chunk.begin(), chunk.end())};
}

OpenedUsb FakeUsbOpener::Open(UsbDeviceId id) {
  ++attempts;
  if (!plugged || attempts <= absentAttempts || id.vendor != 0x091E || id.product != 0x0003) return {};
  OpenedUsb opened;
  opened.deviceName = "bus 001 device 007 (fake)";
  if (!refusal.empty()) {
    opened.status = UsbOpenStatus::Refused;
    opened.reason = refusal;
    return opened;
  }
  opened.status = UsbOpenStatus::Opened;
  opened.transport = std::make_unique<FakeUsbTransport>(device_);
  return opened;
}

}  // namespace trelvik::testing

namespace trelvik::testing {

sim::garmin::ReceiverModel UsbReceiverModel(int tracks, int points) {
  sim::garmin::ReceiverModel model;
  model.ackProductRequest = false;  // nothing is acknowledged on USB
  model.waypoints = sim::garmin::SampleWaypoints();
  const uint32_t day = sim::garmin::GarminTime(2024, 7, 14, 10 * 3600);
  for (int t = 0; t < tracks; ++t) {
    sim::garmin::SimTrack track{"TRACK" + std::to_string(t), {}};
    for (int i = 0; i < points; ++i) {
      sim::garmin::SimTrackPoint p;
      p.lat = 554766000 + 1000 * i;
      p.lon = 97000000 - 700 * i;
      p.time = day + static_cast<uint32_t>(t * 86400 + 2 * i);
      p.alt = 1000.0f + static_cast<float>(i);
      track.points.push_back(p);
    }
    model.tracks.push_back(std::move(track));
  }
  std::string bytes;
  (void)sim::garmin::CapabilityBytes(sim::garmin::DefaultCapabilityList(model), bytes);
  model.capabilities = bytes;
  return model;
}

}  // namespace trelvik::testing
