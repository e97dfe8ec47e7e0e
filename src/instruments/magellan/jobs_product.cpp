// The identification every Magellan operation begins with, and the cells.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "base/c_format.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/magellan/jobs.hpp"
#include "instruments/protocol_table.hpp"
#include "records/format_progress.hpp"

namespace trelvik::magellan {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kVersionPass{2000};
constexpr milliseconds kProductPause{500};
constexpr const char* kMaker = "Magellan";

}  // namespace

int RequestMagellanProduct(GpsJob& job, MagellanVersion& version) {
  ShowProduct(job, "");
  if (OpenSerialPort(job, ProtocolRowOf(job.protocol).line) < 0) return -1;
  const int tries = AttemptCount(job.commandLine);
  for (int i = 0; i < tries; i += 2) {
    if (JobAborted(job)) return EndAborted(job);
    ShowProgress(job, FormatProgress("Requesting product info (%)", (tries - i + 1) / 2));
    if (WriteText(job, kVersionCommand) < 0) {
      ReportError(job, "COM port write error", "Requesting GPS product data");
      return -1;
    }
    SentenceReceiver receiver;
    bool answered = false;
    const ReadEnd end = ReadLoop(job, kVersionPass, false, [&](std::span<const uint8_t> bytes) {
      for (const uint8_t c : bytes) {
        // Reception errors here are other traffic; the answer is waited for.
        if (receiver.Feed(c) != 1) continue;
        if (ParseVersion(receiver.Sentence(), version)) {
          answered = true;
          return false;
        }
      }
      return true;
    });
    if (ReportReadFailure(job, end, "COM port read error", "Reading product data") < 0) return -1;
    if (!answered) continue;
    const std::string description = ProductDescription(version);
    ShowProgress(job, "Product data read");
    ShowProduct(job, description);
    JobSleep(job, kProductPause);
    job.modelName = kMaker;
    job.description = description.substr(0, kDescriptionLimit);
    job.identity = CFormat("%s: %d", kMaker, static_cast<int>(version.model)).substr(0, kIdentityLimit);
    return 0;
  }
  ReportError(job, "No valid response from GPS", "Get GPS product data");
  return -1;
}

int DownloadTrackLog(GpsJob& job) {
  MagellanVersion version;
  if (RequestMagellanProduct(job, version) < 0) return -1;
  // Competition mode looks for the pilot's ID waypoints first.
  if (job.competitionCheck && DownloadMagellanWaypoints(job, true) < 0) return -1;
  return DownloadMagellanTrack(job, version);
}

int DownloadWaypoints(GpsJob& job) {
  MagellanVersion version;
  if (RequestMagellanProduct(job, version) < 0) return -1;
  return DownloadMagellanWaypoints(job, false);
}

int UploadWaypoints(GpsJob& job) {
  MagellanVersion version;
  if (RequestMagellanProduct(job, version) < 0) return -1;
  return UploadMagellanWaypoints(job);
}

}  // namespace trelvik::magellan
