#pragma once
// Writing the downloaded track log to the file a batch run names: a KML trip
// file (KML_LOG) or an IGC file (IGC_LOG).
#include <functional>

#include "analysis/split_at_gaps.hpp"
#include "automation/command_line_job.hpp"
#include "base/user_interface.hpp"
#include "records/track_log.hpp"
#include "settings/settings.hpp"

namespace trelvik {

struct BatchOutputContext {
  UserInterface& ui;
  const CommandLineJob& job;
  const Settings& settings;  // TrackGapTime, LoopFlightGap, PortName
  bool hiddenWindow;
  const SplitLogChooser& chooseSplit;
  // EXIT is cancelled (and the window shown normally) after a file error.
  const std::function<void()>& cancelExit;
};

inline constexpr int kOutputWritten = 0;
inline constexpr int kOutputLeftAlone = 1;  // nothing written, nothing failed
inline constexpr int kOutputFailed = -1;    // shown; the run's failure flag is set by the caller

// KML_LOG: the log, split at its gaps, as a KML trip file with statistics and
// optimised distances.
[[nodiscard]] int WriteBatchKml(const TrackLog& log, const BatchOutputContext& context);

// OZI_LOG / RD_LOG ("ozi-track") and MPS_LOG ("mapsource"): the log, split at
// its gaps, by the writer of that row of the track file table; `now` stamps
// formats that carry the time of writing.
[[nodiscard]] int WriteBatchTrackFile(const TrackLog& log, const BatchOutputContext& context,
                                      std::string_view format, TrackTime now);

// IGC_LOG: the instrument's own IGC file for instruments that deliver one,
// otherwise the log encoded with the program's security record when signable.
[[nodiscard]] int WriteBatchIgc(const TrackLog& log, const BatchOutputContext& context);

enum class SplitOutcome {
  Kept,       // `points` holds the flights to write
  Cancelled,  // the user chose none: nothing is written
  Failed,     // memory ran out ("Memory allocation error" shown under the caption)
};

// The log's points split at gaps for writing (unchanged with NOSPLIT).
[[nodiscard]] SplitOutcome SplitForOutput(const TrackLog& log, const BatchOutputContext& context,
                                          std::string_view caption, std::vector<TrackPoint>& points);

// A downloaded log's output: its points split at gaps, and the file the
// command line names (its date expanded) once the overwrite rules allow it.
struct TrackOutputTarget {
  std::vector<TrackPoint> points;
  std::string path;
};
// Nothing when no file is to be written; `ended` then holds the output's
// result (kOutputLeftAlone, or kOutputFailed after the fault was shown).
[[nodiscard]] std::optional<TrackOutputTarget> PrepareTrackOutput(const TrackLog& log,
                                                                  const BatchOutputContext& context,
                                                                  std::string_view caption, int& ended);

}  // namespace trelvik
