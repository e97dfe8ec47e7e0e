#pragma once
// The program's one airspace list and the preview track of the outline last
// turned into points. One object, owned by the window thread; an instrument
// job's completion routine replaces the list only while the busy flag keeps
// every user command away.
#include <vector>

#include "airspace/ctr_area.hpp"
#include "records/track_point.hpp"

namespace trelvik {

struct AirspaceList {
  CtrList areas;
  std::vector<TrackPoint> previewTrack;

  // A new read: kept in front of the current airspaces, or replacing them.
  void Install(CtrList&& read, bool keepCurrent) {
    if (keepCurrent) {
      read.insert(read.end(), std::make_move_iterator(areas.begin()), std::make_move_iterator(areas.end()));
    }
    areas = std::move(read);
  }
  void Clear() { areas.clear(); }
};

}  // namespace trelvik
