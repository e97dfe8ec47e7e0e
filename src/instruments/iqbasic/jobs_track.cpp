// Track logs: the flight choice, the IGC download of every chosen flight with
// their joining into one log, and the flight list.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "access/track_list.hpp"
#include "base/c_format.hpp"
#include "instruments/common/igc_track_download.hpp"
#include "instruments/iqbasic/codec.hpp"
#include "instruments/iqbasic/jobs.hpp"
#include "records/format_progress.hpp"
#include "trackfiles/igc_decoder.hpp"

namespace trelvik::iqbasic {
namespace {

using std::chrono::milliseconds;

constexpr const char* kCaption = "Read GPS track log";
constexpr milliseconds kTrackSilence{2000};
constexpr milliseconds kTrackRequestPause{500};
constexpr size_t kRawStart = 20000;
constexpr size_t kPointStart = 2000;

// The instrument's own words for a receive that failed.
std::string FaultText(const IgcTrackReceiver& receiver) {
  const IgcStatus& status = receiver.Status();
  switch (status.fault) {
    case IgcFault::BadRecordType: return CFormat("Bad record type (%02X)", status.byte);
    case IgcFault::TooLong: return "Too long sentence";
    case IgcFault::Format:
      if (receiver.LastRecord().starts_with("HFDTE")) {
        return "HFDTE sentence error: " + std::string(receiver.LastRecord());
      }
      return FormatProgress("Format error % in IGC sentence", -status.code);
    case IgcFault::None: break;
  }
  return {};
}
constexpr IgcTrackTexts kTexts{"COM port read error", FaultText};

// Receives every chosen flight and joins them. 1 when every flight carried
// G records, 0 when not, -1 after the failure has been reported.
int DownloadChosenFlights(GpsJob& job, const FlightNumbers& numbers) {
  std::string raw;
  raw.reserve(kRawStart);
  std::vector<TrackPoint> kept;
  bool everyFlightSigned = true;
  int flights = 0;
  int skipped = 0;
  IgcTrackReceiver receiver;
  RawIgcImage image;
  for (int k = 0; k < kFlightListSize; ++k) {
    if (!TrackSelected(job, k) || numbers[static_cast<size_t>(k)] < 0) continue;
    job.points.clear();
    job.points.reserve(kPointStart);
    ShowProgress(job, FormatProgress("Requesting track log %", k + 1));
    JobSleep(job, kTrackRequestPause);
    if (WriteText(job, ACT21(numbers[static_cast<size_t>(k)])) < 0) {
      ReportError(job, "COM port write error", kCaption);
      return -1;
    }
    job.expectedDuration = job.flightList[static_cast<size_t>(k)].duration;
    job.expectedCount = 0;
    receiver.Start(job.points, raw);
    if (ContinueIgcTrack(job, receiver, kTrackSilence, kCaption, kTexts,
                         [&](size_t before) { ReportIgcTrackProgress(job, receiver, before, true); }) < 0) {
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
    if (receiver.GRecords() == 0) everyFlightSigned = false;
    skipped += receiver.SkippedRecords();
    image.maker = receiver.Maker();
    image.serial = receiver.Serial();
    if (flights++ == 0) {
      kept.swap(job.points);
      continue;
    }
    const TrackPoint keptFirst = kept.front();
    const TrackPoint keptLast = kept.back();
    const TrackPoint newFirst = job.points.front();
    const TrackPoint newLast = job.points.back();
    if (!JoinTracks(kept, job.points)) {
      ReportError(job,
                  CFormat("Overlapping tracks (%08X,%08X)(%08X,%08X)", keptFirst.time, keptLast.time, newFirst.time,
                          newLast.time),
                  kCaption);
      return -1;
    }
  }
  if (flights == 0) {
    // A command line that named no listed flight chose nothing.
    ReportError(job, "No points detected", kCaption);
    return -1;
  }
  if (flights > 1) ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(kept.size())));
  if (skipped > 0) ReportInfo(job, SkippedRecordsText(skipped), kCaption);
  job.points = std::move(kept);
  if (!job.tcpClient) {
    image.date = job.points.front().time;
    image.bytes = std::move(raw);
    job.rawIgc = std::move(image);
  }
  if (everyFlightSigned) return 1;
  if (!job.tcpClient) ReportWarning(job, "No G-records found", kCaption);
  return 0;
}

}  // namespace

int DownloadTrackLog(GpsJob& job) {
  if (Identify(job) < 0) return -1;
  if (job.competitionCheck && ReceiveWaypoints(job, true) < 0) return -1;
  FlightNumbers numbers{};
  if (ReadTrackList(job, numbers) < 0) return -1;
  ClearTrackSelection(job);
  if (SelectFromCommandLine(job) < 0 && ShowTrackListDialog(job) == 0) return -1;
  job.source = TrackSource::IqBasic;
  job.utcTimes = 1;
  job.hasPressureAltitude = 1;
  const int result = DownloadChosenFlights(job, numbers);
  if (result < 0) return -1;
  job.signable = result == 1 ? 1 : 0;
  return result;
}

int DownloadFlightList(GpsJob& job) {
  if (Identify(job) < 0) return -1;
  FlightNumbers numbers{};
  if (ReadTrackList(job, numbers) < 0) return -1;
  job.source = TrackSource::IqBasic;
  if (job.tcpClient) return 0;  // the session sends the list from the block
  if (job.commandLine != nullptr) return SendFlightListText(job);
  (void)ShowTrackListDialog(job);  // shown for information; the choice is not used
  return 0;
}

}  // namespace trelvik::iqbasic
