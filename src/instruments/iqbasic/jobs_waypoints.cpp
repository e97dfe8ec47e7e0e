// Waypoints: the ACT_31 download (also competition mode's check) and the
// ACT_32 upload with its reply per waypoint.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "base/c_format.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/iqbasic/codec.hpp"
#include "instruments/iqbasic/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::iqbasic {
namespace {

using std::chrono::milliseconds;

constexpr const char* kCaption = "Read GPS waypoints";
constexpr milliseconds kWaypointSilence{1000};
constexpr milliseconds kUploadReplyWait{1000};
constexpr milliseconds kUploadPause{100};
constexpr size_t kWaypointStart = 50;
constexpr size_t kRememberedReply = 39;
constexpr std::string_view kUploadDone = " Done";

}  // namespace

int ReceiveWaypoints(GpsJob& job, bool check) {
  std::vector<Waypoint> waypoints;
  waypoints.reserve(kWaypointStart);
  ShowProgress(job, "Requesting waypoints");
  if (WriteText(job, kACT31) < 0) {
    ReportError(job, "E304 COM port write error", kCaption);
    return -1;
  }
  const TrackTime now = JobUtcNow(job);
  ReplyLineCollector collector;
  int error = 0;
  const ReadEnd end = ReadLoop(job, kWaypointSilence, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (!collector.Feed(c)) continue;
      const std::string& line = collector.Line();
      if (EndsWaypointList(line)) return false;
      if (line.empty()) continue;  // a blank line between records carries nothing
      Waypoint waypoint;
      const int rc = ParseWaypointLine(line, now, waypoint);
      if (check) {
        if (rc == 0) CheckCompetitionWaypoint(job, waypoint);
        continue;
      }
      if (rc != 0) {
        error = rc;
        return false;
      }
      waypoints.push_back(waypoint);
      if (waypoints.size() == 1) ShowProgress(job, "Receiving waypoints");
      NotifyWaypointCount(job, static_cast<int>(waypoints.size()));
    }
    return true;
  });
  if (ReportReadFailure(job, end, "E301 COM port read error", kCaption) < 0) return -1;
  if (check) return 0;
  if (error != 0) {
    ReportError(job, CFormat("Waypoint string parse error %d", error), kCaption);
    return -1;
  }
  ShowProgress(job, FormatProgress("% waypoints received", static_cast<int64_t>(waypoints.size())));
  if (waypoints.empty()) return -1;
  job.waypoints = std::move(waypoints);
  return 0;
}

int DownloadWaypoints(GpsJob& job) {
  if (Identify(job) < 0) return -1;
  return ReceiveWaypoints(job, false);
}

int UploadWaypoints(GpsJob& job) {
  constexpr const char* kReplyCaption = "Read waypoint upload response";
  if (Identify(job) < 0) return -1;
  const int total = static_cast<int>(job.waypoints.size());
  int sent = 0;
  int errors = 0;
  std::string firstError;
  for (const Waypoint& waypoint : job.waypoints) {
    if (JobAborted(job) || WriteText(job, ACT32(waypoint)) < 0) {
      ShowProgress(job, FormatProgress("% waypoints sent", sent));
      return -1;
    }
    ++sent;
    ShowProgress(job, FormatProgress("Waypoint % sent", sent));
    NotifyText(job, FormatProgress("Sent wpt %/%", sent, total));
    const ReplyLine reply = ReadReplyLine(job, kUploadReplyWait, kReplyCaption);
    if (reply.failed) return -1;
    if (!reply.line) {
      ReportError(job, "Missing response", kReplyCaption);
      return -1;
    }
    if (*reply.line != kUploadDone && errors++ == 0) firstError = reply.line->substr(0, kRememberedReply);
    JobSleep(job, kUploadPause);
  }
  if (errors == 0) return 0;
  ReportError(job, CFormat("%d of %d waypoints ok. First error was \"%s\"", total - errors, total, firstError.c_str()),
              "Waypoint upload response error");
  return -1;
}

}  // namespace trelvik::iqbasic
