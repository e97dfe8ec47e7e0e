#include "records/track_time.hpp"

#include <chrono>

namespace trelvik {
namespace {

constexpr uint32_t kEpochShift = 31449600;  // 364 days: 1989-01-01 to 1989-12-31
constexpr uint32_t kSecondsPerDay = 86400;
constexpr uint32_t kDaysPerCycle = 1461;

constexpr int kDaysBefore[2][12] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

}  // namespace

int DaysBeforeMonth(int month, bool leapYear) {
  if (month < 1 || month > 12) return 0;
  return kDaysBefore[leapYear ? 1 : 0][month - 1];
}

TrackTime TrackTimeFromDate(const SystemTime& date) {
  const uint32_t years = static_cast<uint32_t>(date.year) - 1989u;
  const uint32_t days = static_cast<uint32_t>(date.day) - 1u + 365u * years + years / 4u +
                        static_cast<uint32_t>(DaysBeforeMonth(date.month, date.year % 4 == 0));
  return static_cast<uint32_t>(date.second) + 60u * date.minute + 3600u * date.hour + kSecondsPerDay * days -
         kEpochShift;
}

SystemTime DateFromTrackTime(TrackTime time) {
  const uint32_t s = time + kEpochShift;
  const uint32_t days = s / kSecondsPerDay;
  const uint32_t cycle = days / kDaysPerCycle;
  uint32_t dayInCycle = days % kDaysPerCycle;
  uint32_t yearInCycle = 0;
  if (dayInCycle >= 1095) {
    yearInCycle = 3;
    dayInCycle -= 1095;
  } else if (dayInCycle >= 730) {
    yearInCycle = 2;
    dayInCycle -= 730;
  } else if (dayInCycle >= 365) {
    yearInCycle = 1;
    dayInCycle -= 365;
  }
  SystemTime date;
  date.year = static_cast<uint16_t>(1989 + 4 * cycle + yearInCycle);
  const bool leap = yearInCycle == 3;
  int month = 12;
  while (month > 1 && static_cast<int>(dayInCycle) < kDaysBefore[leap ? 1 : 0][month - 1]) --month;
  date.month = static_cast<uint16_t>(month);
  date.day = static_cast<uint16_t>(dayInCycle - static_cast<uint32_t>(kDaysBefore[leap ? 1 : 0][month - 1]) + 1);
  const uint32_t secondOfDay = s % kSecondsPerDay;
  date.hour = static_cast<uint16_t>(secondOfDay / 3600);
  date.minute = static_cast<uint16_t>(secondOfDay / 60 % 60);
  date.second = static_cast<uint16_t>(secondOfDay % 60);
  date.milliseconds = 0;
  return date;
}

TrackTime CurrentTrackTime() {
  using namespace std::chrono;
  // 1989-12-31 00:00:00 UTC is 631065600 seconds after the Unix epoch.
  const auto unixSeconds = duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
  return static_cast<TrackTime>(unixSeconds - 631065600);
}

SystemTime CurrentUtcTime() { return DateFromTrackTime(CurrentTrackTime()); }

TrackTime TimeOfDayClock::Next(uint32_t secondsOfDay) {
  if (havePrevious_ && secondsOfDay + 3600 <= previous_) dayOffset_ += kSecondsPerDay;
  havePrevious_ = true;
  previous_ = secondsOfDay;
  return date_ + dayOffset_ + secondsOfDay;
}

}  // namespace trelvik
