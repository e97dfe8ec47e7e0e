#pragma once
// The thread routines of the Digifly Leonardo cells and the steps they share.
#include <vector>

#include "access/gps_job.hpp"
#include "instruments/leonardo/codec.hpp"

namespace trelvik::leonardo {

// Cells of protocol 17.
int DownloadTrackLog(GpsJob& job);
int DownloadFlightList(GpsJob& job);
int DownloadWaypoints(GpsJob& job);
int UploadWaypoints(GpsJob& job);

// ---- steps ----------------------------------------------------------------

// Opens the port and identifies the instrument ($PDGFVID). 0 or -1.
[[nodiscard]] int RequestLeonardoIdentity(GpsJob& job);
// Reads `length` bytes of memory into `data`: 0, or the negative code of
// the failure (not reported: the caller names what it was reading).
[[nodiscard]] int ReadLeonardoMemory(GpsJob& job, int kind, int page, int offset, int length,
                                     std::vector<uint8_t>& data);
// $PDGFFLL into job.flightList and `flights` (the same order, newest first). 0 or -1.
[[nodiscard]] int ReadLeonardoFlightList(GpsJob& job, std::vector<Flight>& flights);
[[nodiscard]] int DownloadLeonardoTracks(GpsJob& job, const std::vector<Flight>& flights);
[[nodiscard]] int DownloadLeonardoWaypoints(GpsJob& job, bool checkOnly);
[[nodiscard]] int UploadLeonardoWaypoints(GpsJob& job);

}  // namespace trelvik::leonardo
