#include "instruments/common/read_loop.hpp"

#include "access/job_report.hpp"
#include "access/serial_link.hpp"

namespace trelvik {
namespace {

constexpr size_t kReceiveBuffer = 100;

}  // namespace

ReadEnd ReadOwnTraffic(GpsJob& job, std::chrono::milliseconds limit,
                       const std::function<Taken(std::span<const uint8_t>)>& take) {
  uint8_t buffer[kReceiveBuffer];
  uint32_t since = JobTick(job);
  for (;;) {
    if (JobAborted(job)) return ReadEnd::Aborted;
    const int n = ReadChunk(job, buffer);
    if (n < 0) return ReadEnd::ReadError;
    const uint32_t now = JobTick(job);
    if (n > 0) {
      const Taken taken = take(std::span<const uint8_t>(buffer, static_cast<size_t>(n)));
      if (taken == Taken::Enough) return ReadEnd::Stopped;
      if (taken == Taken::Own) since = now;
    }
    if (now - since >= static_cast<uint32_t>(limit.count())) return ReadEnd::TimedOut;
  }
}

ReadEnd ReadLoop(GpsJob& job, std::chrono::milliseconds limit, bool fromLastData,
                 const std::function<bool(std::span<const uint8_t>)>& take) {
  return ReadOwnTraffic(job, limit, [&](std::span<const uint8_t> bytes) {
    if (!take(bytes)) return Taken::Enough;
    return fromLastData ? Taken::Own : Taken::Other;
  });
}

int ReportReadFailure(GpsJob& job, ReadEnd end, std::string_view readErrorText, std::string_view caption) {
  if (end == ReadEnd::Aborted) return EndAborted(job);
  if (end == ReadEnd::ReadError) {
    ReportError(job, readErrorText, caption);
    return -1;
  }
  return 0;
}

std::chrono::milliseconds AttemptsSilence(const GpsJob& job) {
  return std::chrono::milliseconds(1000) * AttemptCount(job.commandLine);
}

}  // namespace trelvik
