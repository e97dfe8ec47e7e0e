// Track logs the instrument sends on its own: the MXP and the TNCM dialect.
#include "access/debug_trace.hpp"
#include "access/estimate_remaining.hpp"
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "base/c_format.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/xctrainer/jobs.hpp"
#include "instruments/xctrainer/mxp_codec.hpp"
#include "records/format_progress.hpp"
#include "trackfiles/topnav_tncm.hpp"

namespace trelvik::xctrainer {
namespace {

using std::chrono::milliseconds;

constexpr const char* kDecodeCaption = "Decode track log sentence";
constexpr const char* kReadErrorText = "E201 COM port read error";
constexpr milliseconds kSilenceBeforeData{10000};
constexpr milliseconds kSilenceAfterData{2000};
constexpr size_t kRawStart = 1000;
constexpr size_t kMxpPointStart = 1000;
constexpr size_t kTncmPointStart = 100;

void SetTrackResult(GpsJob& job, bool pressureAltitude) {
  job.source = TrackSource::XcTrainerTopNav;
  job.signable = 1;
  job.utcTimes = 0;
  job.hasPressureAltitude = pressureAltitude ? 1 : 0;
}

// Appends the bytes that are not flow control to the raw log.
void KeepBytes(std::string& raw, std::span<const uint8_t> bytes) {
  for (const uint8_t c : bytes) {
    if (c != 0x11 && c != 0x13) raw += static_cast<char>(c);
  }
}

void ShowMxpHeader(GpsJob& job, const MxpHeader& header) {
  const std::string product = MxpProductLine(header);
  ShowProduct(job, product);
  job.modelName = header.topNav ? "TopNav" : "XcTrainer";
  job.description = product.substr(0, kDescriptionLimit);
  job.identity = CFormat("%s: %d", job.modelName.c_str(), static_cast<int>(header.serial)).substr(0, kIdentityLimit);
  job.expectedCount = static_cast<int32_t>(header.positions);
}

void ShowMxpPoint(GpsJob& job, uint32_t received, uint32_t announced) {
  const TrackPoint& point = job.points.back();
  if (received == 1) {
    job.firstFixTime = point.time;
    job.firstFixTick = JobTick(job);
  }
  NotifyPosition(job, point);
  if (received % 100 != 0) return;
  const MinutesSeconds left = SplitRemaining(EstimateRemaining(job));
  ShowProgress(job, FormatProgress("Track position % of % (%m %s)", received, announced, left.minutes, left.seconds));
  NotifyText(job, FormatProgress("Progress %/%", received, announced));
}

}  // namespace

int DownloadMxpTrack(GpsJob& job) {
  const bool topNav = !IsXcTrainer(job.protocol);
  ResetPilotIdentifiers(job);
  if (OpenSerialPort(job, 57600, !topNav) < 0) return -1;
  job.points.clear();
  job.points.reserve(kMxpPointStart);
  std::string raw;
  raw.reserve(kRawStart);
  MxpDecoder decoder(topNav, topNav ? job.utcOffsetForTn : 0, job.points);
  TextLineSplitter splitter;
  bool tooLong = false;
  ShowProgress(job, "Waiting for data");
  const auto take = [&](std::span<const uint8_t> bytes) {
    KeepBytes(raw, bytes);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const SplitEnd split = splitter.Feed(text, [&](std::string_view line) {
      const MxpState before = decoder.State();
      const uint32_t received = decoder.Received();
      const MxpState state = decoder.Line(line);
      if (before == MxpState::Header && state != MxpState::Failed) ShowMxpHeader(job, decoder.Header());
      if (decoder.Received() > received) ShowMxpPoint(job, decoder.Received(), decoder.Header().positions);
      return state == MxpState::Positions;
    });
    tooLong = split == SplitEnd::TooLong;
    return split == SplitEnd::Consumed;
  };
  // The instrument gets a while to start; once it talks, a pause ends the log.
  bool more = true;
  ReadEnd end = ReadLoop(job, kSilenceBeforeData, true, [&](std::span<const uint8_t> bytes) {
    more = take(bytes);
    return false;
  });
  if (end == ReadEnd::Stopped && more) end = ReadLoop(job, kSilenceAfterData, true, take);
  if (ReportReadFailure(job, end, kReadErrorText, kTrackCaption) < 0) return -1;
  if (tooLong || decoder.State() == MxpState::Failed) {
    ReportError(job, MxpErrorText(tooLong ? kMxpTooLongLine : decoder.ErrorCode()), kDecodeCaption);
    return -1;
  }
  ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(job.points.size())));
  if (decoder.State() != MxpState::Finished) {
    // Silence before the header, or fewer positions than the header announced.
    ReportError(job, kDataTimeoutText, kTrackCaption);
    return -1;
  }
  SetTrackResult(job, decoder.Header().format != kMxpGpsOnly);
  KeepRawLog(job, std::move(raw));
  return 0;
}

int DownloadTncmTrack(GpsJob& job) {
  const bool xcTrainer = IsXcTrainer(job.protocol);
  ResetPilotIdentifiers(job);
  if (OpenSerialPort(job, xcTrainer ? 57600 : 9600, xcTrainer) < 0) return -1;
  const std::string model = xcTrainer ? "XcTrainer" : "TopNav";
  ShowProduct(job, xcTrainer ? "XC Trainer" : "Top Navigator");
  job.modelName = model;
  job.description = model;
  std::string raw;
  raw.reserve(kRawStart);
  TncmDecoder decoder(TncmOptions{xcTrainer, job.utcOffsetForTn});
  decoder.Points().reserve(kTncmPointStart);
  int blocks = 0;
  ShowProgress(job, "Waiting for data");
  const ReadEnd end = ReadLoop(job, AttemptsSilence(job), true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (c == 0x11 || c == 0x13) continue;
      raw += static_cast<char>(c);
      if (decoder.FeedByte(static_cast<char>(c)) != TncmState::Running) break;
      if (decoder.BlocksClosed() == blocks) continue;
      blocks = decoder.BlocksClosed();
      const auto count = static_cast<int64_t>(decoder.Points().size());
      ShowProgress(job, FormatProgress("% points received", count));
      NotifyText(job, FormatProgress("Progress %/?", count));
    }
    return decoder.State() == TncmState::Running;
  });
  if (ReportReadFailure(job, end, kReadErrorText, kTrackCaption) < 0) return -1;
  if (decoder.State() == TncmState::Failed) {
    const int code = decoder.ErrorCode();
    ReportError(job, code == kTncmTooLongLine ? "E203 Too long sentence" : FormatProgress("E202 Format error %", code),
                kTrackCaption);
    return -1;
  }
  if (decoder.State() != TncmState::Finished) {
    ReportError(job, kDataTimeoutText, kTrackCaption);
    return -1;
  }
  job.points = std::move(decoder.Points());
  job.identity = CFormat("%s: %d", model.c_str(), static_cast<int>(decoder.SerialNumber())).substr(0, kIdentityLimit);
  ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(job.points.size())));
  if (decoder.IgnoredBlocks() > 0) {
    ReportWarning(job, FormatProgress("Error(s) in % block(s) ignored", decoder.IgnoredBlocks()), kTrackCaption);
  }
  SetTrackResult(job, decoder.RecordFormat() != kTncmGpsOnly);
  KeepRawLog(job, std::move(raw));
  return 0;
}

}  // namespace trelvik::xctrainer
