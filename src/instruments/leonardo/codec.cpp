// PDGF sentences, memory replies, the flight list and the memory records.
#include "instruments/leonardo/codec.hpp"

#include <bit>
#include <cstring>

#include "access/nmea.hpp"
#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "records/names.hpp"
#include "records/number_parsers.hpp"
#include "records/text_scan.hpp"

namespace trelvik::leonardo {
namespace {

constexpr std::string_view kReadName = "$PDGFRMM";
constexpr int kLongestRead = 99;

int HexDigit(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Cleaned(std::string_view field, size_t limit, bool upper) {
  std::string text(field);
  CollapseBlanks(text);
  if (text.size() > limit) text.resize(limit);
  if (upper) {
    for (char& c : text) c = ToUpper(c);
  }
  return text;
}

uint32_t U32Le(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint32_t>(d[at]) | static_cast<uint32_t>(d[at + 1]) << 8 | static_cast<uint32_t>(d[at + 2]) << 16 |
         static_cast<uint32_t>(d[at + 3]) << 24;
}
float FloatLe(std::span<const uint8_t> d, size_t at) { return std::bit_cast<float>(U32Le(d, at)); }
// The instrument stores its altitudes as signed 16-bit values.
int16_t S16Be(std::span<const uint8_t> d, size_t at) { return static_cast<int16_t>(d[at] << 8 | d[at + 1]); }
void PutFloat(uint8_t* at, float value) {
  const uint32_t bits = std::bit_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(bits >> (8 * i));
}
std::string Padded(std::string_view text, size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}
std::string Trimmed(std::span<const uint8_t> bytes) {
  std::string text(bytes.begin(), bytes.end());
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  CollapseBlanks(text);
  return text;
}

}  // namespace

IdentityLine ParseIdentityLine(std::string line, Identity& identity) {
  std::array<int, 5> offsets{};
  const int fields = CheckNmeaSentence(line, offsets);
  if (fields < 5 || NmeaField(line, offsets[0]) != "$PDGFVID") return IdentityLine::Other;
  Identity parsed;
  parsed.product = Cleaned(NmeaField(line, offsets[1]), 40, true);
  parsed.software = Cleaned(NmeaField(line, offsets[2]), 20, false);
  parsed.serial = Cleaned(NmeaField(line, offsets[3]), 20, false);
  parsed.user = Cleaned(NmeaField(line, offsets[4]), 40, false);
  if (parsed.user.empty()) return IdentityLine::NoUser;
  identity = parsed;
  return IdentityLine::Identity;
}

std::string PDGFRMM(int kind, int page, int offset, int length) {
  std::string text = CFormat("$PDGFRMM,%d,%d,%d,%d", kind, page, offset, length);
  FinishNmeaSentence(text);
  return text;
}

std::string PDGFWMM(int page, int offset, std::span<const uint8_t> bytes) {
  std::string text = CFormat("$PDGFWMM,%d,%d,%d,%d,", kWaypointMemory, page, offset, static_cast<int>(bytes.size()));
  for (const uint8_t b : bytes) text += CFormat("%02X", b);
  FinishNmeaSentence(text);
  return text;
}

int MemoryReply::Feed(uint8_t c) {
  switch (state_) {
    case 0:  // the name
      if (matched_ == 0 && c != '$') return 0;
      if (c != static_cast<uint8_t>(kReadName[matched_])) return -14;
      if (matched_ > 0) xor_ ^= c;
      if (++matched_ == kReadName.size()) state_ = 1;
      return 0;
    case 1:
      if (c != ',') return -15;
      xor_ ^= c;
      state_ = 2;
      return 0;
    case 2: {  // data digits up to "*"
      if (c == '*') {
        if (high_ >= 0) return -16;
        state_ = 3;
        return 0;
      }
      const int digit = HexDigit(c);
      if (digit < 0) return -18;
      xor_ ^= c;
      if (high_ < 0) {
        high_ = digit;
        return 0;
      }
      if (static_cast<int>(data_.size()) >= kLongestRead) return -17;
      data_.push_back(static_cast<uint8_t>(high_ << 4 | digit));
      high_ = -1;
      return 0;
    }
    case 3: {  // two checksum digits
      const int digit = HexDigit(c);
      if (digit < 0) return -19;
      checksum_ = static_cast<uint8_t>(checksum_ << 4 | digit);
      if (++sumDigits_ == 2) state_ = 4;
      return 0;
    }
    default:  // anything up to the LF
      if (c != '\n') return 0;
      if (checksum_ != xor_) return -20;
      if (static_cast<int>(data_.size()) != length_) return -21;
      return 1;
  }
}

std::string_view FlightListErrorText(FlightListError error) {
  switch (error) {
    case FlightListError::None: return "";
    case FlightListError::Sentence: return "Bad NMEA sentence";
    case FlightListError::Count: return "Bad track count format";
    case FlightListError::Format: return "Bad sentence format";
    case FlightListError::EndBeforeStart: return "End time before start time";
    case FlightListError::Checksum: return "Bad NMEA checksum";
    case FlightListError::CountMismatch: return "Number of tracks detected unequal to track count indication";
  }
  return "";
}

FlightListError ParseFlightList(std::string_view line, std::vector<Flight>& flights) {
  constexpr std::string_view kName = "$PDGFFLL,";
  constexpr size_t kEntryDigits = 28;
  flights.clear();
  if (!line.starts_with(kName)) return FlightListError::Sentence;
  size_t at = kName.size();
  const size_t comma = line.find(',', at);
  int32_t count = 0;
  if (comma == std::string_view::npos || ParseUnsignedInt(line.substr(at, comma - at), count) < 0) {
    return FlightListError::Count;
  }
  at = comma + 1;
  const size_t star = line.find('*', at);
  if (star == std::string_view::npos || (star - at) % kEntryDigits != 0 || star + 3 != line.size()) {
    return FlightListError::Format;
  }
  std::vector<uint8_t> bytes;
  for (size_t i = at; i < star; i += 2) {
    const int high = HexDigit(static_cast<uint8_t>(line[i]));
    const int low = HexDigit(static_cast<uint8_t>(line[i + 1]));
    if (high < 0 || low < 0) return FlightListError::Format;
    bytes.push_back(static_cast<uint8_t>(high << 4 | low));
  }
  const int sumHigh = HexDigit(static_cast<uint8_t>(line[star + 1]));
  const int sumLow = HexDigit(static_cast<uint8_t>(line[star + 2]));
  if (sumHigh < 0 || sumLow < 0) return FlightListError::Format;
  for (size_t e = 0; e + 14 <= bytes.size(); e += 14) {
    const std::span<const uint8_t> d(bytes.data() + e, 14);
    Flight f;
    const uint32_t start = U32Le(d, 0);
    const uint32_t end = U32Le(d, 7);
    if (end < start) return FlightListError::EndBeforeStart;
    // Times before the record epoch cannot be stored.
    if (start < kEpochOffset) return FlightListError::Format;
    f.start = start - kEpochOffset;
    f.end = end - kEpochOffset;
    f.startPage = d[4];
    f.startOffset = d[5] << 8 | d[6];
    f.endPage = d[11];
    f.endOffset = d[12] << 8 | d[13];
    flights.push_back(f);
  }
  if (NmeaChecksum(line.substr(0, star)) != (sumHigh << 4 | sumLow)) return FlightListError::Checksum;
  if (static_cast<int32_t>(flights.size()) != count) return FlightListError::CountMismatch;
  return FlightListError::None;
}

bool SlotUsed(std::span<const uint8_t> record) {
  if (record[0] == 0xFF) return false;
  return !Trimmed(record.subspan(0, 6)).empty();
}

std::optional<Waypoint> DecodeWaypoint(std::span<const uint8_t> record, TrackTime now) {
  if (!SlotUsed(record)) return std::nullopt;
  Waypoint w;
  w.lat = RadiansToSemicircle(FloatLe(record, 6));
  w.lon = RadiansToSemicircle(FloatLe(record, 10));
  w.alt = static_cast<int16_t>(record[14] | record[15] << 8);
  std::string name;
  if (CleanWaypointName(Trimmed(record.subspan(0, 6)), true, name) < 0) return std::nullopt;
  CopyToField(name, w.name);
  CopyToField(Trimmed(record.subspan(17, 16)), w.description);
  w.airport = record[16] == 1 ? 1 : 0;
  w.time = now;
  return w;
}

std::array<uint8_t, kWaypointRecord> EncodeWaypoint(const Waypoint& waypoint) {
  std::array<uint8_t, kWaypointRecord> r{};
  const std::string name = Padded(waypoint.name, 6);
  std::memcpy(r.data(), name.data(), 6);
  PutFloat(r.data() + 6, static_cast<float>(SemicircleToRadians(waypoint.lat)));
  PutFloat(r.data() + 10, static_cast<float>(SemicircleToRadians(waypoint.lon)));
  const int32_t alt = waypoint.alt < -32768 ? -32768 : (waypoint.alt > 32767 ? 32767 : waypoint.alt);
  r[14] = static_cast<uint8_t>(alt & 0xFF);
  r[15] = static_cast<uint8_t>(alt >> 8 & 0xFF);
  r[16] = waypoint.airport != 0 ? 1 : 3;
  const std::string longName = Padded(waypoint.description, 16);
  std::memcpy(r.data() + 17, longName.data(), 16);
  return r;
}

TrackPoint DecodeTrackRecord(std::span<const uint8_t> record) {
  TrackPoint p;
  p.flags = record[0] & kNewSegment;
  p.time = U32Le(record, 1) - kEpochOffset;
  p.lat = RadiansToSemicircle(FloatLe(record, 5));
  p.lon = RadiansToSemicircle(FloatLe(record, 9));
  p.baroAlt = S16Be(record, 13);
  p.gpsAlt = S16Be(record, 21) * 10;
  return p;
}

int RecordsOnPage(int page, int offset, int endPage, int endOffset) {
  if (page == endPage) return endOffset >= offset ? (endOffset - offset + 1) / kTrackRecord : 0;
  return (kPageSize - offset) / kTrackRecord;
}

}  // namespace trelvik::leonardo
