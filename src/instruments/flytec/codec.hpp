#pragma once
// Flytec/Braeuniger "$PBR" protocol without I/O: the requests, the product and
// track-list lines, the model rules, the waypoint sentences in both directions
// and the framing of replies. Every parser is fed one byte at a time and
// answers with the protocol's own negative codes.
#include "access/serial_link.hpp"
#include "instruments/common/line_collector.hpp"
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/track_time.hpp"
#include "records/waypoint.hpp"

namespace trelvik::flytec {


// Requests begin with XON so that an instrument that stopped us wakes up.
inline constexpr std::string_view kPBRSNP = "\x11$PBRSNP,*21\r\n";
inline constexpr std::string_view kPBRTL = "\x11$PBRTL,*74\r\n";
inline constexpr std::string_view kPBRIGC = "\x11$PBRIGC,*21\r\n";
inline constexpr std::string_view kPBRWPS = "\x11$PBRWPS,*38\r\n";
inline constexpr std::string_view kPBRCTR = "\x11$PBRCTR,*29\r\n";
// XON, "$PBRTR,nn", checksum: send track nn (0..99) as an IGC file.
std::string PBRTR(int index);

// ---- $PBRSNP -----------------------------------------------------------------

struct ProductData {
  std::string model;     // collapsed, upper case, at most 16
  std::string pilot;     // collapsed, at most 40
  std::string serial;    // collapsed, at most 7
  std::string software;  // collapsed, at most 6
};

enum class ProductLine {
  Product,    // a valid $PBRSNP line with a pilot name
  NoPilot,    // a valid $PBRSNP line whose pilot name is empty
  OtherLine,  // anything else: the pass ends
};
// `line` without CR LF; it is split in place.
ProductLine ParseProductLine(std::string line, ProductData& product);

// The model table: the first of "5020" ... "GALILEO" found in the model text.
std::string ModelName(std::string_view model);
// Whether the model, with this software version, answers $PBRTL.
bool CanListTracks(std::string_view model, std::string_view software);

// ---- $PBRTL -------------------------------------------------------------------

enum class TrackListError {
  None,
  ParseError,   // "NMEA line parse error"
  Identifier,   // "Bad NMEA identifier"
  Count,        // "Bad track count parameter"
  Index,        // "Bad track index parameter"
  Date,         // "Bad track date parameter"
  Time,         // "Bad track time parameter"
  Duration,     // "Bad track duration parameter"
};
std::string_view TrackListErrorText(TrackListError error);

struct TrackListLine {
  int32_t count = 0;
  int32_t index = 0;
  TrackTime start = 0;
  uint32_t duration = 0;  // seconds
};
// `line` without CR LF; it is split in place.
TrackListError ParseTrackListLine(std::string line, TrackListLine& entry);

// ---- $PBRWPS --------------------------------------------------------------------

struct WaypointSentence {
  double lat = 0;  // radians
  double lon = 0;
  std::string id;    // at most 6
  std::string name;  // at most 17
  int32_t alt = 0;
};

// The state table of a waypoint sentence, fed byte by byte.
class WaypointSentenceParser {
 public:
  // 0 while the sentence goes on, 1 when `c` completed one (Sentence() holds
  // it), or a negative code; after 1 or an error the parser starts afresh.
  int Feed(uint8_t c);
  const WaypointSentence& Sentence() const { return sentence_; }

 private:
  int Fail(int code);
  void Restart();

  int state_ = 0;
  size_t matched_ = 0;
  uint8_t xor_ = 0;
  uint8_t checksum_ = 0;
  bool negative_ = false;
  int32_t value_ = 0;
  double fraction_ = 0;
  double weight_ = 0.1;
  int altDigits_ = 0;
  WaypointSentence current_;
  WaypointSentence sentence_;
};

// The stored waypoint of a received sentence (time = `now`).
Waypoint WaypointFromSentence(const WaypointSentence& sentence, TrackTime now);

// How the upload command fills `description` before the job runs.
enum class WaypointNaming { OnlyName, OnlyId, IdAndName };
void ApplyWaypointNaming(std::vector<Waypoint>& waypoints, WaypointNaming naming);

// "$PBRWPR,..." with checksum and CR LF for one waypoint.
std::string PBRWPR(const Waypoint& waypoint);

// ---- framed replies ($PBRANS, $PBRCTR) --------------------------------------------

// "$" ... "*" hh CR LF, at most 81 characters before the "*". Framing codes
// (negative): 1 too long, 2 and 3 bad hex digit, 4 missing CR, 6 missing LF,
// 5 checksum mismatch.
class SentenceFramer {
 public:
  // 0 while framing, 1 when a sentence is complete (Sentence() holds it from
  // the "$" up to the "*", exclusive), or a negative code (then afresh).
  int Feed(uint8_t c);
  const std::string& Sentence() const { return sentence_; }

 private:
  enum class State { Idle, Body, Hex1, Hex2, Cr, Lf };
  int Fail(int code);
  State state_ = State::Idle;
  std::string sentence_;
  uint8_t xor_ = 0;
  uint8_t checksum_ = 0;
};

// The status character of a "$PBRANS" sentence from the framer, or 0 when
// the sentence is something else.
char AckStatus(std::string_view sentence);
// "CTR transfer ok" for '1', the failure text otherwise.
std::string_view AckStatusText(char status);

// Cuts or pads `text` with blanks to exactly `width` bytes, never cutting a
// UTF-8 character in two; the sentence's separators become blanks.
std::string FixedWidth(std::string_view text, size_t width);

}  // namespace trelvik::flytec
