#include "records/date_time_parsers.hpp"

#include "records/text_scan.hpp"

namespace trelvik {
namespace {

constexpr int kMonthDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

int TwoDigits(char tens, char units) {
  if (!IsDigit(tens) || !IsDigit(units)) return -1;
  return (tens - '0') * 10 + (units - '0');
}

// Blanks, a number of at least one digit not above `limit`, blanks.
int ReadField(TextScanner& scan, int64_t limit, int& value) {
  scan.SkipBlanks();
  int64_t number = 0;
  int digits = 0;
  if (!scan.ReadDigits(limit, number, digits)) return kDateTimeOutOfRange;
  if (digits == 0) return kDateTimeBadText;
  value = static_cast<int>(number);
  return 0;
}

// The separator after a field; a blank separator needs at least one blank.
bool ReadSeparator(TextScanner& scan, char separator) {
  if (IsBlank(separator)) return scan.SkipBlanks() > 0;
  scan.SkipBlanks();
  return scan.Accept(separator);
}

int CheckDate(const CalendarDate& date) {
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) return kDateTimeOutOfRange;
  return IsValidCalendarDay(date.year, date.month, date.day) ? 0 : kDateTimeNoSuchDay;
}

// Reads "a sep b sep c" with the three limits; `values` receives the three numbers.
int ReadThreeFields(std::string_view text, char separator, const int64_t (&limits)[3], int (&values)[3]) {
  TextScanner scan(text);
  for (int i = 0; i < 3; ++i) {
    if (i > 0 && !ReadSeparator(scan, separator)) return kDateTimeBadText;
    if (const int rc = ReadField(scan, limits[i], values[i]); rc < 0) return rc;
  }
  return scan.OnlyBlanksLeft() ? 0 : kDateTimeBadText;
}

}  // namespace

bool IsValidCalendarDay(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1) return false;
  if (month == 2 && day == 29) return year % 4 == 0;
  return day <= kMonthDays[month - 1];
}

int ParseDateDMY(std::string_view text, CalendarDate& date) {
  if (text.size() != 8 || text[2] != '.' || text[5] != '.') return kDateTimeBadText;
  CalendarDate parsed;
  parsed.day = TwoDigits(text[0], text[1]);
  parsed.month = TwoDigits(text[3], text[4]);
  parsed.year = TwoDigits(text[6], text[7]);
  if (parsed.day < 0 || parsed.month < 0 || parsed.year < 0) return kDateTimeBadText;
  if (const int rc = CheckDate(parsed); rc < 0) return rc;
  date = parsed;
  return 0;
}

int ParseDateYMD(std::string_view text, char separator, CalendarDate& date) {
  int values[3];
  if (const int rc = ReadThreeFields(text, separator, {2999, 99, 99}, values); rc < 0) return rc;
  const CalendarDate parsed{values[0], values[1], values[2]};
  if (const int rc = CheckDate(parsed); rc < 0) return rc;
  date = parsed;
  return 0;
}

int ParseTimeHMS(std::string_view text, char separator, ClockTime& time) {
  int values[3];
  if (const int rc = ReadThreeFields(text, separator, {23, 59, 59}, values); rc < 0) return rc;
  time = ClockTime{values[0], values[1], values[2]};
  return 0;
}

int ParseHhmmss(std::string_view text, TimeOfDay& time) {
  TextScanner scan(text);
  scan.SkipBlanks();
  int64_t value = 0;
  int digits = 0;
  if (!scan.ReadDigits(235959, value, digits)) return kDateTimeOutOfRange;
  if (digits == 0) return kDateTimeBadText;
  double fraction = 0;
  if (scan.Accept('.')) fraction = scan.ReadFraction();
  if (!scan.OnlyBlanksLeft()) return kDateTimeBadText;
  const int64_t hours = value / 10000;
  const int64_t minutes = value / 100 % 100;
  const int64_t seconds = value % 100;
  // 001299 is not a time of day: a run-together field cannot carry its own range check.
  if (minutes > 59 || seconds > 59) return kDateTimeOutOfRange;
  time.secondsOfDay = static_cast<uint32_t>(seconds + 60 * minutes + 3600 * hours);
  time.fraction = fraction;
  return 0;
}

}  // namespace trelvik
