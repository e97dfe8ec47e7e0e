#pragma once
// The two batch jobs that read a track log file instead of an instrument:
// LOGFILE (or a lone file name) opens it as the track log, CHKKML checks the
// signature of a KML trip file.
#include <functional>
#include <string>

#include "base/user_interface.hpp"
#include "records/track_log.hpp"

namespace trelvik {

struct TrackListRequest;
using BatchTrackChooser = std::function<int(const TrackListRequest&)>;

// Without a window: the first of several tracks is taken, as OK would, and
// the console is told so ("Track List: 1 taken").
BatchTrackChooser FirstTrackTaken(UserInterface& ui);

// Reads the file by its extension and installs its positions as a file log;
// the status line tells how many were read. 0 with positions installed, -1
// otherwise (the fault has been shown).
[[nodiscard]] int OpenTrackLogFile(UserInterface& ui, const std::string& fileName, TrackLog& log,
                                   const BatchTrackChooser& chooseTrack, const SystemTime& now,
                                   int32_t utcOffsetForTn = 0);

// CHKKML: true when the file carries a valid signature.
[[nodiscard]] bool KmlSignatureValid(UserInterface& ui, const std::string& fileName,
                                     const BatchTrackChooser& chooseTrack);

}  // namespace trelvik
