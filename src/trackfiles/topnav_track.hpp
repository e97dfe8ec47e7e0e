#pragma once
// TopNavigator log files (".tnc"): the TNCM log exactly as the instrument sent it.
#include <cstdint>
#include <string_view>

#include "trackfiles/track_file_records.hpp"

namespace trelvik {

// Errors come back under "Reading Top Navigator Log File"; ignored blocks as a
// warning. Times are local: `utcOffset` (seconds, the UtcOffsetForTN setting)
// is subtracted, and the result does not claim UTC.
[[nodiscard]] TrackFileRead ReadTopNavTrack(std::string_view bytes, int32_t utcOffset);

}  // namespace trelvik
