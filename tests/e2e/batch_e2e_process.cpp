#include "e2e/batch_e2e_process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace trelvik::testing {

std::vector<std::string> ProgramRun::ErrLines() const {
  std::vector<std::string> lines;
  size_t from = 0;
  while (from < err.size()) {
    size_t end = err.find('\n', from);
    if (end == std::string::npos) end = err.size();
    lines.push_back(err.substr(from, end - from));
    from = end + 1;
  }
  return lines;
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env, int limitMs) {
  ProgramRun run;
  int outPipe[2];
  int errPipe[2];
  if (::pipe2(outPipe, O_CLOEXEC) != 0) return run;
  if (::pipe2(errPipe, O_CLOEXEC) != 0) return run;
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int devNull = ::open("/dev/null", O_RDONLY);
    ::dup2(devNull, STDIN_FILENO);
    ::dup2(outPipe[1], STDOUT_FILENO);
    ::dup2(errPipe[1], STDERR_FILENO);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    for (const auto& [key, value] : env) ::setenv(key.c_str(), value.c_str(), 1);
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (std::string& arg : argv) raw.push_back(arg.data());
    raw.push_back(nullptr);
    ::execv(program.c_str(), raw.data());
    ::_exit(127);
  }
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&run.out, &run.err};
  int open = 2;
  while (open > 0) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      run.timedOut = true;
      ::kill(pid, SIGKILL);
      break;
    }
    if (::poll(fds, 2, static_cast<int>(left.count())) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<size_t>(n));
      } else {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  for (const pollfd& p : fds) {
    if (p.fd >= 0) ::close(p.fd);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!run.timedOut && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

NotifyReceiver::NotifyReceiver(std::string path) : path_(std::move(path)) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path_.size() >= sizeof address.sun_path) return;
  std::memcpy(address.sun_path, path_.data(), path_.size());
  fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::pipe(stopPipe_) != 0) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  reader_ = std::thread([this] {
    for (;;) {
      pollfd fds[2] = {{fd_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
      if (::poll(fds, 2, -1) < 0) continue;
      if (fds[1].revents != 0) return;
      char buffer[65536];
      const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
      if (n < 4) continue;
      uint32_t word = 0;
      for (int i = 3; i >= 0; --i) word = word << 8 | static_cast<uint8_t>(buffer[i]);
      std::lock_guard lock(mutex_);
      notes_.push_back({word, std::string(buffer + 4, static_cast<size_t>(n) - 4)});
    }
  });
}

NotifyReceiver::~NotifyReceiver() {
  if (reader_.joinable()) {
    (void)::write(stopPipe_[1], "x", 1);
    reader_.join();
  }
  for (const int fd : {fd_, stopPipe_[0], stopPipe_[1]}) {
    if (fd >= 0) ::close(fd);
  }
  ::unlink(path_.c_str());
}

std::vector<NotifyReceiver::Note> NotifyReceiver::Notes() {
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::lock_guard lock(mutex_);
  return notes_;
}

std::vector<std::string> NotifyReceiver::Texts() {
  std::vector<std::string> texts;
  for (const Note& note : Notes()) texts.push_back(note.text);
  return texts;
}

namespace {

constexpr const char* kNotAvailable = "Command-line jobs are not available in this build";

std::string BuildDir() {
  const char* dir = std::getenv("TRELVIK_BUILD_DIR");
  return dir != nullptr ? dir : "";
}

std::string FindProgram(std::string& why) {
  const std::string program = BuildDir() + "/trelvik";
  if (BuildDir().empty() || ::access(program.c_str(), X_OK) != 0) {
    why = "the program is not built";
    return {};
  }
  const ProgramRun probe = RunProgram(program, {"/WIN=0", "/LOGFILE=/nonexistent/probe.txt"}, {}, 10000);
  if (probe.err.find(kNotAvailable) == std::string::npos) return program;
  const std::string driver = BuildDir() + "/tests/e2e/batch_e2e_driver";
  const char* useDriver = std::getenv("TRELVIK_E2E_DRIVER");
  if (useDriver != nullptr && std::string(useDriver) == "1" && ::access(driver.c_str(), X_OK) == 0) return driver;
  why = "build/trelvik does not run command-line jobs yet (TRELVIK_E2E_DRIVER=1 runs them through the test driver)";
  return {};
}

}  // namespace

const std::string& ProgramUnderTest(std::string& why) {
  static std::string reason;
  static const std::string program = FindProgram(reason);
  why = reason;
  return program;
}

}  // namespace trelvik::testing
