// Waypoints: $PFMWPL download (also competition mode's check) and $PFMWPR upload.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "base/c_format.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/flymaster/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::flymaster {
namespace {

using std::chrono::milliseconds;

constexpr const char* kCaption = "Read GPS waypoints";
constexpr milliseconds kWaypointSilence{1000};
constexpr milliseconds kAckWait{2000};
constexpr milliseconds kUploadPause{100};
constexpr size_t kWaypointLineLimit = 199;
constexpr size_t kAckLineLimit = 49;

enum class AckEnd { Line, TimedOut, ReadError, Aborted };

// Waits for the "$PFMWPR," answer to one upload sentence.
AckEnd ReceiveAck(GpsJob& job, std::string& line) {
  PrefixLineCollector collector("$PFMWPR,", kAckLineLimit);
  bool complete = false;
  const ReadEnd end = ReadLoop(job, kAckWait, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (!collector.Feed(c)) continue;
      line = collector.Line();
      complete = true;
      return false;
    }
    return true;
  });
  if (complete) return AckEnd::Line;
  if (end == ReadEnd::Aborted) return AckEnd::Aborted;
  return end == ReadEnd::ReadError ? AckEnd::ReadError : AckEnd::TimedOut;
}

}  // namespace

int ReceiveWaypoints(GpsJob& job, bool checkOnly) {
  std::vector<Waypoint> waypoints;
  if (!checkOnly) waypoints.reserve(20);
  ShowProgress(job, "Requesting waypoints");
  if (WriteText(job, kPFMWPL) < 0) {
    ReportError(job, "E304 COM port write error", kCaption);
    return -1;
  }
  const TrackTime now = JobUtcNow(job);
  PrefixLineCollector collector("$PFMWPL,", kWaypointLineLimit);
  int error = 0;
  const ReadEnd end = ReadLoop(job, kWaypointSilence, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (!collector.Feed(c)) continue;
      WaypointLine line;
      error = ParseWaypointLine(collector.Line(), line);
      if (error != 0) return false;
      const Waypoint waypoint = WaypointFromLine(line, now);
      if (checkOnly) {
        CheckCompetitionWaypoint(job, waypoint);
        continue;
      }
      waypoints.push_back(waypoint);
      if (waypoints.size() == 1) ShowProgress(job, "Receiving waypoints");
      NotifyWaypointCount(job, static_cast<int>(waypoints.size()));
    }
    return true;
  });
  if (ReportReadFailure(job, end, "E301 COM port read error", kCaption) < 0) return -1;
  if (error != 0) {
    ReportError(job, FormatProgress("E302 Format error %", error), kCaption);
    return -1;
  }
  if (checkOnly) return 0;
  ShowProgress(job, FormatProgress("% waypoints received", static_cast<int64_t>(waypoints.size())));
  if (waypoints.empty()) return -1;
  job.waypoints = std::move(waypoints);
  return 0;
}

int DownloadWaypoints(GpsJob& job) {
  ProductData product;
  if (RequestProduct(job, product) < 0) return -1;
  return ReceiveWaypoints(job, false);
}

int UploadWaypoints(GpsJob& job) {
  constexpr const char* kErrorCaption = "Waypoint upload error";
  ProductData product;
  if (RequestProduct(job, product) < 0) return -1;
  const int total = static_cast<int>(job.waypoints.size());
  int sent = 0;
  int errors = 0;
  int firstError = 0;
  for (const Waypoint& waypoint : job.waypoints) {
    std::string name;
    if (JobAborted(job) || WriteText(job, PFMWPR(waypoint, name)) < 0) {
      ShowProgress(job, FormatProgress("% waypoints sent", sent));
      return -1;
    }
    ShowProgress(job, FormatProgress("Waypoint % sent", sent + 1));
    NotifyText(job, FormatProgress("Sent wpt %/%", sent + 1, total));
    std::string line;
    switch (ReceiveAck(job, line)) {
      case AckEnd::Aborted: ShowProgress(job, FormatProgress("% waypoints sent", sent)); return -1;
      case AckEnd::ReadError:
        ReportError(job, FormatProgress("% waypoints sent, % errors, COM port read error", sent, errors),
                    kErrorCaption);
        return -1;
      case AckEnd::TimedOut:
        ReportError(job, FormatProgress("% waypoints sent, % errors, response timeout", sent, errors), kErrorCaption);
        return -1;
      case AckEnd::Line: break;
    }
    ++sent;
    if (const int type = CheckWaypointAck(line, name, HasOldWaypointAck(product)); type != 0) {
      if (errors++ == 0) firstError = type;
    }
    JobSleep(job, kUploadPause);
  }
  if (errors > 0) {
    ReportError(job, CFormat("%d waypoints sent, %d errors, first error was type %d", sent, errors, firstError),
                "Waypoint upload response error");
    return -1;
  }
  ShowProgress(job, FormatProgress("% waypoints sent", sent));
  return 0;
}

}  // namespace trelvik::flymaster
