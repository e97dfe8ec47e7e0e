#pragma once
// The remaining-time estimate shown while a track downloads, in seconds,
// 0..5999 (shown as at most 99 minutes 59 seconds).
#include <cstdint>

#include "access/gps_job.hpp"

namespace trelvik {

inline constexpr int kMaxRemainingSeconds = 5999;

// From the points received so far in job.points and the job's estimate
// fields; `nowTick` is the channel tick (same clock as firstFixTick).
[[nodiscard]] int EstimateRemaining(const GpsJob& job, uint32_t nowTick);
// The same at the channel's current tick.
[[nodiscard]] int EstimateRemaining(GpsJob& job);

// The figures of "Track position % (%m %s)".
struct MinutesSeconds {
  int minutes = 0;
  int seconds = 0;
};
constexpr MinutesSeconds SplitRemaining(int seconds) { return {seconds / 60, seconds % 60}; }

}  // namespace trelvik
