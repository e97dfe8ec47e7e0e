#pragma once
// The IGC save commands work on their own view of the settings; these copy it
// out of the settings in memory and back.
#include "settings/settings.hpp"
#include "trackfiles/igc_save.hpp"

namespace trelvik {

IgcSettings IgcSettingsOf(const Settings& settings);
void StoreIgcSettings(const IgcSettings& igc, Settings& settings);

}  // namespace trelvik
