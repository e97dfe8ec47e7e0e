#pragma once
// Dates and times of day as instruments write them in flight lists and sentences.
// On failure a negative code is returned and the output is left untouched.
#include <cstdint>
#include <string_view>

namespace trelvik {

inline constexpr int kDateTimeBadText = -1;    // wrong layout or a stray character
inline constexpr int kDateTimeOutOfRange = -2;  // a field outside its range
inline constexpr int kDateTimeNoSuchDay = -3;   // a day the month does not have

struct CalendarDate {
  int year = 0;  // two digits from ParseDateDMY, the full year from ParseDateYMD
  int month = 0;
  int day = 0;
};

struct ClockTime {
  int hour = 0;
  int minute = 0;
  int second = 0;
  constexpr int32_t SecondsOfDay() const { return second + 60 * minute + 3600 * hour; }
};

struct TimeOfDay {
  uint32_t secondsOfDay = 0;  // SS + 60 MM + 3600 HH
  double fraction = 0;        // of a second, from the digits after "."
};

// "DD.MM.YY", exactly eight characters and nothing else. YY mod 4 = 0 is a leap year.
[[nodiscard]] int ParseDateDMY(std::string_view text, CalendarDate& date);

// Year (at most 2999), separator, month, separator, day; blanks allowed around
// each number. A blank separator is a run of at least one blank.
[[nodiscard]] int ParseDateYMD(std::string_view text, char separator, CalendarDate& date);

// Hours 0..23, minutes 0..59, seconds 0..59 separated by `separator`; blanks
// allowed around each number.
[[nodiscard]] int ParseTimeHMS(std::string_view text, char separator, ClockTime& time);

// HHMMSS run together (at most 235959, minutes and seconds below 60), optional
// "." and the fraction of the second.
[[nodiscard]] int ParseHhmmss(std::string_view text, TimeOfDay& time);

// Month 1..12 and a day that exists in it (year mod 4 = 0 has a 29th of February).
[[nodiscard]] bool IsValidCalendarDay(int year, int month, int day);

}  // namespace trelvik
