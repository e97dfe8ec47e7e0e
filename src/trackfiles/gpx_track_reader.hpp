#pragma once
// Reads one track segment of a GPX file; with several segments the user picks one.
#include <string_view>

#include "base/user_interface.hpp"
#include "trackfiles/xml_track_list.hpp"

namespace trelvik {

// Messages go to `ui` under "Parsing track log file". The result always has
// utcTimes 0 and signatureValid 0; empty points after an error or a cancel.
[[nodiscard]] XmlTrackResult ReadGpxTrack(UserInterface& ui, std::string_view text,
                                          const FileTrackChooser& chooseTrack = {});

}  // namespace trelvik
