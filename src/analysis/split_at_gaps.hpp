#pragma once
// Splitting a log into flights at time gaps, and the "Split Log" choice of
// which flights to keep. The dialog itself belongs to the window; this is its
// content and its outcome.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/track_point.hpp"

namespace trelvik {

struct GapSegment {
  int32_t first = 0;  // index of its first point
  int32_t count = 0;
  uint32_t seconds = 0;  // from its first point to the latest time in it
};

// The segments of a log: a new one starts where the time rises by more than
// `trackGapTime` seconds or where a rising point starts a segment; at most 100.
std::vector<GapSegment> FindGapSegments(const std::vector<TrackPoint>& points, int32_t trackGapTime);

struct SplitLogDialog {
  std::string title;               // "Split track (%s, %s)" or "Split track (%s)"
  std::vector<std::string> lines;  // newest segment first
  int32_t preselected = 0;         // the first line
};

SplitLogDialog MakeSplitLogDialog(const std::vector<TrackPoint>& points, const std::vector<GapSegment>& segments,
                                  std::string_view portName, std::string_view modelName);

// The window's answer: the chosen line numbers, or nothing for Cancel or closing.
using SplitLogChooser = std::function<std::optional<std::vector<int32_t>>(const SplitLogDialog&)>;

struct SplitSettings {
  int32_t trackGapTime = 1200;  // the TrackGapTime setting, seconds
  bool noSplit = false;         // the command line's NOSPLIT
  std::string portName;         // the PortName setting, for the title
  std::string modelName;        // the log's model name
};

// Returns the new count: unchanged when there is nothing to split, the points
// of the chosen segments (in time order) when some were chosen, and 0 with
// the points emptied when the user cancels or chooses none.
int32_t SplitAtGaps(std::vector<TrackPoint>& points, const SplitSettings& settings, const SplitLogChooser& choose);

}  // namespace trelvik
