#include "instruments/common/igc_track_download.hpp"

#include "access/job_report.hpp"
#include "instruments/common/read_loop.hpp"

namespace trelvik {

int ReceiveIgcTrack(GpsJob& job, IgcTrackReceiver& receiver, std::string& raw, std::chrono::milliseconds silence,
                    std::string_view caption, const std::function<void(size_t before)>& onPoints) {
  receiver.Start(job.points, raw);
  const ReadEnd end = ReadLoop(job, silence, true, [&](std::span<const uint8_t> bytes) {
    const size_t before = receiver.PointCount();
    const bool ok = receiver.Feed(bytes);
    onPoints(before);
    return ok;
  });
  if (ReportReadFailure(job, end, "E203 COM port read error", caption) < 0) return -1;
  const size_t before = receiver.PointCount();
  if (end == ReadEnd::TimedOut && receiver.Finish()) onPoints(before);
  if (receiver.Status().fault != IgcFault::None) {
    ReportError(job, IgcFaultText(receiver.Status()), caption);
    return -1;
  }
  return 0;
}

}  // namespace trelvik
