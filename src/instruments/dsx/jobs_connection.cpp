// The connection every DSX operation opens and closes.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/dsx/jobs.hpp"
#include "instruments/protocol_table.hpp"
#include "records/format_progress.hpp"

namespace trelvik::dsx {
namespace {

using std::chrono::milliseconds;

constexpr const char* kCaption = "Opening connection to DSX";
constexpr milliseconds kConnectionPass{2000};
constexpr milliseconds kCommandPause{200};

}  // namespace

int Connect(GpsJob& job) {
  ShowProduct(job, "");
  if (OpenSerialPort(job, ProtocolRowOf(job.protocol).line) < 0) return -1;
  const int tries = AttemptCount(job.commandLine);
  for (int i = 0; i < tries; i += 2) {
    if (JobAborted(job)) return EndAborted(job);
    ShowProgress(job, FormatProgress("Opening connection (%)", (tries - i + 1) / 2));
    if (WriteText(job, kV1) < 0) {
      ReportError(job, "E101 COM port write error", kCaption);
      return -1;
    }
    ConnectionMatcher matcher;
    bool connected = false;
    const ReadEnd end = ReadLoop(job, kConnectionPass, false, [&](std::span<const uint8_t> bytes) {
      for (const uint8_t c : bytes) {
        if (matcher.Feed(c)) {
          connected = true;
          return false;
        }
      }
      return true;
    });
    if (ReportReadFailure(job, end, "E102 COM port read error", kCaption) < 0) return -1;
    if (!connected) continue;
    if (WriteText(job, kV4) < 0) {
      ReportError(job, "E103 COM port write error", kCaption);
      return -1;
    }
    JobSleep(job, kCommandPause);
    if (job.port->Configure({kFastBaud, job.portXonXoff}) != SetupError::None) {
      ReportError(job, "E104 COM port speed set error", kCaption);
      return -1;
    }
    job.portBaud = kFastBaud;
    return 0;
  }
  ReportError(job, "No valid response from GPS", kCaption);
  return -1;
}

void Disconnect(GpsJob& job) {
  if (!job.port) return;
  (void)WriteText(job, kV0);  // the recorder closes on its own when this is lost
  JobSleep(job, kCommandPause);
}

}  // namespace trelvik::dsx
