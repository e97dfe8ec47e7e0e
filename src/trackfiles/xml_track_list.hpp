#pragma once
// What the KML and GPX track readers hand back, and the choice among several
// tracks of one file.
#include <cstdint>
#include <string>
#include <vector>

#include "records/track_point.hpp"
#include "trackfiles/xml_choices.hpp"

namespace trelvik {

struct XmlTrackResult {
  std::vector<TrackPoint> points;  // empty after an error or a cancelled choice
  int32_t signatureValid = 0;      // 2 when the keyed hash of a KML trip matched
  int32_t utcTimes = 0;
  int32_t hasPressureAltitude = 0;
  int32_t Count() const { return static_cast<int32_t>(points.size()); }
};

// A track's first time as the "Track List" dialog shows it: "%d-%02d-%02d   %02d:%02d:%02d".
std::string TrackListLine(TrackTime time);

// Asks `chooser` (or takes the first line when it is empty).
int ChooseTrack(const FileTrackChooser& chooser, const TrackListRequest& request);

}  // namespace trelvik
