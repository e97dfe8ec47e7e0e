#include "automation/batch_conversion.hpp"

#include "automation/contest_score_report.hpp"
#include "base/message_box.hpp"
#include "trackfiles/dat_command_line.hpp"
#include "trackfiles/igc_contest_fixes.hpp"
#include "trackfiles/igc_file_read.hpp"
#include "trackfiles/igc_reader.hpp"
#include "trackfiles/kml_command_line.hpp"

namespace trelvik {

int ConvertCommandLineToKml(const CommandLineJob& job, UserInterface& ui, const Settings& settings) {
  const OptimiseOptions optimise{settings.loopFlightGap, job.noLoopOpt != 0};
  if (job.jobKind == JobKind::Dat2Kml) return ConvertDatToKml(ui, job.fileName, job.overwrite != 0, optimise);
  const int converted = ConvertIgcToKml(ui, job.fileName, job.overwrite != 0, optimise);
  if (converted >= 0 && job.scoreRules) {
    // The file read a moment ago for the conversion; its void fixes count apart.
    ReportContestScore(ui, *job.scoreRules, IgcContestFixes(ReadIgcFileBytes(CommandLineIgcPath(job.fileName)).bytes));
  }
  return converted;
}

CommandLineHooks BatchCommandLineHooks(const Settings& settings, PilotList* pilots) {
  CommandLineHooks hooks;
  if (pilots != nullptr) {
    hooks.readFsPilotList = [pilots](const std::string& path, UserInterface& ui) {
      return ReadPilotListFile(ui, path, *pilots);
    };
  }
  hooks.convertToKml = [&settings](const CommandLineJob& job, UserInterface& ui) {
    return ConvertCommandLineToKml(job, ui, settings);
  };
  return hooks;
}

}  // namespace trelvik
