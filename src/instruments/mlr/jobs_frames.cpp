// The binary transfers: track points and waypoints in numbered frames at
// 38400 baud, between a "DEBUT" and a "FIN" frame; and the track cell.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/common/line_speed.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/mlr/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::mlr {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kRequestPause{300};
constexpr milliseconds kEndPause{200};
constexpr milliseconds kTrackSilence{10000};

// The texts of one kind of transfer.
struct TransferTexts {
  const char* caption;
  const char* requesting;
  const char* writeError;
  const char* readError;
  const char* formatError;
  const char* typeSequence;
  const char* dataSequence;
  const char* endSequence;
};

constexpr TransferTexts kTrackTexts{"Read GPS track log",         "Requesting track log",
                                    "E201 COM port write error",  "E202 COM port read error",
                                    "E208 Format error %",        "E203 Bad sentence type sequence",
                                    "E204 Bad sentence sequence", "E205 Bad sentence sequence"};
constexpr TransferTexts kWaypointTexts{"Read GPS waypoints",         "Requesting waypoints",
                                       "E301 COM port write error",  "E302 COM port read error",
                                       "E303 Format error %",        "E303 Bad sentence type sequence",
                                       "E304 Bad sentence sequence", "E305 Bad sentence sequence"};

// The code of a frame the receiver refuses; 0 for bytes that merely do not
// fit the expected letter, which restart the search for the next frame.
int FaultCode(pmlr::FrameFault fault) {
  switch (fault) {
    case pmlr::FrameFault::Count: return 1;
    case pmlr::FrameFault::Checksum: return 2;
    case pmlr::FrameFault::Cr: return 3;
    case pmlr::FrameFault::Lf: return 4;
    default: return 0;
  }
}

// Takes the entries of one data frame; false after reporting a failure.
using EntryTaker = std::function<bool(const pmlr::FrameParser& frame)>;

// Requests the transfer, receives its frames at the fast speed and always
// brings the receiver back to its normal state. 0 once the "FIN" frame came.
int RunTransfer(GpsJob& job, std::string_view request, const pmlr::FrameDialect& dialect, const TransferTexts& texts,
                std::optional<milliseconds> silence, const EntryTaker& take) {
  ShowProgress(job, texts.requesting);
  if (WriteText(job, request) < 0) {
    ReportError(job, texts.writeError, texts.caption);
    return -1;
  }
  JobSleep(job, kRequestPause);
  const bool switches = job.protocol != ProtocolType::MlrTrackOnly;
  int result = -1;
  if (!switches || SetSerialSpeed(job, kFastBaud) == 0) {
    pmlr::FrameParser parser(dialect);
    bool started = false;
    bool done = false;
    bool failed = false;
    uint8_t last = 0;
    const ReadEnd end =
        ReadLoop(job, silence.value_or(AttemptsSilence(job)), true, [&](std::span<const uint8_t> bytes) {
          for (const uint8_t c : bytes) {
            const pmlr::FrameStep step = parser.Feed(c);
            if (step == pmlr::FrameStep::Fault) {
              const int code = FaultCode(parser.Fault());
              if (code == 0) continue;
              ReportError(job, FormatProgress(texts.formatError, code), texts.caption);
              failed = true;
              return false;
            }
            if (step != pmlr::FrameStep::Frame) continue;
            ShowProgress(job, FormatProgress("Sentence number % received", parser.Number()));
            const pmlr::FrameKind kind = parser.Kind();
            if (!started) {
              if (kind != pmlr::FrameKind::Start) continue;
              started = true;
              last = parser.Number();
              continue;
            }
            const char* sequenceError = nullptr;
            if (kind == pmlr::FrameKind::Start) {
              sequenceError = texts.typeSequence;
            } else if (parser.Number() != static_cast<uint8_t>(last + 1)) {
              sequenceError = kind == pmlr::FrameKind::End ? texts.endSequence : texts.dataSequence;
            }
            if (sequenceError != nullptr) {
              ReportError(job, sequenceError, texts.caption);
              failed = true;
              return false;
            }
            last = parser.Number();
            if (kind == pmlr::FrameKind::End) {
              done = true;
              return false;
            }
            if (!take(parser)) {
              failed = true;
              return false;
            }
          }
          return true;
        });
    if (ReportReadFailure(job, end, texts.readError, texts.caption) == 0 && !failed) {
      if (done) {
        result = 0;
      } else if (silence) {
        ReportError(job, "E210 Track log data timeout", texts.caption);
      } else {
        ReportError(job, kDataTimeoutText, texts.caption);
      }
    }
    if (switches) RestoreSerialSpeed(job, kSlowBaud);
  }
  JobSleep(job, kEndPause);
  (void)WriteText(job, pmlr::kEndOfTransfer);
  return result;
}

}  // namespace

int ReceiveTrackFrames(GpsJob& job, const Product& product) {
  job.points.clear();
  job.points.reserve(100);
  // Point numbers are 16 bits wide: a long log wraps them.
  uint16_t counter = 0;
  const int result = RunTransfer(
      job, kTrackRequest, pmlr::kMlrTrackFrames, kTrackTexts, kTrackSilence, [&](const pmlr::FrameParser& frame) {
        for (int k = 0; k < frame.Count(); ++k) {
          const pmlr::PointEntry entry = pmlr::DecodePointEntry(frame.Entry(k));
          ++counter;
          if (entry.number != counter) {
            ReportError(job, "E206 Bad track point sequence", kTrackTexts.caption);
            return false;
          }
          job.points.push_back(PointFromEntry(entry, product.gpsTime, job.points.empty()));
          NotifyText(job, FormatProgress("Progress %/?", static_cast<int64_t>(job.points.size())));
          NotifyPosition(job, job.points.back());
        }
        return true;
      });
  if (result < 0) return -1;
  ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(job.points.size())));
  if (job.points.empty()) {
    ReportError(job, "No points detected", kTrackTexts.caption);
    return -1;
  }
  return 0;
}

int ReceiveWaypointFrames(GpsJob& job, bool checkOnly) {
  std::vector<Waypoint> waypoints;
  waypoints.reserve(20);
  const TrackTime now = JobUtcNow(job);
  int count = 0;
  const int result = RunTransfer(job, kWaypointRequest, pmlr::kMlrWaypointFrames, kWaypointTexts, std::nullopt,
                                 [&](const pmlr::FrameParser& frame) {
                                   for (int k = 0; k < frame.Count(); ++k) {
                                     const Waypoint w =
                                         WaypointFromEntry(pmlr::DecodeWaypointEntry(frame.Entry(k)), now);
                                     NotifyWaypointCount(job, ++count);
                                     CheckCompetitionWaypoint(job, w);
                                     if (!checkOnly) waypoints.push_back(w);
                                   }
                                   return true;
                                 });
  if (result < 0) return -1;
  ShowProgress(job, FormatProgress("% points received", count));
  if (!checkOnly) job.waypoints = std::move(waypoints);
  return 0;
}

int DownloadTrackLog(GpsJob& job) {
  Product product;
  if (ReadProduct(job, product) < 0) return -1;
  if (job.competitionCheck) {
    if (product.name.starts_with("DGIFLY") || product.name.starts_with("COMO")) {
      job.compId = -1;
      job.civlId = -1;
    } else if (ReceiveWaypointFrames(job, true) < 0) {
      return -1;
    }
  }
  job.source = TrackSource::Mlr;
  job.signable = 1;
  job.utcTimes = 1;
  job.hasPressureAltitude = 0;
  return ReceiveTrackFrames(job, product) < 0 ? -1 : 0;
}

}  // namespace trelvik::mlr
