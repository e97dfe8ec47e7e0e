#pragma once
// The IGC record layouts every reader of IGC lines shares: the file decoder and
// the instrument drivers that receive IGC lines over a serial link parse date
// and B records with these functions and attach their own error numbers.
#include <cstdint>
#include <optional>
#include <string_view>

#include "records/track_point.hpp"

namespace trelvik {

// The characters a B record's fixed fields need ("B", time, position, validity,
// two altitudes). Shorter records are ones an instrument cut off.
inline constexpr size_t kIgcBRecordLength = 35;

// The characters IGC allows in maker codes and serials: ASCII letters and digits.
constexpr bool IsIgcAlphaNumeric(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The value of `count` digits at `pos`, or -1 when the text is too short or
// one of them is not a digit.
int32_t IgcDigits(std::string_view text, size_t pos, size_t count);

// The date of an "HFDTE" line: the short form "HFDTEDDMMYY" or the long form
// "HFDTEDATE:DDMMYY" (with or without a blank after HFDTE, optionally followed
// by ",NN"). Day 1..31, month 1..12, year 2000 + YY. Midnight of that day, or
// nothing when the line is not a valid date line.
std::optional<TrackTime> ParseIgcDateLine(std::string_view line);

struct IgcBRecord {
  uint32_t secondsOfDay = 0;
  Semicircle lat = 0;
  Semicircle lon = 0;
  int32_t pressureAltitude = 0;  // metres
  int32_t gpsAltitude = 0;       // metres
};

// Decodes the fixed fields of a B record (position 1 is the "B"). On failure
// `error` holds the code of the first field at fault: 1-6 time, 7-11 latitude,
// 12-16 longitude, 17 line ends at the validity, 18 an altitude not numeric.
// Latitude degrees go to 89 and longitude degrees to 179 with up to 60.000
// minutes; 90 and 180 degrees are taken with zero minutes only, as the writer
// prints the pole and the date line.
struct IgcBRecordResult {
  IgcBRecord record;
  int error = 0;
};
IgcBRecordResult ParseIgcBRecord(std::string_view line);

// An angle in thousandths of an arc-minute as a Semicircle, rounded half away
// from zero. 180 degrees east becomes 180 degrees west, the same meridian, since
// +2^31 does not fit the stored type.
Semicircle MilliMinuteToSemicircle(int32_t milliMinutes);

}  // namespace trelvik
