#pragma once
// The MTK job's second thread: it reads the port, checks every sentence and
// hands the answer the job thread expects back to it. Everything the two
// threads share lives here, behind one mutex.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <thread>

#include "access/gps_job.hpp"
#include "instruments/mtk/codec.hpp"

namespace trelvik::mtk {

enum class Outcome { Answered, WriteFailed, ReadFailed, TimedOut, Aborted };

class AnswerReader {
 public:
  explicit AnswerReader(GpsJob& job) : job_(job) {}
  // Stops the thread and waits for it (its reads end within 50 ms).
  ~AnswerReader();
  AnswerReader(const AnswerReader&) = delete;
  AnswerReader& operator=(const AnswerReader&) = delete;

  // Starts the thread; false when it could not be created.
  [[nodiscard]] bool Start();

  // Expects the answer of `step` (of the chunk at `address`), sends `command`
  // and waits at most `wait` of the job's time for it.
  Outcome Ask(Step step, std::string_view command, std::chrono::milliseconds wait, uint32_t address = 0);
  // Waits once more for the answer of `step`, sending nothing (a slow erase).
  Outcome Await(Step step, std::chrono::milliseconds wait);
  // The values of the last answer; call after Answered.
  AnswerValues Answer() const;

 private:
  void Expect(Step step, uint32_t address);
  Outcome Wait(std::chrono::milliseconds wait);
  void Run();
  void Check(std::string_view sentence);

  GpsJob& job_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  // Shared by both threads, under mutex_.
  Step expected_ = Step::None;
  uint32_t expectedAddress_ = 0;
  bool answered_ = false;
  AnswerValues answer_;
  bool readError_ = false;
  bool ended_ = false;
  bool stop_ = false;
  uint64_t silentReads_ = 0;      // reads that brought nothing
  uint64_t seenSilentReads_ = 0;  // of them, those the waiting job has looked at the clock after
  std::thread thread_;
};

}  // namespace trelvik::mtk
