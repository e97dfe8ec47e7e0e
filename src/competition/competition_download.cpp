#include "competition/competition_download.hpp"

#include "base/message_box.hpp"
#include "competition/pilot_match.hpp"

namespace trelvik {

int StoreCompetitionDownload(UserInterface& ui, TrackLog& log, const PilotList* list, const GivenPilot& given,
                             const CompetitionOutputSettings& settings, const SplitLogChooser& chooseSplit,
                             const SystemTime& now) {
  if (log.points.empty()) {
    ShowError(ui, "No positions found", kSaveCompetitionCaption);
    return -1;
  }
  if (list == nullptr || !list->Loaded()) {
    log.pilotName = given.name;
    log.compId = given.compId;
    log.civlId = given.civlId;
  } else {
    std::string why;
    const std::optional<size_t> found = MatchPilot(*list, {log.civlId, log.compId, given.civlId, given.compId}, why);
    if (!found) {
      ShowError(ui, why, kSaveCompetitionCaption);
      return -1;
    }
    const PilotEntry& entry = list->entries[*found];
    log.pilotName = entry.name;
    log.compId = entry.compId;
    log.civlId = entry.civlId;
    ui.SetStatus(PilotEntryLabel(entry));
  }
  const CompetitionOutput output = SaveCompetitionOutput(ui, log, log.points, settings, chooseSplit, now);
  switch (output.outcome) {
    case CompetitionOutcome::Written:
    case CompetitionOutcome::AlreadyProcessed: return 0;
    case CompetitionOutcome::NothingToWrite:
    case CompetitionOutcome::Failed: break;
  }
  return -1;
}

}  // namespace trelvik
