#pragma once
// The fixes of a flight as the simulated GPS receivers and loggers keep
// them: taken from an IGC file's B records and its date, or generated.
#include <cstdint>
#include <string>
#include <vector>

#include "sim_plugin.hpp"

namespace trelvik::sim {

struct SimFix {
  int64_t unixTime = 0;  // seconds since 1970-01-01 UTC
  double latitude = 0;   // degrees, south negative
  double longitude = 0;  // degrees, west negative
  int altitude = 0;      // GPS altitude, metres
};

// The fixes of --igc=FILE (the first one given), or of a generated flight.
// False with `error` set when the file cannot be read or holds no dated fix.
bool LoadFixes(const SimOptions& options, std::vector<SimFix>& fixes, std::string& error);


}  // namespace trelvik::sim
