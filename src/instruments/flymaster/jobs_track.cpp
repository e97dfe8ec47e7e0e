// Track logs: the binary download of each chosen flight and their joining.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "access/track_list.hpp"
#include "base/c_format.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/common/track_join.hpp"
#include "instruments/flymaster/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::flymaster {
namespace {

using std::chrono::milliseconds;

constexpr const char* kCaption = "Read GPS track log";
constexpr milliseconds kBlockSilence{3000};
constexpr size_t kPointStart = 1000;
constexpr size_t kStatusEvery = 200;
// A block the unit sends again after our "bad" answer; one that stays bad
// this often is a line we cannot use.
constexpr int kBadBlockRepeats = 3;

int SendAnswer(GpsJob& job, uint8_t answer) { return WriteBytes(job, std::span<const uint8_t>(&answer, 1)); }

// Receives the flight just requested into job.points. 0, or -1 after the
// failure has been reported (and the unit told to stop).
int ReceiveFlight(GpsJob& job, FlightDecoder& decoder, bool b1Nav) {
  decoder.Start(job.points, b1Nav);
  BlockReader reader;
  std::string error;
  int badInARow = 0;
  bool ended = false;
  const ReadEnd end = ReadLoop(job, kBlockSilence, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      const BlockReader::Event event = reader.Feed(c);
      if (event == BlockReader::Event::None) continue;
      if (event == BlockReader::Event::Bad) {
        if (++badInARow >= kBadBlockRepeats) {
          error = "E205 Bad checksum in data block";
          (void)SendAnswer(job, kBlockStop);
          return false;
        }
        if (SendAnswer(job, kBlockBad) < 0) {
          error = "E202 COM port write error";
          return false;
        }
        continue;
      }
      badInARow = 0;
      if (event == BlockReader::Event::End) {
        if (const FlightError fault = decoder.Finish(); fault != FlightError::None) {
          error = FlightErrorText(fault);
          (void)SendAnswer(job, kBlockStop);
        }
        ended = true;
        return false;
      }
      const size_t before = decoder.PointCount();
      if (const FlightError fault = decoder.Take(reader.Type(), reader.Data()); fault != FlightError::None) {
        error = FlightErrorText(fault);
        (void)SendAnswer(job, kBlockStop);
        return false;
      }
      const size_t first = job.points.size() - decoder.PointCount();
      for (size_t n = before + 1; n <= decoder.PointCount(); ++n) {
        ReportTrackPoint(job, job.points[first + n - 1], n, kStatusEvery, false);
      }
      if (SendAnswer(job, kBlockGood) < 0) {
        error = "E202 COM port write error";
        return false;
      }
    }
    return true;
  });
  if (end == ReadEnd::Aborted || end == ReadEnd::ReadError || end == ReadEnd::TimedOut) {
    (void)SendAnswer(job, kBlockStop);
  }
  if (ReportReadFailure(job, end, "E204 COM port read error", kCaption) < 0) return -1;
  if (end == ReadEnd::TimedOut) {
    ShowProgress(job, "Timeout receiving data");
    ReportError(job, "E203 Timeout receiving data", kCaption);
    return -1;
  }
  if (!error.empty()) {
    ReportError(job, error, kCaption);
    return -1;
  }
  return ended ? 0 : -1;
}

}  // namespace

int DownloadTracks(GpsJob& job, const ProductData& product) {
  std::vector<TrackPoint> kept;
  FlightDecoder decoder;
  for (int k = 0; k < kFlightListSize; ++k) {
    if (!TrackSelected(job, k)) continue;
    const FlightListEntry& entry = job.flightList[static_cast<size_t>(k)];
    job.points.clear();
    job.points.reserve(kPointStart);
    ShowProgress(job, FormatProgress("Requesting track log %", k + 1));
    job.expectedDuration = entry.duration;
    job.expectedCount = 0;
    if (WriteText(job, PFMDNL(entry.start)) < 0) {
      ReportError(job, "E202 COM port write error", kCaption);
      return -1;
    }
    if (ReceiveFlight(job, decoder, IsB1Nav(product)) < 0) return -1;
    const FlightInfo& info = decoder.Info();
    job.description = CFormat("Flymaster F1, V%d.%d, S/N %u", info.major, info.minor, info.serial);
    job.identity = CFormat("%s: %u", job.modelName.c_str(), info.serial).substr(0, kIdentityLimit);
    ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(job.points.size())));
    // An empty flight adds nothing; the join only ever sees flights with points.
    if (job.points.empty()) continue;
    if (kept.empty()) {
      kept.swap(job.points);
    } else if (!JoinTracks(kept, job.points)) {
      ReportError(job, OverlapText(kept, job.points), kCaption);
      return -1;
    }
  }
  if (kept.empty()) {
    ReportError(job, "No points detected", kCaption);
    return -1;
  }
  job.points = std::move(kept);
  ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(job.points.size())));
  const bool powerOff = job.commandLine != nullptr ? job.commandLine->powerOff : job.powerOffAfterTransfer;
  if (powerOff) (void)WriteText(job, kPFMOFF);
  return 0;
}

int DownloadTrackLog(GpsJob& job) {
  ProductData product;
  if (RequestProduct(job, product) < 0) return -1;
  if (job.competitionCheck && ReceiveWaypoints(job, true) < 0) return -1;
  ClearTrackSelection(job);
  if (ReadTrackList(job) < 0) return -1;
  if (SelectFromCommandLine(job) < 0 && ShowTrackListDialog(job) == 0) return -1;
  job.source = TrackSource::Flymaster;
  job.utcTimes = 1;
  job.hasPressureAltitude = 1;
  return DownloadTracks(job, product);
}

}  // namespace trelvik::flymaster
