#pragma once
// Flymaster protocol without I/O: the PFM sentences in both directions, the
// flight list, and the binary flight stream (framed blocks, key positions
// and their deltas). Parsers are fed bytes or whole lines and answer with the
// protocol's own codes.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/track_point.hpp"
#include "records/waypoint.hpp"

namespace trelvik::flymaster {

inline constexpr std::string_view kPBRSNP = "$PBRSNP,*21\r\n";
// The checksum of "PFMDNL,LST," is 0x56; a unit that checks it ignores any other.
inline constexpr std::string_view kPFMDNLLST = "$PFMDNL,LST,*56\r\n";
inline constexpr std::string_view kPFMWPL = "$PFMWPL,*3c\r\n";
inline constexpr std::string_view kPFMOFF = "$PFMOFF*14\r\n";

// Host answers to the flight stream.
inline constexpr uint8_t kBlockGood = 0xB1;
inline constexpr uint8_t kBlockBad = 0xB2;
inline constexpr uint8_t kBlockStop = 0xB3;

// "$" body "*hh" CR LF, the checksum in lower-case hex (upper case for uploads).
std::string PfmSentence(std::string_view body, bool upperHex = false);

// Texts the user typed that go into a sentence: the sentence's own
// delimiters (",", "*", "$") and control bytes become blanks, so a name can
// neither end a field nor forge another sentence; cut to `limit` characters
// (UTF-8, never inside one).
std::string SentenceText(std::string_view text, size_t limit);

// ---- $PBRSNP -----------------------------------------------------------------

struct ProductData {
  std::string product;  // at most 40
  std::string serial;
  std::string software;  // at most 10
};
// A checked $PBRSNP line (without CR LF) with at least five fields.
std::optional<ProductData> ParseProductLine(std::string line);
inline bool IsB1Nav(const ProductData& product) { return product.product == "B1NAV"; }
inline bool HasOldWaypointAck(const ProductData& product) { return product.software == "1.14"; }

// ---- $PFMLST -----------------------------------------------------------------

enum class TrackListError { None, TooFew, Identifier, Count, Index, Date, Time, Duration };
std::string_view TrackListErrorText(TrackListError error);

struct TrackListLine {
  int32_t count = 0;
  int32_t index = 0;
  TrackTime start = 0;
  uint32_t duration = 0;  // seconds
};
// `line` without CR LF.
TrackListError ParseTrackListLine(std::string line, TrackListLine& entry);

// "$PFMDNL,YYMMDDhhmmss,*hh" CR LF: the flight that started at `start`.
std::string PFMDNL(TrackTime start);

// ---- the flight stream -----------------------------------------------------------

inline constexpr uint8_t kFlightInfoBlock = 0xA0;
inline constexpr uint8_t kKeyBlock = 0xA1;
inline constexpr uint8_t kPositionsBlock = 0xA2;
inline constexpr uint8_t kEndBlock = 0xA3;

// The block frame: type, type again, length, data, XOR of length and data
// (the end block is its two type bytes alone).
class BlockReader {
 public:
  enum class Event { None, Good, Bad, End };
  Event Feed(uint8_t c);
  uint8_t Type() const { return type_; }
  const std::vector<uint8_t>& Data() const { return data_; }

