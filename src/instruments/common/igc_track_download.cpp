#include "instruments/common/igc_track_download.hpp"

#include "access/estimate_remaining.hpp"
#include "access/job_report.hpp"
#include "instruments/common/read_loop.hpp"
#include "records/format_progress.hpp"

namespace trelvik {

std::string NumberedIgcFaultText(const IgcTrackReceiver& receiver) { return IgcFaultText(receiver.Status()); }

int ReceiveIgcTrack(GpsJob& job, IgcTrackReceiver& receiver, std::string& raw, std::chrono::milliseconds silence,
                    std::string_view caption, const std::function<void(size_t before)>& onPoints) {
  receiver.Start(job.points, raw);
  return ContinueIgcTrack(job, receiver, silence, caption, kNumberedIgcTexts, onPoints);
}

int ContinueIgcTrack(GpsJob& job, IgcTrackReceiver& receiver, std::chrono::milliseconds silence,
                     std::string_view caption, const IgcTrackTexts& texts,
                     const std::function<void(size_t before)>& onPoints) {
  const ReadEnd end = ReadLoop(job, silence, true, [&](std::span<const uint8_t> bytes) {
    const size_t before = receiver.PointCount();
    const bool ok = receiver.Feed(bytes);
    onPoints(before);
    return ok;
  });
  if (ReportReadFailure(job, end, texts.readError, caption) < 0) return -1;
  const size_t before = receiver.PointCount();
  if (end == ReadEnd::TimedOut && receiver.Finish()) onPoints(before);
  if (receiver.Status().fault != IgcFault::None) {
    ReportError(job, texts.faultText(receiver), caption);
    return -1;
  }
  return 0;
}

void ReportIgcTrackProgress(GpsJob& job, const IgcTrackReceiver& receiver, size_t before, bool estimate) {
  const size_t count = receiver.PointCount();
  const size_t first = job.points.size() - count;
  for (size_t n = before + 1; n <= count; ++n) {
    if (n == 1) {
      ShowProgress(job, "Receiving track log");
      job.firstFixTime = receiver.FirstFixTime();
      job.firstFixTick = JobTick(job);
    }
    NotifyPosition(job, job.points[first + n - 1]);
    if (n <= 100 || n % 100 != 1) continue;
    if (estimate) {
      const MinutesSeconds left = SplitRemaining(EstimateRemaining(job));
      ShowProgress(job, FormatProgress("Track position % (%m %s)", static_cast<int64_t>(n), left.minutes, left.seconds));
    } else {
      ShowProgress(job, FormatProgress("Track position %", static_cast<int64_t>(n)));
    }
    NotifyText(job, FormatProgress("Progress %/?", static_cast<int64_t>(n)));
  }
}

}  // namespace trelvik
