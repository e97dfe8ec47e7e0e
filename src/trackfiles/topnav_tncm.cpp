#include "trackfiles/topnav_tncm.hpp"

#include "geo/angles.hpp"
#include "records/date_time_parsers.hpp"
#include "records/track_time.hpp"

namespace trelvik {
namespace {

constexpr size_t kMaxLine = 100;
constexpr size_t kMaxBlockLines = 40;
constexpr int kSecondsPerBlock = 30;
constexpr double kSemicirclesPerSixThousandth = 1988.410785185;

bool IsDecimal(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDecimal(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

bool AllOf(std::string_view text, size_t from, size_t to, bool (*test)(char)) {
  for (size_t i = from; i < to; ++i) {
    if (!test(text[i])) return false;
  }
  return true;
}

uint32_t Hex(std::string_view text, size_t from, size_t count) {
  uint32_t value = 0;
  for (size_t i = from; i < from + count; ++i) {
    const char c = text[i];
    value = value * 16 + (IsDecimal(c) ? c - '0' : (c | 0x20) - 'a' + 10);
  }
  return value;
}

int Decimal(std::string_view text, size_t from, size_t count) {
  int value = 0;
  for (size_t i = from; i < from + count; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

int32_t Signed24(uint32_t value) { return static_cast<int32_t>(value << 8) >> 8; }
int32_t Signed16(uint32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
  return line;
}

}  // namespace

int32_t TncmTimeLine(std::string_view line) {
  if (line.size() != 14 || !AllOf(line, 0, 6, IsDecimal) || !AllOf(line, 6, 10, IsHex) || !IsDecimal(line[10]) ||
      line[11] != 'A' || line[12] != 'C') {
    return -1;
  }
  const int hour = Decimal(line, 0, 2), minute = Decimal(line, 2, 2), second = Decimal(line, 4, 2);
  if (hour > 23 || minute > 59 || second > 59) return -1;
  return hour * 3600 + minute * 60 + second;
}

TncmState TncmDecoder::Feed(std::string_view bytes) {
  for (const char byte : bytes) {
    if (FeedByte(byte) != TncmState::Running) break;
  }
  return state_;
}

TncmState TncmDecoder::FeedByte(char byte) {
  if (state_ != TncmState::Running) return state_;
  if (byte == '\r') return state_;
  if (byte != '\n') {
    if (pending_.size() + 1 >= kMaxLine) {
      ++lineNumber_;
      Fail(kTncmTooLongLine);
      return state_;
    }
    pending_ += byte;
    return state_;
  }
  ++lineNumber_;
  Line(Trimmed(pending_));
  pending_.clear();
  return state_;
}

bool TncmDecoder::Header(std::string_view line) {
  if (line.size() != 78 || line.substr(0, 3) != "@TN" || !AllOf(line, 5, 9, IsHex) || !AllOf(line, 15, 29, IsDecimal) ||
      !AllOf(line, 29, 31, IsHex) || !AllOf(line, 42, 70, IsHex) || !AllOf(line, 72, 78, IsHex)) {
    return false;
  }
  const int year = 2000 + Decimal(line, 15, 2), month = Decimal(line, 17, 2), day = Decimal(line, 19, 2);
  if (!IsValidCalendarDay(year, month, day)) return false;
  date_ = TrackTimeFromDate(SystemTime{static_cast<uint16_t>(year), static_cast<uint16_t>(month), 0,
                                       static_cast<uint16_t>(day), 0, 0, 0, 0});
  serial_ = Hex(line, 5, 4);
  format_ = kTncmGpsOnly;
  if (options_.formatFromHeader) {
    format_ = line[4] == '0' ? kTncmPressureOnly : line[4] == '2' ? kTncmPressureAndGps : kTncmGpsOnly;
  }
  return true;
}

bool TncmDecoder::PositionLine(std::string_view line, TrackPoint& point) const {
  const size_t length = format_ == kTncmPressureAndGps ? 34 : 30;
  if (line.size() != length || !AllOf(line, 0, length, IsHex)) return false;
  const int32_t lat = Signed24(Hex(line, 0, 6));
  const int32_t lon = Signed24(Hex(line, 6, 6));
  if (lat < -540000 || lat > 540000 || lon < -1080000 || lon > 1080000) return false;
  point = TrackPoint{};
  point.lat = RoundHalfAway(lat * kSemicirclesPerSixThousandth);
  point.lon = RoundHalfAway(lon * kSemicirclesPerSixThousandth);
  const int32_t first = Signed16(Hex(line, 12, 4));
  switch (format_) {
    case kTncmPressureOnly: point.baroAlt = first; break;
    case kTncmGpsOnly: point.gpsAlt = first * 10; break;
    default:
      point.baroAlt = first;
      point.gpsAlt = Signed16(Hex(line, 16, 4)) * 10;
      break;
  }
  return true;
}

void TncmDecoder::Line(std::string_view line) {
  if (line.empty()) return;
  if (!sawHeader_) {
    sawHeader_ = Header(line);
    return;
  }
  const int32_t time = TncmTimeLine(line);
  if (!inBlock_) {
    if (time < 0) {
      Fail(kTncmNoTimeLine);
    } else {
      StartBlock(static_cast<uint32_t>(time));
    }
    return;
  }
  if (line == "@EOF") {
    if (CloseBlock(true)) state_ = TncmState::Finished;
    return;
  }
  if (time >= 0) {
    if (CloseBlock(false)) StartBlock(static_cast<uint32_t>(time));
    return;
  }
  if (block_.size() == kMaxBlockLines) {
    Fail(kTncmBlockTooLong);
    return;
  }
  BlockLine entry;
  entry.good = PositionLine(line, entry.point);
  block_.push_back(entry);
}

bool TncmDecoder::StartBlock(uint32_t secondsOfDay) {
  int64_t time = dayBase_ + secondsOfDay;
  if (blockTime_ >= 0) {
    if (time < blockTime_) {
      dayBase_ += 86400;
      time += 86400;
    }
    if (time - blockTime_ < kSecondsPerBlock) {
      Fail(kTncmTimeOrder);
      return false;
    }
  }
  blockTime_ = time;
  inBlock_ = true;
  block_.clear();
  return true;
}

void TncmDecoder::Place(const BlockLine& line, int second) {
  TrackPoint point = line.point;
  point.time = static_cast<TrackTime>(static_cast<int64_t>(date_) + blockTime_ + second - options_.utcOffset);
  point.flags = points_.empty() ? kNewSegment : 0;
  points_.push_back(point);
}

bool TncmDecoder::CloseBlock(bool last) {
  const size_t count = block_.size();
  size_t firstBad = 0;
  while (firstBad < count && block_[firstBad].good) ++firstBad;
  size_t afterBad = firstBad;
  while (afterBad < count && !block_[afterBad].good) ++afterBad;
  for (size_t i = afterBad; i < count; ++i) {
    if (block_[i].good) continue;
    Fail(kTncmSecondBadRun);
    return false;
  }
  if (last && firstBad < count && afterBad < count) {
    Fail(kTncmGoodAfterBadAtEnd);
    return false;
  }
  for (size_t i = 0; i < firstBad; ++i) {
    if (i >= kSecondsPerBlock) {
      Fail(kTncmLineBeyond29);
      return false;
    }
  }
  if (firstBad < count) {
    ++ignoredBlocks_;
    if (afterBad < count && count > kSecondsPerBlock) {
      Fail(kTncmTooLongWithSkip);
      return false;
    }
  }
  for (size_t i = 0; i < firstBad; ++i) Place(block_[i], static_cast<int>(i));
  // The good lines after the skipped run end at the block's last second.
  for (size_t i = afterBad; i < count; ++i) {
    Place(block_[i], kSecondsPerBlock - 1 - static_cast<int>(count - 1 - i));
  }
  block_.clear();
  ++blocksClosed_;
  return true;
}

}  // namespace trelvik
