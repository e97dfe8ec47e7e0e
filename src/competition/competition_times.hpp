#pragma once
// The task's time window as the "Set Competition Times" dialog shows and
// reads it: "YYYY-MM-DD  HH:MM:SS" in UTC, empty for no limit.
#include <optional>
#include <string>
#include <string_view>

#include "base/user_interface.hpp"
#include "records/track_time.hpp"

namespace trelvik {

// "%d-%02d-%02d  %02d:%02d:%02d", or empty for 0.
[[nodiscard]] std::string CompetitionTimeText(TrackTime time);

// The "Competition Mode" dialog's line: the time, or `none` ("No start time").
[[nodiscard]] std::string CompetitionTimeLine(TrackTime time, std::string_view none);

// A field: empty (blanks only) gives 0; a year below 3000, month 1-12, day
// 1-31, one or more blanks, hours below 24, minutes and seconds below 60 give
// the time; anything else nothing.
[[nodiscard]] std::optional<TrackTime> ParseCompetitionTime(std::string_view text);

struct CompetitionTimes {
  TrackTime start = 0;
  TrackTime stop = 0;
};

// OK of "Set Competition Times": "Bad start time", "Bad stop time" or "Stop
// time before start time" under "Read comp. time".
[[nodiscard]] std::optional<CompetitionTimes> CheckCompetitionTimes(UserInterface& ui, std::string_view start,
                                                                    std::string_view stop);

}  // namespace trelvik
