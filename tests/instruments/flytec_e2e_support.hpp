#pragma once
// The real job on the real serial link against trelvik-sim on a
// pseudo-terminal, started through the job frame as the program starts it.
#include <any>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "access/completion.hpp"
#include "access/gps_access.hpp"
#include "access/notifier.hpp"
#include "access/posix_serial_link.hpp"
#include "support/recording_channel.hpp"
#include "access/sim_process.hpp"
#include "access/track_list.hpp"
#include "airspace/ctr_area.hpp"
#include "records/track_log.hpp"
#include "support/temp_dir.hpp"

namespace trelvik::testing {

// Records like RecordingChannel, but its clock is the real one sped up
// `speed` times, so the protocol's silences pass sooner; pauses are skipped.
class LineTimeChannel : public RecordingChannel {
 public:
  explicit LineTimeChannel(uint32_t speed) : speed_(speed) {}
  uint32_t TickMs() override;
  void Sleep(std::chrono::milliseconds duration) override;
  void SetSpeed(uint32_t speed) { speed_ = speed; }  // before the job starts
  // Pauses really pass (sped up like the clock): for protocols whose speed
  // switches purge the line, which must not drop a request still on its way.
  std::atomic<bool> realPauses{false};

 private:
  uint32_t speed_;
};

class Datagrams : public NotifySink {
 public:
  bool Send(std::string_view datagram) override;
  std::vector<std::string> Texts() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> texts_;
};

class SimRun {
 public:
  SimRun();
  ~SimRun();

  // Starts "trelvik-sim <family> args..."; false when it did not come up.
  bool Start(const std::vector<std::string>& args);
  // The messages the job showed, a "text / caption" line each.
  std::string Shown() const;
  // Runs one job to its end; the job's result (-2 when it did not start or end).
  int Run(AccessFunction function, std::vector<Waypoint> waypoints = {}, std::any ctrList = {});
  // The pilot-data upload: `command` in the job's option, its texts.
  int RunPilotData(int32_t command, std::vector<std::string> texts);
  // Starts one job without waiting (for the abort test); false when refused.
  bool StartOnly(AccessFunction function);
  bool WaitForEnd(std::chrono::milliseconds limit);
  int Abort();

  // What the instrument received, line by line as it arrived (--record).
  std::string Received() const;
  // Received() once it has at least `bytes` bytes, or after `limit`: an upload
  // job ends as soon as its last line is written, before the instrument read it.
  std::string ReceivedAtLeast(size_t bytes, std::chrono::milliseconds limit) const;

  // Asked by jobs that show the "Track List" question whatever the command line says.
  void UseTrackListChooser(TrackListChooser& chooser) { access_->SetTrackListChooser(&chooser); }
  void UseFieldFormAsker(FieldFormAsker& asker) { access_->SetFieldFormAsker(&asker); }

  std::string family = "flytec";  // the simulator's instrument
  ProtocolType protocol = ProtocolType::Flytec;
  int32_t option = 0;     // the job's speed or variant
  std::string ownerName;  // owner-name uploads
  int32_t utcOffsetForTn = 0;  // the UtcOffsetForTN setting (TopNav logs)
  LineTimeChannel channel{2};
  CommandLineValues commandLine;
  Datagrams datagrams;
  TrackLog log;
  WaypointList waypointList;
  std::any ctrList;
  std::array<FlightListEntry, kFlightListSize> flightList{};
  std::atomic<int> result{-2};
  std::string recordPath;

 private:
  JobRequest Request(AccessFunction function);
  int RunToEnd(JobRequest request);

  SimProcess sim_;
  PosixLinkOpener opener_;
  JobTable table_;
  Notifier notifier_;
  std::unique_ptr<GpsAccess> access_;
  TempDir temp_;
};

// The path of a file of the real-flight corpus; empty when it is absent.
std::string CorpusFile(const std::string& name);
std::string ReadWholeFile(const std::string& path);

}  // namespace trelvik::testing
