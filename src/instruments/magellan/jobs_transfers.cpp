// The transfers: track log and waypoint downloads, which end on the
// instrument's end mark or a second without one of their own sentences, and
// the waypoint upload.
#include <functional>

#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/magellan/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::magellan {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kTransferSilence{1000};
constexpr milliseconds kUploadPause{300};
// The waypoint download shows the track log's caption too.
constexpr const char* kCaption = "Read GPS track log";

// The numbered texts of one download.
struct TransferTexts {
  const char* writeError;
  const char* readError;
  const char* formatError;     // of a sentence's fields
  const char* receptionError;  // of the framing
};

constexpr TransferTexts kTrackTexts{"E203 COM port write error", "E204 COM port read error", "E205 Format error %",
                                    "E206 Format error %"};
constexpr TransferTexts kWaypointTexts{"E302 COM port write error", "E303 COM port read error", "E304 Format error %",
                                       "E305 Format error %"};

// Sends `command` and hands every sentence named `name` to `take` (0, or a
// format error code) until the end mark, the silence or a failure. The
// silence counts only the transfer's own sentences: an instrument that
// streams positions meanwhile does not keep the transfer open. 0, or -1
// after the failure has been reported.
int ReceiveTransfer(GpsJob& job, std::string_view command, std::string_view name, const TransferTexts& texts,
                    const std::function<int(std::string_view)>& take) {
  if (WriteText(job, command) < 0) {
    ReportError(job, texts.writeError, kCaption);
    return -1;
  }
  SentenceReceiver receiver;
  int receptionError = 0;
  int formatError = 0;
  const ReadEnd end = ReadOwnTraffic(job, kTransferSilence, [&](std::span<const uint8_t> bytes) {
    Taken taken = Taken::Other;
    for (const uint8_t c : bytes) {
      const int rc = receiver.Feed(c);
      if (rc < 0) {
        receptionError = -rc;
        return Taken::Enough;
      }
      if (rc == 0) continue;
      const std::string& sentence = receiver.Sentence();
      if (IsEndMark(sentence)) return Taken::Enough;
      if (SentenceName(sentence) != name) continue;
      taken = Taken::Own;
      formatError = take(sentence);
      if (formatError > 0) return Taken::Enough;
    }
    return taken;
  });
  if (end == ReadEnd::Aborted) {
    (void)WriteText(job, kStopCommand);
    return EndAborted(job);
  }
  if (ReportReadFailure(job, end, texts.readError, kCaption) < 0) return -1;
  if (receptionError > 0) {
    ReportError(job, FormatProgress(texts.receptionError, receptionError), kCaption);
    return -1;
  }
  if (formatError > 0) {
    ReportError(job, FormatProgress(texts.formatError, formatError), kCaption);
    return -1;
  }
  if (end == ReadEnd::TimedOut) (void)WriteText(job, kStopCommand);
  return 0;
}

}  // namespace

int DownloadMagellanTrack(GpsJob& job, const MagellanVersion& version) {
  if (const std::string_view refusal = TrackRefusal(version); !refusal.empty()) {
    ReportError(job, refusal, kCaption);
    return -1;
  }
  job.source = TrackSource::Magellan;
  job.utcTimes = 1;
  job.hasPressureAltitude = 0;
  job.points.clear();
  job.points.reserve(200);
  ShowProgress(job, "Requesting track log");
  const int rc = ReceiveTransfer(job, kTrackCommand, "$PMGNTRK", kTrackTexts, [&](std::string_view sentence) {
    TrackPoint point;
    const int code = ParseTrackSentence(sentence, point);
    if (code != 0) return code == kNoFix ? 0 : code;
    if (job.points.empty()) point.flags = kNewSegment;
    job.points.push_back(point);
    NotifyPosition(job, point);
    const int64_t count = static_cast<int64_t>(job.points.size());
    if (count % 10 == 0) {
      ShowProgress(job, FormatProgress("% points received", count));
      NotifyText(job, FormatProgress("Progress %/?", count));
    }
    return 0;
  });
  if (rc < 0) return -1;
  ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(job.points.size())));
  return job.points.empty() ? -1 : 0;
}

int DownloadMagellanWaypoints(GpsJob& job, bool checkOnly) {
  std::vector<Waypoint> waypoints;
  if (!checkOnly) waypoints.reserve(20);
  const TrackTime now = JobUtcNow(job);
  ShowProgress(job, "Requesting waypoints");
  const int rc = ReceiveTransfer(job, kWaypointCommand, "$PMGNWPL", kWaypointTexts, [&](std::string_view sentence) {
    Waypoint waypoint;
    const int code = ParseWaypointSentence(sentence, waypoint);
    if (code != 0) return code;
    waypoint.time = now;
    if (checkOnly) {
      CheckCompetitionWaypoint(job, waypoint);
    } else {
      waypoints.push_back(waypoint);
      NotifyWaypointCount(job, static_cast<int>(waypoints.size()));
    }
    return 0;
  });
  if (rc < 0) return -1;
  if (checkOnly) return 0;
  ShowProgress(job, FormatProgress("% waypoints received", static_cast<int64_t>(waypoints.size())));
  if (waypoints.empty()) return -1;
  job.waypoints = std::move(waypoints);
  return 0;
}

int UploadMagellanWaypoints(GpsJob& job) {
  const int64_t total = static_cast<int64_t>(job.waypoints.size());
  int64_t sent = 0;
  for (const Waypoint& waypoint : job.waypoints) {
    if (JobAborted(job)) {
      ShowProgress(job, FormatProgress("% waypoints sent", sent));
      (void)WriteText(job, kEndCommand);
      return -1;
    }
    if (WriteText(job, WaypointSentence(waypoint)) < 0) {
      ShowProgress(job, FormatProgress("% waypoints sent", sent));
      return -1;
    }
    ++sent;
    ShowProgress(job, FormatProgress("Waypoint % sent", sent));
    NotifyText(job, FormatProgress("Sent wpt %/%", sent, total));
    JobSleep(job, kUploadPause);
  }
  ShowProgress(job, FormatProgress("% waypoints sent", sent));
  return WriteText(job, kEndCommand) < 0 ? -1 : 0;
}

}  // namespace trelvik::magellan
