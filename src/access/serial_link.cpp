#include "access/serial_link.hpp"

#include "access/debug_trace.hpp"
#include "access/job_report.hpp"
#include "records/format_progress.hpp"

namespace trelvik {
namespace {

constexpr std::chrono::milliseconds kRetryPause{1000};
constexpr std::chrono::milliseconds kSettlePause{100};
constexpr std::chrono::milliseconds kSpeedChangePause{200};
constexpr std::chrono::milliseconds kWriteAllowance{50};

}  // namespace

std::chrono::milliseconds WriteTimeout(int baud, size_t n) {
  const int perByte = baud == 4800 ? 3 : 2;
  return std::chrono::milliseconds(static_cast<int64_t>(perByte) * static_cast<int64_t>(n)) + kWriteAllowance;
}

int OpenSerialPort(GpsJob& job, int baud, bool xonXoff) {
  const std::string caption = "Connecting to GPS on " + job.portName;
  const int attempts = AttemptCount(job.commandLine);
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (JobAborted(job)) return EndAborted(job);
    OpenedLink opened = job.linkOpener->Open(job.portName);
    if (opened.status != OpenStatus::Opened) {
      ShowProgress(job, FormatProgress("Connecting to GPS (%)", attempts - attempt));
      JobSleep(job, kRetryPause);
      continue;
    }
    JobSleep(job, kSettlePause);
    if (opened.link->Configure({baud, xonXoff}) != SetupError::None || !opened.link->Purge()) {
      // The link closes with `opened`; job.port stays null.
      ReportError(job, "Error while initialising port", caption);
      return -1;
    }
    job.port = std::move(opened.link);
    job.portBaud = baud;
    job.portXonXoff = xonXoff;
    JobSleep(job, kSettlePause);
    return 0;
  }
  ReportError(job, "Could not open serial port (sure it's the right one ?)", caption);
  return -1;
}

int SetSerialSpeed(GpsJob& job, int baud) {
  constexpr const char* kCaption = "Initialising COM port";
  if (!job.port) {
    ReportError(job, "Error getting COM port state", kCaption);
    return -1;
  }
  switch (job.port->Configure({baud, job.portXonXoff})) {
    case SetupError::None:
      break;
    case SetupError::GetState:
      ReportError(job, "Error getting COM port state", kCaption);
      return -1;
    case SetupError::SetTimeouts:
      ReportError(job, "Error setting COM port timeouts", kCaption);
      return -1;
    case SetupError::SetState:
      ReportError(job, "Error setting COM port state", kCaption);
      return -1;
    case SetupError::Purge:
      ReportError(job, "Error purging COM port buffers", kCaption);
      return -1;
  }
  job.portBaud = baud;
  if (!job.port->Purge()) {
    ReportError(job, "Error purging COM port buffers", kCaption);
    return -1;
  }
  JobSleep(job, kSpeedChangePause);
  return 0;
}

void CloseSerialPort(GpsJob& job) { job.port.reset(); }

int WriteBytes(GpsJob& job, std::span<const uint8_t> bytes) {
  job.trace->TraceBytes(bytes);
  if (!job.port) return -1;
  return job.port->Write(bytes, WriteTimeout(job.portBaud, bytes.size())) == 0 ? 0 : -1;
}

int WriteText(GpsJob& job, std::string_view text) {
  return WriteBytes(job, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

int ReadChunk(GpsJob& job, std::span<uint8_t> buffer) {
  if (!job.port) return -1;
  const int n = job.port->Read(buffer, kReadChunkTimeout);
  if (n < 0) return -1;
  if (n > 0) job.trace->TraceBytes(buffer.first(static_cast<size_t>(n)));
  return n;
}

}  // namespace trelvik
