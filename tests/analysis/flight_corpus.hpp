#pragma once
// Track points of the shared real flights, read with a minimal B-record reader
// (date header and fixes only) so that the analysis tests and benchmarks do
// not depend on the track file layer.
#include <string>
#include <vector>

#include "records/track_point.hpp"

namespace trelvik::testing {

// The fixes of one IGC text; empty when it has no date or no fix.
std::vector<TrackPoint> ReadIgcFixes(const std::string& text);

struct CorpusFlight {
  std::string name;  // file name
  std::vector<TrackPoint> points;
};

// Every *.igc of `folder`, sorted by name.
std::vector<CorpusFlight> ReadFlightCorpus(const std::string& folder);

}  // namespace trelvik::testing