 private:
  int state_ = 0;
  uint8_t type_ = 0;
  uint8_t length_ = 0;
  uint8_t checksum_ = 0;
  std::vector<uint8_t> data_;
};

struct FlightInfo {
  int major = 0;
  int minor = 0;
  uint32_t serial = 0;
  std::string competitionNumber;  // at most 7
  std::string pilot;              // at most 14
  std::string glider;             // at most 14 (7 on a B1 NAV)
};

enum class FlightError {
  None,
  InfoLength,       // "E205 Bad flight info block length"
  KeyLength,        // "E205 Bad key track position block length"
  Latitude,         // "E205 Latitude outside valid range"
  Longitude,        // "E205 Longitude value outside valid range"
  MissingKey,       // "E205 Missing key track position block"
  PositionsLength,  // "E205 Bad track position block length"
  MissingInfo,      // "E205 Missing flight info block"
  UnknownBlock,     // "E205 Bad block type" (a type the frame cannot carry)
};
std::string_view FlightErrorText(FlightError error);

// The unit's running values, as the key block sets them and deltas move them.
struct RunningPosition {
  int32_t lat = 0;       // 1/60000 degree, north positive
  int32_t lon = 0;       // 1/60000 degree, west positive
  int32_t gpsAlt = 0;    // metres
  int32_t pressure = 0;  // tenths of a hectopascal
  uint32_t time = 0;     // seconds since 2000-01-01 00:00 UTC
};
TrackPoint PointFromRunning(const RunningPosition& running);
// Whole metres from tenths of a hectopascal.
int32_t PressureAltitude(int32_t pressure);

// Decodes one flight's good blocks into points. Points are appended to the
// vector given at Start; the first point of the flight starts a segment.
class FlightDecoder {
 public:
  void Start(std::vector<TrackPoint>& points, bool b1Nav);
  // FlightError::None when the block was taken; positions appended.
  FlightError Take(uint8_t type, const std::vector<uint8_t>& data);
  // At the end block.
  FlightError Finish() const { return infoSeen_ ? FlightError::None : FlightError::MissingInfo; }
  const FlightInfo& Info() const { return info_; }
  size_t PointCount() const { return points_->size() - firstIndex_; }

 private:
  FlightError Store();
  std::vector<TrackPoint>* points_ = nullptr;
  size_t firstIndex_ = 0;
  bool b1Nav_ = false;
  bool infoSeen_ = false;
  bool keySeen_ = false;
  RunningPosition running_;
  FlightInfo info_;
};

// ---- waypoints ---------------------------------------------------------------------

// Lines that begin with a fixed prefix ("$PFMWPL,", "$PFMWPR,"): the prefix is
// matched character by character (a mismatch restarts the match), then
// characters up to CR are kept (at most `limit` in all), complete at LF.
class PrefixLineCollector {
 public:
  PrefixLineCollector(std::string_view prefix, size_t limit) : prefix_(prefix), limit_(limit) {}
  bool Feed(uint8_t c);
  const std::string& Line() const { return line_; }

 private:
  std::string_view prefix_;
  size_t limit_;
  size_t matched_ = 0;
  bool awaitLf_ = false;
  std::string line_;
};

// Checks "$...*hh" (the line without CR LF) and splits its fields: 0, or the
// sentence codes 1 (checksum character not hex), 2 (characters after the
// checksum), 3 (checksum mismatch), 4 (no "*").
int CheckSentence(std::string_view line, std::vector<std::string_view>& fields);

struct WaypointLine {
  double lat = 0;    // degrees, north positive
  double lon = 0;    // degrees, east positive
  double alt = 0;    // metres
  std::string name;  // trimmed
  bool landing = false;
};
// A "$PFMWPL," line: 0, or the format error code 1..11.
int ParseWaypointLine(std::string_view line, WaypointLine& waypoint);
Waypoint WaypointFromLine(const WaypointLine& line, TrackTime now);

// "$PFMWPR,..." for one waypoint; `sentName` gets the 16 characters sent.
std::string PFMWPR(const Waypoint& waypoint, std::string& sentName);
// The acknowledgement of an upload: 0, or its error type 1..4 (sentence
// codes), 5 too few fields, 6 field 1 not "ACK", 7 the name does not match.
int CheckWaypointAck(std::string_view line, std::string_view sentName, bool oldForm);

// ---- settings ------------------------------------------------------------------------

enum class SettingsCommand { PilotData = 0, AltitudeAlarm = 1, Identifiers = 2 };
// The sentence of a settings command from its texts: pilot data (pilot,
// competition number, glider brand, glider model), altitude alarm (metres),
// identifiers (competition id, CIVL id, pilot). Empty when the texts do not fit.
std::string SettingsSentence(SettingsCommand command, const std::vector<std::string>& texts);

}  // namespace trelvik::flymaster
