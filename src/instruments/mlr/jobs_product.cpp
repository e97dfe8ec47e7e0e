// The identification every MLR operation starts with.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/mlr/jobs.hpp"
#include "instruments/protocol_table.hpp"
#include "records/format_progress.hpp"

namespace trelvik::mlr {
namespace {

constexpr std::chrono::milliseconds kProductPass{2000};

// The receiver leaves its command state; a failure here changes nothing for
// the user, who has been told what went wrong already.
void SendEnd(GpsJob& job) { (void)WriteText(job, pmlr::kEndOfTransfer); }

}  // namespace

int ReadProduct(GpsJob& job, Product& product) {
  ShowProduct(job, "");
  if (OpenSerialPort(job, ProtocolRowOf(job.protocol).line) < 0) return -1;
  const int tries = AttemptCount(job.commandLine);
  for (int i = 0; i < tries; i += 2) {
    ShowProgress(job, FormatProgress("Requesting product info (%)", (tries - i + 1) / 2));
    if (WriteText(job, pmlr::kProductRequest) < 0) {
      ReportError(job, "COM port write error", "Requesting GPS product data");
      return -1;
    }
    pmlr::ProductParser parser(kProductRules);
    bool complete = false;
    const ReadEnd end = ReadLoop(job, kProductPass, false, [&](std::span<const uint8_t> bytes) {
      for (const uint8_t c : bytes) {
        if (IsFlowControl(c)) continue;  // a text line
        if (parser.Feed(c) == pmlr::ProductStep::Complete && parser.ChecksumMatches()) {
          complete = true;
          return false;
        }
      }
      return true;
    });
    if (ReportReadFailure(job, end, "COM port read error", "Reading product data") < 0) {
      SendEnd(job);
      return -1;
    }
    if (WriteText(job, pmlr::kEndOfTransfer) < 0) {
      ReportError(job, "COM port write error", "Requesting GPS product data");
      return -1;
    }
    if (!complete) continue;
    product = InterpretProduct(parser.Fields());
    job.description = product.name.substr(0, kDescriptionLimit);
    ShowProgress(job, "Product data read");
    job.modelName = product.modelName;
    ShowProduct(job, product.productLine);
    job.identity = (product.modelName + ": " + product.serial).substr(0, kIdentityLimit);
    return 0;
  }
  ReportError(job, "No valid response from GPS", "Get GPS product data");
  return -1;
}

}  // namespace trelvik::mlr
