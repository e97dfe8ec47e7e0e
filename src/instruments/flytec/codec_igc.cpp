#include "instruments/flytec/codec_igc.hpp"

#include <string_view>

#include "geo/angles.hpp"
#include "instruments/flytec/codec.hpp"
#include "records/number_parsers.hpp"
#include "trackfiles/igc_records.hpp"

namespace trelvik::flytec {
namespace {

constexpr double kRadiansPerDegree = 0.01745329251994;
constexpr double kRadiansPerMinute = 0.0002908882086657;
constexpr double kRadiansPerMilliMinute = 2.908882086657e-7;

// `count` digits at `pos`, or -1.
int32_t Digits(std::string_view text, size_t pos, size_t count) {
  if (pos + count > text.size()) return -1;
  int32_t value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

void IgcTrackReceiver::Start(std::vector<TrackPoint>& points, std::string& raw) {
  points_ = &points;
  raw_ = &raw;
  firstIndex_ = points.size();
  status_ = {};
  length_ = 0;
  hasARecord_ = false;
  maker_.clear();
  serial_.clear();
  gRecords_ = 0;
  skipped_ = 0;
  hasDate_ = false;
  date_ = 0;
  dayOffset_ = 0;
  previousTimeOfDay_ = 0;
  firstFix_ = 0;
}

bool IgcTrackReceiver::Feed(std::span<const uint8_t> bytes) {
  if (status_.fault != IgcFault::None) return false;
  for (const uint8_t c : bytes) {
    if (IsFlowControl(c)) continue;
    raw_->push_back(static_cast<char>(c));
    if (length_ == 0) {
      if (c == '\n' || c == '\r') continue;
      if (c < 'A' || c > 'Z') {
        status_ = {IgcFault::BadRecordType, 0, c};
        return false;
      }
      record_[length_++] = static_cast<char>(c);
      continue;
    }
    if (c == '\r') continue;
    if (c == '\n') {
      if (!Decode()) return false;
      continue;
    }
    if (length_ > kIgcRecordLimit) {
      status_ = {IgcFault::TooLong, 0, 0};
      return false;
    }
    record_[length_++] = static_cast<char>(c);
  }
  return true;
}

bool IgcTrackReceiver::Finish() {
  if (status_.fault != IgcFault::None) return false;
  return length_ == 0 || Decode();
}

bool IgcTrackReceiver::Decode() {
  int code = 0;
  switch (record_[0]) {
    case 'A': code = DecodeA(); break;
    case 'H': code = DecodeH(); break;
    case 'B': code = DecodeB(); break;
    case 'G': ++gRecords_; break;
    default: break;
  }
  length_ = 0;
  if (code < 0) {
    status_ = {IgcFault::Format, code, 0};
    return false;
  }
  return true;
}

int IgcTrackReceiver::DecodeA() {
  const std::string_view record(record_, length_);
  if (record.size() < 7) return -28;
  for (size_t i = 1; i <= 6; ++i) {
    if (!IsIgcAlphaNumeric(record[i])) return -29;
  }
  hasARecord_ = true;
  maker_.assign(record.substr(1, 3));
  serial_.assign(record.substr(4, 3));
  return 0;
}

int IgcTrackReceiver::DecodeH() {
  const std::string_view record(record_, length_);
  if (record.size() < 11 || !record.starts_with("HFDTE")) return 0;
  // The long form "HFDTEDATE:DDMMYY[,NN]" carries the same digits after its keyword.
  size_t pos = 5;
  for (const std::string_view keyword : {std::string_view("DATE:"), std::string_view(" DATE:")}) {
    if (record.substr(5).starts_with(keyword)) {
      pos += keyword.size();
      break;
    }
  }
  const int32_t day = Digits(record, pos, 2);
  if (day < 0) return -4;
  if (day < 1 || day > 31) return -5;
  const int32_t month = Digits(record, pos + 2, 2);
  if (month < 0) return -2;
  if (month < 1 || month > 12) return -3;
  const int32_t year = Digits(record, pos + 4, 2);
  if (year < 0) return -1;
  SystemTime when;
  when.year = static_cast<uint16_t>(2000 + year);
  when.month = static_cast<uint16_t>(month);
  when.day = static_cast<uint16_t>(day);
  const TrackTime date = TrackTimeFromDate(when);
  // Files that carry the date in both forms name it twice.
  if (hasDate_ && date == date_) return 0;
  hasDate_ = true;
  date_ = date;
  dayOffset_ = 0;
  previousTimeOfDay_ = 0;
  return 0;
}

int IgcTrackReceiver::DecodeB() {
  const std::string_view r(record_, length_);
  if (r.size() < kIgcBRecordLength) {
    ++skipped_;  // cut off by the instrument; the raw image keeps it
    return 0;
  }
  const int32_t hours = Digits(r, 1, 2);
  if (hours < 0) return -22;
  if (hours > 23) return -23;
  const int32_t minutes = Digits(r, 3, 2);
  if (minutes < 0) return -20;
  if (minutes > 59) return -21;
  const int32_t seconds = Digits(r, 5, 2);
  if (seconds < 0) return -18;
  if (seconds > 59) return -19;
  const int32_t latDegrees = Digits(r, 7, 2);
  if (latDegrees < 0) return -15;
  if (latDegrees > 89) return -16;
  const int32_t latMinutes = Digits(r, 9, 2);
  if (latMinutes < 0) return -14;
  const int32_t latThousandths = Digits(r, 11, 3);
  if (latThousandths < 0) return -13;
  if (r[14] != 'N' && r[14] != 'S') return -17;
  const int32_t lonDegrees = Digits(r, 15, 3);
  if (lonDegrees < 0) return -10;
  if (lonDegrees > 179) return -11;
  const int32_t lonMinutes = Digits(r, 18, 2);
  if (lonMinutes < 0) return -9;
  const int32_t lonThousandths = Digits(r, 20, 3);
  if (lonThousandths < 0) return -8;
  if (r[23] != 'E' && r[23] != 'W') return -12;
  int32_t pressure = 0;
  int32_t gnss = 0;
  if (ParseSignedInt(r.substr(25, 5), pressure) < 0 || ParseSignedInt(r.substr(30, 5), gnss) < 0) return -7;

  const uint32_t timeOfDay = static_cast<uint32_t>(hours * 3600 + minutes * 60 + seconds);
  TrackPoint point;
  if (PointCount() == 0) {
    if (!hasDate_) return kIgcNoDate;
    point.flags = kNewSegment;
    dayOffset_ = 0;
    firstFix_ = date_ + timeOfDay;
  } else if (previousTimeOfDay_ >= timeOfDay + 3600) {
    dayOffset_ += 86400;  // the flight crossed midnight UTC
  }
  previousTimeOfDay_ = timeOfDay;
  point.time = dayOffset_ + date_ + timeOfDay;
  double lat = latDegrees * kRadiansPerDegree + latMinutes * kRadiansPerMinute + latThousandths * kRadiansPerMilliMinute;
  double lon = lonDegrees * kRadiansPerDegree + lonMinutes * kRadiansPerMinute + lonThousandths * kRadiansPerMilliMinute;
  if (r[14] == 'S') lat = -lat;
  if (r[23] == 'W') lon = -lon;
  point.lat = RadiansToSemicircle(lat);
  point.lon = RadiansToSemicircle(lon);
  point.gpsAlt = gnss * 10;
  point.baroAlt = pressure;
  point.aux = 0;
  points_->push_back(point);
  return 0;
}

}  // namespace trelvik::flytec
