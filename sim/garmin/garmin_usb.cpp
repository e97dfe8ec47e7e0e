#include "garmin/garmin_usb.hpp"

namespace trelvik::sim::garmin {
namespace {

constexpr uint8_t kProtocolLayer = 0;
constexpr uint8_t kApplicationLayer = 20;
constexpr uint16_t kDataAvailable = 2;
constexpr uint16_t kStartSession = 5;
constexpr uint16_t kSessionStarted = 6;
constexpr uint8_t kAck = 6;
constexpr size_t kHeader = 12;

uint32_t Field(const std::string& bytes, size_t at, size_t width) {
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
  return value;
}

void Put(std::string& bytes, size_t at, uint32_t value, size_t width) {
  for (size_t i = 0; i < width; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string UsbPacketBytes(uint8_t type, uint16_t id, const std::string& data) {
  std::string bytes(kHeader, '\0');
  bytes[0] = static_cast<char>(type);
  Put(bytes, 4, id, 2);
  Put(bytes, 8, static_cast<uint32_t>(data.size()), 4);
  return bytes + data;
}

void GarminUsbReceiver::Queue(const std::vector<SimPacket>& packets) {
  for (const SimPacket& p : packets) {
    const std::string bytes = UsbPacketBytes(kApplicationLayer, p.id, p.data);
    if (!bulkData_) {
      interrupt_.push_back(bytes);
      continue;
    }
    if (!announced_) {
      interrupt_.push_back(UsbPacketBytes(kProtocolLayer, kDataAvailable, {}));
      announced_ = true;
    }
    bulk_.push_back(bytes);
  }
}

void GarminUsbReceiver::HostWrite(const std::string& bytes) {
  if (bytes.size() < kHeader) return;
  const uint8_t type = static_cast<uint8_t>(bytes[0]);
  const uint16_t id = static_cast<uint16_t>(Field(bytes, 4, 2));
  const size_t size = Field(bytes, 8, 4);
  if (type == kProtocolLayer) {
    if (id != kStartSession) return;
    ++sessionStarts_;
    // A new session drops whatever the receiver still meant to send.
    interrupt_.clear();
    bulk_.clear();
    announced_ = false;
    std::string unit(4, '\0');
    Put(unit, 0, unitId_, 4);
    unit.resize(sessionAnswerBytes, '\0');
    interrupt_.push_back(UsbPacketBytes(kProtocolLayer, kSessionStarted, unit));
    return;
  }
  if (type != kApplicationLayer || id > 0xFF) return;
  SimPacket packet{static_cast<uint8_t>(id), bytes.substr(kHeader, size)};
  received_.push_back(packet);
  std::vector<SimPacket> out;
  receiver_.Receive(packet, out);
  // Nothing is acknowledged on USB: every packet the model sends counts as
  // delivered, which lets it go on with the next packet of its transfer.
  for (size_t next = 0; next < out.size(); ++next) {
    if (out[next].id == kAck) continue;
    std::vector<SimPacket> more;
    receiver_.Receive({kAck, std::string{static_cast<char>(out[next].id), '\0'}}, more);
    out.insert(out.end(), more.begin(), more.end());
  }
  std::vector<SimPacket> answers;
  for (const SimPacket& p : out) {
    if (p.id != kAck) answers.push_back(p);
  }
  Queue(answers);
}

std::optional<std::string> GarminUsbReceiver::NextPacket(UsbPipe pipe) {
  std::deque<std::string>& queue = pipe == UsbPipe::Interrupt ? interrupt_ : bulk_;
  if (queue.empty()) return std::nullopt;
  std::string bytes = std::move(queue.front());
  queue.pop_front();
  return bytes;
}

}  // namespace trelvik::sim::garmin
