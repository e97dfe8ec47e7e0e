#pragma once
// The hex-coded "MXP" log of XC Trainer and TopNav instruments: one header
// line, then one position line per fix, each with an XOR checksum. Pure
// functions over text lines and a line-fed decoder; no I/O.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "records/track_point.hpp"

namespace trelvik::xctrainer {

// Codes of "Decode track log sentence".
enum MxpCode : int {
  kMxpTooLongLine = 1,
  kMxpTooShortLine = 2,
  kMxpBadChecksumFormat = 3,
  kMxpBadChecksum = 4,
  kMxpBadIdentifier = 5,
  kMxpBadStartTimeEntry = 6,
  kMxpBadStartTimeValue = 7,
  kMxpBadGeodeticId = 8,
  kMxpBadTrackPositionsEntry = 9,
  kMxpBadIntervalEntry = 10,
  kMxpBadRecordNumberEntry = 11,
  kMxpBadRecordNumberSequence = 12,
  kMxpBadPositionTimeEntry = 13,
  kMxpBadPositionValueEntry = 14,
  kMxpBadHeightEntry = 15,
  kMxpMemory = 16,
  kMxpBadSerialEntry = 17,
  kMxpBadValidEntry = 18,
};

// The text of a code ("E202 Bad checksum").
std::string MxpErrorText(int code);

// Record formats (header character 33).
inline constexpr int kMxpPressureOnly = 0;
inline constexpr int kMxpGpsOnly = 1;
inline constexpr int kMxpPressureAndGps = 2;

struct MxpHeader {
  bool topNav = false;        // "@tn"; else "@xc"
  std::string version;        // firmware characters a, b, c, d
  uint32_t serial = 0;
  TrackTime start = 0;        // the header's date and time, as the instrument keeps it
  uint32_t positions = 0;     // announced
  uint32_t interval = 0;
  int format = kMxpPressureOnly;
};

// 0, or the code. `topNav` names the dialect the job expects.
[[nodiscard]] int ParseMxpHeader(std::string_view line, bool topNav, MxpHeader& header);

struct MxpPosition {
  uint32_t record = 0;
  uint32_t offset = 0;   // seconds after the start, modulo a day's wrap
  Semicircle lat = 0;
  Semicircle lon = 0;
  int32_t firstAlt = 0;   // pressure altitude, or GPS altitude in format 1
  int32_t gpsAlt = 0;     // format 2 only
};

[[nodiscard]] int ParseMxpPosition(std::string_view line, int format, MxpPosition& position);

// "Top Navigator V1.234, S/N 4660" or "XC Trainer V1.2-34, S/N 4660".
std::string MxpProductLine(const MxpHeader& header);

enum class MxpState { Header, Positions, Finished, Failed };

// Fed with complete lines (CR already removed): the header, then the
// announced positions, appended to `points`. TopNav times are local and lose
// `utcOffset`.
class MxpDecoder {
 public:
  MxpDecoder(bool topNav, int32_t utcOffset, std::vector<TrackPoint>& points)
      : topNav_(topNav), utcOffset_(utcOffset), points_(points) {}

  MxpState Line(std::string_view line);
  MxpState State() const { return state_; }
  int ErrorCode() const { return errorCode_; }
  const MxpHeader& Header() const { return header_; }
  uint32_t Received() const { return received_; }

 private:
  MxpState Fail(int code) {
    errorCode_ = code;
    return state_ = MxpState::Failed;
  }

  bool topNav_;
  int32_t utcOffset_;
  MxpState state_ = MxpState::Header;
  int errorCode_ = 0;
  MxpHeader header_;
  uint32_t received_ = 0;
  uint32_t lastRecord_ = 0;
  uint32_t lastOffset_ = 0;
  int64_t dayBase_ = 0;
  std::vector<TrackPoint>& points_;
};

// Splits received bytes into lines: CR dropped, XON/XOFF dropped (they are
// flow control inside text), a line of 100 characters or more is an error.
enum class SplitEnd { Consumed, Stopped, TooLong };

class TextLineSplitter {
 public:
  static constexpr size_t kLongestLine = 100;

  // Hands each complete line to `line` until it returns false.
  SplitEnd Feed(std::string_view bytes, const std::function<bool(std::string_view)>& line);

 private:
  std::string pending_;
};

}  // namespace trelvik::xctrainer
