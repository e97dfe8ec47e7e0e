// The track download: binary frames at the chosen speed, restarted from the
// next point after a broken frame when the logger can.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "base/c_format.hpp"
#include "instruments/common/line_speed.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/logit/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::logit {
namespace {

using std::chrono::milliseconds;

constexpr const char* kCaption = "Read LogIt track log";
constexpr milliseconds kRequestPause{300};
constexpr milliseconds kRestartPause{200};
constexpr int kProgressEvery = 250;
// A line that breaks every frame would restart for ever.
constexpr int kMostRestarts = 8;

// The codes of the transfer's refusals.
constexpr int kNoStart = 50;
constexpr int kNoRestart = 51;
constexpr int kRecordSequence = 52;
constexpr int kFrameSequence = 53;
constexpr int kEndSequence = 54;
constexpr int kUnexpectedFrame = 55;

int FaultCode(pmlr::FrameFault fault) {
  switch (fault) {
    case pmlr::FrameFault::KindLetter: return 2;
    case pmlr::FrameFault::KindByte: return 3;
    case pmlr::FrameFault::Type: return 4;
    case pmlr::FrameFault::StartWord: return 5;
    case pmlr::FrameFault::EndWord: return 6;
    case pmlr::FrameFault::RestartWord: return 7;
    case pmlr::FrameFault::Count: return 8;
    case pmlr::FrameFault::Checksum: return 9;
    default: return 10;
  }
}

// The state of one download across its restarts.
class TrackReceiver {
 public:
  explicit TrackReceiver(GpsJob& job) : job_(job) {}

  // Feeds one byte: false once the transfer ended (Done()) or failed (Code()).
  bool Feed(uint8_t c) {
    const pmlr::FrameStep step = parser_.Feed(c);
    if (step == pmlr::FrameStep::Fault) return Refuse(FaultCode(parser_.Fault()));
    if (step != pmlr::FrameStep::Frame) return true;
    const pmlr::FrameKind kind = parser_.Kind();
    if (awaitingRestart_ || !started_) {
      const pmlr::FrameKind due = awaitingRestart_ ? pmlr::FrameKind::Restart : pmlr::FrameKind::Start;
      if (kind != due) return Refuse(awaitingRestart_ ? kNoRestart : kNoStart);
      started_ = true;
      awaitingRestart_ = false;
      sequence_ = parser_.Number();
      record_ = 0;
      return true;
    }
    if (kind == pmlr::FrameKind::End) {
      if (parser_.Number() != static_cast<uint8_t>(sequence_ + 1)) return Refuse(kEndSequence);
      done_ = true;
      return false;
    }
    if (kind != pmlr::FrameKind::Data) return Refuse(kUnexpectedFrame);
    if (parser_.Number() != static_cast<uint8_t>(sequence_ + 1)) return Refuse(kFrameSequence);
    sequence_ = parser_.Number();
    for (int k = 0; k < parser_.Count(); ++k) {
      const pmlr::PointEntry entry = pmlr::DecodePointEntry(parser_.Entry(k));
      // Record numbers are 16 bits wide: a long log wraps them.
      if (entry.number != static_cast<uint16_t>(record_ + 1)) return Refuse(kRecordSequence);
      record_ = entry.number;
      Add(entry);
    }
    return true;
  }

  // After a refusal: whether a restart may save the download.
  bool MayRestart(bool canRestart) const {
    return canRestart && started_ && code_ != kNoRestart && restarts_ < kMostRestarts;
  }
  void ExpectRestart() {
    ++restarts_;
    awaitingRestart_ = true;
    code_ = 0;
    parser_ = pmlr::FrameParser(pmlr::kLogItTrackFrames);
  }
  bool Done() const { return done_; }
  int Code() const { return code_; }

 private:
  bool Refuse(int code) {
    code_ = code;
    return false;
  }

  void Add(const pmlr::PointEntry& entry) {
    TrackPoint point;
    point.flags = job_.points.empty() || (entry.flags & 0x0F) == 1 ? kNewSegment : 0;
    point.time = entry.time - pmlr::kGpsEpochOffset;
    point.lat = entry.lat;
    point.lon = entry.lon;
    point.gpsAlt = entry.altitude;
    job_.points.push_back(point);
    NotifyPosition(job_, point);
    const auto n = static_cast<int64_t>(job_.points.size());
    if (n != 1 && n % kProgressEvery != 0) return;
    if (job_.expectedCount > 0) {
      ShowProgress(job_, FormatProgress("% points of % received", n, job_.expectedCount));
      NotifyText(job_, FormatProgress("Progress %/%", n, job_.expectedCount));
    } else {
      ShowProgress(job_, FormatProgress("% points received", n));
      NotifyText(job_, FormatProgress("Progress %/?", n));
    }
  }

