#pragma once
// The FlightLog logbook: a KML file of trip folders, one per flight, that a
// new flight is appended to or that is started anew.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/user_interface.hpp"
#include "trackfiles/kml_trip.hpp"
#include "trackfiles/xml_choices.hpp"

namespace trelvik {

struct KmlFolderSpan {
  size_t begin = 0;  // the "<" of the first Folder start tag
  size_t end = 0;    // just after the last Folder end tag at that depth
};

// Finds the trip folders of a logbook text. 0, or -1 when the text is not
// well nested, has text where a tag belongs, or closes no Folder.
[[nodiscard]] int FindKmlFolders(std::string_view text, KmlFolderSpan& span);

// The name the save dialog proposes: "%d-%02d-%02d_%02d-%02d" of the first point.
std::string FlightLogProposedName(const KmlTripInput& input);

// The save command of the statistics dialog. `title` is the dialog's log
// description, `instrument` the track log's description. `folder` is the
// track-log folder the file chooser starts in; it becomes the chosen file's.
// `askExisting` answers "File already exists" (Append / Overwrite / Cancel).
// 0 once the file is written; -1 on failure or cancel (failures are shown).
[[nodiscard]] int SaveFlightLogTrack(UserInterface& ui, const KmlTripInput& input, std::optional<std::string_view> title,
                                     std::optional<std::string_view> instrument, std::string& folder,
                                     const ExistingLogbookQuestion& askExisting);

}  // namespace trelvik
