#pragma once
// The fields of the B records of a real flight, as the benchmarks feed them to
// the distance routine and the text parsers. Without the flight corpus a
// generated flight of the same shape stands in.
#include <string>
#include <vector>

#include "geo/angles.hpp"

namespace trelvik::bench {

struct BRecordFields {
  std::vector<std::string> times;       // "HHMMSS"
  std::vector<std::string> latitudes;   // "DDMM.mmmH"
  std::vector<std::string> longitudes;  // "DDDMM.mmmH"
  std::vector<std::string> altitudes;   // "PPPPP" / "GGGGG"
  std::vector<GeoPosition> positions;   // consecutive fixes
  std::string source;                   // file name or "generated"
};

// Reads ../shared/flights/<name> (run from the project root), else generates.
const BRecordFields& Flight();

}  // namespace trelvik::bench
