#pragma once
// The steps of the drivers that download IGC files: receiving one track, and
// joining the tracks of several flights into one log.
#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "access/gps_job.hpp"
#include "instruments/common/igc_track_receiver.hpp"

namespace trelvik {

// Receives the IGC track just requested into job.points (bytes into `raw`)
// until `silence` passes without data; `onPoints` hears the point count before
// each chunk's new points. 0, or -1 after the failure has been reported under
// `caption` ("E203 COM port read error" or the receiver's fault).
[[nodiscard]] int ReceiveIgcTrack(GpsJob& job, IgcTrackReceiver& receiver, std::string& raw,
                                  std::chrono::milliseconds silence, std::string_view caption,
                                  const std::function<void(size_t before)>& onPoints);

// Adds `track` to `kept` before or after it, the later one continuing the
// earlier one's segment; false, and neither changed, when they overlap in
// time. Both must hold points.
[[nodiscard]] bool JoinTracks(std::vector<TrackPoint>& kept, std::vector<TrackPoint>& track);

}  // namespace trelvik
