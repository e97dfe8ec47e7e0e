#pragma once
// Magellan track logs (".log"): the $PMGNTRK sentences a Magellan receiver
// sends, one per line, each with its NMEA checksum.
#include <string_view>

#include "trackfiles/track_file_records.hpp"

namespace trelvik {

// Errors come back under "Decoding track log file". Lines with validity
// other than "A" give no point.
[[nodiscard]] TrackFileRead ReadMagellanTrack(std::string_view text);

}  // namespace trelvik
