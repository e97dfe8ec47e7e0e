#include "instruments/graviter/codec.hpp"

#include <bit>
#include <cmath>
#include <cstring>

#include "base/c_format.hpp"
#include "geo/angles.hpp"

namespace trelvik::graviter {
namespace {

constexpr uint32_t kRingFirst = 1700;   // the track area is a ring:
constexpr uint32_t kRingLast = 131071;  // after this index comes kRingFirst
constexpr uint32_t kRingSize = kRingLast - kRingFirst + 1;
constexpr uint32_t kNoTrack = 0xFFFFFF;
constexpr uint32_t kImageStart = kReplyStart + 1;
constexpr size_t kFieldLimit = 20;
constexpr size_t kShortestReply = 21;
constexpr uint32_t kNameAddress = 208;
constexpr double kPi = 3.14159265358979323846;

uint32_t RingNext(uint32_t index) { return index == kRingLast ? kRingFirst : index + 1; }
uint32_t RingDistance(uint32_t from, uint32_t to) { return to >= from ? to - from : kRingSize - (from - to); }
bool InRing(uint32_t index) { return index >= kRingFirst && index <= kRingLast; }

// The bytes of one track: from its start up to the next track, and never a
// byte that did not arrive.
class TrackBytes {
 public:
  TrackBytes(std::span<const uint8_t> image, uint32_t start, uint32_t end)
      : image_(image), pos_(start), left_(end == start ? kRingSize : RingDistance(start, end)) {}

  bool Next(uint8_t& byte) {
    if (left_ == 0 || pos_ < kImageStart || pos_ - kImageStart >= image_.size()) return false;
    byte = image_[pos_ - kImageStart];
    pos_ = RingNext(pos_);
    --left_;
    return true;
  }
  bool Next24(uint32_t& value) {
    uint8_t a = 0, b = 0, c = 0;
    if (!Next(a) || !Next(b) || !Next(c)) return false;
    value = static_cast<uint32_t>(a) << 16 | static_cast<uint32_t>(b) << 8 | c;
    return true;
  }

 private:
  std::span<const uint8_t> image_;
  uint32_t pos_;
  uint32_t left_;
};

// Bit fields, least significant bit first, from consecutive bytes.
class BitReader {
 public:
  explicit BitReader(TrackBytes& bytes) : bytes_(bytes) {}
  // Points begin on a byte boundary.
  void Align() { bitsLeft_ = 0; }
  bool Read(int width, uint32_t& value) {
    value = 0;
    for (int i = 0; i < width; ++i) {
      if (bitsLeft_ == 0) {
        if (!bytes_.Next(byte_)) return false;
        bitsLeft_ = 8;
      }
      value |= static_cast<uint32_t>(byte_ & 1u) << i;
      byte_ >>= 1;
      --bitsLeft_;
    }
    return true;
  }

