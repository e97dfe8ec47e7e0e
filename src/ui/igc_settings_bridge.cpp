#include "ui/igc_settings_bridge.hpp"

namespace trelvik {

IgcSettings IgcSettingsOf(const Settings& settings) {
  IgcSettings igc;
  igc.igcPilotName = settings.igcPilotName;
  igc.igcFlightNo = settings.igcFlightNo;
  igc.igcContestId = settings.igcContestId;
  igc.igcGliderType = settings.igcGliderType;
  igc.igcGliderId = settings.igcGliderId;
  igc.igcSite = settings.igcSite;
  igc.igcClass = settings.igcClass;
  igc.igcSaveMask = static_cast<uint32_t>(settings.igcSaveMask);
  igc.igcAddEnl = settings.igcAddEnl;
  igc.igcDir = settings.igcDir;
  return igc;
}

void StoreIgcSettings(const IgcSettings& igc, Settings& settings) {
  settings.igcPilotName = igc.igcPilotName;
  settings.igcFlightNo = igc.igcFlightNo;
  settings.igcContestId = igc.igcContestId;
  settings.igcGliderType = igc.igcGliderType;
  settings.igcGliderId = igc.igcGliderId;
  settings.igcSite = igc.igcSite;
  settings.igcClass = igc.igcClass;
  settings.igcSaveMask = static_cast<int32_t>(igc.igcSaveMask);
  settings.igcAddEnl = igc.igcAddEnl;
  settings.igcDir = igc.igcDir;
}

}  // namespace trelvik
