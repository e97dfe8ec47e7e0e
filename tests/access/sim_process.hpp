#pragma once
// trelvik-sim run as a child process for end-to-end link tests.
#include <string>
#include <sys/types.h>
#include <vector>

namespace trelvik::testing {

class SimProcess {
 public:
  SimProcess() = default;
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // The simulator binary beside the build's other outputs; empty when absent.
  static std::string BinaryPath();
  // Starts "trelvik-sim args..." and reads the pseudo-terminal path from its
  // first line; false when it did not come up.
  bool Start(const std::vector<std::string>& args);
  const std::string& PtyPath() const { return ptyPath_; }
  // Waits at most `limitMs` for the simulator to end by itself; its exit
  // status, or -1 when it is still running.
  int WaitForExit(int limitMs);

 private:
  pid_t pid_ = -1;
  int stdoutFd_ = -1;
  std::string ptyPath_;
};

}  // namespace trelvik::testing
