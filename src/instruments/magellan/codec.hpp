#pragma once
// Magellan "$PMGN" sentences without I/O: the fixed commands, the sentence
// receiver fed one byte at a time, and the $PMGNVER, $PMGNTRK and $PMGNWPL
// sentences, each with the protocol's own error codes.
#include <cstdint>
#include <string>
#include <string_view>

#include "records/track_point.hpp"
#include "records/waypoint.hpp"

namespace trelvik::magellan {

inline constexpr std::string_view kVersionCommand = "$PMGNCMD,VERSION*28\r\n";
inline constexpr std::string_view kTrackCommand = "$PMGNCMD,TRACK,2*23\r\n";
inline constexpr std::string_view kWaypointCommand = "$PMGNCMD,WAYPOINT*71\r\n";
inline constexpr std::string_view kStopCommand = "$PMGNCMD,STOP*6A\r\n";
inline constexpr std::string_view kEndCommand = "$PMGNCMD,END*3D\r\n";

// Reception errors of SentenceReceiver::Feed.
inline constexpr int kBadChecksumDigit = -2;  // a checksum character that is not a hex digit
inline constexpr int kBadCrOrChecksum = -3;   // no CR after the checksum, or a checksum mismatch
inline constexpr int kNoLf = -4;              // no LF after the CR

// Collects "$...*HH" CR LF sentences. Bytes outside a sentence are ignored; a
// "$" always starts a new one; a sentence longer than 100 characters before
// its "*" is dropped as noise.
class SentenceReceiver {
 public:
  // 1 when `c` completed a sentence (Sentence() holds it with its "$", without
  // "*"), 0 while more is needed, or a reception error (the receiver is then
  // ready for the next sentence).
  int Feed(uint8_t c);
  const std::string& Sentence() const { return sentence_; }

 private:
  enum class State { Idle, Body, Hex1, Hex2, Cr, Lf };
  State state_ = State::Idle;
  std::string sentence_;
  uint8_t sum_ = 0;
  uint8_t received_ = 0;
};

// The sentence's name (up to its first comma), e.g. "$PMGNTRK".
std::string_view SentenceName(std::string_view sentence);
// "$PMGNCMD,END": the instrument's end of a transfer.
bool IsEndMark(std::string_view sentence);

struct MagellanVersion {
  int32_t model = 0;
  std::string software;      // at most 40 characters
  int32_t softwareX100 = 0;  // the software version as a number x 100; 0 when not a number
  std::string product;       // at most 60 characters
};
// "$PMGNVER,model,software,product": false for any other sentence, or one
// without its three fields.
bool ParseVersion(std::string_view sentence, MagellanVersion& version);
// The product description: product, ", SW " and the software, at most 80 characters.
std::string ProductDescription(const MagellanVersion& version);

// Which models cannot send a usable track log: the E200 text, or empty.
std::string_view TrackRefusal(const MagellanVersion& version);

// One "$PMGNTRK" sentence. 0 with `point` filled (time, position, GPS
// altitude; flags and pressure altitude 0), kNoFix for a point without a
// valid fix (skipped), or the positive format error code.
inline constexpr int kNoFix = -1;
int ParseTrackSentence(std::string_view sentence, TrackPoint& point);

// One "$PMGNWPL" sentence. 0 with `waypoint` filled (position, altitude,
// name, description; time and landing flag left alone), or the positive
// format error code.
int ParseWaypointSentence(std::string_view sentence, Waypoint& waypoint);

// The "$PMGNWPL" upload sentence of one waypoint, checksum and CR LF included.
std::string WaypointSentence(const Waypoint& waypoint);

}  // namespace trelvik::magellan
