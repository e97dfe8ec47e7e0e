#pragma once
// What a job reads from the command line of an unattended run. The command
// line itself is parsed a layer higher; the starter hands this view to the job.
#include <array>
#include <cstdint>

namespace trelvik {

inline constexpr int kTrackListSlots = 20;
using TrackListValues = std::array<int32_t, kTrackListSlots>;

constexpr TrackListValues EmptyTrackList() {
  TrackListValues list{};
  for (int32_t& slot : list) slot = -1;
  return list;
}

struct CommandLineValues {
  int32_t timeout = 0;    // TIMEOUT: open attempts and identification tries when >= 1
  bool powerOff = false;  // PWROFF
  TrackListValues trackList = EmptyTrackList();  // TRACK; a negative slot is empty
};

// Attempts of the open loop and of the identification exchange.
constexpr int AttemptCount(const CommandLineValues* commandLine) {
  return commandLine != nullptr && commandLine->timeout >= 1 ? commandLine->timeout : 30;
}

}  // namespace trelvik
