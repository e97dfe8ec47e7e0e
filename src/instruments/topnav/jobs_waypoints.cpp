#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/topnav/jobs.hpp"
#include "instruments/topnav/waypoint_text.hpp"
#include "instruments/xctrainer/jobs.hpp"
#include "instruments/xctrainer/mxp_codec.hpp"
#include "records/format_progress.hpp"

namespace trelvik::topnav {

int DownloadWaypointLines(GpsJob& job) {
  using namespace xctrainer;
  if (OpenSerialPort(job, 9600, false) < 0) return -1;
  SetIdentity(job, "Top Navigator", "Top Navigator");
  ShowProduct(job, "Top Navigator");
  ShowProgress(job, "Waiting for data");
  std::vector<Waypoint> waypoints;
  TextLineSplitter splitter;
  const TrackTime now = JobUtcNow(job);
  int error = 0;
  bool ended = false;
  bool writeFailed = false;
  const ReadEnd end = ReadLoop(job, AttemptsSilence(job), true, [&](std::span<const uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const SplitEnd split = splitter.Feed(text, [&](std::string_view line) {
      Waypoint waypoint;
      switch (DecodeWaypointLine(line, waypoint)) {
        case WaypointLine::End: ended = true; return false;
        case WaypointLine::Bad: error = 2; return false;
        case WaypointLine::Skipped: break;
        case WaypointLine::Waypoint:
          waypoint.time = now;
          CheckCompetitionWaypoint(job, waypoint);
          waypoints.push_back(waypoint);
          ShowProgress(job, FormatProgress("% waypoints received", static_cast<int64_t>(waypoints.size())));
          break;
      }
      writeFailed = WriteText(job, "@@OK") < 0;
      return !writeFailed;
    });
    if (split == SplitEnd::TooLong) error = 1;
    return split == SplitEnd::Consumed;
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
  if (!ended) {
    ReportError(job, kDataTimeoutText, kWaypointCaption);
    return -1;
  }
  // An empty list ends as the XC Trainer's does when nothing came.
  if (waypoints.empty()) return EndAborted(job);
  job.waypoints = std::move(waypoints);
  return 0;
}

}  // namespace trelvik::topnav