 private:
  TrackBytes& bytes_;
  uint8_t byte_ = 0;
  int bitsLeft_ = 0;
};

// The running values of one track.
struct Running {
  double alt = 0;
  double v2 = 0, v3 = 0, v4 = 0, v5 = 0;
  double time = 0;
  double lat = 0;
  double lon = 0;
};

// One value: absolute with `absWidth` bits when `absolute`, else a change of
// `deltaWidth` bits; `negative` negates either. 0, or the code of the field.
int ReadValue(BitReader& bits, uint32_t flags, uint32_t absBit, int absWidth, int deltaWidth, uint32_t signBit,
              double scale, bool floatAbs, int code, double& value) {
  uint32_t raw = 0;
  const bool absolute = (flags & absBit) != 0;
  if (!bits.Read(absolute ? absWidth : deltaWidth, raw)) return absolute ? code : code + 1;
  const bool negative = signBit != 0 && (flags & signBit) != 0;
  if (absolute) {
    const double v = floatAbs ? static_cast<double>(std::bit_cast<float>(raw)) : static_cast<double>(raw);
    value = negative ? -v : v;
  } else {
    const double change = raw * scale;
    value = negative ? value - change : value + change;
  }
  return 0;
}

int ReadPoint(BitReader& bits, Running& r) {
  bits.Align();
  uint32_t flags = 0;
  if (!bits.Read(10, flags)) return 20;
  if ((flags & 0x200) != 0) {
    uint32_t more = 0;
    if (!bits.Read(8, more)) return 21;
    flags += more * 1024;
  }
  int code = ReadValue(bits, flags, 0x1, 16, 3, 0x10, 1, false, 22, r.alt);
  if (code == 0) code = ReadValue(bits, flags, 0x2, 8, 4, 0x20, 1, false, 24, r.v2);
  if (code == 0) code = ReadValue(bits, flags, 0x4, 8, 3, 0x40, 1, false, 26, r.v3);
  if (code == 0) code = ReadValue(bits, flags, 0x8, 6, 2, 0x80, 1, false, 28, r.v4);
  // The time of day only ever moves on.
  if (code == 0) code = ReadValue(bits, flags, 0x100, 17, 3, 0, 1, false, 30, r.time);
  if (code == 0 && (flags & 0x200) != 0) code = ReadValue(bits, flags, 0x800, 8, 3, 0x4000, 1, false, 32, r.v5);
  if (code == 0) code = ReadValue(bits, flags, 0x1000, 32, 7, 0x8000, 1e-7, true, 34, r.lat);
  if (code == 0) code = ReadValue(bits, flags, 0x2000, 32, 7, 0x10000, 1e-7, true, 36, r.lon);
  return code;
}

int ReadHeader(TrackBytes& bytes, TrackHeader& h) {
  uint8_t b[10];
  for (uint8_t& byte : b) {
    if (!bytes.Next(byte)) return 11;
  }
  h.day = b[0];
  h.month = b[1];
  h.year = 2000 + b[2];
  h.startHour = b[3];
  h.startMinute = b[4];
  h.type = b[7];
  h.count = b[8] << 8 | b[9];
  if (b[0] < 1 || b[0] > 31) return 12;
  if (b[1] < 1 || b[1] > 12) return 13;
  if (b[2] > 99) return 14;
  if (b[3] > 23) return 15;
  if (b[4] > 59) return 16;
  if (b[5] > 23) return 17;
  if (b[6] > 59) return 18;
  return 0;
}

bool SamePoint(const TrackPoint& a, const TrackPoint& b) {
  return a.time == b.time && a.lat == b.lat && a.lon == b.lon && a.flags == b.flags;
}

}  // namespace

bool IdentityParser::Feed(uint8_t c) {
  if (c == '\r') return false;
  if (c == '\n') {
    const size_t fields = field_ + (inField_ ? 1 : 0);
    field_ = 0;
    inField_ = false;
    clearPending_ = true;
    return fields >= 4;
  }
  if (clearPending_) {
    for (std::string& f : fields_) f.clear();
    clearPending_ = false;
  }
  if (c == ' ') {
    if (inField_) ++field_;
    inField_ = false;
    return false;
  }
  inField_ = true;
  if (field_ < fields_.size() && fields_[field_].size() < kFieldLimit) fields_[field_] += static_cast<char>(c);
  return false;
}

std::string NameByteCommand(size_t index, uint8_t value) {
  return CFormat("W%06u%03u", static_cast<unsigned>(kNameAddress + index), static_cast<unsigned>(value));
}

int DecodeImage(std::span<const uint8_t> reply, std::vector<TrackPoint>& points, const EmptyTrackNotice& notice) {
  const size_t n = reply.size();
  if (n < kShortestReply || reply[0] != 'y') return 1;
  if (reply[n - 4] != '*' || reply[n - 2] != '\r' || reply[n - 1] != '\n') return 2;
  const std::span<const uint8_t> image = reply.subspan(1, n - 5);
  uint8_t sum = 0;
  for (const uint8_t b : image) sum ^= b;
  if (sum != reply[n - 3]) return 3;
  const uint32_t first = static_cast<uint32_t>(image[0]) << 16 | static_cast<uint32_t>(image[1]) << 8 | image[2];
  if (first == kNoTrack) return 0;
  if (!InRing(first)) return 4;
  std::vector<bool> visited(kRingLast + 1, false);
  uint32_t track = first;
  for (;;) {
    visited[track] = true;
    // The next track's start ends this one; the last one may run up to the
    // oldest track, where the ring was last written.
    uint32_t next = kNoTrack;
    {
      TrackBytes peek(image, track, track);
      if (!peek.Next24(next)) return 11;
    }
    if (next != kNoTrack && (!InRing(next) || visited[next])) return 10;
    TrackBytes bytes(image, track, next == kNoTrack ? first : next);
    uint32_t ignored = 0;
    (void)bytes.Next24(ignored);
    TrackHeader header;
    if (const int code = ReadHeader(bytes, header); code != 0) return code;
    SystemTime date;
    date.year = static_cast<uint16_t>(header.year);
    date.month = static_cast<uint16_t>(header.month);
    date.day = static_cast<uint16_t>(header.day);
    const TrackTime dayStart = TrackTimeFromDate(date);
    size_t stored = 0;
    if (header.type == 3) {
      BitReader bits(bytes);
      Running running;
      for (int k = 0; k < header.count; ++k) {
        if (const int code = ReadPoint(bits, running); code != 0) return code;
        // An absolute position is an IEEE single as stored: one that is no
        // angle at all is not a position (and has no Semicircle value).
        if (!(std::fabs(running.lat) < kPi) || !(std::fabs(running.lon) < kPi)) continue;
        TrackPoint point;
        point.flags = stored == 0 ? kNewSegment : 0;
        point.time = dayStart + static_cast<TrackTime>(running.time);
        point.lat = RadiansToSemicircle(running.lat);
        point.lon = RadiansToSemicircle(running.lon);
        point.gpsAlt = static_cast<int32_t>(running.alt) * 10;
        if (!points.empty() && SamePoint(points.back(), point)) continue;
        points.push_back(point);
        ++stored;
      }
    }
    if (stored == 0 && notice) notice(header);
    if (next == kNoTrack) return 0;
    track = next;
  }
}

}  // namespace trelvik::graviter
