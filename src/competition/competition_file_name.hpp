#pragma once
// The names of the competition output files: folder, pilot, time and the two
// IDs, separated by dots, so that a scorer sees whose flight a file holds.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "records/track_time.hpp"

namespace trelvik {

inline constexpr size_t kCompetitionNameLimit = 260;  // characters, extension excluded

// A pilot name as a file-name piece: "/", "\", control characters and leading
// dots become "_", so that no name reaches outside the competition folder.
[[nodiscard]] std::string SafeFileNamePiece(std::string_view name);

// "<dir>/<pilot>.<YYYYMMDD-HHMMSS>.<CIVLID>.<COMPID>" without extension;
// "[pilot name]", "[CIVLID]" and "[COMPID]" stand for what is unknown.
// Nothing when it is longer than kCompetitionNameLimit characters.
[[nodiscard]] std::optional<std::string> CompetitionFileBase(std::string_view compDir, std::string_view pilotName,
                                                             int32_t civlId, int32_t compId, const SystemTime& time);

}  // namespace trelvik
