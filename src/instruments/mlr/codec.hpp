#pragma once
// MLR receivers (and the Digifly, CPilot and CoMo instruments built on them)
// without I/O: their requests, the meaning of the identification answer, the
// track and waypoint entries of the binary frames, and the "$GPWPL" waypoint
// sentences in both directions. The framing is the shared $PMLR codec.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "instruments/common/pmlr_codec.hpp"
#include "records/track_point.hpp"
#include "records/waypoint.hpp"

namespace trelvik::mlr {

inline constexpr std::string_view kTrackRequest = "$PMLR,24,02,0101,0399\r\n";
inline constexpr std::string_view kWaypointRequest = "$PMLR,24,02,0301,039B\r\n";
inline constexpr int kSlowBaud = 4800;
inline constexpr int kFastBaud = 38400;

// Fields of the product answer: at most 40 characters each, 4 or 5 of them.
inline constexpr pmlr::ProductRules kProductRules{5, {40, 40, 40, 40, 40}};

// What the identification answer tells.
struct Product {
  std::string name;    // field 1
  std::string serial;  // field 3
  int major = 0;       // field 4: software version
  int minor = 0;
  std::string shown;      // field 5
  std::string modelName;  // "Digifly", "CPilot", "CoMo" or "MLR"
  std::string productLine;
  bool gpsTime = false;  // times come in GPS time (14 s ahead of UTC)
};
Product InterpretProduct(const std::array<std::string, 5>& fields);

// A track entry as a point; `first` for the first point of the transfer.
TrackPoint PointFromEntry(const pmlr::PointEntry& entry, bool gpsTime, bool first);
// A waypoint entry as a waypoint stamped `now`.
Waypoint WaypointFromEntry(const pmlr::WaypointEntry& entry, TrackTime now);

// ---- $GPWPL ------------------------------------------------------------------

struct WplSentence {
  double lat = 0;  // radians
  double lon = 0;
  std::string name;  // the name field as sent, at most 599 characters
};

// The state table of a $GPWPL sentence, fed byte by byte: 0 while it goes on,
// 1 when `c` completed a sentence (Sentence() holds it), or a negative code;
// after 1 or an error it starts afresh.
class WplParser {
 public:
  int Feed(uint8_t c);
  const WplSentence& Sentence() const { return sentence_; }

 private:
  int Fail(int code);
  void Restart();
  int Digit(uint8_t c, int32_t limit, int tooLarge, int other, int nextState);

  int state_ = 0;
  size_t matched_ = 0;
  uint8_t xor_ = 0;
  uint8_t checksum_ = 0;
  int32_t value_ = 0;
  double fraction_ = 0;
  double weight_ = 0.1;
  WplSentence current_;
  WplSentence sentence_;
};

// The short name and description of a received name field.
enum class WplNameError { None, BadCharacter, Missing };
struct WplName {
  std::string shortName;    // A-Z, 0-9, "-", at most 6
  std::string description;  // at most 21, trailing blanks cut
};
WplNameError SplitWplName(std::string_view field, WplName& name);

// "$GPWPL,..." with its checksum and CR LF for one waypoint.
std::string GPWPL(const Waypoint& waypoint);

}  // namespace trelvik::mlr
