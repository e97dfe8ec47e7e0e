#pragma once
// The one job that a command line describes, as the batch run, the drivers,
// the message boxes and the filters read it. Texts are UTF-8 and never longer
// than their limits (in characters).
#include "access/command_line_values.hpp"
#include "access/gps_job.hpp"
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "analysis/contest/contest_rules.hpp"
#include "automation/server_endpoint.hpp"

#include "records/track_time.hpp"

namespace trelvik {

inline constexpr size_t kKeyLimit = 16;
inline constexpr size_t kValueLimit = 260;
inline constexpr size_t kFileNameLimit = 260;
inline constexpr size_t kPilotLimit = 80;
inline constexpr size_t kGliderIdLimit = 20;
inline constexpr size_t kNotifyClassLimit = 256;
inline constexpr size_t kTrackListSize = kTrackListSlots;
inline constexpr int32_t kTimeoutLimit = 86400;

enum class JobKind : int32_t {
  None = 0,
  KmlLog = 1,             // KML_LOG: download a track log, save it as KML
  OziLog = 2,             // OZI_LOG, RD_LOG: ... as an OziExplorer track file
  IgcLog = 3,             // IGC_LOG: ... as IGC
  MpsLog = 4,             // MPS_LOG: ... as a MapSource file
  ReadWaypoints = 5,      // RD_WPT: download waypoints as an OziExplorer file
  WriteWaypoints = 6,     // WR_WPT: upload waypoints named by description
  WriteWaypoints2 = 7,    // WR_WPT2: upload waypoints named "short description"
  Igc2Kml = 8,            // IGC2KML: convert without a window
  Dat2Kml = 9,            // DAT2KML: convert a .dat track without a window
  LogFile = 10,           // LOGFILE or a single file name: open a track log file
  CompLog = 11,           // COMP_LOG: competition download
  WriteCtr = 13,          // WR_CTR: upload the airspaces of an OpenAir file
  Username = 14,          // USERNAME: upload the pilot name
  ReadGeoWaypoints = 15,  // RD_GEO_WPT: download waypoints in the GEO format
  CheckKml = 16,          // CHKKML: check a KML file's signature
  FlightList = 17,        // FLIGHTLIST: send the flight list to the notify target
};


// Show states of the main window.
enum class WindowMode : int32_t { Hidden = 0, Normal = 5, Minimised = 6 };

enum class CompFileType : int32_t { Kml = 0, Igc = 1 };

// COMPID and CIVLID: the largest number an ID waypoint's position can spell.
inline constexpr int32_t kLargestCommandLinePilotId = 17999999;



struct CommandLineJob {
  JobKind jobKind = JobKind::None;
  GpsType gpsType = GpsType::Garmin;
  std::string portName;  // serial device path from COM=; empty when not given
  int32_t useUsb = 0;
  // The job option's file or directory (or the single file name). An IGC_LOG
  // directory always ends in "/".
  std::string fileName;
  int32_t overwrite = 0;
  int32_t exitAfter = 0;
  WindowMode windowMode = WindowMode::Normal;
  std::string pilot;     // PILOT or USERNAME
  std::string gliderId;  // ID
  // NOTIFY: path of the datagram socket of the program that started the run,
  // and whether a datagram could be sent there when the line was parsed.
  std::string notifyClass;
  bool notifyWindow = false;
  uint32_t notifyTick = 0;  // monotonic milliseconds when the line was parsed
  uint32_t sessionNumber = 0;
  int32_t sessionGiven = 0;
  int32_t posX = 0;  // 0 = not given
  int32_t posY = 0;
  CompFileType compFileType = CompFileType::Kml;
  int32_t compId = -1;  // -1 = not given
  int32_t civlId = -1;
  TrackTime filterStart = 0;  // 0 = not given
  TrackTime filterEnd = 0;
  std::string compDir;
  int32_t compSpecial = 0;
  int32_t noSplit = 0;
  int32_t noCheck = 0;
  int32_t powerOff = 0;
  int32_t timeout = 0;  // 0..86400; below 1 the drivers use 30
  int32_t noLoopOpt = 0;
  // SCORE: the open-distance rules to score the flight of IGC2KML or LOGFILE by.
  std::optional<contest::ContestRules> scoreRules;
  std::array<int32_t, kTrackListSize> trackList = EmptyTrackList();
  // SENDLOG: seconds between position notifications, 0 = none. The command
  // line is the only source of this interval, so it travels with the job.
  int32_t sendLogInterval = 0;
  // SERVER: run the TCP command server until stopped, in place of a job.
  std::optional<ServerEndpoint> server;

  // The data word of every notification: the session number when one was
  // given, else the tick at which the line was parsed.
  uint32_t NotificationDataWord() const { return sessionGiven ? sessionNumber : notifyTick; }

  bool operator==(const CommandLineJob&) const = default;
};

}  // namespace trelvik
