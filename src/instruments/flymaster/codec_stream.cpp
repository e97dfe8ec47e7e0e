// The binary flight stream: the block frame and the decoding of its blocks.
#include <cmath>

#include "instruments/flymaster/codec.hpp"

namespace trelvik::flymaster {
namespace {

constexpr size_t kFlightInfoLength = 63;
constexpr size_t kKeyLength = 17;
constexpr size_t kRecordLength = 6;
constexpr int32_t kLatitudeLimit = 5400000;             // 90 degrees in 1/60000
constexpr int32_t kLongitudeLimit = 10800000;           // 180 degrees
constexpr double kSemicirclesPerUnit = 198.8410785185;  // 2^31 / 180 / 60000
constexpr uint32_t kSecondsTo2000 = 315619200;          // 1989-12-31 to 2000-01-01

bool IsBlockType(uint8_t c) { return c >= kFlightInfoBlock && c <= kEndBlock; }

uint32_t U32(const std::vector<uint8_t>& d, size_t at) {
  return static_cast<uint32_t>(d[at]) | static_cast<uint32_t>(d[at + 1]) << 8 | static_cast<uint32_t>(d[at + 2]) << 16 |
         static_cast<uint32_t>(d[at + 3]) << 24;
}
int16_t S16(const std::vector<uint8_t>& d, size_t at) {
  return static_cast<int16_t>(static_cast<uint16_t>(d[at] | d[at + 1] << 8));
}

// A text field of the flight info: up to its first NUL, trailing blanks cut.
std::string InfoText(const std::vector<uint8_t>& d, size_t at, size_t limit) {
  std::string text;
  for (size_t i = at; i < at + limit && d[i] != 0; ++i) text += static_cast<char>(d[i]);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

int32_t Scaled(int32_t value) {
  const double x = value * kSemicirclesPerUnit;
  return static_cast<int32_t>(x >= 0 ? x + 0.5 : x - 0.5);
}

}  // namespace

BlockReader::Event BlockReader::Feed(uint8_t c) {
  switch (state_) {
    case 0:
      if (IsBlockType(c)) {
        type_ = c;
        state_ = 1;
      }
      return Event::None;
    case 1:
      if (c == type_) {
        if (c == kEndBlock) {
          state_ = 0;
          return Event::End;
        }
        state_ = 2;
      } else if (IsBlockType(c)) {
        type_ = c;  // a second type byte of another kind restarts the header
      } else {
        state_ = 0;
      }
      return Event::None;
    case 2:
      length_ = c;
      checksum_ = c;
      data_.clear();
      state_ = length_ == 0 ? 4 : 3;
      return Event::None;
    case 3:
      data_.push_back(c);
      checksum_ ^= c;
      if (data_.size() == length_) state_ = 4;
      return Event::None;
    default: state_ = 0; return c == checksum_ ? Event::Good : Event::Bad;
  }
}

std::string_view FlightErrorText(FlightError error) {
  switch (error) {
    case FlightError::None: return "";
    case FlightError::InfoLength: return "E205 Bad flight info block length";
    case FlightError::KeyLength: return "E205 Bad key track position block length";
    case FlightError::Latitude: return "E205 Latitude outside valid range";
    case FlightError::Longitude: return "E205 Longitude value outside valid range";
    case FlightError::MissingKey: return "E205 Missing key track position block";
    case FlightError::PositionsLength: return "E205 Bad track position block length";
    case FlightError::MissingInfo: return "E205 Missing flight info block";
    case FlightError::UnknownBlock: return "E205 Bad block type";
  }
  return "";
}

int32_t PressureAltitude(int32_t pressure) {
  const double atmospheres = std::fabs(pressure * 0.1 * 0.0009869232667160128);
  return static_cast<int32_t>(44307.69 * (1.0 - std::pow(atmospheres, 0.190284)) + 0.5);
}

TrackPoint PointFromRunning(const RunningPosition& running) {
  TrackPoint point;
  point.time = running.time + kSecondsTo2000;
  point.lat = Scaled(running.lat);
  point.lon = -Scaled(running.lon);  // the unit counts west positive
  point.gpsAlt = running.gpsAlt * 10;
  point.baroAlt = PressureAltitude(running.pressure);
  return point;
}

void FlightDecoder::Start(std::vector<TrackPoint>& points, bool b1Nav) {
  points_ = &points;
  firstIndex_ = points.size();
  b1Nav_ = b1Nav;
  infoSeen_ = false;
  keySeen_ = false;
  running_ = {};
  info_ = {};
}

FlightError FlightDecoder::Store() {
  // Deltas can walk a position off the globe just as a key block can.
  if (running_.lat < -kLatitudeLimit || running_.lat > kLatitudeLimit) return FlightError::Latitude;
  if (running_.lon < -kLongitudeLimit || running_.lon > kLongitudeLimit) return FlightError::Longitude;
  TrackPoint point = PointFromRunning(running_);
  if (PointCount() == 0) point.flags = kNewSegment;
  points_->push_back(point);
  return FlightError::None;
}

FlightError FlightDecoder::Take(uint8_t type, const std::vector<uint8_t>& d) {
  switch (type) {
    case kFlightInfoBlock:
      if (d.size() < kFlightInfoLength) return FlightError::InfoLength;
      info_.major = d[0];
      info_.minor = d[1];
      info_.serial = U32(d, 4);
      info_.competitionNumber = InfoText(d, 8, 7);
      info_.pilot = InfoText(d, 16, 14);
      info_.glider = InfoText(d, 46, b1Nav_ ? 7 : 14);
      infoSeen_ = true;
      return FlightError::None;
    case kKeyBlock:
      if (d.size() < kKeyLength) return FlightError::KeyLength;
      running_.lat = static_cast<int32_t>(U32(d, 1));
      running_.lon = static_cast<int32_t>(U32(d, 5));
      running_.gpsAlt = S16(d, 9);
      running_.pressure = S16(d, 11);
      running_.time = U32(d, 13);
      keySeen_ = true;
      return Store();
    case kPositionsBlock:
      if (!keySeen_) return FlightError::MissingKey;
      if (d.empty() || d.size() % kRecordLength != 0) return FlightError::PositionsLength;
      for (size_t at = 0; at < d.size(); at += kRecordLength) {
        running_.lat += static_cast<int8_t>(d[at + 1]);
        running_.lon += static_cast<int8_t>(d[at + 2]);
        running_.gpsAlt += static_cast<int8_t>(d[at + 3]);
        running_.pressure += static_cast<int8_t>(d[at + 4]);
        running_.time += d[at + 5];
        if (const FlightError error = Store(); error != FlightError::None) return error;
      }
      return FlightError::None;
    default: return FlightError::UnknownBlock;
  }
}

}  // namespace trelvik::flymaster
