#pragma once
// "&Open log": a track file of any format of the table becomes the track log,
// or is appended to the one held, after the questions about backward times
// and about the log already held.
#include <cstdint>
#include <functional>
#include <string>

#include "records/track_log.hpp"
#include "trackfiles/track_file_dialog.hpp"
#include "trackfiles/xml_choices.hpp"

namespace trelvik {

// The "New Track Log" dialog: first and last time and duration of both logs.
struct NewLogSummary {
  std::string first;     // "%d-%02d-%02d  %02d:%02d:%02d"
  std::string last;
  std::string duration;  // "%02d:%02d:%02d"
};
struct NewLogQuestion {
  NewLogSummary current;
  NewLogSummary incoming;
};
enum class NewLogAnswer { Overwrite, Append, Cancel };
using NewLogAsker = std::function<NewLogAnswer(const NewLogQuestion&)>;

[[nodiscard]] NewLogSummary SummariseLog(const std::vector<TrackPoint>& points);

struct OpenTrackLogContext {
  UserInterface& ui;
  const TrackFileChooser& chooseFile;
  const NewLogAsker& askNewLog;
  const FileTrackChooser& chooseTrack;  // the "Track List" of files with several tracks
  int32_t& importIndex;                 // LogImportExt, 1..9
  std::string& folder;                  // TrackLogDir
  int32_t utcOffsetForTn = 0;           // UtcOffsetForTN
  SystemTime now;
};

// The number of positions installed; 0 when the log stayed as it was (a
// cancel, no positions, or a fault that has been shown).
int32_t OpenTrackLog(TrackLog& log, const OpenTrackLogContext& context);

// The log's points followed by `incoming`, when these start after the log
// ends: the joint point does not start a segment, pressure altitudes stay
// only when both logs have them. False (shown) when they overlap.
[[nodiscard]] bool AppendTrackLog(UserInterface& ui, TrackLog& log, std::vector<TrackPoint> incoming,
                                  bool incomingHasPressure, const SystemTime& now);

}  // namespace trelvik
