#include "instruments/common/read_loop.hpp"

#include "access/job_report.hpp"
#include "access/serial_link.hpp"

namespace trelvik {
namespace {

constexpr size_t kReceiveBuffer = 100;

}  // namespace

ReadEnd ReadLoop(GpsJob& job, std::chrono::milliseconds limit, bool fromLastData,
                 const std::function<bool(std::span<const uint8_t>)>& take) {
  uint8_t buffer[kReceiveBuffer];
  uint32_t since = JobTick(job);
  for (;;) {
    if (JobAborted(job)) return ReadEnd::Aborted;
    const int n = ReadChunk(job, buffer);
    if (n < 0) return ReadEnd::ReadError;
    const uint32_t now = JobTick(job);
    if (n > 0) {
      if (fromLastData) since = now;
      if (!take(std::span<const uint8_t>(buffer, static_cast<size_t>(n)))) return ReadEnd::Stopped;
      continue;
    }
    if (now - since >= static_cast<uint32_t>(limit.count())) return ReadEnd::TimedOut;
  }
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
