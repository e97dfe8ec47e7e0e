#include "automation/batch_conversion.hpp"

#include "base/message_box.hpp"
#include "trackfiles/dat_command_line.hpp"
#include "trackfiles/kml_command_line.hpp"

namespace trelvik {

int ConvertCommandLineToKml(const CommandLineJob& job, UserInterface& ui, const Settings& settings) {
  const OptimiseOptions optimise{settings.loopFlightGap, job.noLoopOpt != 0};
  if (job.jobKind == JobKind::Dat2Kml) return ConvertDatToKml(ui, job.fileName, job.overwrite != 0, optimise);
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
