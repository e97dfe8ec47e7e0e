#include "garmin/garmin_receiver.hpp"

#include <cstdlib>

namespace trelvik::sim::garmin {
namespace {

constexpr uint8_t kAck = 6;
constexpr uint8_t kCommand = 10;
constexpr uint8_t kTransferComplete = 12;
constexpr uint8_t kRecords = 27;
constexpr uint8_t kTrackPoint = 34;
constexpr uint8_t kWaypoint = 35;
constexpr uint8_t kTrackHeader = 99;
constexpr uint8_t kPvt = 51;
constexpr uint8_t kCapabilities = 253;
constexpr uint8_t kProductRequest = 254;
constexpr uint8_t kProductData = 255;
constexpr uint64_t kPvtIntervalMs = 300;

std::string U16(uint32_t value) {
  return std::string{static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

uint32_t DataU16(const std::string& data) {
  return data.size() < 2 ? 0xFFFF
                         : static_cast<uint32_t>(static_cast<uint8_t>(data[0]) | static_cast<uint8_t>(data[1]) << 8);
}

}  // namespace

bool CapabilityBytes(const std::string& list, std::string& bytes) {
  bytes.clear();
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    const std::string entry = list.substr(start, end - start);
    if (entry.size() < 2) return false;
    char* rest = nullptr;
    const long number = std::strtol(entry.c_str() + 1, &rest, 10);
    if (*rest != '\0' || number < 0 || number > 0xFFFF) return false;
    bytes += entry[0];
    bytes += U16(static_cast<uint32_t>(number));
    start = end + 1;
  }
  return true;
}

std::string DefaultCapabilityList(const ReceiverModel& m) {
  std::string list = "P000,L001,A010,A100,D" + std::to_string(m.waypointType);
  list += ",A201,D202,D" + std::to_string(m.waypointType) + ",D210";
  if (m.trackProtocol != 0) {
    list += ",A" + std::to_string(m.trackProtocol);
    if (m.trackProtocol != 300) list += ",D" + std::to_string(m.trackHeaderType);
    list += ",D" + std::to_string(m.trackPointType);
  }
  list += ",A500,D501";
  return list;
}

void GarminReceiver::Acknowledge(uint8_t id, std::vector<SimPacket>& out) const {
  const uint8_t named = model_.wrongAckOf == id ? static_cast<uint8_t>(id + 1) : id;
  out.push_back({kAck, std::string{static_cast<char>(named), '\0'}});
}

void GarminReceiver::StartTransfer(std::deque<SimPacket> packets, std::vector<SimPacket>& out) {
  transfer_ = std::move(packets);
  SendNext(out);
}

void GarminReceiver::SendNext(std::vector<SimPacket>& out) {
  awaitedAck_ = -1;
  if (transfer_.empty()) return;
  out.push_back(transfer_.front());
  awaitedAck_ = transfer_.front().id;
  transfer_.pop_front();
}

void GarminReceiver::SendCapabilities(std::vector<SimPacket>& out) {
  if (model_.capabilities) out.push_back({kCapabilities, *model_.capabilities});
}

std::deque<SimPacket> GarminReceiver::WaypointTransfer() const {
  std::deque<SimPacket> packets;
  packets.push_back({kRecords, U16(static_cast<uint32_t>(model_.waypoints.size() + uploadedWaypoints_.size()))});
  for (const SimWaypoint& w : model_.waypoints)
    packets.push_back({kWaypoint, EncodeSimWaypoint(model_.waypointType, w)});
  for (const std::string& data : uploadedWaypoints_) packets.push_back({kWaypoint, data});
  packets.push_back({kTransferComplete, U16(7)});
  return packets;
}

std::deque<SimPacket> GarminReceiver::TrackTransfer() const {
  std::deque<SimPacket> packets;
  packets.push_back({kRecords, ""});
  int index = 0;
  for (const SimTrack& track : model_.tracks) {
    if (model_.trackProtocol != 300) {
      packets.push_back({kTrackHeader, EncodeSimTrackHeader(model_.trackHeaderType, track.name, index)});
    }
    for (const SimTrackPoint& p : track.points) {
      packets.push_back({kTrackPoint, EncodeSimTrackPoint(model_.trackPointType, p)});
    }
    ++index;
  }
  packets.front().data = U16(static_cast<uint32_t>(packets.size() - 1));
  packets.push_back({kTransferComplete, U16(6)});
  return packets;
}

void GarminReceiver::Receive(const SimPacket& packet, std::vector<SimPacket>& out) {
  if (poweredOff_) return;
  if (packet.id == kAck) {
    const int acknowledged = packet.data.empty() ? -1 : static_cast<uint8_t>(packet.data[0]);
    if (arrayWait_ && acknowledged == kProductData) {
      arrayWait_ = false;
      pvtLeft_ = model_.pvtPackets;
      nextPvtMs_ = nowMs_;
      if (pvtLeft_ == 0) SendCapabilities(out);
      return;
    }
    if (awaitedAck_ >= 0 && acknowledged == awaitedAck_) SendNext(out);
    return;
  }
  // Anything but an acknowledgement ends a PVT stream.
  pvtLeft_ = 0;
  if (packet.id == kProductRequest) {
    if (model_.ackProductRequest) Acknowledge(packet.id, out);
    std::string data = U16(model_.productId) + U16(static_cast<uint16_t>(model_.version)) + model_.description;
    data += '\0';
    out.push_back({kProductData, data});
    transfer_.clear();
    awaitedAck_ = -1;
    arrayWait_ = true;
    return;
  }
  if (packet.id == kCommand && DataU16(packet.data) == 8) {
    poweredOff_ = true;  // a unit switched off answers nothing more
    return;
  }
  Acknowledge(packet.id, out);
  if (packet.id == kCommand) {
    const uint32_t command = DataU16(packet.data);
    if (command == 0) {
      transfer_.clear();
      awaitedAck_ = -1;
    } else if (command == 7 && model_.waypointType != 0) {
      StartTransfer(WaypointTransfer(), out);
    } else if (command == 6 && model_.trackProtocol != 0) {
      StartTransfer(TrackTransfer(), out);
    }
    return;
  }
  if (packet.id == kWaypoint) uploadedWaypoints_.push_back(packet.data);
}

void GarminReceiver::Tick(uint64_t nowMs, std::vector<SimPacket>& out) {
  nowMs_ = nowMs;
  if (pvtLeft_ <= 0 || nowMs < nextPvtMs_) return;
  nextPvtMs_ = nowMs + kPvtIntervalMs;
  // D800 is 64 bytes; its content does not matter to a host waiting for the array.
  out.push_back({kPvt, std::string(64, '\0')});
  if (--pvtLeft_ == 0) SendCapabilities(out);
}

}  // namespace trelvik::sim::garmin
