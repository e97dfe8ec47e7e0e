#pragma once
// The private block of one instrument job: its parameters in, its results out,
// and the services it may use. Created by the starter, used by the job's thread
// alone, freed when the thread ends.
#include <any>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "access/access_function.hpp"
#include "access/command_line_values.hpp"
#include "access/link.hpp"
#include "access/protocol_row.hpp"
#include "records/protocol_type.hpp"
#include "records/track_point.hpp"
#include "records/waypoint.hpp"

namespace trelvik {

class DebugTrace;
class FieldFormAsker;
class JobChannel;
class Notifier;
class TrackListChooser;

inline constexpr int kFlightListSize = 100;
inline constexpr size_t kPortNameLimit = 80;
inline constexpr size_t kModelNameLimit = 16;
inline constexpr size_t kDescriptionLimit = 80;
inline constexpr size_t kIdentityLimit = 50;

// One flight an instrument lists; start 0 = empty entry.
struct FlightListEntry {
  TrackTime start = 0;
  uint32_t duration = 0;  // seconds
};

// The IGC file exactly as the instrument delivered it, installed into the
// track log by the completion of a successful download.
struct RawIgcImage {
  std::string bytes;
  TrackTime date = 0;  // first fix
  std::string maker;   // three characters after "A" in the A record
  std::string serial = "000";
};

// How a download that writes its own logbook analyses each track, and where
// its save dialog starts. The starter copies the user's settings.
struct TrackAnalysisSettings {
  bool speedFilter = true;      // LogFilter
  int32_t loopFlightGap = 800;  // LoopFlightGap, metres; 0 = no loop searches
  std::string folder;           // TrackLogDir; the save dialog's chosen folder on return
};

struct GpsJob;

// Competition mode's look at the instrument's waypoints: every waypoint a
// download reads from the instrument goes through it, so that the pilot's ID
// waypoints set the job's compId and civlId. Empty outside competition mode.
using CompetitionWaypointCheck = std::function<void(GpsJob& job, const Waypoint& waypoint)>;

struct GpsJob {
  // Services. The starter fills them; a job never reaches further.
  JobChannel* channel = nullptr;
  DebugTrace* trace = nullptr;
  LinkOpener* linkOpener = nullptr;
  Notifier* notifier = nullptr;                      // null: no program to notify
  const CommandLineValues* commandLine = nullptr;    // null: no command-line run
  TrackListChooser* trackListChooser = nullptr;      // null: no one to ask
  FieldFormAsker* fieldFormAsker = nullptr;          // null: no one to ask

  bool tcpClient = false;  // reports go to a TCP session; outside the one-job gate
  AccessFunction function = AccessFunction::DownloadWaypoints;
  ProtocolType protocol = ProtocolType::GarminSerial;
  const ProtocolRow* row = nullptr;  // the protocol's row; null only for jobs made by hand
  int32_t option = 0;     // baud rate or variant, per protocol
  std::string portName;   // at most kPortNameLimit characters
  TrackAnalysisSettings analysis;

  std::unique_ptr<Link> port;  // null while closed
  int32_t portBaud = 0;        // speed of the open port
  bool portXonXoff = false;    // flow control of the open port
  std::atomic<bool> abort{false};

  // Flight list (operation 9 and the track choice) and the chosen entries:
  // bit k of word k / 32 = entry k.
  std::array<FlightListEntry, kFlightListSize> flightList{};
  std::array<uint32_t, 4> trackSelection{};

  // Data in and out. Ownership passes to whoever moves it out of the block.
  std::vector<TrackPoint> points;
  std::vector<Waypoint> waypoints;
  std::any ctrList;  // the airspace list, typed by the airspace layer
  std::optional<RawIgcImage> rawIgc;
  std::optional<std::string> rawLog;  // XC Trainer / TopNav logger bytes
  std::string ownerName;              // the name an owner-name upload writes, as typed
  std::vector<std::string> pilotData;  // pilot-data uploads: the texts of the command in `option`

  // Track result fields and the instrument's identity.
  int32_t utcTimes = 0;
  int32_t signable = 0;
  int32_t hasPressureAltitude = 0;
  TrackSource source = TrackSource::None;
  std::string modelName;    // at most kModelNameLimit characters
  std::string description;  // at most kDescriptionLimit
  std::string identity;     // at most kIdentityLimit: "model: serial"
  int32_t compId = -1;
  int32_t civlId = -1;
  CompetitionWaypointCheck competitionCheck;
  bool powerOffAfterTransfer = false;  // the window's "power off after transfer" check mark

  // Remaining-time estimate of a download.
  TrackTime firstFixTime = 0;
  uint32_t expectedDuration = 0;  // seconds, when the track list tells it
  int32_t expectedCount = 0;      // points announced; 0 = unknown
  uint32_t firstFixTick = 0;      // channel tick of the first point

  int32_t result = 0;  // negative = failure; set just before onComplete runs
  std::function<void(GpsJob&)> onComplete;
  bool completed = false;  // onComplete has run (or there was none to run)
};

// A cell's thread routine: runs the protocol and returns the job's result.
// A routine with a goodbye after the completion calls CompleteJob itself first.
using JobRoutine = int (*)(GpsJob& job);

// Sets `result` and runs the completion routine once.
void CompleteJob(GpsJob& job, int result);

}  // namespace trelvik
