#pragma once
// The process-wide track log and waypoint list behind their one owner.
//
// Threads: the window thread owns both stores; a job's completion routine
// changes them while the busy flag keeps every user command away. Driver
// threads touch only the two raw instrument images and the competition
// identities of the log, through the locked calls below.
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
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

// What a finished track download hands to its completion routine.
struct DownloadedLog {
  std::vector<TrackPoint> points;
  int32_t signable = 0;
  int32_t utcTimes = 0;
  int32_t hasPressureAltitude = 0;
  ProtocolType protocol = ProtocolType::GarminSerial;
  TrackSource source = TrackSource::None;
  std::string modelName;
  std::string description;
  std::string identity;
};

// Maker code and logger serial from an IGC file's A record: the three
// characters after "A" and the three after them. Without an A record the maker
// is empty and the serial "000".
struct IgcLoggerId {
  std::string maker;
  std::string serial = "000";
};
IgcLoggerId LoggerIdFromARecord(std::string_view igcText);

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

  // Driver threads: replace a raw image (the previous one is freed).
  void InstallRawIgc(std::string image, TrackTime firstFix, const IgcLoggerId& logger);
  void InstallRawLog(std::string image);
  // Driver thread of a competition download.
  void SetCompetitionIds(int32_t compId, int32_t civlId);

  // Call when a track download or a file reading starts: raw images installed
  // from then on belong to the log installed next.
  void BeginNewLog();

  // Completion routine of a track download, and the end of a file reading. The
  // log is cleared first, except for raw images installed since BeginNewLog
  // (the same download or reading delivered them); older images go.
  void InstallDownloadedLog(DownloadedLog downloaded, const SystemTime& now);
  void InstallFileLog(std::vector<TrackPoint> points, bool utcTimes, bool hasPressureAltitude,
                      const SystemTime& now);
  void ClearTrackLog();

  // A downloaded or read waypoint list replaces the current one.
  void ReplaceWaypoints(std::vector<Waypoint> waypoints);

 private:
  void ClearForInstall();  // rawImageMutex_ held

  TrackLog log_;
  WaypointList waypoints_;
  mutable std::mutex rawImageMutex_;  // guards the raw images, their flags and the competition ids
  bool freshRawIgc_ = false;          // installed since BeginNewLog or the last install
  bool freshRawLog_ = false;
};

}  // namespace trelvik
