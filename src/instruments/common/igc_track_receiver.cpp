#include "instruments/common/igc_track_receiver.hpp"

#include <string_view>

#include "access/serial_link.hpp"
#include "base/c_format.hpp"
#include "records/format_progress.hpp"
#include "trackfiles/igc_records.hpp"

namespace trelvik {
namespace {

// The instruments' code for each field error of the shared B-record decoder
// (index: the decoder's code). The minutes of an angle are two fields here,
// minutes and thousandths, each with its own code.
constexpr int kBRecordCodes[] = {0,   -22, -23, -20, -21, -18, -19, -15, -16, -14,
                                 -14, -17, -10, -11, -9,  -9,  -12, -7,  -7};

// The instruments' code of a field error of the shared decoder.
int BRecordCode(std::string_view record, int error) {
  if (error == 9 && IgcDigits(record, 9, 2) >= 0) return -13;
  if (error == 14 && IgcDigits(record, 18, 2) >= 0) return -8;
  return kBRecordCodes[error];
}

}  // namespace

void IgcTrackReceiver::Start(std::vector<TrackPoint>& points, std::string& raw) {
  points_ = &points;
  raw_ = &raw;
  firstIndex_ = points.size();
  status_ = {};
  length_ = 0;
  lastLength_ = 0;
  ended_ = false;
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
  if (status_.fault != IgcFault::None || ended_) return false;
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
      if (!Decode() || ended_) return false;
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
  if (status_.fault != IgcFault::None || ended_) return false;
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
  lastLength_ = length_;
  length_ = 0;
  if (!endRecord_.empty() && LastRecord() == endRecord_) ended_ = true;
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
  const int32_t day = IgcDigits(record, pos, 2);
  if (day < 0) return -4;
  if (day < 1 || day > 31) return -5;
  const int32_t month = IgcDigits(record, pos + 2, 2);
  if (month < 0) return -2;
  if (month < 1 || month > 12) return -3;
  const int32_t year = IgcDigits(record, pos + 4, 2);
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
  const IgcBRecordResult parsed = ParseIgcBRecord(r);
  if (parsed.error != 0) return BRecordCode(r, parsed.error);
  // The file reader takes the pole and the date line as our writer prints
  // them; an instrument never sends them.
  if (IgcDigits(r, 7, 2) > 89) return -16;
  if (IgcDigits(r, 15, 3) > 179) return -11;
  const uint32_t timeOfDay = parsed.record.secondsOfDay;
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
  point.lat = parsed.record.lat;
  point.lon = parsed.record.lon;
  point.gpsAlt = parsed.record.gpsAltitude * 10;
  point.baroAlt = parsed.record.pressureAltitude;
  point.aux = 0;
  points_->push_back(point);
  return 0;
}

std::string IgcFaultText(const IgcStatus& status) {
  switch (status.fault) {
    case IgcFault::BadRecordType: return CFormat("E205 Bad record type (%02X)", status.byte);
    case IgcFault::TooLong: return "E207 Too long sentence";
    case IgcFault::Format: return FormatProgress("E206 Format error %", -status.code);
    case IgcFault::None: break;
  }
  return {};
}

}  // namespace trelvik
