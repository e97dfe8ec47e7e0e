#pragma once
// The end of an unattended competition download: whose flight it is, then the
// competition output under that pilot's name and IDs.
#include <cstdint>
#include <string>

#include "competition/competition_output.hpp"
#include "competition/pilot_list.hpp"

namespace trelvik {

// The pilot as the command line gives it (PILOT, COMPID, CIVLID).
struct GivenPilot {
  std::string name;
  int32_t compId = -1;
  int32_t civlId = -1;
};

// Names the log's pilot and writes the output. Without a list the command
// line names the pilot; with one, the list entry that the instrument's IDs
// (already in the log) or the command line's IDs name, and nothing is written
// when none does. 0 when the files were written or were there already; -1
// after the failure was shown.
[[nodiscard]] int StoreCompetitionDownload(UserInterface& ui, TrackLog& log, const PilotList* list,
                                           const GivenPilot& given, const CompetitionOutputSettings& settings,
                                           const SplitLogChooser& chooseSplit, const SystemTime& now);

}  // namespace trelvik
