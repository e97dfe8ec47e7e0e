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

// How a family words the failures of a receive.
struct IgcTrackTexts {
  std::string_view readError;                                // "E203 COM port read error"
  std::string (*faultText)(const IgcTrackReceiver& receiver);  // the receiver's fault
};
// "E203 COM port read error" and the numbered faults of IgcFaultText.
std::string NumberedIgcFaultText(const IgcTrackReceiver& receiver);
inline constexpr IgcTrackTexts kNumberedIgcTexts{"E203 COM port read error", NumberedIgcFaultText};

// Receives the IGC track just requested into job.points (bytes into `raw`)
// until `silence` passes without data; `onPoints` hears the point count before
// each chunk's new points. 0, or -1 after the failure has been reported under
// `caption` ("E203 COM port read error" or the receiver's fault).
[[nodiscard]] int ReceiveIgcTrack(GpsJob& job, IgcTrackReceiver& receiver, std::string& raw,
                                  std::chrono::milliseconds silence, std::string_view caption,
                                  const std::function<void(size_t before)>& onPoints);

// Reads on into a track the receiver has started, until the receiver stops
// or `silence` passes without data; as ReceiveIgcTrack, with `texts`.
[[nodiscard]] int ContinueIgcTrack(GpsJob& job, IgcTrackReceiver& receiver, std::chrono::milliseconds silence,
                                   std::string_view caption, const IgcTrackTexts& texts,
                                   const std::function<void(size_t before)>& onPoints);

// The progress of the points a chunk added (`before`: the count before it):
// "Receiving track log" and the first fix for the estimate at the first,
// "Track position % (%m %s)" (with `estimate`; else "Track position %") and
// "Progress %/?" at the 101st, 201st and so on.
void ReportIgcTrackProgress(GpsJob& job, const IgcTrackReceiver& receiver, size_t before, bool estimate);

}  // namespace trelvik
