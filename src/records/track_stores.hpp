#pragma once
// The process-wide track log and waypoint list behind their one owner.
//
// Threads: the window thread owns both stores; a job's completion routine
// changes them while the busy flag keeps every user command away. Driver
// threads never touch them: a job hands its results to its completion routine.
#include <vector>

#include "records/track_log.hpp"

namespace trelvik {

// Frees the points and both raw images; count, signable, saved and
// hasPressureAltitude become 0 and the raw-image fields empty.
void ClearTrackLog(TrackLog& log);

// A log read from a file: cleared first, then signable 0, source 0, no
// description or pilot name, no competition identities, the reader's
// utcTimes and hasPressureAltitude, downloadTime = `now`.
void InstallFileLog(TrackLog& log, std::vector<TrackPoint> points, bool utcTimes, bool hasPressureAltitude,
                    const SystemTime& now);

class TrackStores {
 public:
  // The one instance of the process.
  static TrackStores& Instance();

  TrackStores() = default;
  TrackStores(const TrackStores&) = delete;
  TrackStores& operator=(const TrackStores&) = delete;

  // Window thread (or a completion routine while the busy flag is set).
  TrackLog& Log() { return log_; }
  const TrackLog& Log() const { return log_; }
  WaypointList& Waypoints() { return waypoints_; }
  const WaypointList& Waypoints() const { return waypoints_; }

 private:
  TrackLog log_;
  WaypointList waypoints_;
};

}  // namespace trelvik
