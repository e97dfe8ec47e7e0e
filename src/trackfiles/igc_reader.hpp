#pragma once
// Reading IGC files into track points: the pure reader of the track file
// table, and the command-line conversion's file reading, which shows its faults.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/user_interface.hpp"
#include "records/track_log.hpp"
#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/track_file_records.hpp"

namespace trelvik {

inline constexpr char kIgcReadCaption[] = "Reading IGC log file";

// Decodes `bytes` into points and keeps the file as its raw IGC image (bytes,
// date of the first fix, maker code, serial). signatureValid and utcTimes stay
// 0: a file's G record is not trusted for signing, and the track log keeps IGC
// times unmarked. A decoding error comes back under "Reading IGC log file"
// with its line; cut-off B records give one information notice.
[[nodiscard]] TrackFileRead ReadIgcTrackFile(std::string_view bytes);

// Makes `image` the raw IGC image of `log`, to be saved again unchanged.
void InstallRawIgcImage(TrackLog& log, RawIgcImage image);

// The IGC file a command-line job names: its name without the extension.
inline std::string CommandLineIgcPath(const std::string& fileName) { return fileName + ".igc"; }

// Reads CommandLineIgcPath(fileName) and decodes it.
// Nothing when it fails (every failure is shown).
[[nodiscard]] std::optional<BulkTrackPoints> ReadIgcForCommandLine(UserInterface& ui, const std::string& fileName);

}  // namespace trelvik
