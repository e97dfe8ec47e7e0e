#include "instruments/mtk/answer_reader.hpp"

#include <system_error>

#include "access/debug_trace.hpp"
#include "access/job_report.hpp"
#include "access/serial_link.hpp"

namespace trelvik::mtk {
namespace {

constexpr size_t kReadSize = 2000;
// Real time between looks at the shared state; the job's own time decides
// the time-outs, so that a test clock that runs with the reads stays exact.
constexpr std::chrono::milliseconds kPoll{20};

}  // namespace

AnswerReader::~AnswerReader() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool AnswerReader::Start() {
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void AnswerReader::Run() {
  SentenceCollector collector;
  uint8_t buffer[kReadSize];
  for (;;) {
    {
      // The port is read only while an answer is awaited, so the job's clock
      // moves with the waits and not between them.
      std::unique_lock lock(mutex_);
      changed_.wait_for(lock, kPoll, [this] { return stop_ || expected_ != Step::None; });
      if (stop_) break;
      if (expected_ == Step::None) continue;
    }
    if (JobAborted(job_)) break;
    const int n = ReadChunk(job_, buffer);
    if (n < 0) {
      std::lock_guard lock(mutex_);
      readError_ = true;
      break;
    }
    for (int i = 0; i < n; ++i) {
      if (collector.Feed(buffer[i])) Check(collector.Sentence());
    }
    std::unique_lock lock(mutex_);
    if (n > 0) {
      changed_.notify_all();
      continue;
    }
    // A silent read is time the waiting job must see before the next one,
    // so that its time-out counts reads and not how fast they come.
    ++silentReads_;
    changed_.notify_all();
    changed_.wait_for(lock, kPoll,
                      [this] { return stop_ || expected_ == Step::None || seenSilentReads_ >= silentReads_; });
  }
  {
    std::lock_guard lock(mutex_);
    ended_ = true;
  }
  changed_.notify_all();
}

void AnswerReader::Check(std::string_view sentence) {
  job_.trace->TraceText(sentence);
  job_.trace->TraceText("\r\n");
  if (!ChecksumMatches(sentence)) {
    job_.trace->TraceText("Bad checksum\r\n");
    return;
  }
  std::lock_guard lock(mutex_);
  AnswerValues values;
  if (expected_ == Step::None || !MatchAnswer(expected_, expectedAddress_, sentence, values)) return;
  answer_ = std::move(values);
  answered_ = true;
  expected_ = Step::None;
}

void AnswerReader::Expect(Step step, uint32_t address) {
  {
    std::lock_guard lock(mutex_);
    expected_ = step;
    expectedAddress_ = address;
    answered_ = false;
  }
  changed_.notify_all();
}

Outcome AnswerReader::Await(Step step, std::chrono::milliseconds wait) {
  Expect(step, 0);
  return Wait(wait);
}

Outcome AnswerReader::Ask(Step step, std::string_view command, std::chrono::milliseconds wait, uint32_t address) {
  Expect(step, address);
  if (WriteText(job_, command) < 0) {
    std::lock_guard lock(mutex_);
    expected_ = Step::None;
    return Outcome::WriteFailed;
  }
  return Wait(wait);
}

Outcome AnswerReader::Wait(std::chrono::milliseconds wait) {
  const uint32_t start = JobTick(job_);
  std::unique_lock lock(mutex_);
  for (;;) {
    if (answered_) return Outcome::Answered;
    if (readError_) return Outcome::ReadFailed;
    if (JobAborted(job_)) return Outcome::Aborted;
    if (ended_) return Outcome::ReadFailed;
    if (JobTick(job_) - start >= static_cast<uint32_t>(wait.count())) {
      expected_ = Step::None;
      changed_.notify_all();
      return Outcome::TimedOut;
    }
    const uint64_t seen = silentReads_;
    seenSilentReads_ = seen;
    changed_.notify_all();
    changed_.wait_for(lock, kPoll, [&] { return answered_ || readError_ || ended_ || silentReads_ != seen; });
  }
}

AnswerValues AnswerReader::Answer() const {
  std::lock_guard lock(mutex_);
  return answer_;
}

}  // namespace trelvik::mtk
