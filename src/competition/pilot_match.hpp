#pragma once
// Which pilot of the list an unattended competition download belongs to.
#include <cstdint>
#include <optional>
#include <string>

#include "competition/pilot_list.hpp"

namespace trelvik {

// The IDs a match may use, in the order they are tried: the instrument's
// CIVLID waypoint, its COMPID waypoint, then the command line's CIVLID and
// COMPID. -1 = not known.
struct PilotIds {
  int32_t instrumentCivlId = -1;
  int32_t instrumentCompId = -1;
  int32_t givenCivlId = -1;
  int32_t givenCompId = -1;
};

// The index of the entry named by the first ID that names one (a CIVL ID among
// the entries' CIVL IDs, a COMP ID among their COMP IDs); nothing with the
// reason in `why`.
[[nodiscard]] std::optional<size_t> MatchPilot(const PilotList& list, const PilotIds& ids, std::string& why);

}  // namespace trelvik
