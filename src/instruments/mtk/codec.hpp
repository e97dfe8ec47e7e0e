#pragma once
// MTK logger "$PMTK" protocol without I/O: the commands, the answer sentences
// and their checks, and the decoding of the log memory (64 KB sectors of
// binary records) into track points.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/track_point.hpp"

namespace trelvik::mtk {

inline constexpr std::string_view kProductRequest = "$PMTK605*31\r\n";
inline constexpr std::string_view kLogStatusRequest = "$PMTK182,2,7*3C\r\n";
inline constexpr std::string_view kLoggingOff = "$PMTK182,5*20\r\n";
inline constexpr std::string_view kMemoryUsedRequest = "$PMTK182,2,8*33\r\n";
inline constexpr std::string_view kLoggingOn = "$PMTK182,4*21\r\n";
inline constexpr std::string_view kEraseRequest = "$PMTK182,6,1*3E\r\n";

inline constexpr uint32_t kChunkSize = 256;
inline constexpr uint32_t kSectorSize = 0x10000;
inline constexpr uint32_t kLargestMemory = 0x4000000;  // 64 MB
inline constexpr uint32_t kLoggingOnBit = 2;           // of the logging status

// "$PMTK182,7,AAAAAAAA,00000100*HH\r\n": 256 bytes from `address`.
std::string ReadChunkRequest(uint32_t address);

// Collects sentences: from a "$" (not kept) up to CR, LF or a zero byte, at
// most 3000 characters (a longer one is dropped).
class SentenceCollector {
 public:
  // True when `c` completed a sentence; Sentence() holds it.
  bool Feed(uint8_t c);
  const std::string& Sentence() const { return sentence_; }

 private:
  bool inSentence_ = false;
  bool overflow_ = false;
  std::string sentence_;
};

// The "*HH" ending: "*" the third character from the end, and the two hex
// digits equal to the XOR of every character before it.
bool ChecksumMatches(std::string_view sentence);

// The answers the job waits for, one per step.
enum class Step { None, Product, LogStatus, LoggingOff, MemoryUsed, ReadChunk, LoggingOn, Erase };

struct AnswerValues {
  std::string release;  // product: at most 80 characters each
  std::string model;
  uint32_t logStatus = 0;
  uint32_t memoryUsed = 0;    // bytes
  uint32_t address = 0;       // of a data chunk
  std::vector<uint8_t> data;  // of a data chunk: the bytes its hex digits gave, at most 256
};

// Whether `sentence` (checksum already checked, without "$") is the answer of
// `step` (for a data chunk: of the chunk at `address`). True with `values` set.
bool MatchAnswer(Step step, uint32_t address, std::string_view sentence, AnswerValues& values);

// ---- the log memory ---------------------------------------------------------

enum class LogFault { None, BadHeader, BadData };
struct LogDecode {
  LogFault fault = LogFault::None;
  int dataCode = 0;  // BadData: 1 past the sector's end, 2 no "*", 3 checksum
};

// Decodes every sector of the memory image into `points` (appended; the first
// gets the segment flag). Records without a fix, a time or a position are skipped.
LogDecode DecodeMtkLog(std::span<const uint8_t> image, std::vector<TrackPoint>& points);

}  // namespace trelvik::mtk
