#include "trackfiles/igc_records.hpp"

#include <cmath>
#include <limits>

namespace trelvik {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Five digits, or "-" and four digits.
std::optional<int32_t> Altitude(std::string_view text, size_t pos) {
  if (pos + 5 > text.size()) return std::nullopt;
  if (text[pos] == '-') {
    const int32_t value = IgcDigits(text, pos + 1, 4);
    if (value < 0) return std::nullopt;
    return -value;
  }
  const int32_t value = IgcDigits(text, pos, 5);
  if (value < 0) return std::nullopt;
  return value;
}

}  // namespace

int32_t IgcDigits(std::string_view text, size_t pos, size_t count) {
  if (pos + count > text.size()) return -1;
  int32_t value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (!IsDigit(text[i])) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

std::optional<TrackTime> ParseIgcDateLine(std::string_view line) {
  constexpr std::string_view kPrefix = "HFDTE";
  if (!line.starts_with(kPrefix)) return std::nullopt;
  std::string_view rest = line.substr(kPrefix.size());
  bool longForm = false;
  for (std::string_view keyword : {std::string_view("DATE:"), std::string_view(" DATE:")}) {
    if (rest.starts_with(keyword)) {
      rest.remove_prefix(keyword.size());
      longForm = true;
      break;
    }
  }
  if (rest.size() < 6) return std::nullopt;
  const int32_t day = IgcDigits(rest, 0, 2);
  const int32_t month = IgcDigits(rest, 2, 2);
  const int32_t year = IgcDigits(rest, 4, 2);
  if (day < 1 || day > 31 || month < 1 || month > 12 || year < 0) return std::nullopt;
  std::string_view tail = rest.substr(6);
  if (longForm && tail.starts_with(',')) {
    // The flight number of the day: one or two digits.
    tail.remove_prefix(1);
    size_t digits = 0;
    while (digits < tail.size() && IsDigit(tail[digits])) ++digits;
    if (digits < 1 || digits > 2) return std::nullopt;
    tail.remove_prefix(digits);
  }
  if (!tail.empty()) return std::nullopt;
  SystemTime date;
  date.year = static_cast<uint16_t>(2000 + year);
  date.month = static_cast<uint16_t>(month);
  date.day = static_cast<uint16_t>(day);
  return TrackTimeFromDate(date);
}

Semicircle MilliMinuteToSemicircle(int32_t milliMinutes) {
  constexpr double kSemicirclesPerMilliMinute = 2147483648.0 / 10800000.0;
  const double scaled = milliMinutes * kSemicirclesPerMilliMinute;
  const double rounded = scaled >= 0 ? std::floor(scaled + 0.5) : -std::floor(-scaled + 0.5);
  constexpr double kWholeTurn = 4294967296.0;
  if (rounded > std::numeric_limits<int32_t>::max()) return static_cast<Semicircle>(rounded - kWholeTurn);
  if (rounded < std::numeric_limits<int32_t>::min()) return static_cast<Semicircle>(rounded + kWholeTurn);
  return static_cast<Semicircle>(rounded);
}

IgcBRecordResult ParseIgcBRecord(std::string_view line) {
  IgcBRecordResult result;
  auto fail = [&result](int code) {
    result.error = code;
    return result;
  };
  // Each field: digits (odd code) and range (even code), in the order of the line.
  const int32_t hours = IgcDigits(line, 1, 2);
  if (hours < 0) return fail(1);
  if (hours > 23) return fail(2);
  const int32_t minutes = IgcDigits(line, 3, 2);
  if (minutes < 0) return fail(3);
  if (minutes > 59) return fail(4);
  const int32_t seconds = IgcDigits(line, 5, 2);
  if (seconds < 0) return fail(5);
  if (seconds > 59) return fail(6);

  // 90 degrees (and 180 for longitude) pass only with zero minutes: the pole
  // and the date line as the writer prints them, the same positions as 89
  // degrees 60.000 minutes (179 degrees 60.000), which pass anyway.
  const int32_t latDegrees = IgcDigits(line, 7, 2);
  if (latDegrees < 0) return fail(7);
  if (latDegrees > 90 || (latDegrees == 90 && IgcDigits(line, 9, 5) != 0)) return fail(8);
  const int32_t latMinutes = IgcDigits(line, 9, 5);
  if (latMinutes < 0) return fail(9);
  if (latMinutes > 60000) return fail(10);
  if (line.size() < 15 || (line[14] != 'N' && line[14] != 'S')) return fail(11);

  const int32_t lonDegrees = IgcDigits(line, 15, 3);
  if (lonDegrees < 0) return fail(12);
  if (lonDegrees > 180 || (lonDegrees == 180 && IgcDigits(line, 18, 5) != 0)) return fail(13);
  const int32_t lonMinutes = IgcDigits(line, 18, 5);
  if (lonMinutes < 0) return fail(14);
  if (lonMinutes > 60000) return fail(15);
  if (line.size() < 24 || (line[23] != 'E' && line[23] != 'W')) return fail(16);

  if (line.size() < 25) return fail(17);
  const std::optional<int32_t> pressure = Altitude(line, 25);
  if (!pressure) return fail(18);
  const std::optional<int32_t> gps = Altitude(line, 30);
  if (!gps) return fail(18);

  int32_t lat = latDegrees * 60000 + latMinutes;
  if (line[14] == 'S') lat = -lat;
  int32_t lon = lonDegrees * 60000 + lonMinutes;
  if (line[23] == 'W') lon = -lon;
  result.record = {static_cast<uint32_t>(3600 * hours + 60 * minutes + seconds), MilliMinuteToSemicircle(lat),
                   MilliMinuteToSemicircle(lon), *pressure, *gps};
  return result;
}

}  // namespace trelvik
