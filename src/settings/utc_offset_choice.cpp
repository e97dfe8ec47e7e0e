#include "settings/utc_offset_choice.hpp"

#include <algorithm>
#include <cmath>

namespace trelvik {

int32_t UtcOffsetSeconds(UtcOffsetChoice choice) {
  const int hours = std::clamp(choice.hours, -kUtcOffsetHourLimit, kUtcOffsetHourLimit);
  const int32_t half = choice.halfHour ? (hours < 0 ? -1800 : 1800) : 0;
  return hours * 3600 + half;
}

UtcOffsetChoice UtcOffsetChoiceOf(int32_t seconds) {
  constexpr int32_t kLimit = kUtcOffsetHourLimit * 3600 + 1800;
  const int32_t clamped = std::clamp(seconds, -kLimit, kLimit);
  // The nearest half hour; hours towards zero, so -1:30 is hour -1 with its half hour.
  const auto halves = static_cast<int>(std::lround(clamped / 1800.0));
  return {halves / 2, halves % 2 != 0};
}

}  // namespace trelvik
