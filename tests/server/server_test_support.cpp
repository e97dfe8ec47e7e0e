#include "server/server_test_support.hpp"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <filesystem>

#include "instruments/protocol_table.hpp"

namespace trelvik::testing {

void RecordingObserver::ServerStatus(std::string_view text) {
  std::lock_guard lock(mutex_);
  statuses_.emplace_back(text);
}

void RecordingObserver::SessionChanged(int slot, const SessionRow& row) {
  std::lock_guard lock(mutex_);
  rows_.push_back(std::to_string(slot) + ": " + row.state);
}

std::vector<std::string> RecordingObserver::Statuses() const {
  std::lock_guard lock(mutex_);
  return statuses_;
}

std::vector<std::string> RecordingObserver::Rows() const {
  std::lock_guard lock(mutex_);
  return rows_;
}

TestServer::TestServer(ServerLimits limits) {
  (void)RegisterInstruments(table_);
  server_ = std::make_unique<CommandServer>(table_, linkOpener_, ProtocolTable(), observer_, limits);
  std::string error;
  if (server_->Start(ServerEndpoint{kLoopbackAddress, 0}, error) < 0) ADD_FAILURE() << error;
}

TestClient::TestClient(int port, int receiveBuffer) {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  if (receiveBuffer > 0) ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) Close();
}

TestClient::~TestClient() { Close(); }

void TestClient::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool TestClient::SendCommand(const std::string& text) { return SendRaw(text + std::string(1, '\0')); }

bool TestClient::SendRaw(const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

std::optional<std::string> TestClient::Next(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const size_t zero = buffer_.find('\0');
    if (zero != std::string::npos) {
      std::string message = buffer_.substr(0, zero);
      buffer_.erase(0, zero + 1);
      seen_.push_back(message);
      return message;
    }
    if (closed_ || fd_ < 0) return std::nullopt;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd entry{fd_, POLLIN, 0};
    if (::poll(&entry, 1, static_cast<int>(left.count())) <= 0) continue;
    char chunk[4096];
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n <= 0) {
      closed_ = true;
    } else {
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }
}

std::optional<std::string> TestClient::NextStarting(const std::string& prefix, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    std::optional<std::string> message = Next(left);
    if (!message) return std::nullopt;
    if (message->starts_with(prefix)) return message;
  }
}

bool TestClient::WaitClosed(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (closed_ && buffer_.find('\0') == std::string::npos) return true;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    (void)Next(left);
  }
}

int OpenDescriptors() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++count;
  }
  return count;
}

}  // namespace trelvik::testing
