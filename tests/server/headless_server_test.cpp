// `trelvik /SERVER=` as a process: it listens on the loopback address until
// SIGTERM, then ends its sessions as the dialog's Close does.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "access/sim_process.hpp"
#include "server/server_test_support.hpp"

namespace trelvik::testing {
namespace {

class ServerProcess {
 public:
  ~ServerProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
  }

  static std::string Binary() {
    const char* dir = std::getenv("TRELVIK_BUILD_DIR");
    const std::string path = dir ? std::string(dir) + "/trelvik" : std::string();
    return !path.empty() && ::access(path.c_str(), X_OK) == 0 ? path : std::string();
  }

  bool Start(const std::vector<std::string>& args) {
    int fds[2];
    if (::pipe(fds) != 0) return false;
    std::vector<std::string> argv = {Binary()};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      ::dup2(fds[1], STDOUT_FILENO);
      ::dup2(fds[1], STDERR_FILENO);
      ::close(fds[0]);
      ::close(fds[1]);
      std::vector<char*> raw;
      for (std::string& arg : argv) raw.push_back(arg.data());
      raw.push_back(nullptr);
      ::execv(raw[0], raw.data());
      ::_exit(127);
    }
    ::close(fds[1]);
    out_ = fds[0];
    return pid_ > 0;
  }

  // Output up to the first line that starts with `prefix`; empty at the limit.
  std::string LineStarting(const std::string& prefix, int limitMs = 5000) {
    for (;;) {
      size_t start = 0;
      for (size_t end; (end = output_.find('\n', start)) != std::string::npos; start = end + 1) {
        if (output_.compare(start, prefix.size(), prefix) == 0) return output_.substr(start, end - start);
      }
      if (!ReadMore(limitMs)) return {};
    }
  }

  // The exit code, -1 when still running at the limit.
  int WaitForExit(int limitMs) {
    for (int waited = 0; waited <= limitMs; waited += 10) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        while (ReadMore(0)) {
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
      }
      ::usleep(10000);
    }
    return -1;
  }

  void Signal(int number) { ::kill(pid_, number); }
  const std::string& Output() const { return output_; }

 private:
  bool ReadMore(int limitMs) {
    pollfd entry{out_, POLLIN, 0};
    if (::poll(&entry, 1, limitMs) <= 0) return false;
    char chunk[1024];
    const ssize_t n = ::read(out_, chunk, sizeof chunk);
    if (n <= 0) return false;
    output_.append(chunk, static_cast<size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
};

TEST(HeadlessServerTest, SigtermDuringASessionClosesItAndEndsTheProgram) {
  if (ServerProcess::Binary().empty() || SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik not built";
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"flytec", "--flights=2"}));
  ServerProcess server;
  ASSERT_TRUE(server.Start({"/SERVER=0"}));
  const std::string listening = server.LineStarting("Status: Listening on port ");
  ASSERT_FALSE(listening.empty()) << server.Output();
  const int port = std::atoi(listening.c_str() + std::strlen("Status: Listening on port "));
  TestClient client(port);
  ASSERT_TRUE(client.SendCommand("$Trelvik /gps=iqcompeo /com=" + sim.PtyPath()));
  ASSERT_TRUE(client.NextStarting("$Trelvik TrackList "));
  server.Signal(SIGTERM);
  EXPECT_TRUE(client.WaitClosed(5s));
  EXPECT_EQ(server.WaitForExit(10000), 0) << server.Output();
  EXPECT_NE(server.Output().find("Status: Session 1 127.0.0.1:"), std::string::npos) << server.Output();
  EXPECT_NE(server.Output().find("Executing command"), std::string::npos);
  EXPECT_NE(server.Output().find("Halting"), std::string::npos);
  EXPECT_NE(server.Output().find("Status: Stopped by SIGTERM"), std::string::npos);
}

TEST(HeadlessServerTest, BadServerValuesEndWithTheUsageCode) {
  if (ServerProcess::Binary().empty()) GTEST_SKIP() << "trelvik not built";
  struct Case {
    const char* argument;
    const char* message;
  };
  const Case cases[] = {
      {"/SERVER=", "Parsing command line: Missing port input"},
      {"/SERVER=70000", "Parsing command line: Port out of range"},
      {"/SERVER=host:1", "Parsing command line: Bad server address"},
  };
  for (const Case& c : cases) {
    ServerProcess server;
    ASSERT_TRUE(server.Start({c.argument}));
    EXPECT_EQ(server.WaitForExit(5000), 2) << c.argument;
    EXPECT_NE(server.Output().find(c.message), std::string::npos) << server.Output();
  }
}

TEST(HeadlessServerTest, PortInUseIsAStartError) {
  if (ServerProcess::Binary().empty()) GTEST_SKIP() << "trelvik not built";
  TestServer taken;
  ServerProcess server;
  ASSERT_TRUE(server.Start({"/SERVER=127.0.0.1:" + std::to_string(taken.Port())}));
  EXPECT_EQ(server.WaitForExit(5000), 1);
  EXPECT_NE(server.Output().find("Start server: bind() returned WSAEADDRINUSE"), std::string::npos) << server.Output();
}

}  // namespace
}  // namespace trelvik::testing
