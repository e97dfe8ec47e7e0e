#include "trackfiles/xml_track_list.hpp"

#include "base/c_format.hpp"

namespace trelvik {

std::string TrackListLine(TrackTime time) {
  const SystemTime date = DateFromTrackTime(time);
  return CFormat("%d-%02d-%02d   %02d:%02d:%02d", date.year, date.month, date.day, date.hour, date.minute,
                 date.second);
}

int ChooseTrack(const FileTrackChooser& chooser, const TrackListRequest& request) {
  if (!chooser) return 0;
  const int chosen = chooser(request);
  if (chosen >= static_cast<int>(request.lines.size())) return kTrackListNoSelection;
  return chosen;
}

}  // namespace trelvik
