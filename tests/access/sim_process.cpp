#include "access/sim_process.hpp"

#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace trelvik::testing {

std::string SimProcess::BinaryPath() {
  const char* dir = std::getenv("TRELVIK_BUILD_DIR");
  if (dir == nullptr) return {};
  const std::string path = std::string(dir) + "/trelvik-sim";
  return ::access(path.c_str(), X_OK) == 0 ? path : std::string();
}

bool SimProcess::Start(const std::vector<std::string>& args) {
  const std::string binary = BinaryPath();
  if (binary.empty()) return false;
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return false;
  std::vector<std::string> argv = {binary};
  argv.insert(argv.end(), args.begin(), args.end());
  pid_ = ::fork();
  if (pid_ < 0) return false;
  if (pid_ == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // no orphaned simulators after a crashed test
    ::dup2(pipeFds[1], STDOUT_FILENO);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    std::vector<char*> raw;
    for (std::string& arg : argv) raw.push_back(arg.data());
    raw.push_back(nullptr);
    ::execv(binary.c_str(), raw.data());
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  stdoutFd_ = pipeFds[0];
  // The first line is the device path.
  std::string line;
  for (;;) {
    pollfd p{stdoutFd_, POLLIN, 0};
    if (::poll(&p, 1, 5000) <= 0) return false;
    char c;
    if (::read(stdoutFd_, &c, 1) != 1) return false;
    if (c == '\n') break;
    line += c;
  }
  ptyPath_ = line;
  return !ptyPath_.empty();
}

int SimProcess::WaitForExit(int limitMs) {
  if (pid_ <= 0) return -1;
  for (int waited = 0; waited <= limitMs; waited += 10) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    }
    ::usleep(10000);
  }
  return -1;
}

SimProcess::~SimProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  if (stdoutFd_ >= 0) ::close(stdoutFd_);
}

}  // namespace trelvik::testing
