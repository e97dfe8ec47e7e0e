#pragma once
// The thread routines of the DSX cells and the steps they share. Each runs on
// the job's thread, talks through the job's serial link and reports through
// the job frame; each ends the recorder's connection ("V0") however it ends.
#include <chrono>

#include "access/gps_job.hpp"
#include "access/track_list.hpp"
#include "instruments/dsx/codec.hpp"

namespace trelvik::dsx {

// Cells of protocol 13.
int DownloadTrackLog(GpsJob& job);
int WritePilotData(GpsJob& job);

// ---- steps ----------------------------------------------------------------

// Opens the port at 9600 baud, opens the connection ("V1") and switches the
// recorder and the port to 38400 baud ("V4"). 0, or -1 after the failure has
// been reported.
[[nodiscard]] int Connect(GpsJob& job);
// "V0" and its pause, when the port is open.
void Disconnect(GpsJob& job);

// The "Track List" question of the recorder's flights, the last one first.
TrackListQuestion FlightQuestion(const GpsJob& job, const std::vector<Flight>& flights);

}  // namespace trelvik::dsx
