#pragma once
// Reads one track segment of a GPX file; with several segments the user picks one.
#include <string_view>

#include "trackfiles/xml_track_list.hpp"

namespace trelvik {

// Errors come back under "Parsing track log file". The records always have
// utcTimes 0 and signatureValid 0. Without `chooseTrack` the first of several
// segments is taken.
[[nodiscard]] TrackFileRead ReadGpxTrack(std::string_view text, const FileTrackChooser& chooseTrack = {});

}  // namespace trelvik
