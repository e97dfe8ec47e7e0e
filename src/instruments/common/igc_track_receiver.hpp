#pragma once
// The IGC file an instrument sends (Flytec's $PBRIGC and $PBRTR, the DSX and
// IQ Basic downloads), decoded record by record as the bytes arrive. The bytes
// themselves are kept as they came (flow-control bytes aside) for the track
// log's raw image. The B records go through the IGC file reader's decoder;
// the record codes are the instruments' own.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/track_point.hpp"

namespace trelvik {

// Characters after the record letter that a record may have.
inline constexpr size_t kIgcRecordLimit = 81;

enum class IgcFault {
  None,
  BadRecordType,  // "E205 Bad record type (%02X)": a line starts with something not A-Z
  TooLong,        // "E207 Too long sentence"
  Format,         // "E206 Format error %": a record's negative code
};

struct IgcStatus {
  IgcFault fault = IgcFault::None;
  int code = 0;      // Format: the record decoder's code (negative)
  uint8_t byte = 0;  // BadRecordType: the byte at fault
};

// Record decoder codes.
inline constexpr int kIgcNoDate = -25;

// "E205 Bad record type (%02X)", "E207 Too long sentence", "E206 Format error %".
std::string IgcFaultText(const IgcStatus& status);

class IgcTrackReceiver {
 public:
  // Starts a track: decoded points are appended to `points` (which the job
  // keeps, so that its estimate sees them), received bytes to `raw`.
  void Start(std::vector<TrackPoint>& points, std::string& raw);
  // False once a fault has been found (Status() tells which); later bytes are ignored.
  bool Feed(std::span<const uint8_t> bytes);
  // The track ended: a last record without LF is decoded too.
  bool Finish();
  // A record (without its line end) after which the track is over, as the
  // DSX's "ZZZZ": Feed then returns false with no fault, and Ended() is true.
  void SetEndRecord(std::string_view record) { endRecord_ = record; }
  bool Ended() const { return ended_; }

  const IgcStatus& Status() const { return status_; }
  bool HasARecord() const { return hasARecord_; }
  const std::string& Maker() const { return maker_; }
  const std::string& Serial() const { return serial_; }
  int GRecords() const { return gRecords_; }
  int SkippedRecords() const { return skipped_; }  // B records cut short
  TrackTime FirstFixTime() const { return firstFix_; }
  size_t PointCount() const { return points_->size() - firstIndex_; }
  // The record decoded last (the one at fault after a Format fault), without its line end.
  std::string_view LastRecord() const { return {record_, lastLength_}; }

 private:
  bool Decode();
  int DecodeA();
  int DecodeH();
  int DecodeB();

  std::vector<TrackPoint>* points_ = nullptr;
  std::string* raw_ = nullptr;
  size_t firstIndex_ = 0;
  IgcStatus status_;
  char record_[kIgcRecordLimit + 1] = {};
  size_t length_ = 0;  // 0: at the start of a line
  size_t lastLength_ = 0;
  std::string endRecord_;
  bool ended_ = false;
  bool hasARecord_ = false;
  std::string maker_;
  std::string serial_;
  int gRecords_ = 0;
  int skipped_ = 0;
  bool hasDate_ = false;
  TrackTime date_ = 0;
  uint32_t dayOffset_ = 0;
  uint32_t previousTimeOfDay_ = 0;
  TrackTime firstFix_ = 0;
};

}  // namespace trelvik
