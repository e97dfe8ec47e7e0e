#pragma once
// The one IGC decoder of the system: bytes of an IGC file in, track points and
// the recorder's maker code and serial out, or an error text naming the line.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/bulk_memory.hpp"
#include "records/track_point.hpp"

namespace trelvik {

// Characters of a line beyond this are dropped before the line is examined.
inline constexpr size_t kIgcLineLimit = 80;

template <typename Points>
struct BasicIgcDecodeResult {
  Points points;                   // empty on failure
  std::string maker;               // three characters after "A"
  std::string serial;              // three characters after those, "000" when absent
  std::string error;               // empty on success
  int32_t errorLine = 0;           // the line at fault; 0 for a fault of the whole file
  int32_t skippedRecords = 0;      // cut-off B records left out

  bool Ok() const { return error.empty(); }
  int32_t Count() const { return static_cast<int32_t>(points.size()); }
};

using IgcDecodeResult = BasicIgcDecodeResult<std::vector<TrackPoint>>;
// Points in bulk memory, for a long flight that is only converted and dropped.
using BulkTrackPoints = std::vector<TrackPoint, BulkAllocator<TrackPoint>>;

[[nodiscard]] IgcDecodeResult DecodeIgc(std::string_view bytes);
[[nodiscard]] BasicIgcDecodeResult<BulkTrackPoints> DecodeIgcBulk(std::string_view bytes);

// The information shown once when a decoding left out cut-off B records.
std::string SkippedRecordsText(int32_t skipped);

}  // namespace trelvik
