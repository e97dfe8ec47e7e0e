#pragma once
// The step of the drivers that download IGC files: receiving one track (the
// joining of several is in track_join.hpp).
#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "access/gps_job.hpp"
#include "instruments/common/igc_track_receiver.hpp"
#include "instruments/common/track_join.hpp"

namespace trelvik {

// Receives the IGC track just requested into job.points (bytes into `raw`)
// until `silence` passes without data; `onPoints` hears the point count before
// each chunk's new points. 0, or -1 after the failure has been reported under
// `caption` ("E203 COM port read error" or the receiver's fault).
[[nodiscard]] int ReceiveIgcTrack(GpsJob& job, IgcTrackReceiver& receiver, std::string& raw,
                                  std::chrono::milliseconds silence, std::string_view caption,
                                  const std::function<void(size_t before)>& onPoints);

}  // namespace trelvik
