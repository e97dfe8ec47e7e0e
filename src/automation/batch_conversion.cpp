#include "automation/batch_conversion.hpp"

#include "base/message_box.hpp"
#include "trackfiles/kml_command_line.hpp"

namespace trelvik {

int ConvertCommandLineToKml(const CommandLineJob& job, UserInterface& ui, const Settings& settings) {
  if (job.jobKind != JobKind::Igc2Kml) {
    ShowError(ui, "Converting .dat track log files is not available in this version", kParsingCaption);
    return -1;
  }
  const OptimiseOptions optimise{settings.loopFlightGap, job.noLoopOpt != 0};
  return ConvertIgcToKml(ui, job.fileName, job.overwrite != 0, optimise);
}

CommandLineHooks BatchCommandLineHooks(const Settings& settings) {
  CommandLineHooks hooks;
  hooks.convertToKml = [&settings](const CommandLineJob& job, UserInterface& ui) {
    return ConvertCommandLineToKml(job, ui, settings);
  };
  return hooks;
}

}  // namespace trelvik
