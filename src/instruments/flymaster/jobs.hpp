#pragma once
// The thread routines of the Flymaster cells and the steps they share. Each
// runs on the job's thread, talks through the job's serial link and reports
// through the job frame.
#include "access/gps_job.hpp"
#include "instruments/flymaster/codec.hpp"

namespace trelvik::flymaster {

// Cells of protocol 12.
int DownloadTrackLog(GpsJob& job);
int DownloadFlightList(GpsJob& job);
int DownloadWaypoints(GpsJob& job);
int UploadWaypoints(GpsJob& job);
// job.option is the SettingsCommand, job.pilotData its texts.
int SendSettings(GpsJob& job);

// ---- steps ----------------------------------------------------------------

// Opens the port and identifies the unit ($PBRSNP). 0, or -1 after the
// failure has been reported.
[[nodiscard]] int RequestProduct(GpsJob& job, ProductData& product);
// $PFMLST lines into job.flightList. 0 when at least one track was listed.
[[nodiscard]] int ReadTrackList(GpsJob& job);
// Downloads every selected track and joins them into job.points.
[[nodiscard]] int DownloadTracks(GpsJob& job, const ProductData& product);
// $PFMWPL: into job.waypoints, or to competition mode's check when `checkOnly`.
[[nodiscard]] int ReceiveWaypoints(GpsJob& job, bool checkOnly);

}  // namespace trelvik::flymaster