  GpsJob& job_;
  pmlr::FrameParser parser_{pmlr::kLogItTrackFrames};
  bool started_ = false;
  bool awaitingRestart_ = false;
  bool done_ = false;
  uint8_t sequence_ = 0;
  uint16_t record_ = 0;
  int code_ = 0;
  int restarts_ = 0;
};

// Back to the normal speed and out of data mode; the user has been told
// what happened already, so failures here add nothing.
void LeaveDataMode(GpsJob& job) {
  RestoreSerialSpeed(job, kSlowBaud);
  (void)WriteText(job, pmlr::kEndOfTransfer);
}

// Asks for the rest of the log from the point after the last one kept.
int Restart(GpsJob& job, const TrackRequest& request) {
  RestoreSerialSpeed(job, kSlowBaud);
  const int next = static_cast<int>(job.points.size()) + 1;
  ShowProgress(job, CFormat("RESTART at point %d", next));
  (void)WriteText(job, RestartCommand(next));
  JobSleep(job, kRestartPause);
  if (WriteText(job, request.sentence) < 0) {
    (void)WriteText(job, pmlr::kEndOfTransfer);
    ReportError(job, "E205 COM port write error", kCaption);
    return -1;
  }
  JobSleep(job, kRequestPause);
  if (SetSerialSpeed(job, request.baud) < 0) {
    LeaveDataMode(job);
    return -1;
  }
  return 0;
}

}  // namespace

int ReceiveTrack(GpsJob& job, bool canRestart) {
  job.points.clear();
  job.points.reserve(200);
  const TrackRequest request = TrackRequestFor(job.option);
  ShowProgress(job, "Requesting track log");
  if (WriteText(job, request.sentence) < 0) {
    ReportError(job, "E201 COM port write error", kCaption);
    return -1;
  }
  JobSleep(job, kRequestPause);
  if (SetSerialSpeed(job, request.baud) < 0) {
    LeaveDataMode(job);
    return -1;
  }
  TrackReceiver receiver(job);
  for (;;) {
    const ReadEnd end = ReadLoop(job, AttemptsSilence(job), true, [&](std::span<const uint8_t> bytes) {
      for (const uint8_t c : bytes) {
        if (!receiver.Feed(c)) return false;
      }
      return true;
    });
    if (end == ReadEnd::Aborted || end == ReadEnd::ReadError) {
      LeaveDataMode(job);
      return ReportReadFailure(job, end, "E202 COM port read error", kCaption);
    }
    if (receiver.Done()) break;
    if (end == ReadEnd::TimedOut) {
      LeaveDataMode(job);
      ReportError(job, kDataTimeoutText, kCaption);
      return -1;
    }
    if (!receiver.MayRestart(canRestart)) {
      LeaveDataMode(job);
      ReportError(job, FormatProgress("E204 Format error %", receiver.Code()), kCaption);
      return -1;
    }
    receiver.ExpectRestart();
    if (Restart(job, request) < 0) return -1;
  }
  const auto received = static_cast<int64_t>(job.points.size());
  ShowProgress(job, FormatProgress("% points received", received));
  LeaveDataMode(job);
  if (received == 0) {
    ReportError(job, "No points detected", kCaption);
    return -1;
  }
  if (received < job.expectedCount) {
    ReportError(job, FormatProgress("% points of % received", received, job.expectedCount), kCaption);
    return -1;
  }
  return 0;
}

int DownloadTrackLog(GpsJob& job) {
  Identity identity;
  if (ReadIdentity(job, identity) < 0) return -1;
  const bool trackLogger = job.modelName == kTrackLogger;
  job.expectedCount = 0;
  if (trackLogger && ReadPointCount(job) < 0) return -1;
  if (job.competitionCheck) {
    job.compId = -1;
    job.civlId = -1;
  }
  job.source = TrackSource::LogIt;
  job.signable = 1;
  job.utcTimes = 0;
  job.hasPressureAltitude = 0;
  return ReceiveTrack(job, trackLogger) < 0 ? -1 : 0;
}

}  // namespace trelvik::logit
