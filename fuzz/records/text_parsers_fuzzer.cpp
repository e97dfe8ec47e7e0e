// Every text parser of the base, records and geo layers on arbitrary bytes. Beyond
// "no crash, no sanitizer report", each parser must leave its output alone when
// it fails and produce values inside its documented range when it succeeds.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/c_format.hpp"
#include "geo/position_text.hpp"
#include "records/angle_parsers.hpp"
#include "records/date_time_parsers.hpp"
#include "records/format_progress.hpp"
#include "records/names.hpp"
#include "records/number_parsers.hpp"

namespace {

using namespace trelvik;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

template <typename T, typename Parse>
void ExpectUntouchedOnFailure(T sentinel, Parse parse) {
  T value = sentinel;
  const int rc = parse(value);
  if (rc < 0) Check(value == sentinel);
}

void Numbers(std::string_view text) {
  ExpectUntouchedOnFailure<int32_t>(-4711, [&](int32_t& v) { return ParseSignedInt(text, v); });
  ExpectUntouchedOnFailure<int32_t>(-4711, [&](int32_t& v) {
    const int rc = ParseUnsignedInt(text, v);
    if (rc == 0) Check(v >= 0);
    return rc;
  });
  ExpectUntouchedOnFailure<uint32_t>(0xDEAD, [&](uint32_t& v) { return ParseHexNumber(text, v); });
  ExpectUntouchedOnFailure<double>(-7.5, [&](double& v) {
    const int rc = ParseUnsignedReal(text, v);
    if (rc == 0) Check(std::isfinite(v) && v >= 0);
    return rc;
  });
  ExpectUntouchedOnFailure<double>(-7.5, [&](double& v) {
    const int rc = ParseSignedReal(text, v);
    if (rc == 0) Check(std::isfinite(v));
    return rc;
  });
  ExpectUntouchedOnFailure<double>(-7.5, [&](double& v) {
    const int rc = ParseDecimal(text, v);
    if (rc == 0) Check(std::isfinite(v));
    return rc;
  });
  // What the locale-proof parser reads, the locale-proof formatter writes back exactly.
  if (const std::optional<double> value = ParseDoubleC(text); value && std::isfinite(*value)) {
    const std::optional<double> again = ParseDoubleC(CFormat("%.17g", *value));
    Check(again && *again == *value);
  }
}

void DatesAndTimes(std::string_view text, char separator) {
  CalendarDate date{-1, -1, -1};
  if (ParseDateDMY(text, date) == 0) Check(IsValidCalendarDay(date.year, date.month, date.day) && date.year < 100);
  else Check(date.year == -1 && date.month == -1 && date.day == -1);
  date = {-1, -1, -1};
  if (ParseDateYMD(text, separator, date) == 0) Check(IsValidCalendarDay(date.year, date.month, date.day));
  else Check(date.year == -1);
  ClockTime clock{-1, -1, -1};
  if (ParseTimeHMS(text, separator, clock) == 0) Check(clock.SecondsOfDay() >= 0 && clock.SecondsOfDay() < 86400);
  else Check(clock.hour == -1);
  TimeOfDay time{999999, -1};
  if (ParseHhmmss(text, time) == 0) Check(time.secondsOfDay < 86400 && time.fraction >= 0);
  else Check(time.secondsOfDay == 999999 && time.fraction == -1);
}

void Angles(std::string_view text) {
  for (const bool isLatitude : {true, false}) {
    const double limit = (isLatitude ? 90.0 : 180.0) * M_PI / 180 + 1e-9;
    double radians = 99;
    if (ParseNmeaAngle(text, isLatitude, radians) == 0) Check(std::fabs(radians) < limit);
    else Check(radians == 99);
    radians = 99;
    if (ParseLatLonText(text, isLatitude, radians) == 0) Check(std::fabs(radians) < limit);
    else Check(radians == 99);
    if (const auto angle = ParseHemisphereFirstAngle(text, isLatitude)) {
      Check(std::fabs(angle->degrees) <= (isLatitude ? 90.0 : 180.0) && angle->end <= text.size());
    }
  }
  double radians = 99;
  if (ParseNmeaAngleUnsigned(text, radians) == 0) Check(radians >= 0 && radians < M_PI + 1e-9);
  else Check(radians == 99);
  UtmZone zone{-1, '?'};
  if (ParseUtmZone(text, zone) == 0) Check(zone.zone >= 1 && zone.zone <= 60 && zone.band >= 'C' && zone.band <= 'X');
  else Check(zone.zone == -1);
}

void Names(std::string_view text) {
  std::string collapsed(text);
  Check(CollapseBlanks(collapsed) == collapsed.size());
  Check(collapsed.empty() || (collapsed.front() != ' ' && collapsed.back() != ' '));
  Check(collapsed.find("  ") == std::string::npos);
  for (int mode = 0; mode < 3; ++mode) {
    std::string name = "keep";
    const int rc = mode == 2 ? StrictWaypointName(text, name) : CleanWaypointName(text, mode == 0, name);
    if (rc < 0) {
      Check(name == "keep");
      continue;
    }
    Check(rc == static_cast<int>(name.size()) && !name.empty() && name.size() <= kWaypointNameLength);
    for (const char c : name) Check((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-');
  }
  const std::string description = CleanDescription(text);
  Check(description.size() <= kWaypointDescriptionLength);
  Check(description.empty() || description.back() != ' ');
  const std::string progress = FormatProgress(text, 1, 22, 333, 4444);
  Check(progress.size() <= text.size() * 5);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Numbers(text);
  DatesAndTimes(text, size > 0 ? static_cast<char>(data[0]) : ':');
  DatesAndTimes(text, ':');
  Angles(text);
  Names(text);
  return 0;
}
