#include "server/server_session.hpp"

#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>

#include "base/c_format.hpp"

namespace trelvik {
namespace {

constexpr std::chrono::milliseconds kChoiceLook{500};

}  // namespace

ServerSession::ServerSession(int socket, std::string peerAddress, int peerPort, size_t queueLimit,
                             std::function<void()> wake)
    : fd(socket),
      address(std::move(peerAddress)),
      port(peerPort),
      queueLimit_(queueLimit),
      wake_(std::move(wake)),
      channel_([this](const std::string& message) { Send(message); },
               [this] {
                 // The last thing the job's thread does with this session.
                 jobEnded.store(true);
                 wake_();
               }) {}

ServerSession::~ServerSession() { CloseSocket(); }

void ServerSession::CloseSocket() {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

void ServerSession::Send(std::string_view message) {
  {
    std::lock_guard lock(mutex_);
    if (overflowed_) return;
    if (queued_.size() + message.size() + 1 > queueLimit_) {
      overflowed_ = true;
      queued_.clear();
    } else {
      queued_.append(message);
      queued_.push_back('\0');
    }
  }
  if (Overflowed()) StopJob();
  wake_();
}

int ServerSession::Flush() {
  std::lock_guard lock(mutex_);
  size_t sent = 0;
  int error = 0;
  while (fd >= 0 && sent < queued_.size()) {
    const ssize_t n = ::send(fd, queued_.data() + sent, queued_.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      sent += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) error = errno;
      break;
    }
  }
  queued_.erase(0, sent);
  return error;
}

bool ServerSession::Pending() {
  std::lock_guard lock(mutex_);
  return !queued_.empty();
}

bool ServerSession::Overflowed() {
  std::lock_guard lock(mutex_);
  return overflowed_;
}

void ServerSession::StopJob() {
  channel_.Cancel();
  std::lock_guard lock(mutex_);
  chosen_.notify_all();  // a job waiting for its track choice stops now
}

void ServerSession::ChooseTrack(int entry) {
  std::lock_guard lock(mutex_);
  choice_ = entry;
  chosen_.notify_all();
}

std::optional<std::vector<int>> ServerSession::ChooseTracks(const TrackListQuestion& question) {
  if (question.flights.empty()) return std::nullopt;
  {
    std::lock_guard lock(mutex_);
    choice_.reset();  // only a choice made after the list counts
  }
  Send(TrackListMessage(question.flights));
  std::unique_lock lock(mutex_);
  while (!choice_) {
    if (channel_.CancelRequested()) return std::nullopt;
    chosen_.wait_for(lock, kChoiceLook);
  }
  // An entry without a flight is no line of the list: nothing is chosen.
  std::vector<int> lines;
  for (size_t line = 0; line < question.lineNumbers.size(); ++line) {
    if (question.lineNumbers[line] == *choice_ + 1) lines.push_back(static_cast<int>(line));
  }
  return lines;
}

std::string TrackListMessage(std::span<const FlightListEntry> flights) {
  std::string message = "$Trelvik TrackList ";
  for (size_t i = 0; i < flights.size(); ++i) {
    if (i > 0) message += '\n';
    message += CFormat("%u,%u", static_cast<unsigned>(flights[i].start), static_cast<unsigned>(flights[i].duration));
  }
  return message;
}

}  // namespace trelvik
