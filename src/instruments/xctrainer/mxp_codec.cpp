#include "instruments/xctrainer/mxp_codec.hpp"

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "records/track_time.hpp"

namespace trelvik::xctrainer {
namespace {

constexpr double kSemicirclesPerUnit = 497.1026962963;  // 1/24000 degree
constexpr size_t kHeaderLength = 38;
constexpr size_t kHeaderSummed = 36;

bool IsDecimal(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDecimal(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

bool HexField(std::string_view text, size_t from, size_t count, uint32_t& value) {
  value = 0;
  for (size_t i = from; i < from + count; ++i) {
    const char c = text[i];
    if (!IsHex(c)) return false;
    value = value * 16 + static_cast<uint32_t>(IsDecimal(c) ? c - '0' : (c | 0x20) - 'a' + 10);
  }
  return true;
}

bool DecimalField(std::string_view text, size_t from, size_t count, int& value) {
  value = 0;
  for (size_t i = from; i < from + count; ++i) {
    if (!IsDecimal(text[i])) return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

int32_t Signed24(uint32_t value) { return static_cast<int32_t>(value << 8) >> 8; }
int32_t Signed16(uint32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

// 0, or the checksum code: XOR of characters 0..n-1 written at n..n+1.
int CheckSum(std::string_view line, size_t n) {
  uint32_t written = 0;
  if (!HexField(line, n, 2, written)) return kMxpBadChecksumFormat;
  uint8_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum = static_cast<uint8_t>(sum ^ static_cast<uint8_t>(line[i]));
  return sum == written ? 0 : kMxpBadChecksum;
}

}  // namespace

std::string MxpErrorText(int code) {
  static constexpr const char* kTexts[] = {
      "E202 Too long line",        "E202 Too short line",           "E202 Bad checksum format",
      "E202 Bad checksum",         "E202 Bad identifier",           "E202 Bad start time entry",
      "E202 Bad start time value", "E202 Bad geodetic ID",          "E202 Bad track positions entry",
      "E202 Bad interval entry",   "E202 Bad record number entry",  "E202 Bad record number sequence",
      "E202 Bad position time entry", "E202 Bad position value entry", "E202 Bad height entry",
      "E202 Memory allocation error", "E202 Bad S/N entry",         "E202 Bad GPS pos. valid entry",
  };
  if (code < 1 || code > static_cast<int>(std::size(kTexts))) return "E202 Unknown error";
  return kTexts[code - 1];
}

int ParseMxpHeader(std::string_view line, bool topNav, MxpHeader& header) {
  if (line.size() < kHeaderLength) return kMxpTooShortLine;
  if (const int sum = CheckSum(line, kHeaderSummed); sum != 0) return sum;
  if (line.substr(0, 3) != (topNav ? "@tn" : "@xc")) return kMxpBadIdentifier;
  header.topNav = topNav;
  header.version = std::string(line.substr(3, 4));
  if (!HexField(line, 7, 4, header.serial)) return kMxpBadSerialEntry;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!DecimalField(line, 13, 2, year) || !DecimalField(line, 15, 2, month) || !DecimalField(line, 17, 2, day) ||
      !DecimalField(line, 19, 2, hour) || !DecimalField(line, 21, 2, minute) || !DecimalField(line, 23, 2, second)) {
    return kMxpBadStartTimeEntry;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 24 || minute > 59 || second > 59) {
    return kMxpBadStartTimeValue;
  }
  SystemTime date;
  date.year = static_cast<uint16_t>(2000 + year);
  date.month = static_cast<uint16_t>(month);
  date.day = static_cast<uint16_t>(day);
  date.hour = static_cast<uint16_t>(hour);
  date.minute = static_cast<uint16_t>(minute);
  date.second = static_cast<uint16_t>(second);
  header.start = TrackTimeFromDate(date);
  uint32_t datum = 0;
  if (!HexField(line, 25, 2, datum) || datum != 1) return kMxpBadGeodeticId;
  if (!HexField(line, 27, 4, header.positions)) return kMxpBadTrackPositionsEntry;
  if (!HexField(line, 31, 2, header.interval)) return kMxpBadIntervalEntry;
  header.format = line[33] == '1' ? kMxpGpsOnly : line[33] == '2' ? kMxpPressureAndGps : kMxpPressureOnly;
  return 0;
}

int ParseMxpPosition(std::string_view line, int format, MxpPosition& position) {
  const size_t summed = format == kMxpPressureAndGps ? 30 : 26;
  if (line.size() < summed + 2) return kMxpTooShortLine;
  if (const int sum = CheckSum(line, summed); sum != 0) return sum;
  if (!HexField(line, 0, 4, position.record)) return kMxpBadRecordNumberEntry;
  if (!HexField(line, 4, 4, position.offset)) return kMxpBadPositionTimeEntry;
  uint32_t value = 0;
  if (!HexField(line, 8, 2, value)) return kMxpBadValidEntry;
  uint32_t lat = 0, lon = 0;
  if (!HexField(line, 10, 6, lat) || !HexField(line, 16, 6, lon)) return kMxpBadPositionValueEntry;
  position.lat = RoundHalfAway(Signed24(lat) * kSemicirclesPerUnit);
  position.lon = RoundHalfAway(Signed24(lon) * kSemicirclesPerUnit);
  if (!HexField(line, 22, 4, value)) return kMxpBadHeightEntry;
  position.firstAlt = Signed16(value);
  position.gpsAlt = 0;
  if (format == kMxpPressureAndGps) {
    if (!HexField(line, 26, 4, value)) return kMxpBadHeightEntry;
    position.gpsAlt = Signed16(value);
  }
  return 0;
}

std::string MxpProductLine(const MxpHeader& header) {
  const std::string& v = header.version;
  const std::string name = header.topNav ? "Top Navigator V" + v.substr(0, 1) + "." + v.substr(1)
                                         : "XC Trainer V" + v.substr(0, 1) + "." + v.substr(1, 1) + "-" + v.substr(2);
  return name + CFormat(", S/N %u", header.serial);
}

MxpState MxpDecoder::Line(std::string_view line) {
  if (state_ == MxpState::Failed || state_ == MxpState::Finished) return state_;
  if (state_ == MxpState::Header) {
    if (const int code = ParseMxpHeader(line, topNav_, header_); code != 0) return Fail(code);
    return state_ = header_.positions == 0 ? MxpState::Finished : MxpState::Positions;
  }
  MxpPosition position;
  if (const int code = ParseMxpPosition(line, header_.format, position); code != 0) return Fail(code);
  const bool first = received_ == 0;
  if (first ? position.record > 1 : position.record != lastRecord_ + 1) return Fail(kMxpBadRecordNumberSequence);
  if (!first && position.offset < lastOffset_) dayBase_ += 86400;
  lastRecord_ = position.record;
  lastOffset_ = position.offset;
  TrackPoint point;
  point.flags = first ? kNewSegment : 0;
  const int64_t time = int64_t{header_.start} + dayBase_ + position.offset - (topNav_ ? utcOffset_ : 0);
  point.time = static_cast<TrackTime>(time);
  point.lat = position.lat;
  point.lon = position.lon;
  switch (header_.format) {
    case kMxpGpsOnly: point.gpsAlt = position.firstAlt * 10; break;
    case kMxpPressureAndGps:
      point.baroAlt = position.firstAlt;
      point.gpsAlt = position.gpsAlt * 10;
      break;
    default: point.baroAlt = position.firstAlt; break;
  }
  points_.push_back(point);
  if (++received_ >= header_.positions) state_ = MxpState::Finished;
  return state_;
}

SplitEnd TextLineSplitter::Feed(std::string_view bytes, const std::function<bool(std::string_view)>& line) {
  for (const char c : bytes) {
    if (c == '\r' || c == 0x11 || c == 0x13) continue;
    if (c == '\n') {
      const bool more = line(std::string_view(pending_));
      pending_.clear();
      if (!more) return SplitEnd::Stopped;
      continue;
    }
    if (pending_.size() + 1 >= kLongestLine) return SplitEnd::TooLong;
    pending_ += c;
  }
  return SplitEnd::Consumed;
}

}  // namespace trelvik::xctrainer
