// The steps every Leonardo operation shares: the identity, memory reads and
// the flight list; and the flight list operation.
#include <algorithm>
#include <numeric>

#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "access/track_list.hpp"
#include "base/c_format.hpp"
#include "instruments/common/line_collector.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/leonardo/jobs.hpp"
#include "instruments/protocol_table.hpp"
#include "records/format_progress.hpp"

namespace trelvik::leonardo {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kIdentityPass{2000};
constexpr milliseconds kIdentityPause{1000};
constexpr milliseconds kMemorySilence{2000};
constexpr milliseconds kFlightListSilence{1000};
constexpr size_t kIdentityLineLimit = 200;
constexpr size_t kFlightListLineLimit = 12000;  // 255 tracks of 28 digits and the frame
constexpr const char* kMaker = "LeonardoPro";

}  // namespace

int RequestLeonardoIdentity(GpsJob& job) {
  ShowProduct(job, "");
  if (OpenSerialPort(job, ProtocolRowOf(job.protocol).line) < 0) return -1;
  const int tries = AttemptCount(job.commandLine);
  for (int i = 0; i < tries; i += 2) {
    if (JobAborted(job)) return EndAborted(job);
    ShowProgress(job, FormatProgress("Requesting product info (%)", (tries - i + 1) / 2));
    if (WriteText(job, kPDGFVID) < 0) {
      ReportError(job, "COM port write error", "Requesting GPS product data");
      return -1;
    }
    LineCollector collector(kIdentityLineLimit);
    Identity identity;
    IdentityLine answer = IdentityLine::Other;
    bool lineSeen = false;
    const ReadEnd end = ReadLoop(job, kIdentityPass, false, [&](std::span<const uint8_t> bytes) {
      for (const uint8_t c : bytes) {
        if (lineSeen || !collector.Feed(c)) continue;
        lineSeen = true;  // only the first line counts; the rest of the pass is waited out
        answer = ParseIdentityLine(collector.Line(), identity);
        if (answer != IdentityLine::Other) return false;
      }
      return true;
    });
    if (ReportReadFailure(job, end, "COM port read error", "Reading product data") < 0) return -1;
    if (answer == IdentityLine::NoUser) {
      ReportError(job, "Bad/missing user name", "Reading product data");
      return -1;
    }
    if (answer != IdentityLine::Identity) continue;
    ShowProgress(job, "Product data read");
    ShowProduct(
        job, CFormat("%s, SN%s, SW%s", identity.product.c_str(), identity.serial.c_str(), identity.software.c_str()));
    job.modelName = kMaker;
    job.description =
        (identity.product + " " + identity.serial + " " + identity.software).substr(0, kDescriptionLimit - 1);
    job.identity = (std::string(kMaker) + ": " + identity.serial).substr(0, kIdentityLimit);
    JobSleep(job, kIdentityPause);
    return 0;
  }
  ReportError(job, "No valid response from GPS", "Get GPS product data");
  return -1;
}

int ReadLeonardoMemory(GpsJob& job, int kind, int page, int offset, int length, std::vector<uint8_t>& data) {
  if (WriteText(job, PDGFRMM(kind, page, offset, length)) < 0) return -10;
  MemoryReply reply(length);
  int code = 0;
  const ReadEnd end = ReadLoop(job, kMemorySilence, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      code = reply.Feed(c);
      if (code != 0) return false;
    }
    return true;
  });
  if (end == ReadEnd::Aborted) return -11;
  if (end == ReadEnd::ReadError) return -13;
  if (end == ReadEnd::TimedOut) return -12;
  if (code < 0) return code;
  data = reply.Data();
  return 0;
}

int ReadLeonardoFlightList(GpsJob& job, std::vector<Flight>& flights) {
  constexpr const char* kCaption = "Read GPS track list";
  ShowProgress(job, "Requesting track list");
  job.flightList.fill({});
  flights.clear();
  if (WriteText(job, kPDGFFLL) < 0) {
    ReportError(job, "COM port write error", kCaption);
    return -1;
  }
  std::string line;
  bool started = false;
  bool complete = false;
  const ReadEnd end = ReadLoop(job, kFlightListSilence, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (c == '$') started = true;
      if (!started) continue;
      if (c == '\n') {
        complete = true;
        return false;
      }
      if (c != '\r' && line.size() < kFlightListLineLimit) line += static_cast<char>(c);
    }
    return true;
  });
  if (ReportReadFailure(job, end, "COM port read error", kCaption) < 0) return -1;
  if (!complete) {
    ReportError(job, "Timeout reading flight list data", kCaption);
    return -1;
  }
  std::vector<Flight> listed;
  if (const FlightListError error = ParseFlightList(line, listed); error != FlightListError::None) {
    ReportError(job, FlightListErrorText(error), kCaption);
    return -1;
  }
  ShowProgress(job, FormatProgress("% tracks found", static_cast<int64_t>(listed.size())));
  if (listed.empty()) return -1;
  if (listed.size() > static_cast<size_t>(kFlightListSize)) listed.resize(kFlightListSize);
  std::stable_sort(listed.begin(), listed.end(), [](const Flight& a, const Flight& b) { return a.start > b.start; });
  for (size_t i = 0; i < listed.size(); ++i) job.flightList[i] = {listed[i].start, listed[i].end - listed[i].start};
  flights = std::move(listed);
  return 0;
}

int DownloadFlightList(GpsJob& job) {
  if (RequestLeonardoIdentity(job) < 0) return -1;
  std::vector<Flight> flights;
  if (ReadLeonardoFlightList(job, flights) < 0) return -1;
  job.source = TrackSource::Leonardo;
  if (job.tcpClient) return 0;
  if (job.commandLine != nullptr) return SendFlightListText(job);
  (void)ShowTrackListDialog(job);
  return 0;
}

}  // namespace trelvik::leonardo
