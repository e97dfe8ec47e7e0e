#pragma once
// What every track file format reads into and writes from.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "access/gps_job.hpp"  // RawIgcImage: an IGC file kept whole, to be saved unchanged
#include "records/track_point.hpp"
#include "trackfiles/file_read_outcome.hpp"

namespace trelvik {

struct TrackFileRecords {
  std::vector<TrackPoint> points;
  int32_t signatureValid = 0;  // 2: the file's keyed hash matched (read), or is to be written
  int32_t utcTimes = 0;
  int32_t hasPressureAltitude = 0;
  std::optional<RawIgcImage> rawIgc;     // IGC files only
  std::optional<std::string> instrument;  // written where the format names one; absent: "unknown"

  int32_t Count() const { return static_cast<int32_t>(points.size()); }
};

using TrackFileRead = FileReadOutcome<TrackFileRecords>;

}  // namespace trelvik
