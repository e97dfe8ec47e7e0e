#pragma once
// The thread routines of the Flytec/Braeuniger cells and the steps they share.
// Each runs on the job's thread, talks through the job's serial link and
// reports through the job frame.
#include <chrono>
#include <functional>
#include <span>
#include <string_view>

#include "access/gps_job.hpp"
#include "instruments/flytec/codec.hpp"
#include "instruments/common/igc_track_download.hpp"
#include "instruments/common/read_loop.hpp"

namespace trelvik::flytec {

// Cells of protocol 4.
int DownloadTrackLog(GpsJob& job);
int DownloadFlightList(GpsJob& job);
int DownloadWaypoints(GpsJob& job);
int UploadWaypoints(GpsJob& job);
int UploadCtr(GpsJob& job);
int DownloadCtr(GpsJob& job);
// The cell of protocol 11: every chosen track analysed into one logbook file.
// Always -1, so that the loaded track log stays.
int DownloadAllTracks(GpsJob& job);

// The competition waypoint check: the instrument's waypoints go to the job's
// competition check (names and positions) instead of being stored; ends
// quietly after the silence. 0, or -1 after the failure has been reported.
[[nodiscard]] int WaypointCheck(GpsJob& job);

// ---- steps ----------------------------------------------------------------

// Opens the port and identifies the instrument ($PBRSNP): fills the job's
// identity and `product`. 0, or -1 after the failure has been reported.
[[nodiscard]] int ReadProductData(GpsJob& job, ProductData& product);
// $PBRTL into job.flightList. 0 when at least one track was listed.
[[nodiscard]] int ReadTrackList(GpsJob& job);
// Track choice and IGC download of the "download track log" cell, after
// the product data. 1 when every track carried a G record, 0 when not, -1.
[[nodiscard]] int DownloadIgc(GpsJob& job, bool listed);

}  // namespace trelvik::flytec
