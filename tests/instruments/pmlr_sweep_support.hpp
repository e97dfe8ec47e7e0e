#pragma once
// What the MLR, LogIt and Graviter fault sweeps share: the messages a job of
// theirs may show and the words in which a run's result is compared.
#include <algorithm>
#include <string>
#include <vector>

#include "base/c_format.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "support/fault_sweep.hpp"

namespace trelvik::testing {

using SweepMessages = std::vector<ShownMessage>;

inline SweepMessages JoinMessages(std::initializer_list<SweepMessages> lists) {
  SweepMessages all;
  for (const SweepMessages& list : lists) all.insert(all.end(), list.begin(), list.end());
  return all;
}

// "<prefix><code>" for each code.
inline SweepMessages NumberedMessages(const std::string& prefix, std::initializer_list<int> codes,
                                      const std::string& caption) {
  SweepMessages all;
  for (const int code : codes) all.push_back({prefix + std::to_string(code), caption});
  return all;
}

// The identification every operation starts with, and a speed switch that fails.
inline const SweepMessages kIdentificationMessages = {
    {"COM port write error", "Requesting GPS product data"},
    {"COM port read error", "Reading product data"},
    {"No valid response from GPS", "Get GPS product data"},
    {"Error getting COM port state", "Initialising COM port"},
};

// One line per point.
inline std::string PointLines(const std::vector<TrackPoint>& points) {
  std::string text;
  for (const TrackPoint& p : points) {
    text += CFormat("%u/%d/%d/%d/%d\n", p.time, p.lat, p.lon, p.gpsAlt, p.flags);
  }
  return text;
}

inline std::string WaypointLines(const std::vector<Waypoint>& waypoints) {
  std::string text;
  for (const Waypoint& w : waypoints) text += CFormat("%s/%s/%d/%d/%d\n", w.name, w.description, w.lat, w.lon, w.alt);
  return text;
}

}  // namespace trelvik::testing
