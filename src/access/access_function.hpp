#pragma once
#include <cstdint>

namespace trelvik {

// Row of the job table: the operation a job performs.
inline constexpr int kAccessFunctionCount = 10;

enum class AccessFunction : int32_t {
  DownloadWaypoints = 0,
  DownloadTrackLog = 1,
  LoggerDataDialog = 2,  // the instrument's own read dialog (LogIt)
  UploadWaypoints = 3,
  EraseLog = 4,
  UploadPilotName = 5,
  UploadWaypointsAsTrack = 6,
  UploadCtr = 7,
  DownloadCtr = 8,
  DownloadFlightList = 9,
};

}  // namespace trelvik
