#include "sim_fixes.hpp"

#include <cmath>

#include "flytec/flytec_flights.hpp"

namespace trelvik::sim {
namespace {

// Days from 1970-01-01 to a civil date.
int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int Digits(const std::string& s, size_t pos, size_t n) {
  int v = 0;
  for (size_t i = 0; i < n; ++i) v = v * 10 + (s[pos + i] - '0');
  return v;
}

bool AllDigits(const std::string& s, size_t pos, size_t n) {
  if (pos + n > s.size()) return false;
  for (size_t i = 0; i < n; ++i) {
    if (s[pos + i] < '0' || s[pos + i] > '9') return false;
  }
  return true;
}

}  // namespace

std::vector<LoggerFix> GenerateFixes(int count) {
  std::vector<LoggerFix> fixes;
  for (int i = 0; i < count; ++i) {
    LoggerFix f;
    f.year = 2024;
    f.month = 7;
    f.day = 15;
    f.secondOfDay = 10 * 3600 + static_cast<uint32_t>(i) * 2;
    const double a = i * 0.05;
    f.latDegrees = 46.4243 + 0.002 * std::sin(a) + i * 0.00002;
    f.lonDegrees = 8.1350 + 0.003 * std::cos(a) - i * 0.00001;
    f.altMetres = 1500 + i * 2 - (i % 7 == 3 ? 40 : 0);
    fixes.push_back(f);
  }
  return fixes;
}

bool LoadFixes(const std::string& path, std::vector<LoggerFix>& fixes, std::string& error) {
  SimFlight flight;
  if (!LoadFlight(path, flight, error)) return false;
  fixes.clear();
  size_t start = 0;
  const std::string& igc = flight.igc;
  while (start < igc.size()) {
    size_t end = igc.find('\n', start);
    if (end == std::string::npos) end = igc.size();
    const std::string line = igc.substr(start, end - start);
    start = end + 1;
    // B HHMMSS DDMMmmm N DDDMMmmm E V PPPPP GGGGG
    if (line.size() < 35 || line[0] != 'B' || !AllDigits(line, 1, 6) || !AllDigits(line, 7, 7) ||
        !AllDigits(line, 15, 8) || !AllDigits(line, 30, 5)) {
      continue;
    }
    LoggerFix f;
    f.year = 2000 + flight.year;
    f.month = flight.month;
    f.day = flight.day;
    f.secondOfDay = static_cast<uint32_t>(Digits(line, 1, 2) * 3600 + Digits(line, 3, 2) * 60 + Digits(line, 5, 2));
    f.latDegrees = Digits(line, 7, 2) + Digits(line, 9, 5) / 60000.0;
    if (line[14] == 'S') f.latDegrees = -f.latDegrees;
    f.lonDegrees = Digits(line, 15, 3) + Digits(line, 18, 5) / 60000.0;
    if (line[23] == 'W') f.lonDegrees = -f.lonDegrees;
    f.altMetres = Digits(line, 30, 5);
    fixes.push_back(f);
  }
  if (fixes.empty()) {
    error = path + ": no B records";
    return false;
  }
  return true;
}

uint32_t GpsEpochSeconds(const LoggerFix& fix) {
  const int64_t days = DaysFromCivil(fix.year, fix.month, fix.day) - DaysFromCivil(1980, 1, 6);
  return static_cast<uint32_t>(days * 86400 + fix.secondOfDay);
}

int32_t Semicircles(double degrees) { return static_cast<int32_t>(std::lround(degrees / 180.0 * 2147483648.0)); }

}  // namespace trelvik::sim
