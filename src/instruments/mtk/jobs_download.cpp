// The log memory download, its decoding into the track log, and the erase.
#include <algorithm>
#include <new>

#include "access/debug_trace.hpp"
#include "access/job_report.hpp"
#include "base/c_format.hpp"
#include "instruments/mtk/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::mtk {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kAnswerWait{500};
constexpr milliseconds kStepPause{300};
constexpr milliseconds kEraseSecond{1000};
constexpr int kEraseSeconds = 30;
constexpr int kChunkTries = 3;
constexpr uint32_t kTimeLeftEvery = 1000;  // ms
constexpr const char* kParseCaption = "Parse log data";

uint32_t RoundUp(uint32_t value, uint32_t unit) { return (value + unit - 1) / unit * unit; }

// Step 4: the used memory and an image for it. 0 or the step code.
int ReadMemoryUsed(LoggerSession& session, std::vector<uint8_t>& image, uint32_t& used) {
  JobSleep(session.job, kStepPause);
  ShowProgress(session.job, "Get memory used");
  switch (session.reader.Ask(Step::MemoryUsed, kMemoryUsedRequest, kAnswerWait)) {
    case Outcome::Answered: break;
    case Outcome::WriteFailed: return 14;
    case Outcome::ReadFailed: return 15;
    case Outcome::TimedOut: return 16;
    case Outcome::Aborted: return 1;
  }
  used = session.reader.Answer().memoryUsed;
  if (used == 0) return 18;
  if (used > kLargestMemory) return 19;
  try {
    image.assign(RoundUp(used, kSectorSize), 0xFF);
  } catch (const std::bad_alloc&) {
    return 20;
  }
  return 0;
}

// Step 5: every chunk of the used memory into the image. 0 or the step code.
int ReadChunks(LoggerSession& session, std::vector<uint8_t>& image, uint32_t used) {
  GpsJob& job = session.job;
  const uint32_t total = RoundUp(used, kChunkSize);
  const uint32_t start = JobTick(job);
  uint32_t shown = start;
  for (uint32_t address = 0; address < total; address += kChunkSize) {
    Outcome outcome = Outcome::TimedOut;
    for (int tries = 0; tries < kChunkTries && outcome == Outcome::TimedOut; ++tries) {
      job.trace->TraceText("Request chunk ");
      job.trace->TraceHex32(address);
      job.trace->TraceText("\r\n");
      outcome = session.reader.Ask(Step::ReadChunk, ReadChunkRequest(address), kAnswerWait, address);
    }
    switch (outcome) {
      case Outcome::Answered: break;
      case Outcome::WriteFailed: return 21;
      case Outcome::ReadFailed: return 22;
      case Outcome::TimedOut: return 23;
      case Outcome::Aborted: return 1;
    }
    const AnswerValues answer = session.reader.Answer();
    const size_t room = image.size() - std::min<size_t>(image.size(), answer.address);
    std::copy_n(answer.data.begin(), std::min(answer.data.size(), room), image.begin() + answer.address);
    const uint32_t now = JobTick(job);
    if (address == 0 || now - shown < kTimeLeftEvery) continue;
    shown = now;
    const uint64_t read = address + kChunkSize;
    const int64_t left = static_cast<int64_t>(uint64_t{now - start} * (total - read) / 1000 / read);
    const std::string text = FormatProgress("Time left (s): %", left);
    ShowProgress(job, text);
    NotifyText(job, text);
  }
  return 0;
}

}  // namespace

int DownloadMtkLog(LoggerSession& session, std::vector<uint8_t>& image) {
  if (const int code = RequestProductInfo(session); code != 0) return code;
  if (const int code = SwitchLoggingOff(session); code != 0) return code;
  uint32_t used = 0;
  if (const int code = ReadMemoryUsed(session, image, used); code != 0) return code;
  if (const int code = ReadChunks(session, image, used); code != 0) return code;
  return SwitchLoggingBackOn(session);
}

int ParseMtkLog(GpsJob& job, std::span<const uint8_t> image) {
  job.points.clear();
  job.points.reserve(2000);
  const LogDecode decoded = DecodeMtkLog(image, job.points);
  if (decoded.fault == LogFault::BadHeader) {
    ReportError(job, "Bad header block", kParseCaption);
    return -1;
  }
  if (decoded.fault == LogFault::BadData) {
    ReportError(job, FormatProgress("Bad data block (%)", decoded.dataCode), kParseCaption);
    return -1;
  }
  ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(job.points.size())));
  if (job.points.empty()) {
    ReportError(job, "No points detected", kParseCaption);
    return -1;
  }
  job.source = TrackSource::Mtk;
  job.utcTimes = 1;
  job.hasPressureAltitude = 0;
  return 0;
}

int EraseMtkLog(LoggerSession& session) {
  GpsJob& job = session.job;
  if (const int code = RequestProductInfo(session); code != 0) return code;
  if (const int code = SwitchLoggingOff(session); code != 0) return code;
  ShowProgress(job, FormatProgress("Erasing (%)", kEraseSeconds));
  job.trace->TraceText("Erasing\r\n");
  Outcome outcome = session.reader.Ask(Step::Erase, kEraseRequest, kEraseSecond);
  for (int left = kEraseSeconds - 1; outcome == Outcome::TimedOut; --left) {
    ShowProgress(job, FormatProgress("Erasing (%)", left));
    if (left == 0) break;
    outcome = session.reader.Await(Step::Erase, kEraseSecond);
  }
  switch (outcome) {
    case Outcome::Answered: break;
    case Outcome::WriteFailed: return 30;
    case Outcome::ReadFailed: return 31;
    case Outcome::TimedOut: return 33;
    case Outcome::Aborted: return 1;
  }
  if (const int code = SwitchLoggingBackOn(session); code != 0) return code;
  ShowProgress(job, "Erase completed");
  return 0;
}

int DownloadTrackLog(GpsJob& job) {
  std::vector<uint8_t> image;
  if (RunLoggerSequence(job, [&](LoggerSession& session) { return DownloadMtkLog(session, image); }) != 0) return -1;
  if (ParseMtkLog(job, image) < 0) return -1;
  // The memory as read stays with the log, for a user who wants the logger's
  // own bytes; a network job's data goes with the job.
  if (!job.tcpClient) job.rawLog = std::string(image.begin(), image.end());
  return 0;
}

int EraseLog(GpsJob& job) {
  return RunLoggerSequence(job, [](LoggerSession& session) { return EraseMtkLog(session); }) == 0 ? 0 : -1;
}

}  // namespace trelvik::mtk
