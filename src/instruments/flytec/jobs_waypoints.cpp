// Waypoints: $PBRWPS download (also the competition check) and $PBRWPR upload.
#include "access/debug_trace.hpp"
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/flytec/jobs.hpp"
#include "records/format_progress.hpp"
#include "records/names.hpp"

namespace trelvik::flytec {
namespace {

using std::chrono::milliseconds;

constexpr const char* kCaption = "Read GPS waypoints";
constexpr milliseconds kWaypointSilence{1000};
constexpr milliseconds kUploadPause{300};

// Receives $PBRWPS sentences into job.waypoints, or hands them to the job's
// competition check in check mode.
int ReceiveWaypoints(GpsJob& job, bool checkOnly) {
  std::vector<Waypoint> waypoints;
  waypoints.reserve(20);
  ShowProgress(job, "Requesting waypoints");
  if (WriteText(job, kPBRWPS) < 0) {
    ReportError(job, "E304 COM port write error", kCaption);
    return -1;
  }
  const TrackTime now = CurrentTrackTime();
  WaypointSentenceParser parser;
  int error = 0;
  const ReadEnd end = ReadLoop(job, kWaypointSilence, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (IsFlowControl(c)) continue;
      const int rc = parser.Feed(c);
      if (rc < 0) {
        error = rc;
        return false;
      }
      if (rc == 0) continue;
      if (checkOnly) {
        CheckCompetitionWaypoint(job, WaypointFromSentence(parser.Sentence(), now));
        continue;
      }
      waypoints.push_back(WaypointFromSentence(parser.Sentence(), now));
      if (waypoints.size() == 1) ShowProgress(job, "Receiving waypoints");
      NotifyWaypointCount(job, static_cast<int>(waypoints.size()));
    }
    return true;
  });
  if (ReportReadFailure(job, end, "E301 COM port read error", kCaption) < 0) return -1;
  if (error < 0) {
    ReportError(job, FormatProgress("E302 Format error %", -error), kCaption);
    return -1;
  }
  if (checkOnly) return 0;
  ShowProgress(job, FormatProgress("% waypoints received", static_cast<int64_t>(waypoints.size())));
  if (waypoints.empty()) return -1;
  job.waypoints = std::move(waypoints);
  return 0;
}

}  // namespace

int WaypointCheck(GpsJob& job) { return ReceiveWaypoints(job, true); }

int DownloadWaypoints(GpsJob& job) {
  job.trace->ClearTrace();
  ProductData product;
  if (ReadProductData(job, product) < 0) return -1;
  return ReceiveWaypoints(job, false);
}

int UploadWaypoints(GpsJob& job) {
  ProductData product;
  if (ReadProductData(job, product) < 0) return -1;
  const int64_t total = static_cast<int64_t>(job.waypoints.size());
  int64_t sent = 0;
  for (const Waypoint& waypoint : job.waypoints) {
    if (JobAborted(job) || WriteText(job, PBRWPR(waypoint)) < 0) {
      ShowProgress(job, FormatProgress("% waypoints sent", sent));
      return -1;
    }
    ++sent;
    ShowProgress(job, FormatProgress("Waypoint % sent", sent));
    NotifyText(job, FormatProgress("Sent wpt %/%", sent, total));
    JobSleep(job, kUploadPause);
  }
  return 0;
}

}  // namespace trelvik::flytec
