// The commands the logger takes without answering: erase and owner name.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/common/owner_name.hpp"
#include "instruments/logit/jobs.hpp"

namespace trelvik::logit {
namespace {

constexpr std::chrono::milliseconds kCommandPause{500};

struct CommandTexts {
  const char* caption;
  const char* firstWriteError;
  const char* writeError;
  const char* done;
};

// Out of data mode, then the command; nothing is read back.
int SendCommand(GpsJob& job, std::string_view command, const CommandTexts& texts) {
  if (OpenSerialPort(job, kSlowBaud, false) < 0) {
    ShowProgress(job, "No serial port");
    return -1;
  }
  if (WriteText(job, pmlr::kEndOfTransfer) < 0) {
    ReportError(job, texts.firstWriteError, texts.caption);
    ShowProgress(job, "COM port rite error");
    return -1;
  }
  JobSleep(job, kCommandPause);
  if (WriteText(job, command) < 0) {
    ReportError(job, texts.writeError, texts.caption);
    ShowProgress(job, "Write error");
    return -1;
  }
  ShowProgress(job, texts.done);
  return 0;
}

}  // namespace

int EraseLog(GpsJob& job) {
  return SendCommand(job, kEraseCommand,
                     {"Sending erase command", "E301 COM port write error", "E300 COM port write error",
                      "Command sent (no verification)"});
}

int WriteOwnerName(GpsJob& job) {
  const std::optional<std::string> name = OwnerNameField(job.ownerName, kOwnerNameWidth);
  if (!name) return -1;  // an empty name cancels
  return SendCommand(
      job, NameCommand(*name),
      {"Sending name", "E401 COM port write error", "E400 COM port write error", "Name sent (no verification)"});
}

}  // namespace trelvik::logit
