// The steps every Flytec/Braeuniger operation shares: the product data and
// the track list.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/protocol_table.hpp"
#include "base/c_format.hpp"
#include "instruments/flytec/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::flytec {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kProductPass{2000};
constexpr milliseconds kTrackListSilence{1000};
constexpr size_t kProductLineLimit = 80;
constexpr size_t kTrackListLineLimit = 79;

}  // namespace

int ReadProductData(GpsJob& job, ProductData& product) {
  ShowProduct(job, "");
  if (OpenSerialPort(job, ProtocolRowOf(job.protocol).line) < 0) return -1;
  const int tries = AttemptCount(job.commandLine);
  for (int i = 0; i < tries; i += 2) {
    if (JobAborted(job)) return EndAborted(job);
    ShowProgress(job, FormatProgress("Requesting product info (%)", (tries - i + 1) / 2));
    if (WriteText(job, kPBRSNP) < 0) {
      ReportError(job, "COM port write error", "Requesting GPS product data");
      return -1;
    }
    LineCollector collector(kProductLineLimit);
    ProductLine answer = ProductLine::OtherLine;
    bool lineSeen = false;
    const ReadEnd end = ReadLoop(job, kProductPass, false, [&](std::span<const uint8_t> bytes) {
      if (lineSeen) return true;  // the rest of the pass is waited out
      for (const uint8_t c : bytes) {
        if (IsFlowControl(c) || !collector.Feed(c)) continue;
        answer = ParseProductLine(collector.Line(), product);
        if (answer != ProductLine::OtherLine) return false;
        lineSeen = true;
        return true;
      }
      return true;
    });
    if (ReportReadFailure(job, end, "COM port read error", "Reading product data") < 0) return -1;
    if (answer == ProductLine::NoPilot) {
      ReportError(job, "Bad/missing user name", "Reading product data");
      return -1;
    }
    if (answer != ProductLine::Product) continue;
    ShowProgress(job, "Product data read");
    ShowProduct(job, CFormat("%s, SN%s, SW%s", product.model.c_str(), product.serial.c_str(), product.software.c_str()));
    job.modelName = ModelName(product.model);
    job.description = (product.model + " " + product.serial + " " + product.software).substr(0, kDescriptionLimit);
    job.identity = (job.modelName + ": " + product.serial).substr(0, kIdentityLimit);
    JobSleep(job, milliseconds(1000));
    return 0;
  }
  ReportError(job, "No valid response from GPS", "Get GPS product data");
  return -1;
}

int ReadTrackList(GpsJob& job) {
  constexpr const char* kCaption = "Read GPS track list";
  job.flightList.fill({});
  ShowProgress(job, "Requesting track list");
  if (WriteText(job, kPBRTL) < 0) {
    ReportError(job, "E500 COM port write error", kCaption);
    return -1;
  }
  LineCollector collector(kTrackListLineLimit);
  TrackListError error = TrackListError::None;
  const ReadEnd end = ReadLoop(job, kTrackListSilence, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (IsFlowControl(c) || !collector.Feed(c)) continue;
      TrackListLine line;
      error = ParseTrackListLine(collector.Line(), line);
      if (error != TrackListError::None) return false;
      if (line.index < kFlightListSize) job.flightList[static_cast<size_t>(line.index)] = {line.start, line.duration};
    }
    return true;
  });
  if (ReportReadFailure(job, end, "E503 COM port read error", kCaption) < 0) return -1;
  if (error != TrackListError::None) {
    ReportError(job, TrackListErrorText(error), kCaption);
    return -1;
  }
  int tracks = 0;
  for (const FlightListEntry& entry : job.flightList) tracks += entry.start != 0 ? 1 : 0;
  ShowProgress(job, FormatProgress("% tracks in track list found", tracks));
  return tracks > 0 ? 0 : -1;
}

}  // namespace trelvik::flytec
