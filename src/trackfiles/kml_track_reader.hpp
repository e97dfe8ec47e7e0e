#pragma once
// Reads the track of a KML trip file (one track placemark per Folder, as the
// trip writer makes them) and re-computes its keyed hash, so that an unaltered
// track from an instrument is recognised (signatureValid 2).
#include <string_view>

#include "trackfiles/xml_track_list.hpp"

namespace trelvik {

// Errors and the track-count warning come back under "Parsing track log file".
// Without `chooseTrack` the first of several tracks is taken without asking.
[[nodiscard]] TrackFileRead ReadKmlTrack(std::string_view text, const FileTrackChooser& chooseTrack = {});

}  // namespace trelvik
