#pragma once
// What every waypoint reader must give back for any input: -1, or the count of
// the waypoints it filled, each with a clean name and a bounded description.
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "records/waypoint.hpp"
#include "trackfiles/xml_choices.hpp"

namespace trelvik::fuzz {

inline void CheckWaypoints(int count, const std::vector<Waypoint>& waypoints) {
  if (count < -1 || (count >= 0 && static_cast<size_t>(count) != waypoints.size())) std::abort();
  if (count < 0) return;
  for (const Waypoint& waypoint : waypoints) {
    if (std::memchr(waypoint.name, '\0', sizeof waypoint.name) == nullptr) std::abort();
    if (std::memchr(waypoint.description, '\0', sizeof waypoint.description) == nullptr) std::abort();
    for (const char* c = waypoint.name; *c != '\0'; ++c) {
      if (!((*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') || *c == '-')) std::abort();
    }
  }
}

// Answers the "Modify waypoint ID" questions in turn with each answer there is,
// starting at `first`, so that one input meets all of them.
inline ModifyIdQuestion CyclingModifyIdAnswers(size_t first) {
  return [next = first](const std::string&) mutable {
    constexpr ModifyIdAnswer kAnswers[] = {ModifyIdAnswer::Yes, ModifyIdAnswer::No, ModifyIdAnswer::YesToAll,
                                           ModifyIdAnswer::Cancel};
    return kAnswers[next++ % std::size(kAnswers)];
  };
}

}  // namespace trelvik::fuzz
