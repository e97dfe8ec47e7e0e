#pragma once
// Entry points that read IGC files into track points for the window, the
// batch run and the command-line conversion. Each reports its own failures.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/user_interface.hpp"
#include "records/track_log.hpp"

namespace trelvik {

struct IgcTrackLogRead {
  std::vector<TrackPoint> points;  // empty on failure
  int32_t signatureProven = 0;     // always 0: a file's G record is not trusted for signing
  int32_t utcTimes = 0;            // IGC times are UTC, but the track log keeps them unmarked
  int32_t Count() const { return static_cast<int32_t>(points.size()); }
};

// Decodes `bytes`; on success replaces the raw IGC image of `log` (bytes, date of
// the first fix, maker code, serial) and returns the points, which the caller
// installs without clearing that image again. On failure shows the error under
// "Reading IGC log file", returns no points and leaves `log` as it was.
[[nodiscard]] IgcTrackLogRead ReadIgcTrackLog(UserInterface& ui, std::string_view bytes, TrackLog& log);

// Reads `fileName` + ".igc" (the command-line job's file) and decodes it.
// Nothing when it fails (every failure is shown).
[[nodiscard]] std::optional<std::vector<TrackPoint>> ReadIgcForCommandLine(UserInterface& ui,
                                                                           const std::string& fileName);

}  // namespace trelvik
