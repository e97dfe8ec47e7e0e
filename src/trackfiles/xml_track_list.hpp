#pragma once
// The choice among several tracks of one file, for the KML and GPX track
// readers, whose records are those of every track file format.
#include <cstdint>
#include <string>
#include <vector>

#include "records/track_point.hpp"
#include "trackfiles/track_file_records.hpp"
#include "trackfiles/xml_choices.hpp"

namespace trelvik {

// A track's first time as the "Track List" dialog shows it: "%d-%02d-%02d   %02d:%02d:%02d".
std::string TrackListLine(TrackTime time);

// Asks `chooser` (or takes the first line when it is empty).
int ChooseTrack(const FileTrackChooser& chooser, const TrackListRequest& request);

}  // namespace trelvik
