// The steps every Flymaster operation shares: the product data and the
// track list; and the flight list operation.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "access/track_list.hpp"
#include "base/c_format.hpp"
#include "instruments/common/line_collector.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/flymaster/jobs.hpp"
#include "instruments/protocol_table.hpp"
#include "records/format_progress.hpp"

namespace trelvik::flymaster {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kProductPass{2000};
constexpr milliseconds kProductPause{200};
constexpr milliseconds kTrackListSilence{2000};
constexpr size_t kProductLineLimit = 60;
constexpr size_t kTrackListLineLimit = 79;
constexpr const char* kMaker = "Flymaster";

}  // namespace

int RequestProduct(GpsJob& job, ProductData& product) {
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
    std::optional<ProductData> answer;
    const ReadEnd end = ReadLoop(job, kProductPass, false, [&](std::span<const uint8_t> bytes) {
      for (const uint8_t c : bytes) {
        if (!collector.Feed(c)) continue;
        answer = ParseProductLine(collector.Line());
        if (answer) return false;
      }
      return true;
    });
    if (ReportReadFailure(job, end, "COM port read error", "Reading product data") < 0) return -1;
    if (!answer) continue;
    product = *answer;
    job.modelName = kMaker;
    job.identity = (std::string(kMaker) + ": " + product.serial).substr(0, kIdentityLimit);
    ShowProgress(job, "Product data read");
    ShowProduct(job, CFormat("%s %s  SN%s  SW%s", kMaker, product.product.c_str(), product.serial.c_str(),
                             product.software.c_str()));
    JobSleep(job, kProductPause);
    return 0;
  }
  ReportError(job, "No valid response from GPS", "Get GPS product data");
  return -1;
}

int ReadTrackList(GpsJob& job) {
  constexpr const char* kCaption = "Read GPS track data";
  job.flightList.fill({});
  ShowProgress(job, "Requesting track list");
  if (WriteText(job, kPFMDNLLST) < 0) {
    ReportError(job, "E500 COM port write error", kCaption);
    return -1;
  }
  LineCollector collector(kTrackListLineLimit);
  TrackListError error = TrackListError::None;
  int announced = 0;
  int lines = 0;
  const ReadEnd end = ReadLoop(job, kTrackListSilence, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (!collector.Feed(c)) continue;
      TrackListLine line;
      error = ParseTrackListLine(collector.Line(), line);
      if (error != TrackListError::None) return false;
      announced = line.count;
      ++lines;
      if (line.index < kFlightListSize) job.flightList[static_cast<size_t>(line.index)] = {line.start, line.duration};
    }
    return true;
  });
  if (ReportReadFailure(job, end, "E503 COM port read error", kCaption) < 0) return -1;
  // A line lost on the way would silently drop a flight the user chose.
  if (error == TrackListError::None && lines != announced) error = TrackListError::Count;
  if (error != TrackListError::None) {
    ReportError(job, TrackListErrorText(error), kCaption);
    return -1;
  }
  int tracks = 0;
  for (const FlightListEntry& entry : job.flightList) tracks += entry.start != 0 ? 1 : 0;
  ShowProgress(job, FormatProgress("% tracks in track list found", tracks));
  return tracks > 0 ? 0 : -1;
}

int DownloadFlightList(GpsJob& job) {
  ProductData product;
  if (RequestProduct(job, product) < 0) return -1;
  if (ReadTrackList(job) < 0) return -1;
  job.source = TrackSource::Flymaster;
  if (job.tcpClient) return 0;  // the session sends the list from the block
  if (job.commandLine != nullptr) return SendFlightListText(job);
  (void)ShowTrackListDialog(job);  // shown for information; the choice is not used
  return 0;
}

}  // namespace trelvik::flymaster
