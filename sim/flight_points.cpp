#include "flight_points.hpp"

#include <string_view>

#include "flytec/flytec_flights.hpp"

namespace trelvik::sim {
namespace {

int Digits(std::string_view text, size_t pos, size_t count) {
  int value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

int64_t DaysFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yoe = year - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// "B hhmmss DDMMmmm N DDDMMmmm E A ppppp ggggg".
bool ParseFix(std::string_view line, int64_t midnight, SimFix& fix) {
  if (line.size() < 35 || line[0] != 'B') return false;
  const int h = Digits(line, 1, 2), m = Digits(line, 3, 2), s = Digits(line, 5, 2);
  const int latD = Digits(line, 7, 2), latM = Digits(line, 9, 5);
  const int lonD = Digits(line, 15, 3), lonM = Digits(line, 18, 5);
  const int alt = Digits(line, 30, 5);
  if (h < 0 || m < 0 || s < 0 || latD < 0 || latM < 0 || lonD < 0 || lonM < 0 || alt < 0) return false;
  fix.unixTime = midnight + h * 3600 + m * 60 + s;
  fix.latitude = (latD + latM / 60000.0) * (line[14] == 'S' ? -1 : 1);
  fix.longitude = (lonD + lonM / 60000.0) * (line[23] == 'W' ? -1 : 1);
  fix.altitude = alt;
  return true;
}

}  // namespace

bool LoadFixes(const SimOptions& options, std::vector<SimFix>& fixes, std::string& error) {
  SimFlight flight;
  if (options.igcFiles.empty()) {
    flight = GenerateFlight(0);
  } else if (!LoadFlight(options.igcFiles.front(), flight, error)) {
    return false;
  }
  int64_t midnight = DaysFromCivil(2000 + flight.year, flight.month, flight.day) * 86400;
  int64_t previous = -1;
  size_t start = 0;
  while (start < flight.igc.size()) {
    size_t end = flight.igc.find('\n', start);
    if (end == std::string::npos) end = flight.igc.size();
    std::string_view line(flight.igc.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    SimFix fix;
    if (ParseFix(line, midnight, fix)) {
      if (fix.unixTime + 3600 <= previous) {  // past midnight
        midnight += 86400;
        fix.unixTime += 86400;
      }
      previous = fix.unixTime;
      fixes.push_back(fix);
    }
    start = end + 1;
  }
  if (fixes.empty() || flight.month == 0) {
    error = "no dated B record in the flight";
    return false;
  }
  return true;
}

}  // namespace trelvik::sim
