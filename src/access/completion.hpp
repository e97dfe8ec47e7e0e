#pragma once
// The completion routines: run on the job's thread after the protocol steps,
// they install the job's results into the stores while the window keeps its
// hands off them (JobRunning), then clear the busy flag and tell the window
// whether a command-line run or the competition flow goes on.
#include <any>
#include <functional>
#include <vector>

#include "access/gps_access.hpp"
#include "access/gps_job.hpp"
#include "records/track_log.hpp"
#include "records/track_time.hpp"

namespace trelvik {

// What the window supplies; every hook may be empty.
struct CompletionContext {
  bool commandLineRun = false;   // an unattended run is active
  bool exitAfterRun = false;     // ...and ends with EXIT: lists are not redrawn
  bool competitionMode = false;
  // The download filters when they are on: filter in place, report nothing.
  std::function<void(std::vector<TrackPoint>&)> downloadFilter;
  std::function<void()> redrawTrackList;
  std::function<void()> redrawWaypointList;
  std::function<void()> redrawCtrList;
  // The window's continuation message: (1, success) for a command-line run,
  // (2, installed) for the competition flow.
  std::function<void(int first, int second)> postMainWindow;
  std::function<void(GpsJob&)> competitionBookkeeping;  // after a waypoint upload
  std::function<SystemTime()> utcNow;                   // default: the system clock
};

void CompleteTrackDownload(GpsJob& job, GpsAccess& access, TrackLog& log, const CompletionContext& context);
void CompleteWaypointDownload(GpsJob& job, GpsAccess& access, TrackLog& log, WaypointList& list,
                              const CompletionContext& context);
void CompleteFlightListDownload(GpsJob& job, GpsAccess& access, const CompletionContext& context);
// `install` takes the new airspace list (the block's ctrList, moved out).
void CompleteCtrDownload(GpsJob& job, GpsAccess& access, const std::function<void(std::any&&)>& install,
                         const CompletionContext& context);
void CompleteWaypointUpload(GpsJob& job, GpsAccess& access, const CompletionContext& context);
// Track and CTR uploads.
void CompleteUpload(GpsJob& job, GpsAccess& access);
// A job started by a step of the command-line run.
void CompleteCommandLineStep(GpsJob& job, GpsAccess& access, const CompletionContext& context);

}  // namespace trelvik
