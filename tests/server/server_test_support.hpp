#pragma once
// The command server on a loopback port with the real drivers and serial
// links, and clients that speak its zero-terminated messages.
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "access/job_table.hpp"
#include "access/posix_serial_link.hpp"
#include "server/command_server.hpp"

namespace trelvik::testing {

using namespace std::chrono_literals;

class RecordingObserver : public ServerObserver {
 public:
  void ServerStatus(std::string_view text) override;
  void SessionChanged(int slot, const SessionRow& row) override;
  std::vector<std::string> Statuses() const;
  // "slot: state" per change.
  std::vector<std::string> Rows() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> statuses_;
  std::vector<std::string> rows_;
};

class TestServer {
 public:
  explicit TestServer(ServerLimits limits = {});
  int Port() const { return server_->Port(); }
  CommandServer& Server() { return *server_; }
  RecordingObserver& Observer() { return observer_; }

 private:
  JobTable table_;
  PosixLinkOpener linkOpener_;
  RecordingObserver observer_;
  std::unique_ptr<CommandServer> server_;
};

class TestClient {
 public:
  // Connects to the loopback port; Connected() says whether it worked.
  explicit TestClient(int port, int receiveBuffer = 0);
  ~TestClient();
  TestClient(const TestClient&) = delete;
  TestClient& operator=(const TestClient&) = delete;

  bool Connected() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  // Sends the text and its terminating zero byte.
  bool SendCommand(const std::string& text);
  bool SendRaw(const std::string& bytes);
  // The next message, or nothing at the limit or when the server closed.
  std::optional<std::string> Next(std::chrono::milliseconds limit = 10s);
  // The next message that starts with `prefix`, skipping others (kept in Seen()).
  std::optional<std::string> NextStarting(const std::string& prefix, std::chrono::milliseconds limit = 20s);
  // Reads until the server closes; false at the limit.
  bool WaitClosed(std::chrono::milliseconds limit = 20s);
  bool Closed() const { return closed_; }
  const std::vector<std::string>& Seen() const { return seen_; }
  void Close();

 private:
  int fd_ = -1;
  std::string buffer_;
  bool closed_ = false;
  std::vector<std::string> seen_;
};

// Open descriptors of this process.
int OpenDescriptors();
// Waits until `predicate` holds or `limit` passes; its last value.
template <typename Predicate>
bool WaitFor(Predicate predicate, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!predicate()) {
    if (std::chrono::steady_clock::now() >= end) return predicate();
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

}  // namespace trelvik::testing
