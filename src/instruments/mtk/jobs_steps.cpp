// The steps both MTK operations share: the conversation frame, the product
// information and the switching of logging off and on.
#include "access/debug_trace.hpp"
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/mtk/jobs.hpp"

namespace trelvik::mtk {
namespace {

using std::chrono::milliseconds;

constexpr int kFastBaud = 115200;
constexpr int kSlowBaud = 38400;
constexpr milliseconds kProductWait{1000};
constexpr milliseconds kAnswerWait{500};
constexpr milliseconds kStatusPause{500};
constexpr milliseconds kStepPause{300};
constexpr const char* kMaker = "Pentagram";

constexpr StepMessage kMessages[] = {
    {"Get product information", "COM port write error"},  // 2
    {"Get product information", "COM port read error"},
    {"Get product information", "No product data received"},
    {"Get product information", "WaitForSingleObject() failed"},
    {"Get logging status", "COM port write error"},  // 6
    {"Get logging status", "COM port read error"},
    {"Get logging status", "No logging status response"},
    {"Get logging status", "WaitForSingleObject() failed"},
    {"Turn off logging", "COM port write error"},  // 10
    {"Turn off logging", "COM port read error"},
    {"Turn off logging", "No response received"},
    {"Turn off logging", "WaitForSingleObject() failed"},
    {"Get memory used", "COM port write error"},  // 14
    {"Get memory used", "COM port read error"},
    {"Get memory used", "No response received"},
    {"Get memory used", "WaitForSingleObject() failed"},
    {"Get memory used", "Zero used memory"},
    {"Get memory used", "More than 64MB...."},
    {"Get memory used", "Could not allocate memory"},
    {"Read log data", "COM port write error"},  // 21
    {"Read log data", "COM port read error"},
    {"Read log data", "No response for data chunk"},
    {"Read log data", "WaitForSingleObject() failed"},
    {"Read log data", "WaitForSingleObject() failed"},  // 25 is never given
    {"Turn on logging", "COM port write error"},        // 26
    {"Turn on logging", "COM port read error"},
    {"Turn on logging", "No response received"},
    {"Turn on logging", "WaitForSingleObject() failed"},
    {"Erase log", "COM port write error"},  // 30
    {"Erase log", "COM port read error"},
    {"Erase log", "WaitForSingleObject() failed"},
    {"Erase log", "No response received"},
};

// The code of a failed exchange of a step whose codes start at `base`
// (write, read, no answer).
int CodeOf(Outcome outcome, int base) {
  switch (outcome) {
    case Outcome::Answered: return 0;
    case Outcome::WriteFailed: return base;
    case Outcome::ReadFailed: return base + 1;
    case Outcome::TimedOut: return base + 2;
    case Outcome::Aborted: return 1;
  }
  return base + 2;
}

}  // namespace

StepMessage StepCodeMessage(int code) {
  const int index = code - 2;
  if (index < 0 || index >= static_cast<int>(std::size(kMessages))) return {"GPS access", "Unknown error"};
  return kMessages[index];
}

int RunLoggerSequence(GpsJob& job, const std::function<int(LoggerSession&)>& steps) {
  ShowProduct(job, "");
  if (OpenSerialPort(job, job.option == kSlowBaud ? kSlowBaud : kFastBaud, false) < 0) return -1;
  AnswerReader reader(job);
  if (!reader.Start()) {
    ReportError(job, "Error creating COM port read thread", "GPS access");
    return -1;
  }
  LoggerSession session{job, reader};
  const int code = steps(session);
  // A logger left with logging off records no more flights, whatever ended
  // the conversation; the original failure is the one reported.
  if (session.loggingOffPending) (void)reader.Ask(Step::LoggingOn, kLoggingOn, kAnswerWait);
  if (code == 1) (void)EndAborted(job);
  if (code >= 2) {
    const StepMessage message = StepCodeMessage(code);
    ReportError(job, message.text, message.caption);
  }
  return code;
}

int RequestProductInfo(LoggerSession& session) {
  GpsJob& job = session.job;
  ShowProgress(job, "Get product information");
  const int tries = AttemptCount(job.commandLine);
  Outcome outcome = Outcome::TimedOut;
  for (int i = 0; i < tries && outcome == Outcome::TimedOut; ++i) {
    if (JobAborted(job)) return 1;
    job.trace->TraceText("Get product data\r\n");
    outcome = session.reader.Ask(Step::Product, kProductRequest, kProductWait);
  }
  if (const int code = CodeOf(outcome, 2); code != 0) return code;
  const AnswerValues answer = session.reader.Answer();
  ShowProgress(job, "Product data read");
  job.modelName = kMaker;
  job.description = kMaker;
  job.identity = (std::string(kMaker) + ": " + answer.release + "," + answer.model).substr(0, kIdentityLimit);
  ShowProduct(job, job.identity);
  if (job.competitionCheck) {
    // No waypoints to look for the pilot's IDs in.
    job.compId = -1;
    job.civlId = -1;
  }
  return 0;
}

int SwitchLoggingOff(LoggerSession& session) {
  GpsJob& job = session.job;
  JobSleep(job, kStatusPause);
  ShowProgress(job, "Get logging status");
  if (const int code = CodeOf(session.reader.Ask(Step::LogStatus, kLogStatusRequest, kAnswerWait), 6); code != 0) {
    return code;
  }
  session.loggingWasOn = (session.reader.Answer().logStatus & kLoggingOnBit) != 0;
  JobSleep(job, kStepPause);
  ShowProgress(job, "Turn off logging");
  session.loggingOffPending = session.loggingWasOn;
  return CodeOf(session.reader.Ask(Step::LoggingOff, kLoggingOff, kAnswerWait), 10);
}

int SwitchLoggingBackOn(LoggerSession& session) {
  if (!session.loggingWasOn) return 0;
  ShowProgress(session.job, "Turn on logging");
  session.loggingOffPending = false;
  return CodeOf(session.reader.Ask(Step::LoggingOn, kLoggingOn, kAnswerWait), 26);
}

}  // namespace trelvik::mtk
