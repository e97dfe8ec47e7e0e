#pragma once
// The time base of every stored record: seconds since 1989-12-31 00:00:00.
#include <cstdint>

namespace trelvik {

using TrackTime = uint32_t;

// Calendar form, field for field as the classic SYSTEMTIME. dayOfWeek is never
// read or written by the conversions; milliseconds are written as 0.
struct SystemTime {
  uint16_t year = 0;
  uint16_t month = 0;  // 1..12
  uint16_t dayOfWeek = 0;
  uint16_t day = 0;  // 1..31
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

// Valid for 1989-12-31 through 2099-12-31 (year-mod-4 leap rule, exact there).
TrackTime TrackTimeFromDate(const SystemTime& date);
SystemTime DateFromTrackTime(TrackTime time);

// Days before month 1..12, leap or ordinary year.
int DaysBeforeMonth(int month, bool leapYear);

// The current time (system clock, UTC) as a SystemTime.
SystemTime CurrentUtcTime();
TrackTime CurrentTrackTime();

// Times of day turned into TrackTimes for sources that send only the time of
// day (IGC B records): a step back of an hour or more means the log crossed
// midnight, smaller steps back stay on the same day.
class TimeOfDayClock {
 public:
  explicit TimeOfDayClock(TrackTime dateAtMidnight) : date_(dateAtMidnight) {}
  TrackTime Next(uint32_t secondsOfDay);

 private:
  TrackTime date_;
  uint32_t dayOffset_ = 0;
  bool havePrevious_ = false;
  uint32_t previous_ = 0;
};

}  // namespace trelvik
