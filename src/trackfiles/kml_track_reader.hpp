#pragma once
// Reads the track of a KML trip file (one track placemark per Folder, as the
// trip writer makes them) and re-computes its keyed hash, so that an unaltered
// track from an instrument is recognised (signatureValid 2).
#include <string_view>

#include "base/user_interface.hpp"
#include "trackfiles/xml_track_list.hpp"

namespace trelvik {

// Messages go to `ui` under "Parsing track log file" unless `silent`; a silent
// read takes the first of several tracks without asking. Empty points after
// an error or when the user cancelled the choice.
[[nodiscard]] XmlTrackResult ReadKmlTrack(UserInterface& ui, std::string_view text, bool silent,
                                          const FileTrackChooser& chooseTrack = {});

}  // namespace trelvik
