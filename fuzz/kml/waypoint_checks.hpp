#pragma once
// What every waypoint reader must give back for any input: a failure with its
// text, a cancel, or waypoints each with a clean name and a bounded description.
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "records/waypoint.hpp"
#include "trackfiles/waypoint_file_records.hpp"
#include "trackfiles/xml_choices.hpp"

namespace trelvik::fuzz {

inline void CheckWaypoints(const WaypointFileRead& read) {
  if (read.status == FileReadStatus::Failed && read.error.text.empty()) std::abort();
  if (read.status == FileReadStatus::NeedsAnswer) std::abort();  // every question was answered
  if (!read.Ok()) return;
  for (const Waypoint& waypoint : read.records.waypoints) {
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
