#pragma once
// A small flight and the pieces every batch-run test builds around it.
#include <functional>
#include <string>
#include <vector>

#include "analysis/split_at_gaps.hpp"
#include "automation/batch_output.hpp"
#include "automation/command_line_job.hpp"
#include "base/atomic_file.hpp"
#include "records/track_log.hpp"
#include "records/track_time.hpp"
#include "settings/settings.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik::testing {

// 2024-05-17 10:00:00 UTC: the date the file names carry.
inline TrackTime FlightStart() { return TrackTimeFromDate({2024, 5, 0, 17, 10, 0, 0, 0}); }

// `count` fixes 2 s apart, drifting north-east and climbing, as an instrument delivers them.
inline std::vector<TrackPoint> TestFlight(int count = 60) {
  std::vector<TrackPoint> points;
  for (int i = 0; i < count; ++i) {
    TrackPoint p;
    p.flags = i == 0 ? kNewSegment : 0;
    p.time = FlightStart() + static_cast<TrackTime>(2 * i);
    p.lat = 551000000 + 40000 * i;  // about 46.2 degrees north
    p.lon = 97000000 + 30000 * i;   // about 8.1 degrees east
    p.gpsAlt = 15000 + 20 * i;
    p.baroAlt = 1490 + 2 * i;
    points.push_back(p);
  }
  return points;
}

inline TrackLog DownloadedLog(int32_t signable = 1) {
  TrackLog log;
  log.points = TestFlight();
  log.signable = signable;
  log.utcTimes = 1;
  log.hasPressureAltitude = 1;
  log.source = TrackSource::Flytec;
  log.modelName = "6030";
  log.description = "6030 12345 3.36";
  log.downloadTime = {2024, 5, 0, 17, 18, 30, 0, 0};
  return log;
}

inline std::string FileText(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return "<missing>";
  return bytes;
}

// A BatchOutputContext and everything it refers to.
struct OutputFixture {
  ScriptedUserInterface ui;
  CommandLineJob job;
  Settings settings;
  bool hidden = true;
  int exitCancelled = 0;
  SplitLogChooser chooseSplit = [](const SplitLogDialog& dialog) {
    return std::optional<std::vector<int32_t>>(std::vector<int32_t>{dialog.preselected});
  };
  std::function<void()> cancelExit = [this] { ++exitCancelled; };

  OutputFixture() {
    settings.trackGapTime = 1200;
    settings.loopFlightGap = 800;
  }
  BatchOutputContext Context() { return {ui, job, settings, hidden, chooseSplit, cancelExit}; }
};

}  // namespace trelvik::testing
