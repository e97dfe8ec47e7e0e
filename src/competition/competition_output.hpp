#pragma once
// The competition output of one track log: the points inside the task's time
// window, checked by the filters, written as a KML file with statistics,
// optimisation and the pilot's IDs, and optionally as an IGC file, both named
// after the pilot in the competition folder.
#include <cstdint>
#include <span>
#include <string>

#include "analysis/split_at_gaps.hpp"
#include "base/user_interface.hpp"
#include "records/track_log.hpp"

namespace trelvik {

inline constexpr const char* kSaveCompetitionCaption = "Save log for competition";

struct CompetitionOutputSettings {
  std::string compDir;      // UTF-8 folder
  TrackTime timeStart = 0;  // 0 = open
  TrackTime timeStop = 0;   // 0 = open
  bool writeIgc = false;    // AddIgcToCompOut, CompSpecial or COMP_LOG=IGC
  bool speedFilter = true;  // LogFilter (off with NOCHECK)
  int32_t varioFilter = 0;  // m/s, 0 = off
  SplitSettings split;      // TrackGapTime, NOSPLIT, names for the split dialog
  int32_t loopFlightGap = 800;
  bool noLoopOptimisation = false;
  // A command-line run leaves existing files alone ("already processed");
  // the user's command replaces them.
  bool commandLineRun = false;
};

enum class CompetitionOutcome {
  Written,           // every file written
  AlreadyProcessed,  // a command-line run found the files there and left them
  NothingToWrite,    // no positions, or too few (shown)
  Failed,            // a name, memory or file failure (shown)
};

struct CompetitionOutput {
  CompetitionOutcome outcome = CompetitionOutcome::Failed;
  std::string kmlPath;  // the files' names, once known
  std::string igcPath;
};

// Writes the output for `points` (the whole log or the selection) with the
// log's pilot name, IDs, identity and flags; the log is marked saved after the
// KML file. `now` stamps the download time of signed KML files.
[[nodiscard]] CompetitionOutput SaveCompetitionOutput(UserInterface& ui, TrackLog& log,
                                                      std::span<const TrackPoint> points,
                                                      const CompetitionOutputSettings& settings,
                                                      const SplitLogChooser& chooseSplit, const SystemTime& now);

// The points that pass the competition window (bad time stamps dropped; a
// limit of 0 is open; a start not before the stop lets every point pass), and
// why points went.
struct CompetitionPoints {
  std::vector<TrackPoint> points;
  bool badTimestamps = false;
  bool outsideWindow = false;
};
[[nodiscard]] CompetitionPoints PointsInCompetitionWindow(std::span<const TrackPoint> points, TrackTime start,
                                                          TrackTime stop);

}  // namespace trelvik
