#pragma once
// The pieces of an end-to-end run: the program as a child process with its
// standard streams captured, and the datagram socket that hears its
// notifications.
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace trelvik::testing {

struct ProgramRun {
  int exitCode = -1;  // -1 when it had to be killed
  bool timedOut = false;
  std::string out;
  std::string err;
  // Standard error split into lines (without their line feeds).
  std::vector<std::string> ErrLines() const;
};

// Runs `program` with `args`, standard input from /dev/null, no display, and
// the extra environment `env`; kills it after `limitMs`.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env, int limitMs);

// The program under test: build/trelvik once it runs command-line jobs.
// Before that, TRELVIK_E2E_DRIVER=1 runs the same headless face through the
// test driver; otherwise it is empty and `why` says what is missing. Looked
// up once per test binary.
const std::string& ProgramUnderTest(std::string& why);

// A bound datagram socket collecting what arrives, each datagram as its
// 32-bit data word and text.
class NotifyReceiver {
 public:
  struct Note {
    uint32_t dataWord;
    std::string text;
    bool operator==(const Note&) const = default;
  };

  explicit NotifyReceiver(std::string path);
  ~NotifyReceiver();
  NotifyReceiver(const NotifyReceiver&) = delete;
  NotifyReceiver& operator=(const NotifyReceiver&) = delete;

  bool Bound() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  // Everything received so far, after a short pause for stragglers.
  std::vector<Note> Notes();
  std::vector<std::string> Texts();

 private:
  std::string path_;
  int fd_ = -1;
  int stopPipe_[2] = {-1, -1};
  std::thread reader_;
  std::mutex mutex_;
  std::vector<Note> notes_;
};

}  // namespace trelvik::testing
