#pragma once
// The thread routines of the Graviter cells (protocol 5). Each runs on the
// job's thread, talks through the job's serial link and reports through the
// job frame.
#include "access/gps_job.hpp"
#include "instruments/graviter/codec.hpp"

namespace trelvik::graviter {

int DownloadTrackLog(GpsJob& job);
int WriteOwnerName(GpsJob& job);

// Opens the port and identifies the logger. 0, or -1 after the report.
[[nodiscard]] int ReadIdentity(GpsJob& job);

}  // namespace trelvik::graviter
