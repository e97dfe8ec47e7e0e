#pragma once
// "Save log &As...": the selected positions in a writable format of the
// table, or the TopNavigator image as the instrument sent it; and the text
// that Ctrl+C copies.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "records/track_log.hpp"
#include "trackfiles/csv_track.hpp"
#include "trackfiles/track_file_dialog.hpp"

namespace trelvik {

struct SaveTrackLogContext {
  UserInterface& ui;
  const TrackFileChooser& chooseFile;
  int32_t& exportIndex;  // LogExportExt, 1..5
  std::string& folder;   // TrackLogDir
  int32_t varioFilter = 0;  // VarioFilter, m/s
  CsvColumns csv;
  TrackTime now = 0;
};

// `selected` are the selected positions (the caller has checked the view and
// the busy flag). The number of positions written, or 0 when nothing was.
int32_t SaveTrackLogAs(TrackLog& log, std::vector<TrackPoint> selected, const SaveTrackLogContext& context);

// One "%4d-%02d-%02d, %02d:%02d:%02d, %.6f, %.6f, %c%d.%d, %.1f\r\n" line a point.
[[nodiscard]] std::string TrackClipboardText(std::span<const TrackPoint> points);

}  // namespace trelvik
