#pragma once
// The "$PMLR" command language that MLR receivers and LogIt loggers share,
// without I/O: the 16-bit-sum command sentences, the identification answer
// "$PMLR,IDGPS,01,..." and the binary frames (0x8B ... CR LF) that carry
// track points and waypoints. Both parsers are fed one byte at a time.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace trelvik::pmlr {

// Fixed commands, with their line ends.
inline constexpr std::string_view kEndOfTransfer = "$PMLR,06,00,02A9\r\n";
inline constexpr std::string_view kProductRequest = "$PMLR,26,01,01,0339\r\n";

// `text` (up to and including its last comma) followed by the 16-bit sum of
// its bytes as four upper-case hex digits and CR LF.
std::string Command(std::string_view text);

// ---- "$PMLR,IDGPS,01," answer ----------------------------------------------

struct ProductRules {
  int maxFields = 5;                                      // 4: the fourth field ends at "*"; 5: it may end at "," too
  std::array<size_t, 5> fieldLimits{40, 40, 40, 40, 40};  // characters kept of each field
};

enum class ProductStep { More, Complete, Error };

class ProductParser {
 public:
  explicit ProductParser(const ProductRules& rules) : rules_(rules) {}
  // Complete when `c` ended a sentence: Fields() then holds fields 1..5
  // (leading blanks skipped, absent ones empty) and ChecksumMatches() tells
  // whether the received XOR was right. Error for a line end inside the
  // fields, a bad hex digit or a missing CR. Both start the parser afresh.
  ProductStep Feed(uint8_t c);
  const std::array<std::string, 5>& Fields() const { return fields_; }
  bool ChecksumMatches() const { return checksum_ == xor_; }

 private:
  enum class State { Search, Prefix, Field, Hex1, Hex2, Cr, Last };
  ProductStep Fail();
  void Restart();

  ProductRules rules_;
  State state_ = State::Search;
  size_t matched_ = 0;
  int field_ = 0;
  uint8_t xor_ = 0;
  uint8_t checksum_ = 0;
  std::array<std::string, 5> fields_;
};

// ---- binary frames -------------------------------------------------------------

// What distinguishes the frames of one transfer.
struct FrameDialect {
  uint8_t kindLetter = 'T';  // "T" track data, "W" waypoint data
  uint8_t kindByte = 1;      // 1 with "T", 2 with "W"
  size_t entrySize = 18;     // bytes per entry
  int maxEntries = 27;       // entries a data frame may carry
  bool restartWord = false;  // "RESTART" frames exist (LogIt)
};

inline constexpr FrameDialect kMlrTrackFrames{'T', 1, 18, 27, false};
inline constexpr FrameDialect kMlrWaypointFrames{'W', 2, 22, 23, false};
inline constexpr FrameDialect kLogItTrackFrames{'T', 1, 18, 16, true};

enum class FrameKind { Start, End, Restart, Data };

// Why a frame was refused, in the order its bytes come.
enum class FrameFault {
  None,
  KindLetter,   // no "T" / "W" after the frame number
  KindByte,     // no 1 / 2 after it
  Type,         // not "D", "F", "R" or 0
  StartWord,    // "DEBUT" broken
  EndWord,      // "FIN" broken
  RestartWord,  // "RESTART" broken
  Count,        // entry count 0 or above the dialect's limit
  Checksum,     // 16-bit sum differs
  Cr,           // no CR after the checksum
  Lf,           // no LF after the CR
};

enum class FrameStep { More, Frame, Fault };

class FrameParser {
 public:
  explicit FrameParser(const FrameDialect& dialect) : dialect_(dialect) {}
  // Bytes before 0x8B are skipped. Frame when `c` completed one (Kind(),
  // Number(), Count(), Entry() describe it until the next Feed); Fault with
  // Fault() set; after either the parser waits for the next 0x8B.
  FrameStep Feed(uint8_t c);
  FrameKind Kind() const { return kind_; }
  uint8_t Number() const { return number_; }
  int Count() const { return count_; }
  std::span<const uint8_t> Entry(int index) const {
    return std::span<const uint8_t>(body_.data() + static_cast<size_t>(index) * dialect_.entrySize, dialect_.entrySize);
  }
  FrameFault Fault() const { return fault_; }

 private:
  enum class State { Search, Number, KindLetter, KindByte, Type, Word, Count, Body, Sum1, Sum2, Cr, Lf };
  FrameStep Fail(FrameFault fault);

  FrameDialect dialect_;
  State state_ = State::Search;
  uint16_t sum_ = 0;
  uint16_t received_ = 0;
  uint8_t number_ = 0;
  FrameKind kind_ = FrameKind::Data;
  std::string_view word_;
  size_t wordPos_ = 0;
  int count_ = 0;
  size_t bodyBytes_ = 0;
  FrameFault fault_ = FrameFault::None;
  std::array<uint8_t, 27 * 22> body_{};
};

// One 18-byte track entry (big-endian).
struct PointEntry {
  uint16_t number = 0;
  uint32_t time = 0;  // seconds since 1980-01-06 00:00:00
  int32_t lat = 0;    // Semicircles
  int32_t lon = 0;
  int32_t altitude = 0;  // decimetres, from 24-bit two's complement
  uint8_t flags = 0;
};
PointEntry DecodePointEntry(std::span<const uint8_t> entry);

// One 22-byte waypoint entry (big-endian).
struct WaypointEntry {
  std::string name;  // the six characters as sent
  uint32_t time = 0;
  int32_t lat = 0;
  int32_t lon = 0;
  int32_t altitude = 0;  // decimetres
  uint8_t flags = 0;
};
WaypointEntry DecodeWaypointEntry(std::span<const uint8_t> entry);

// Seconds from 1980-01-06 (the GPS epoch) to the track time base.
inline constexpr uint32_t kGpsEpochOffset = 315100800;

}  // namespace trelvik::pmlr
