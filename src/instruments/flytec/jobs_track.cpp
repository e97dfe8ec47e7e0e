// Track logs: the receiving of one IGC track, the track choice, the IGC
// download with the joining of several tracks, and the flight list.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "access/track_list.hpp"
#include "base/c_format.hpp"
#include "instruments/common/igc_track_download.hpp"
#include "instruments/flytec/jobs.hpp"
#include "records/format_progress.hpp"
#include "trackfiles/igc_decoder.hpp"

namespace trelvik::flytec {
namespace {

using std::chrono::milliseconds;

constexpr const char* kCaption = "Read GPS track log";
constexpr milliseconds kTrackSilence{2000};
constexpr milliseconds kTrackRequestPause{500};
constexpr size_t kRawStart = 20000;
constexpr size_t kPointStart = 2000;

}  // namespace

int DownloadIgc(GpsJob& job, bool listed) {
  std::string raw;
  raw.reserve(kRawStart);
  std::vector<TrackPoint> kept;
  bool everyTrackSigned = true;
  int tracks = 0;
  int skipped = 0;
  IgcTrackReceiver receiver;
  RawIgcImage image;
  for (int k = 0; k < kFlightListSize; ++k) {
    if (!TrackSelected(job, k)) continue;
    job.points.clear();
    job.points.reserve(kPointStart);
    int written = 0;
    if (!listed) {
      ShowProgress(job, "Requesting track log");
      written = WriteText(job, kPBRIGC);
    } else {
      ShowProgress(job, FormatProgress("Requesting track log %", k + 1));
      JobSleep(job, kTrackRequestPause);
      written = WriteText(job, PBRTR(k));
      job.expectedDuration = job.flightList[static_cast<size_t>(k)].duration;
      job.expectedCount = 0;
    }
    if (written < 0) {
      ReportError(job, "E202 COM port write error", kCaption);
      return -1;
    }
    if (ReceiveIgcTrack(job, receiver, raw, kTrackSilence, kCaption,
                        [&](size_t before) { ReportIgcTrackProgress(job, receiver, before, listed); }) < 0) {
      return -1;
    }
    ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(job.points.size())));
    if (job.points.empty()) {
      ReportError(job, "No points detected", kCaption);
      return -1;
    }
    if (!receiver.HasARecord()) {
      ReportError(job, "Bad or missing A-record", kCaption);
      return -1;
    }
    if (receiver.GRecords() == 0) everyTrackSigned = false;
    skipped += receiver.SkippedRecords();
    image.date = receiver.FirstFixTime();
    image.maker = receiver.Maker();
    image.serial = receiver.Serial();
    if (tracks++ == 0) {
      kept.swap(job.points);
    } else if (!JoinTracks(kept, job.points)) {
      ReportError(job, "Overlapping track start/stop times", kCaption);
      return -1;
    }
  }
  if (tracks == 0) {
    // A command line that named no listed track chose nothing.
    ReportError(job, "No points detected", kCaption);
    return -1;
  }
  if (tracks > 1) ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(kept.size())));
  if (skipped > 0) ReportInfo(job, SkippedRecordsText(skipped), kCaption);
  job.points = std::move(kept);
  if (!job.tcpClient) {
    image.bytes = std::move(raw);
    job.rawIgc = std::move(image);
  }
  if (everyTrackSigned) return 1;
  if (!job.tcpClient) ReportWarning(job, "No G-records found", kCaption);
  return 0;
}

int DownloadTrackLog(GpsJob& job) {
  ProductData product;
  if (ReadProductData(job, product) < 0) return -1;
  if (job.competitionCheck) {
    // The IDs come from this instrument's waypoints or not at all.
    job.compId = -1;
    job.civlId = -1;
    if (WaypointCheck(job) < 0) return -1;
  }
  ClearTrackSelection(job);
  bool listed = false;
  if (CanListTracks(product.model, product.software)) {
    if (ReadTrackList(job) < 0) return -1;
    if (SelectFromCommandLine(job) < 0 && ShowTrackListDialog(job) == 0) return -1;
    listed = true;
  } else {
    SelectTrack(job, 0);
  }
  job.source = TrackSource::Flytec;
  job.utcTimes = 1;
  job.hasPressureAltitude = 1;
  const int result = DownloadIgc(job, listed);
  if (result < 0) return -1;
  job.signable = result == 1 ? 1 : 0;
  return result;
}

int DownloadFlightList(GpsJob& job) {
  ProductData product;
  if (ReadProductData(job, product) < 0) return -1;
  if (!CanListTracks(product.model, product.software)) return -1;
  if (ReadTrackList(job) < 0) return -1;
  if (job.tcpClient) return 0;  // the session sends the list from the block
  if (job.commandLine != nullptr) return SendFlightListText(job);
  (void)ShowTrackListDialog(job);  // shown for information; the choice is not used
  return 0;
}

}  // namespace trelvik::flytec
