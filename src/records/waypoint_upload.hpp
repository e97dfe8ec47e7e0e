#pragma once
// How the description of each uploaded waypoint copy is set for instruments
// that show only one text; the list itself is not changed.
#include "records/waypoint.hpp"

namespace trelvik {

enum class UploadNameRule {
  Unchanged = 0,  // the plain send commands
  OnlyName = 1,   // "(Only Name)": the description, or the short name when it is empty
  IdAndName = 2,  // "(ID+Name)": short name, a blank, the description, cut to 40 characters
  OnlyId = 3,     // "(Only ID)": the short name
};

// The rule a send command's parameter names: 1..3 for the instruments whose
// protocol row offers the choice; every other instrument sends the waypoints
// unchanged.
UploadNameRule UploadNameRuleFor(bool offersRules, int parameter);

void ApplyUploadNameRule(Waypoint& waypoint, UploadNameRule rule);

}  // namespace trelvik
