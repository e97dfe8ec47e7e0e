// The steps every IQ Basic operation shares: reply lines, the identification
// and the track list.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/iqbasic/codec.hpp"
#include "instruments/iqbasic/jobs.hpp"
#include "instruments/protocol_table.hpp"
#include "records/format_progress.hpp"

namespace trelvik::iqbasic {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kIdentifyPass{2000};
constexpr milliseconds kReplyWait{2000};
constexpr milliseconds kLinePause{200};
constexpr milliseconds kTrackListSilence{1000};
// Lines of the track list that do not parse are skipped; an instrument that
// streams other sentences would otherwise keep the list open for ever.
constexpr int kSkippedLineLimit = 1000;
constexpr const char* kRequestCaption = "Request PA data";
constexpr const char* kProductCaption = "Request product data";

// One parameter after the serial number: its request, reply prefix and the
// texts of its two failures.
struct Parameter {
  std::string_view request;
  std::string_view prefix;
  std::string_view responseError;
  std::string_view formatError;
};
constexpr Parameter kDeviceType{kRPA01, "RPA_01_", "Device type response error", "Device type format error"};
constexpr Parameter kSoftware{kRPA02, "RPA_02_", "Software version response error", "Software version format error"};

// Asks for one parameter; its value, or nothing after the failure has been reported.
std::optional<uint32_t> ReadParameter(GpsJob& job, const Parameter& parameter) {
  if (WriteText(job, parameter.request) < 0) {
    ReportError(job, "COM port write error", kRequestCaption);
    return std::nullopt;
  }
  const ReplyLine reply = ReadReplyLine(job, kReplyWait, kRequestCaption);
  if (reply.failed) return std::nullopt;
  if (!reply.line) {
    ReportError(job, "Response timeout", kRequestCaption);
    return std::nullopt;
  }
  JobSleep(job, kLinePause);
  if (!reply.line->starts_with(parameter.prefix)) {
    ReportError(job, parameter.responseError, kProductCaption);
    return std::nullopt;
  }
  uint32_t value = 0;
  if (!ParseParameterValue(std::string_view(*reply.line).substr(parameter.prefix.size()), value)) {
    ReportError(job, parameter.formatError, kProductCaption);
    return std::nullopt;
  }
  return value;
}

}  // namespace

ReplyLine ReadReplyLine(GpsJob& job, milliseconds limit, std::string_view caption) {
  ReplyLineCollector collector;
  ReplyLine reply;
  const ReadEnd end = ReadLoop(job, limit, false, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (!collector.Feed(c)) continue;
      // The rest of the chunk belongs to no one: every request has one reply line.
      reply.line = collector.Line();
      return false;
    }
    return true;
  });
  reply.failed = ReportReadFailure(job, end, "COM port read error", caption) < 0;
  return reply;
}

int Identify(GpsJob& job) {
  if (OpenSerialPort(job, ProtocolRowOf(job.protocol).line) < 0) return -1;
  const int tries = AttemptCount(job.commandLine);
  for (int i = 0; i < tries; i += 2) {
    if (JobAborted(job)) return EndAborted(job);
    ShowProgress(job, FormatProgress("Requesting product info (%)", (tries - i + 1) / 2));
    if (WriteText(job, kRPA00) < 0) {
      ReportError(job, "COM port write error", kRequestCaption);
      return -1;
    }
    const ReplyLine reply = ReadReplyLine(job, kIdentifyPass, kRequestCaption);
    if (reply.failed) return -1;
    if (!reply.line) continue;
    JobSleep(job, kLinePause);
    uint32_t serial = 0;
    if (!reply.line->starts_with("RPA_00_") || !ParseParameterValue(std::string_view(*reply.line).substr(7), serial)) {
      continue;
    }
    const std::optional<uint32_t> deviceType = ReadParameter(job, kDeviceType);
    if (!deviceType) return -1;
    const std::optional<uint32_t> software = ReadParameter(job, kSoftware);
    if (!software) return -1;
    const std::string model(DeviceModel(*deviceType));
    const std::string product = ProductText(model, *software, serial);
    job.modelName = model;
    job.description = model;
    job.identity = product.substr(0, kIdentityLimit);
    ShowProduct(job, product);
    ShowProgress(job, "Product data read");
    return 0;
  }
  ReportError(job, "No valid response from GPS", "Get GPS product data");
  return -1;
}

int ReadTrackList(GpsJob& job, FlightNumbers& numbers) {
  constexpr const char* kCaption = "Read track list";
  job.flightList.fill({});
  numbers.fill(-1);
  ShowProgress(job, "Requesting track list");
  if (WriteText(job, kACT20) < 0) {
    ReportError(job, "COM port write error", kCaption);
    return -1;
  }
  ReplyLineCollector collector;
  size_t count = 0;
  int skipped = 0;
  const ReadEnd end = ReadLoop(job, kTrackListSilence, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (!collector.Feed(c)) continue;
      TrackListLine line;
      if (count >= job.flightList.size() || !ParseTrackListLine(collector.Line(), line)) {
        if (++skipped >= kSkippedLineLimit) return false;
        continue;
      }
      job.flightList[count] = {line.start, line.duration};
      numbers[count++] = line.flightNumber;
    }
    return true;
  });
  if (ReportReadFailure(job, end, "COM port read error", kCaption) < 0) return -1;
  if (count == 0) {
    ReportError(job, "No tracks found", kCaption);
    return -1;
  }
  ShowProgress(job, FormatProgress("% tracks in track list found", static_cast<int64_t>(count)));
  return 0;
}

}  // namespace trelvik::iqbasic
