// Waypoints in binary records: the XC Trainer's download and the upload to both.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/xctrainer/jobs.hpp"
#include "instruments/xctrainer/waypoint_record.hpp"
#include "records/format_progress.hpp"

namespace trelvik::xctrainer {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kWaypointSilence{10000};
constexpr milliseconds kUploadPause{400};
constexpr size_t kWaypointStart = 30;

}  // namespace

int DownloadWaypointRecords(GpsJob& job) {
  if (OpenSerialPort(job, 9600, false) < 0) return -1;
  SetIdentity(job, "XC Trainer", "XC Trainer");
  ShowProduct(job, "XC Trainer");
  ShowProgress(job, "Waiting for data");
  std::vector<Waypoint> waypoints;
  waypoints.reserve(kWaypointStart);
  WaypointRecordReceiver receiver;
  int error = 0;
  bool writeFailed = false;
  const TrackTime now = JobUtcNow(job);
  const ReadEnd end = ReadLoop(job, kWaypointSilence, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t byte : bytes) {
      if (!receiver.Feed(byte)) continue;
      Waypoint waypoint;
      error = DecodeWaypointRecord(receiver.Record(), waypoint);
      if (error != 0) return false;
      waypoint.time = now;
      CheckCompetitionWaypoint(job, waypoint);
      waypoints.push_back(waypoint);
      ShowProgress(job, FormatProgress("% waypoints received", static_cast<int64_t>(waypoints.size())));
      if (WriteText(job, "@@OK") < 0) {
        writeFailed = true;
        return false;
      }
    }
    return true;
  });
  if (ReportReadFailure(job, end, "E301 COM port read error", kWaypointCaption) < 0) return -1;
  if (writeFailed) {
    ReportError(job, "E304 COM port write error", kWaypointCaption);
    return -1;
  }
  if (error != 0) {
    ReportError(job, FormatProgress("E302 Format error %", error), kWaypointCaption);
    return -1;
  }
  if (waypoints.empty()) return EndAborted(job);
  job.waypoints = std::move(waypoints);
  return 0;
}

int UploadWaypointRecords(GpsJob& job) {
  if (OpenSerialPort(job, 9600, IsXcTrainer(job.protocol)) < 0) return -1;
  job.identity = "TopNav";
  const auto total = static_cast<int64_t>(job.waypoints.size());
  int64_t sent = 0;
  for (const Waypoint& waypoint : job.waypoints) {
    const WaypointRecord record = EncodeWaypointRecord(waypoint);
    if (JobAborted(job) || WriteBytes(job, record) < 0) {
      ShowProgress(job, FormatProgress("% waypoints sent", sent));
      return -1;
    }
    ++sent;
    ShowProgress(job, FormatProgress("Waypoint % sent", sent));
    NotifyText(job, FormatProgress("Sent wpt %/%", sent, total));
    JobSleep(job, kUploadPause);
  }
  ShowProgress(job, FormatProgress("% waypoints sent", sent));
  return 0;
}

}  // namespace trelvik::xctrainer
