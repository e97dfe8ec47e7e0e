// Track logs: the walk through the ring of track pages, and the joining of
// several flights.
#include "access/job_report.hpp"
#include "access/track_list.hpp"
#include "instruments/common/track_join.hpp"
#include "instruments/leonardo/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::leonardo {
namespace {

using std::chrono::milliseconds;

constexpr const char* kCaption = "Read GPS track log";
constexpr milliseconds kRequestPause{500};
constexpr size_t kPointStart = 2000;
constexpr size_t kStatusEvery = 30;
constexpr int kRecordsPerRead = 4;
constexpr int kPages = 256;

// Reads one flight into job.points. 0, or -1 after the failure has been reported.
int ReadFlight(GpsJob& job, const Flight& flight) {
  int page = flight.startPage;
  int offset = flight.startOffset;
  // The ring has 256 pages: a walk longer than that is a list entry that never ends.
  for (int pagesWalked = 0; pagesWalked <= kPages;) {
    const int onPage = RecordsOnPage(page, offset, flight.endPage, flight.endOffset);
    if (onPage <= 0) {
      if (page == flight.endPage) return 0;
      page = (page + 1) % kPages;
      offset = 0;
      ++pagesWalked;
      continue;
    }
    const int records = onPage < kRecordsPerRead ? onPage : kRecordsPerRead;
    std::vector<uint8_t> data;
    if (const int code = ReadLeonardoMemory(job, kTrackMemory, page, offset, records * kTrackRecord, data); code < 0) {
      if (code == -11) return EndAborted(job);
      ReportError(job, FormatProgress("Error % reading track log", -code), kCaption);
      return -1;
    }
    for (int r = 0; r < records; ++r) {
      job.points.push_back(DecodeTrackRecord(
          std::span<const uint8_t>(data).subspan(static_cast<size_t>(r * kTrackRecord), kTrackRecord)));
      ReportTrackPoint(job, job.points.back(), job.points.size(), kStatusEvery, true);
    }
    offset += records * kTrackRecord;
  }
  return 0;
}

}  // namespace

int DownloadLeonardoTracks(GpsJob& job, const std::vector<Flight>& flights) {
  std::vector<TrackPoint> kept;
  int tracks = 0;
  for (int k = 0; k < kFlightListSize && static_cast<size_t>(k) < flights.size(); ++k) {
    if (!TrackSelected(job, k)) continue;
    job.points.clear();
    job.points.reserve(kPointStart);
    ShowProgress(job, FormatProgress("Requesting track log %", k + 1));
    JobSleep(job, kRequestPause);
    job.expectedDuration = job.flightList[static_cast<size_t>(k)].duration;
    job.expectedCount = 0;
    if (ReadFlight(job, flights[static_cast<size_t>(k)]) < 0) return -1;
    ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(job.points.size())));
    if (job.points.empty()) {
      ReportError(job, "No points detected", kCaption);
      return -1;
    }
    if (tracks++ == 0) {
      kept.swap(job.points);
    } else if (!JoinTracks(kept, job.points)) {
      ReportError(job, "Overlapping track start/stop times", kCaption);
      return -1;
    }
  }
  if (tracks == 0) {
    ReportError(job, "No points detected", kCaption);
    return -1;
  }
  job.points = std::move(kept);
  if (tracks > 1) ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(job.points.size())));
  return 0;
}

int DownloadTrackLog(GpsJob& job) {
  if (RequestLeonardoIdentity(job) < 0) return -1;
  if (job.competitionCheck && DownloadLeonardoWaypoints(job, true) < 0) return -1;
  ClearTrackSelection(job);
  std::vector<Flight> flights;
  if (ReadLeonardoFlightList(job, flights) < 0) return -1;
  if (SelectFromCommandLine(job) < 0 && ShowTrackListDialog(job) == 0) return -1;
  job.source = TrackSource::Leonardo;
  job.utcTimes = 1;
  job.hasPressureAltitude = 1;
  return DownloadLeonardoTracks(job, flights);
}

}  // namespace trelvik::leonardo
