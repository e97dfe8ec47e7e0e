#pragma once
// Competition mode's look at the waypoints an instrument holds: the pilot's
// COMP ID and CIVL ID waypoints, found by their label and read from their
// position, and (in the special variant) the "-NNN" waypoint.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "access/gps_job.hpp"
#include "records/waypoint.hpp"

namespace trelvik {

enum class PilotIdKind { Comp, Civl };

struct FoundPilotId {
  PilotIdKind kind = PilotIdKind::Comp;
  int32_t id = -1;
  bool operator==(const FoundPilotId&) const = default;
};

// The ID one waypoint carries. With `special`, only a name "-" followed by
// digits counts (a COMP ID). Otherwise a name or comment beginning "COMPID" or
// "CIVLID" (any case) marks an ID waypoint and its position spells the number:
// instruments keep positions faithfully but shorten, upper-case or drop names,
// so the label may survive in either field while the number lives in the
// position.
[[nodiscard]] std::optional<FoundPilotId> PilotIdOfWaypoint(const Waypoint& waypoint, bool special);

// The progress text of the IDs found: "CIVL ID = %d", "COMP ID = %d" or
// "COMP ID = %d, CIVL ID = %d"; empty when neither is known.
[[nodiscard]] std::string FoundIdsText(int32_t compId, int32_t civlId);

// The check a competition download installs in its job: every waypoint read
// from the instrument goes through it; an ID it finds sets the job's compId or
// civlId and is shown in the progress line.
[[nodiscard]] CompetitionWaypointCheck MakeCompetitionWaypointCheck(bool special);

// The one to three waypoints that store a pilot's IDs in an instrument:
// "COMPID", "CIVLID" and, with `withNnn` and a COMP ID, "-NNN" at 0/0.
[[nodiscard]] std::vector<Waypoint> PilotIdWaypoints(int32_t compId, int32_t civlId, bool withNnn, TrackTime now);

}  // namespace trelvik
