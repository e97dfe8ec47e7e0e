#pragma once
// "Convert .igc files to .kml" and "&Convert .kml files to .igc": each chosen
// file is written beside itself in the other format.
#include <string>
#include <vector>

#include "analysis/optimise_flight.hpp"
#include "base/user_interface.hpp"
#include "records/track_time.hpp"

namespace trelvik {

enum class TrackConversion { IgcToKml, KmlToIgc };

struct TrackConversionResult {
  int converted = 0;  // files written
  int leftAlone = 0;  // targets that existed and were not replaced
};

// Converts `files` in order; the first fault stops the run with its message.
// An existing target is replaced only when the user says so (never without a
// window to ask in). The status line then shows "%d file(s) converted".
TrackConversionResult ConvertTrackFiles(UserInterface& ui, TrackConversion direction,
                                        const std::vector<std::string>& files, const OptimiseOptions& optimise,
                                        TrackTime now);

// The open dialog's title, filter type, extension and the command's caption.
struct TrackConversionTexts {
  const char* title;
  const char* typeName;
  const char* extension;
  const char* caption;
};
[[nodiscard]] TrackConversionTexts TextsOf(TrackConversion direction);

}  // namespace trelvik
