#pragma once
// The two command-line jobs around KML files that run without a window:
// IGC2KML (convert an IGC file) and CHKKML (check a KML file's signature).
#include <string>

#include "analysis/optimise_flight.hpp"
#include "base/user_interface.hpp"
#include "trackfiles/xml_choices.hpp"

namespace trelvik {

// IGC2KML: reads `fileName` + ".igc" and, when it gives points, writes
// `fileName` + ".kml" (an existing one only with `overwrite`). 0 when written,
// -1 otherwise (every failure is shown).
[[nodiscard]] int ConvertIgcToKml(UserInterface& ui, const std::string& fileName, bool overwrite,
                                  const OptimiseOptions& optimise);

inline constexpr int kKmlSignatureValid = 1;    // the run's failure flag is set: exit code 1
inline constexpr int kKmlSignatureMissing = 0;  // read, but no valid signature (or no positions)
inline constexpr int kKmlCheckFailed = -1;      // the file could not be read or decoded (shown)

// CHKKML: reads the KML file at `path` with its signature check. "No positions
// found" goes to the status line when the file gives none. Without
// `chooseTrack`, a file of several tracks gives its first one and the
// information "1 taken" under "Track List".
[[nodiscard]] int CheckKmlFile(UserInterface& ui, const std::string& path, const FileTrackChooser& chooseTrack = {});

}  // namespace trelvik
