#pragma once
// Positions for the simulated loggers that keep fixes rather than IGC files:
// generated, or the B records of an IGC file.
#include <cstdint>
#include <string>
#include <vector>

namespace trelvik::sim {

struct LoggerFix {
  int year = 0, month = 0, day = 0;  // full year
  uint32_t secondOfDay = 0;          // UTC
  double latDegrees = 0;
  double lonDegrees = 0;
  int altMetres = 0;
};

// `count` fixes 2 s apart from 2024-07-15 10:00:00 UTC, a slow climb near Fiesch.
std::vector<LoggerFix> GenerateFixes(int count);
// The B records of an IGC file; false with `error` set when it has none or no date.
bool LoadFixes(const std::string& path, std::vector<LoggerFix>& fixes, std::string& error);
// Seconds since 1980-01-06 00:00:00 (the GPS epoch).
uint32_t GpsEpochSeconds(const LoggerFix& fix);
// Semicircles (2^31 = 180 degrees), rounded.
int32_t Semicircles(double degrees);

}  // namespace trelvik::sim
