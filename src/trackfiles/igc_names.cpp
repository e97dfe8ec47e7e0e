#include "trackfiles/igc_names.hpp"

#include "base/c_format.hpp"

namespace trelvik {
namespace {

std::string DashedName(TrackTime firstFix, const char* maker, const std::string& serial, int flightNumber) {
  const SystemTime d = DateFromTrackTime(firstFix);
  return CFormat("%d-%02d-%02d-%s-%s-%02d.igc", d.year, d.month, d.day, maker, serial.c_str(), flightNumber);
}

}  // namespace

char IgcDigit(int value) {
  if (value >= 0 && value <= 9) return static_cast<char>('0' + value);
  if (value >= 10 && value <= 35) return static_cast<char>('A' + value - 10);
  return '0';
}

std::string IgcLongName(TrackTime firstFix, const std::string& serial, int flightNumber) {
  return DashedName(firstFix, "XTV", serial, flightNumber);
}

std::string IgcRawLongName(TrackTime firstFix, const std::string& maker, const std::string& serial, int flightNumber) {
  return DashedName(firstFix, maker.c_str(), serial, flightNumber);
}

std::string IgcShortName(TrackTime firstFix, const std::string& serial, int flightNumber) {
  const SystemTime d = DateFromTrackTime(firstFix);
  return CFormat("%d%c%cX%s%c.igc", d.year % 10, IgcDigit(d.month), IgcDigit(d.day), serial.c_str(),
                 IgcDigit(flightNumber));
}

std::string IgcBatchName(TrackTime firstFix, const std::string& serial, int flightNumber, bool rawFile) {
  return DashedName(firstFix, rawFile ? "xxx" : "xtv", serial, flightNumber);
}

}  // namespace trelvik
