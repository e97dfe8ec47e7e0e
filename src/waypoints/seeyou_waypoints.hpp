#pragma once
// SeeYou waypoint files (".cup"), in UTF-8: a header line, then one line of
// comma-separated fields per waypoint (quoted fields may hold commas, a quote
// in them is doubled), up to the task section that begins with "-----".
#include <string>
#include <string_view>
#include <vector>

#include "trackfiles/file_answers.hpp"
#include "trackfiles/file_format_flags.hpp"
#include "trackfiles/waypoint_file_records.hpp"

namespace trelvik {

[[nodiscard]] bool IsSeeYouWaypointFile(std::string_view bytes);

[[nodiscard]] WaypointFileRead ReadSeeYouWaypoints(std::string_view bytes, const FileReadContext& context);
[[nodiscard]] FileWriteResult WriteSeeYouWaypoints(const WaypointFileRecords& records);

// A line cut at the commas outside double quotes into at most `maxFields`
// fields (the last takes the rest); quotes removed, doubled quotes as one.
[[nodiscard]] std::vector<std::string> SplitQuotedFields(std::string_view line, size_t maxFields);

}  // namespace trelvik
