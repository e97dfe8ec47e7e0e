#pragma once
// DAT2KML: an old FlightLog ".dat" file named on the command line becomes a
// KML trip file beside it.
#include <optional>
#include <string>
#include <vector>

#include "analysis/optimise_flight.hpp"
#include "base/user_interface.hpp"
#include "records/track_point.hpp"

namespace trelvik {

// Reads `fileName` + ".dat"; nothing after the fault was shown.
[[nodiscard]] std::optional<std::vector<TrackPoint>> ReadDatForCommandLine(UserInterface& ui,
                                                                           const std::string& fileName);

// Writes `fileName` + ".kml" (an existing file only with `overwrite`). 0, or
// -1 after the fault was shown.
[[nodiscard]] int ConvertDatToKml(UserInterface& ui, const std::string& fileName, bool overwrite,
                                  const OptimiseOptions& optimise);

}  // namespace trelvik
