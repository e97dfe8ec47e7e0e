// The identification and the point count, and the "Read LogIt Data" cell.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "base/c_format.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/logit/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::logit {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kPass{2000};
constexpr milliseconds kCountWait{10000};
constexpr milliseconds kShortPause{100};
constexpr milliseconds kPause{200};

}  // namespace

int ReadIdentity(GpsJob& job, Identity& identity) {
  constexpr const char* kWriteCaption = "Requesting GPS product data";
  ShowProduct(job, "");
  if (OpenSerialPort(job, kSlowBaud, false) < 0) return -1;
  if (WriteText(job, pmlr::kEndOfTransfer) < 0) {
    ReportError(job, "COM port write error", kWriteCaption);
    return -1;
  }
  JobSleep(job, kShortPause);
  const int tries = AttemptCount(job.commandLine);
  for (int i = 0; i < tries; i += 2) {
    ShowProgress(job, FormatProgress("Requesting product info (%)", (tries - i + 1) / 2));
    if (WriteText(job, pmlr::kProductRequest) < 0) {
      ReportError(job, "COM port write error", kWriteCaption);
      return -1;
    }
    pmlr::ProductParser parser(kProductRules);
    bool complete = false;
    const ReadEnd end = ReadLoop(job, kPass, false, [&](std::span<const uint8_t> bytes) {
      for (const uint8_t c : bytes) {
        if (IsFlowControl(c)) continue;  // a text line
        if (parser.Feed(c) != pmlr::ProductStep::Complete) continue;
        if (parser.ChecksumMatches() || !ChecksumRequired(parser.Fields())) {
          complete = true;
          return false;
        }
      }
      return true;
    });
    if (end == ReadEnd::Aborted) (void)WriteText(job, pmlr::kEndOfTransfer);
    if (ReportReadFailure(job, end, "COM port read error", "Reading product data") < 0) return -1;
    if (WriteText(job, pmlr::kEndOfTransfer) < 0) {
      ReportError(job, "COM port write error", kWriteCaption);
      return -1;
    }
    if (!complete) {
      JobSleep(job, kShortPause);
      continue;
    }
    identity = IdentityFromFields(parser.Fields());
    job.description = identity.model.substr(0, kDescriptionLimit);
    ShowProgress(job, "Product data read");
    ShowProduct(job, ProductLine(identity));
    JobSleep(job, kPause);
    job.modelName = identity.model.substr(0, kModelNameLimit);
    job.identity = CFormat("%s: ", identity.model.c_str()).append(identity.serial).substr(0, kIdentityLimit);
    return 0;
  }
  ReportError(job, "No valid response from GPS", "Get GPS product data");
  return -1;
}

int ReadPointCount(GpsJob& job) {
  constexpr const char* kCaption = "Read track point count";
  ShowProgress(job, "Requesting track point count");
  if (WriteText(job, kPointCountRequest) < 0) {
    ReportError(job, "E500 COM port write error", kCaption);
    return -1;
  }
  PointCountParser parser;
  int rc = 0;
  const ReadEnd end = ReadLoop(job, kCountWait, false, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (IsFlowControl(c)) continue;  // a text line
      rc = parser.Feed(c);
      if (rc != 0) return false;
    }
    return true;
  });
  if (ReportReadFailure(job, end, "E502 COM port read error", kCaption) < 0) return -1;
  if (rc < 0) {
    ReportError(job, FormatProgress("E503 Format error %", -rc), kCaption);
    return -1;
  }
  if (rc == 0) {
    (void)WriteText(job, pmlr::kEndOfTransfer);
    ReportError(job, "E501 Track point count request timeout", kCaption);
    return -1;
  }
  job.expectedCount = parser.Count();
  ShowProgress(job, "Track point count read");
  JobSleep(job, kPause);
  return 0;
}

int ShowLoggerData(GpsJob& job) {
  Identity identity;
  if (ReadIdentity(job, identity) < 0) return -1;
  ReportInfo(job,
             "Model: " + identity.model + "\nDescription: " + identity.description +
                 "\nSerial number: " + identity.serial + "\nFirmware: " + identity.firmware,
             "Product Data");
  return 0;
}

}  // namespace trelvik::logit
