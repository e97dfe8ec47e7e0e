#include "instruments/garmin/link_serial.hpp"

namespace trelvik::garmin {
namespace {

void PutStuffed(std::vector<uint8_t>& frame, uint8_t c) {
  frame.push_back(c);
  if (c == kDle) frame.push_back(c);
}

}  // namespace

std::vector<uint8_t> FrameSerialPacket(const GarminPacket& packet) {
  std::vector<uint8_t> frame;
  frame.reserve(2 * (packet.size + 2) + 4);
  frame.push_back(kDle);
  frame.push_back(packet.id);
  uint8_t sum = static_cast<uint8_t>(0 - packet.id - packet.size);
  PutStuffed(frame, packet.size);
  for (size_t i = 0; i < packet.size; ++i) {
    PutStuffed(frame, packet.data[i]);
    sum = static_cast<uint8_t>(sum - packet.data[i]);
  }
  PutStuffed(frame, sum);
  frame.push_back(kDle);
  frame.push_back(kEtx);
  return frame;
}

void SerialReceiver::Reset() {
  state_ = State::Hunt;
  dleSeen_ = false;
  sum_ = 0;
  count_ = 0;
}

bool SerialReceiver::Unstuff(uint8_t& c) {
  if (c == kDle && !dleSeen_) {
    dleSeen_ = true;
    return false;
  }
  if (c != kDle && dleSeen_) {
    Reset();
    return false;
  }
  dleSeen_ = false;
  return true;
}

bool SerialReceiver::Feed(uint8_t c) {
  switch (state_) {
    case State::Hunt:
      if (c == kDle) state_ = State::Id;
      return false;
    case State::Id:
      if (c == kDle || c == kEtx) {
        state_ = State::Hunt;
        return false;
      }
      packet_.id = c;
      sum_ = c;
      dleSeen_ = false;
      state_ = State::Size;
      return false;
    case State::Size:
      if (!Unstuff(c)) return false;
      packet_.size = c;
      sum_ = static_cast<uint8_t>(sum_ + c);
      count_ = 0;
      packet_.data.fill(0);
      state_ = c == 0 ? State::Checksum : State::Data;
      return false;
    case State::Data:
      if (!Unstuff(c)) return false;
      sum_ = static_cast<uint8_t>(sum_ + c);
      packet_.data[count_++] = c;
      if (count_ == packet_.size) state_ = State::Checksum;
      return false;
    case State::Checksum:
      if (!Unstuff(c)) return false;
      sum_ = static_cast<uint8_t>(sum_ + c);
      state_ = sum_ == 0 ? State::Dle : State::Hunt;
      return false;
    case State::Dle: state_ = c == kDle ? State::Etx : State::Hunt; return false;
    case State::Etx: state_ = State::Hunt; return c == kEtx;
  }
  return false;
}

}  // namespace trelvik::garmin
