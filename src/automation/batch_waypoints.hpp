#pragma once
// The waypoint jobs of a batch run: the file an upload sends (WR_WPT,
// WR_WPT2), with the pilot's ID waypoints, and the file a download writes
// (RD_WPT as OziExplorer, RD_GEO_WPT in the GEO format).
#include <optional>
#include <vector>

#include "automation/batch_output.hpp"
#include "automation/command_line_job.hpp"
#include "base/user_interface.hpp"
#include "records/protocol_type.hpp"
#include "records/track_log.hpp"
#include "trackfiles/file_answers.hpp"

namespace trelvik {

struct WaypointUploadFile {
  int fileCount = 0;             // waypoints the file gave
  std::vector<Waypoint> listed;  // the file's waypoints as read, then the ID waypoints
  std::vector<Waypoint> toSend;  // the same with names prepared for the instrument
};

// Reads the job's waypoint file and builds what the upload sends; nothing
// after a shown error; `fileCount` 0 when the file held none.
// `ask` answers the reader's questions (empty: none are asked).
[[nodiscard]] std::optional<WaypointUploadFile> ReadWaypointUploadFile(UserInterface& ui, const CommandLineJob& job,
                                                                       ProtocolType protocol, TrackTime now,
                                                                       const FileQuestionAsker& ask);

// RD_WPT, RD_GEO_WPT: the downloaded list as the job's file.
[[nodiscard]] int WriteBatchWaypoints(const WaypointList& list, const BatchOutputContext& context);

}  // namespace trelvik
