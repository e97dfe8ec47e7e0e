// Waypoints as $GPWPL sentences, both ways, and the waypoint cells.
#include <algorithm>

#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "geo/angles.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/mlr/jobs.hpp"
#include "records/format_progress.hpp"
#include "records/names.hpp"

namespace trelvik::mlr {
namespace {

constexpr const char* kCaption = "Read GPS waypoints";
constexpr std::chrono::milliseconds kUploadPause{500};

}  // namespace

int ReceiveWplSentences(GpsJob& job) {
  std::vector<Waypoint> waypoints;
  waypoints.reserve(20);
  ShowProgress(job, "Searching for sentences");
  const TrackTime now = JobUtcNow(job);
  WplParser parser;
  std::vector<std::string> names;
  const char* failure = nullptr;
  std::string failureText;
  bool repeated = false;
  // The instrument sends its list over and over: a name coming round again
  // ends the list. Any name, not only the first, so that a first sentence
  // lost on the line does not make the list come twice. Text lines may carry
  // flow-control bytes.
  const ReadEnd end = ReadLoop(job, AttemptsSilence(job), true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (IsFlowControl(c)) continue;
      const int rc = parser.Feed(c);
      if (rc < 0) {
        failureText = FormatProgress("E302 Format error %", -rc);
        return false;
      }
      if (rc == 0) continue;
      WplName name;
      const WplNameError error = SplitWplName(parser.Sentence().name, name);
      if (error != WplNameError::None) {
        failure = error == WplNameError::BadCharacter ? "E305 Bad waypoint ID character" : "E306 Missing waypoint ID";
        return false;
      }
      if (std::find(names.begin(), names.end(), name.shortName) != names.end()) {
        repeated = true;
        return false;
      }
      names.push_back(name.shortName);
      Waypoint w;
      w.lat = RadiansToSemicircle(parser.Sentence().lat);
      w.lon = RadiansToSemicircle(parser.Sentence().lon);
      CopyToField(name.shortName, w.name);
      CopyToField(name.description, w.description);
      w.time = now;
      waypoints.push_back(w);
      CheckCompetitionWaypoint(job, w);
      NotifyWaypointCount(job, static_cast<int>(waypoints.size()));
      ShowProgress(job, FormatProgress("Waypoint % read", static_cast<int64_t>(waypoints.size())));
    }
    return true;
  });
  if (ReportReadFailure(job, end, "E301 COM port read error", kCaption) < 0) return -1;
  if (failure != nullptr || !failureText.empty()) {
    ReportError(job, failure != nullptr ? std::string(failure) : failureText, kCaption);
    return -1;
  }
  if (!repeated) {
    ReportError(job, kDataTimeoutText, kCaption);
    return -1;
  }
  ShowProgress(job, FormatProgress("Waypoints read (%)", static_cast<int64_t>(waypoints.size())));
  job.waypoints = std::move(waypoints);
  return 0;
}

int DownloadWaypoints(GpsJob& job) {
  Product product;
  if (ReadProduct(job, product) < 0) return -1;
  if (job.protocol == ProtocolType::MlrFast) return ReceiveWaypointFrames(job, false);
  return ReceiveWplSentences(job);
}

int UploadWaypoints(GpsJob& job) {
  Product product;
  if (ReadProduct(job, product) < 0) return -1;
  const int64_t total = static_cast<int64_t>(job.waypoints.size());
  int64_t sent = 0;
  for (const Waypoint& waypoint : job.waypoints) {
    if (JobAborted(job)) {
      ShowProgress(job, FormatProgress("% waypoints sent", sent));
      return -1;
    }
    if (sent > 0) JobSleep(job, kUploadPause);
    if (WriteText(job, GPWPL(waypoint)) < 0) {
      ShowProgress(job, FormatProgress("% waypoints sent", sent));
      return -1;
    }
    ++sent;
    ShowProgress(job, FormatProgress("Waypoint % sent", sent));
    NotifyText(job, FormatProgress("Sent wpt %/%", sent, total));
  }
  JobSleep(job, kUploadPause);
  return 0;
}

}  // namespace trelvik::mlr
