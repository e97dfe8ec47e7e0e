#pragma once
// The TNCM text log of TopNavigator and XC Trainer instruments: a header line,
// then blocks of up to 30 position lines (one per second), each opened by a
// time line, up to "@EOF". A pure codec fed with bytes, shared by the
// instrument downloads and the ".tnc" file reader.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/track_point.hpp"

namespace trelvik {

// Record formats of the position lines.
inline constexpr int kTncmPressureOnly = 0;
inline constexpr int kTncmGpsOnly = 1;
inline constexpr int kTncmPressureAndGps = 2;

// Error codes (the instrument reports them as "E202 Format error %").
inline constexpr int kTncmNoTimeLine = 1;         // the header is not followed by a time line
inline constexpr int kTncmTimeOrder = 2;          // a block less than 30 s after the one before
inline constexpr int kTncmBlockTooLong = 3;       // more than 40 lines in a block
inline constexpr int kTncmTooLongLine = 4;        // a line of 100 characters or more
// Block codes, found when a block closes:
inline constexpr int kTncmGoodAfterBadAtEnd = 10;  // the last block has a good line after a bad one
inline constexpr int kTncmSecondBadRun = 11;      // a second run of bad lines in a block
inline constexpr int kTncmLineBeyond29 = 13;      // a line would fall beyond second 29 of its block
inline constexpr int kTncmTooLongWithSkip = 14;   // more than 30 lines around a skipped run

struct TncmOptions {
  // XC Trainer logs say their record format in the header; TopNav logs (and
  // the ".tnc" files) always carry GPS altitudes only.
  bool formatFromHeader = false;
  int32_t utcOffset = 0;  // seconds; the instrument writes local times
};

enum class TncmState { Running, Finished, Failed };

class TncmDecoder {
 public:
  explicit TncmDecoder(TncmOptions options) : options_(options) {}

  TncmState Feed(std::string_view bytes);
  TncmState FeedByte(char byte);

  TncmState State() const { return state_; }
  // Failed: the code, and the 1-based line at which it was found; for block
  // codes (10 and above) that is the line that closed the block.
  int ErrorCode() const { return errorCode_; }
  int ErrorLine() const { return errorLine_; }
  bool SawHeader() const { return sawHeader_; }
  uint32_t SerialNumber() const { return serial_; }
  int RecordFormat() const { return format_; }
  int BlocksClosed() const { return blocksClosed_; }
  int IgnoredBlocks() const { return ignoredBlocks_; }
  std::vector<TrackPoint>& Points() { return points_; }

 private:
  struct BlockLine {
    bool good = false;
    TrackPoint point;
  };

  void Line(std::string_view line);
  bool Header(std::string_view line);
  bool PositionLine(std::string_view line, TrackPoint& point) const;
  bool StartBlock(uint32_t secondsOfDay);
  bool CloseBlock(bool last);
  void Place(const BlockLine& line, int second);
  void Fail(int code) {
    state_ = TncmState::Failed;
    errorCode_ = code;
    errorLine_ = lineNumber_;
  }

  TncmOptions options_;
  TncmState state_ = TncmState::Running;
  std::string pending_;
  int lineNumber_ = 0;
  int errorCode_ = 0;
  int errorLine_ = 0;
  bool sawHeader_ = false;
  bool inBlock_ = false;
  uint32_t serial_ = 0;
  int format_ = kTncmGpsOnly;
  TrackTime date_ = 0;       // the header's date at 00:00
  int64_t dayBase_ = 0;      // seconds added for the days the log crossed
  int64_t blockTime_ = -1;   // dayBase_ + time of day of the open block
  std::vector<BlockLine> block_;
  int blocksClosed_ = 0;
  int ignoredBlocks_ = 0;
  std::vector<TrackPoint> points_;
};

// The time of day of a TNCM time line (exactly 14 characters), or -1.
[[nodiscard]] int32_t TncmTimeLine(std::string_view line);

}  // namespace trelvik
