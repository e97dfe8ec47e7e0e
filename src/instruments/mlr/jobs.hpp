#pragma once
// The thread routines of the MLR cells (protocols 1, 14 and 18) and the steps
// they share. Each runs on the job's thread, talks through the job's serial
// link and reports through the job frame.
#include "access/gps_job.hpp"
#include "instruments/mlr/codec.hpp"

namespace trelvik::mlr {

int DownloadTrackLog(GpsJob& job);   // 1, 14, 18
int DownloadWaypoints(GpsJob& job);  // 1: $GPWPL sentences; 14: binary frames
int UploadWaypoints(GpsJob& job);    // 1, 14

// ---- steps ----------------------------------------------------------------

// Opens the port and identifies the receiver: fills the job's identity and
// `product`. 0, or -1 after the failure has been reported.
[[nodiscard]] int ReadProduct(GpsJob& job, Product& product);

// The binary transfers, each ending at the normal speed with the end sentence
// sent. The waypoints go to job.waypoints unless `checkOnly` (competition
// mode's look at the pilot's ID waypoints).
[[nodiscard]] int ReceiveTrackFrames(GpsJob& job, const Product& product);
[[nodiscard]] int ReceiveWaypointFrames(GpsJob& job, bool checkOnly);

// The $GPWPL sentences the user starts on the instrument.
[[nodiscard]] int ReceiveWplSentences(GpsJob& job);

}  // namespace trelvik::mlr
