#pragma once
// How the description of each uploaded waypoint copy is set for instruments
// that show only one text; the list itself is not changed.
#include "records/protocol_type.hpp"
#include "records/waypoint.hpp"

namespace trelvik {

enum class UploadNameRule {
  Unchanged = 0,  // the plain send commands
  OnlyName = 1,   // "(Only Name)": the description, or the short name when it is empty
  IdAndName = 2,  // "(ID+Name)": short name, a blank, the description, cut to 40 characters
  OnlyId = 3,     // "(Only ID)": the short name
};

// The rule a send command's parameter names: 1..3 for the instruments that
// offer the choice (Flytec/Braeuniger, IQ Basic / Flytec 6015, Flymaster);
// every other instrument sends the waypoints unchanged.
UploadNameRule UploadNameRuleFor(ProtocolType protocol, int parameter);

void ApplyUploadNameRule(Waypoint& waypoint, UploadNameRule rule);

}  // namespace trelvik
