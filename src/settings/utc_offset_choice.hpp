#pragma once
// The UtcOffsetForTN setting as the "Set UTC offset for TN" dialog offers it:
// whole hours from 12 down to -12 and whether the half hour is added, in the
// direction of the hour's sign (hour 0 counts as east of Greenwich).
#include <cstdint>

namespace trelvik {

inline constexpr int kUtcOffsetHourLimit = 12;

struct UtcOffsetChoice {
  int hours = 0;         // -12..12
  bool halfHour = false;
  bool operator==(const UtcOffsetChoice&) const = default;
};

// Seconds: hours x 3600, plus 1800 away from zero with the half hour.
int32_t UtcOffsetSeconds(UtcOffsetChoice choice);
// The entries that show a stored value: a value between them (a hand-edited
// settings file) shows the nearest half hour, one beyond them the nearest end.
UtcOffsetChoice UtcOffsetChoiceOf(int32_t seconds);

}  // namespace trelvik
