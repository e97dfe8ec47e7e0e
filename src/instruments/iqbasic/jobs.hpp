#pragma once
// The thread routines of the IQ Basic / Flytec 6015 cells and the steps they
// share. Each runs on the job's thread, talks through the job's serial link
// and reports through the job frame.
#include <array>
#include <chrono>
#include <optional>
#include <string>

#include "access/gps_job.hpp"

namespace trelvik::iqbasic {

// Cells of protocol 16.
int DownloadTrackLog(GpsJob& job);
int DownloadFlightList(GpsJob& job);
int DownloadWaypoints(GpsJob& job);
int UploadWaypoints(GpsJob& job);

// ---- steps ----------------------------------------------------------------

// Reads one reply line within `limit`: the line; nothing when the limit
// passed; -1 in `failed` after a read failure (reported under `caption`) or
// an abort.
struct ReplyLine {
  std::optional<std::string> line;
  bool failed = false;
};
ReplyLine ReadReplyLine(GpsJob& job, std::chrono::milliseconds limit, std::string_view caption);

// Opens the port and identifies the instrument (RPA_00, RPA_01, RPA_02):
// fills the job's identity. 0, or -1 after the failure has been reported.
[[nodiscard]] int Identify(GpsJob& job);

// The instrument's flight numbers of the flight list's entries.
using FlightNumbers = std::array<int, kFlightListSize>;
// ACT_20 into job.flightList and `numbers`. 0 when at least one flight was listed.
[[nodiscard]] int ReadTrackList(GpsJob& job, FlightNumbers& numbers);

// The waypoint list (ACT_31) into job.waypoints, or, with `check`, each
// waypoint handed to competition mode's check instead. 0, or -1 after the
// failure has been reported.
[[nodiscard]] int ReceiveWaypoints(GpsJob& job, bool check);

}  // namespace trelvik::iqbasic
