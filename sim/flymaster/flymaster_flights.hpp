#pragma once
// The flights a simulated Flymaster keeps, as the positions its binary
// stream carries: from IGC files, or the generated flights of the Flytec
// simulator.
#include <cstdint>
#include <string>
#include <vector>

#include "flytec/flytec_flights.hpp"

namespace trelvik::sim {

struct FlymasterFix {
  uint32_t time = 0;     // seconds since 2000-01-01 00:00 UTC
  int32_t lat = 0;       // 1/60000 degree, north positive
  int32_t lon = 0;       // 1/60000 degree, WEST positive, as the unit counts
  int32_t gpsAlt = 0;    // metres
  int32_t pressure = 0;  // tenths of a hectopascal
  int32_t baroAlt = 0;   // metres, the pressure altitude the pressure stands for
};

struct FlymasterFlight {
  uint32_t start = 0;     // seconds since 2000-01-01 of the first fix
  uint32_t duration = 0;  // seconds
  std::vector<FlymasterFix> fixes;
};

// The B records of an IGC flight; days roll over at midnight.
FlymasterFlight FlymasterFlightFromIgc(const SimFlight& flight);
// Tenths of a hectopascal at a pressure altitude in metres (standard atmosphere).
int32_t PressureAt(int32_t metres);

// One flight as the unit streams it: flight info, key block, positions blocks
// (a new key block whenever a step does not fit a delta), end block. Each
// element is one framed block.
struct StreamFaults {
  bool dropKeys = false;     // no key block at all
  bool deltaFirst = false;   // a positions block before the first key block
  bool badLatitude = false;  // the first key block's latitude is 90 degrees and a bit
};
std::vector<std::string> FlymasterBlocks(const FlymasterFlight& flight, uint32_t serial, const std::string& pilot,
                                         const StreamFaults& faults);

}  // namespace trelvik::sim
