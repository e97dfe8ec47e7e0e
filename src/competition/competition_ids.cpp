#include "competition/competition_ids.hpp"

#include <cctype>
#include <cstring>
#include <limits>

#include "access/job_report.hpp"
#include "base/c_format.hpp"
#include "records/names.hpp"
#include "waypoints/pilot_id_waypoints.hpp"

namespace trelvik {
namespace {

bool StartsWithIgnoringCase(const char* text, std::string_view prefix) {
  while (*text == ' ') ++text;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (text[i] == '\0') return false;
    if (std::toupper(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

std::optional<PilotIdKind> LabelOf(const Waypoint& waypoint) {
  for (const char* field : {waypoint.name, waypoint.description}) {
    if (StartsWithIgnoringCase(field, kCompIdName)) return PilotIdKind::Comp;
    if (StartsWithIgnoringCase(field, kCivlIdName)) return PilotIdKind::Civl;
  }
  return std::nullopt;
}

// "-" and one or more digits: the COMP ID of the special variant.
std::optional<int32_t> DashNumber(const char* name) {
  if (name[0] != '-' || name[1] == '\0') return std::nullopt;
  int64_t value = 0;
  for (const char* p = name + 1; *p != '\0'; ++p) {
    if (!std::isdigit(static_cast<unsigned char>(*p))) return std::nullopt;
    value = value * 10 + (*p - '0');
    if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

}  // namespace

std::optional<FoundPilotId> PilotIdOfWaypoint(const Waypoint& waypoint, bool special) {
  if (special) {
    const std::optional<int32_t> number = DashNumber(waypoint.name);
    if (!number) return std::nullopt;
    return FoundPilotId{PilotIdKind::Comp, *number};
  }
  const std::optional<PilotIdKind> kind = LabelOf(waypoint);
  if (!kind) return std::nullopt;
  const std::optional<int32_t> id = DecodePilotId(waypoint);
  if (!id) return std::nullopt;
  return FoundPilotId{*kind, *id};
}

std::string FoundIdsText(int32_t compId, int32_t civlId) {
  if (compId >= 0 && civlId >= 0) return CFormat("COMP ID = %d, CIVL ID = %d", compId, civlId);
  if (compId >= 0) return CFormat("COMP ID = %d", compId);
  if (civlId >= 0) return CFormat("CIVL ID = %d", civlId);
  return {};
}

CompetitionWaypointCheck MakeCompetitionWaypointCheck(bool special) {
  return [special](GpsJob& job, const Waypoint& waypoint) {
    const std::optional<FoundPilotId> found = PilotIdOfWaypoint(waypoint, special);
    if (!found) return;
    if (found->kind == PilotIdKind::Comp) {
      job.compId = found->id;
      if (special) job.civlId = -1;
    } else {
      job.civlId = found->id;
    }
    ShowProgress(job, FoundIdsText(job.compId, job.civlId));
  };
}

std::vector<Waypoint> PilotIdWaypoints(int32_t compId, int32_t civlId, bool withNnn, TrackTime now) {
  std::vector<Waypoint> waypoints;
  if (compId >= 0) waypoints.push_back(PilotIdWaypoint(kCompIdName, compId, now));
  if (civlId >= 0) waypoints.push_back(PilotIdWaypoint(kCivlIdName, civlId, now));
  if (withNnn && compId >= 0) {
    Waypoint nnn;
    const std::string name = CFormat("-%d", compId);
    CopyToField(name, nnn.name);
    CopyToField(CFormat("COMPID %d", compId), nnn.description);
    nnn.time = now;
    waypoints.push_back(nnn);
  }
  return waypoints;
}

}  // namespace trelvik
