#pragma once
// The OLC claim file: one line of URL-encoded fields, followed on request by
// the flight's IGC file.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/olc/olc_pilot.hpp"
#include "records/track_point.hpp"

namespace trelvik::olc {

// Letters, digits and ! $ ( ) * , - . _ stay; every other byte becomes "%"
// and two upper-case hex digits. "&", "+" and "=" are among those encoded, so
// no value can start a field of its own or turn into a blank.
std::string UrlEncode(std::string_view bytes);

// The claim line (no line end). `igcName` is the IGC file's name without
// extension; `corners` are the best result's start, turnpoints 1..3 and end.
std::string ClaimLine(const CheckedPilot& pilot, const std::string& igcName, const std::array<TrackPoint, 5>& corners,
                      int32_t programVersion);

inline constexpr std::string_view kIgcFieldName = "&IGCigcIGC=";

// The whole file: the line, and with `igc` not empty kIgcFieldName and the
// IGC bytes unchanged.
std::string ClaimFile(std::string_view line, std::string_view igc);

}  // namespace trelvik::olc
