#pragma once
// The thread routines of the LogIt cells (protocol 3) and the steps they
// share. Each runs on the job's thread, talks through the job's serial link
// and reports through the job frame.
#include "access/gps_job.hpp"
#include "instruments/logit/codec.hpp"

namespace trelvik::logit {

int DownloadTrackLog(GpsJob& job);
int ShowLoggerData(GpsJob& job);
int EraseLog(GpsJob& job);
int WriteOwnerName(GpsJob& job);

// ---- steps ----------------------------------------------------------------

// Opens the port and identifies the logger: fills the job's identity. 0, or
// -1 after the failure has been reported.
[[nodiscard]] int ReadIdentity(GpsJob& job, Identity& identity);
// The TRACKLOGGER's announced number of points into job.expectedCount.
[[nodiscard]] int ReadPointCount(GpsJob& job);
// The track frames at the job's speed, restarted after a broken frame when the
// logger can; always ends at 4800 baud out of data mode.
[[nodiscard]] int ReceiveTrack(GpsJob& job, bool canRestart);

}  // namespace trelvik::logit
