#pragma once
// The thread routines of the Magellan cells and the steps they share. Each
// runs on the job's thread, talks through the job's serial link and reports
// through the job frame.
#include "access/gps_job.hpp"
#include "instruments/magellan/codec.hpp"

namespace trelvik::magellan {

// Cells of the Magellan protocol.
int DownloadTrackLog(GpsJob& job);
int DownloadWaypoints(GpsJob& job);
int UploadWaypoints(GpsJob& job);

// ---- steps ----------------------------------------------------------------

// Opens the port and asks for $PMGNVER: fills the job's identity and
// `version`. 0, or -1 after the failure has been reported.
[[nodiscard]] int RequestMagellanProduct(GpsJob& job, MagellanVersion& version);
// $PMGNTRK sentences into job.points. 0, or -1 (reported, or no point).
[[nodiscard]] int DownloadMagellanTrack(GpsJob& job, const MagellanVersion& version);
// $PMGNWPL sentences into job.waypoints, or with `checkOnly` to competition
// mode's check alone. 0, or -1 (reported, or no waypoint).
[[nodiscard]] int DownloadMagellanWaypoints(GpsJob& job, bool checkOnly);
// Every waypoint of job.waypoints as $PMGNWPL, then the end mark. 0 or -1.
[[nodiscard]] int UploadMagellanWaypoints(GpsJob& job);

}  // namespace trelvik::magellan
