// "Read all tracks": every chosen track of the instrument is downloaded,
// analysed and added as one trip folder to a logbook file the user names at
// the end. The loaded track log is never touched.
#include "access/job_file_save.hpp"
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "access/track_list.hpp"
#include "analysis/track_filters.hpp"
#include "instruments/flytec/jobs.hpp"
#include "records/format_progress.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/kml_track_file.hpp"

namespace trelvik::flytec {
namespace {

using std::chrono::milliseconds;

constexpr const char* kCaption = "Read GPS track logs";
constexpr milliseconds kTrackSilence{3000};
constexpr size_t kPointStart = 1000;
constexpr size_t kFewestAnalysedPoints = 10;

// Downloads listed track `k` into job.points. 0, or -1 after the failure has been reported.
int ReceiveTrack(GpsJob& job, int k, IgcTrackReceiver& receiver) {
  ShowProgress(job, FormatProgress("Reading track log %", k + 1));
  if (WriteText(job, PBRTR(k)) < 0) {
    ReportError(job, "E202 COM port write error", kCaption);
    return -1;
  }
  job.points.clear();
  job.points.reserve(kPointStart);
  std::string raw;  // the logbook keeps no raw image
  return ReceiveIgcTrack(job, receiver, raw, kTrackSilence, kCaption, [&](size_t before) {
    const size_t count = receiver.PointCount();
    for (size_t n = before + 1; n <= count; ++n) {
      NotifyPosition(job, job.points[n - 1]);
      if (n % 100 == 0) {
        ShowProgress(job, FormatProgress("Reading track log %   (%)", k + 1, static_cast<int64_t>(n)));
      }
    }
  });
}

// Appends the trip folder of the track in job.points to `logbook`, unless the
// track is too short to be a flight. 0, or -1 after the failure has been reported.
int AnalyseTrack(GpsJob& job, int k, bool signedTrack, TextBuffer& logbook) {
  const size_t left = job.analysis.speedFilter ? static_cast<size_t>(SpeedAnalysisFilter(job.points)) : job.points.size();
  if (left < kFewestAnalysedPoints) return 0;
  ShowProgress(job, FormatProgress("Analysing track log %", k + 1));
  KmlTripInput input;
  input.points = job.points;
  input.isSigned = signedTrack ? 1 : 0;
  input.downloaded = signedTrack ? JobUtcNow(job) : kNoDownloadTime;
  input.utcTimes = 1;
  input.hasPressureAltitude = 1;
  OptimiseOptions optimise;
  optimise.loopFlightGap = job.analysis.loopFlightGap;
  if (const std::optional<KmlTripFailure> failure = AppendAnalysedKmlTrip(logbook, input, optimise, job.description)) {
    ReportError(job, failure->text, failure->caption);
    return -1;
  }
  return 0;
}

constexpr JobFileSave kLogbookSave{"Save track for FlightLog", "FlightLog files", ".kml", "Save FlightLog track"};

}  // namespace

int DownloadAllTracks(GpsJob& job) {
  ProductData product;
  if (ReadProductData(job, product) < 0) return -1;
  if (ReadTrackList(job) < 0) return -1;
  ClearTrackSelection(job);
  if (ShowTrackListDialog(job) == 0) return -1;
  TextBuffer logbook(kKmlTripBufferStart);
  IgcTrackReceiver receiver;
  for (int k = 0; k < kFlightListSize; ++k) {
    if (!TrackSelected(job, k)) continue;
    if (ReceiveTrack(job, k, receiver) < 0) return -1;
    if (AnalyseTrack(job, k, receiver.GRecords() > 0, logbook) < 0) return -1;
    job.points.clear();
    job.points.shrink_to_fit();
  }
  ShowProgress(job, "Downloading completed");
  const std::string text = std::string(kKmlFileHead) + logbook.Text() + std::string(kKmlFileTail);
  // The chosen folder goes back with the job, for the starter to remember.
  (void)SaveJobFile(job, kLogbookSave, job.analysis.folder, text);
  return -1;  // the loaded track log stays as it is
}

}  // namespace trelvik::flytec
