#pragma once
// Reads a track file through its format's row for a caller with a user
// interface: questions go to the caller's track chooser, notices and errors
// to the user, each in the order the reader gave them.
#include <optional>
#include <string_view>

#include "base/user_interface.hpp"
#include "trackfiles/track_file_formats.hpp"

namespace trelvik {

// The records, or nothing after an error (shown) or a cancelled choice. Without
// `chooseTrack` the first of several tracks is taken, as OK would.
[[nodiscard]] std::optional<TrackFileRecords> ReadTrackFileShown(UserInterface& ui, const TrackFileFormat& format,
                                                                 std::string_view bytes,
                                                                 const FileTrackChooser& chooseTrack, TrackTime now,
                                                                 int32_t utcOffsetForTn = 0);

}  // namespace trelvik
