#include "server/command_server.hpp"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "base/c_format.hpp"
#include "server/network_command.hpp"
#include "server/socket_error_name.hpp"

namespace trelvik {
namespace {

using namespace std::chrono_literals;

constexpr int kBacklog = 20;
constexpr size_t kReceiveBytes = 512;
// The loop looks at the clocks (silent connections, closing ones) this often.
constexpr int kLoopTickMs = 100;
constexpr const char* kNotAccepted = "$Trelvik Error New connection\r\nConnection not accepted";

std::string Failed(const char* call, int error) {
  return CFormat("%s returned %s", call, std::string(SocketErrorName(error)).c_str());
}

std::string Dotted(const in_addr& address) {
  const auto* b = reinterpret_cast<const unsigned char*>(&address.s_addr);
  return CFormat("%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
}

// A session only ever opens a terminal: a serial port or a pseudo-terminal.
// The device is opened without waiting for a carrier and closed at once; one
// that another program holds exclusively is a terminal too.
bool IsTerminalDevice(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == EBUSY;
  const bool terminal = ::isatty(fd) == 1;
  ::close(fd);
  return terminal;
}

// Two names of one device (a by-id link and its tty) are one port.
std::string DeviceKey(const std::string& path) {
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

void ShutDownAndClose(int fd) {
  ::shutdown(fd, SHUT_RDWR);
  ::close(fd);
}

}  // namespace

CommandServer::CommandServer(const JobTable& table, LinkOpener& linkOpener, std::span<const ProtocolRow> rows,
                             ServerObserver& observer, ServerLimits limits)
    : rows_(rows), observer_(observer), limits_(limits), slots_(static_cast<size_t>(limits.sessions)) {
  int pipeFds[2] = {-1, -1};
  if (::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) == 0) {
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
  }
  access_ = std::make_unique<GpsAccess>(table, linkOpener);
  access_->InitGpsAccess();
  loop_ = std::thread([this] { Loop(); });
}

CommandServer::~CommandServer() {
  Close();
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  Wake();
  loop_.join();
  // The jobs were told to stop; their threads use the sessions and the pipe
  // until they end.
  access_.reset();
  slots_.clear();
  ending_.clear();
  if (wakeRead_ >= 0) ::close(wakeRead_);
  if (wakeWrite_ >= 0) ::close(wakeWrite_);
}

void CommandServer::Wake() {
  const char byte = 1;
  // A full pipe wakes the loop as well as one more byte would.
  (void)!::write(wakeWrite_, &byte, 1);
}

int CommandServer::Start(const ServerEndpoint& endpoint, std::string& error) {
  std::lock_guard lock(mutex_);
  if (listenFd_ >= 0) {
    error = "Server already started";
    return -1;
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(endpoint.port));
  if (endpoint.port < 0 || endpoint.port > 65535) {
    error = "Port out of range";
    return -1;
  }
  if (::inet_pton(AF_INET, endpoint.address.c_str(), &address.sin_addr) != 1) {
    error = Failed("bind()", EADDRNOTAVAIL);
    return -1;
  }
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = Failed("socket()", errno);
    return -1;
  }
  const int on = 1;
  socklen_t length = sizeof address;
  const char* failed = nullptr;
  if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
    failed = "setsockopt()";
  } else if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    failed = "bind()";
  } else if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    failed = "getsockname()";
  } else if (::listen(fd, kBacklog) != 0) {
    failed = "listen()";
  }
  if (failed != nullptr) {
    error = Failed(failed, errno);
    ::close(fd);
    return -1;
  }
  listenFd_ = fd;
  port_ = ntohs(address.sin_port);
  observer_.ServerStatus(CFormat("Listening on port %d", port_));
  Wake();
  return 0;
}

bool CommandServer::Listening() const {
  std::lock_guard lock(mutex_);
  return listenFd_ >= 0;
}

int CommandServer::Port() const {
  std::lock_guard lock(mutex_);
  return port_;
}

void CommandServer::CloseListener() {
  if (listenFd_ >= 0) ::close(listenFd_);
  listenFd_ = -1;
  port_ = 0;
}

void CommandServer::Close() {
  {
    std::lock_guard lock(mutex_);
    CloseListener();
    for (size_t slot = 0; slot < slots_.size(); ++slot) {
      ServerSession* session = slots_[slot].get();
      if (session == nullptr) continue;
      if (session->jobLive) {
        session->StopJob();
        session->phase = SessionPhase::Halting;
        ShowRow(static_cast<int>(slot), "Halting");
      } else if (session->phase != SessionPhase::Closing) {
        FreeSlot(static_cast<int>(slot), "Closed");
      }  // a closing session still sends its job's last messages, then ends
    }
  }
  Wake();
}

bool CommandServer::WaitForSessionsEnd(std::chrono::milliseconds limit) {
  const Clock::time_point end = Clock::now() + limit;
  for (;;) {
    if (Quiet()) return true;
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(10ms);
  }
}

bool CommandServer::Quiet() const {
  std::lock_guard lock(mutex_);
  if (!ending_.empty()) return false;
  for (const auto& session : slots_) {
    if (session && !(session->phase == SessionPhase::Closing && session->shutDown)) return false;
  }
  return true;
}

int CommandServer::LiveSessions() const {
  std::lock_guard lock(mutex_);
  int count = static_cast<int>(ending_.size());
  for (const auto& session : slots_) count += session ? 1 : 0;
  return count;
}

void CommandServer::ShowRow(int slot, std::string_view state) {
  const ServerSession& session = *slots_[static_cast<size_t>(slot)];
  observer_.SessionChanged(slot, SessionRow{session.address, session.port, std::string(state), true});
}

void CommandServer::FreeSlot(int slot, std::string_view state) {
  std::unique_ptr<ServerSession>& session = slots_[static_cast<size_t>(slot)];
  observer_.SessionChanged(slot, SessionRow{session->address, session->port, std::string(state), false});
  session.reset();  // closes its socket
}

void CommandServer::EndSession(int slot, std::string_view state) {
  std::unique_ptr<ServerSession>& session = slots_[static_cast<size_t>(slot)];
  if (!session->jobLive) {
    FreeSlot(slot, state);
    return;
  }
  session->StopJob();
  session->CloseSocket();
  observer_.SessionChanged(slot, SessionRow{session->address, session->port, std::string(state), false});
  ending_.push_back(std::move(session));
}

void CommandServer::BeginClosing(ServerSession& session) {
  session.phase = SessionPhase::Closing;
  session.deadline = Clock::now() + limits_.silence;
}

void CommandServer::Loop() {
  std::vector<pollfd> fds;
  std::vector<int> owners;  // per entry: the slot, -1 the listener, -2 the pipe
  for (;;) {
    fds.clear();
    owners.clear();
    {
      std::lock_guard lock(mutex_);
      if (stop_) return;
      fds.push_back({wakeRead_, POLLIN, 0});
      owners.push_back(-2);
      if (listenFd_ >= 0) {
        fds.push_back({listenFd_, POLLIN, 0});
        owners.push_back(-1);
      }
      for (size_t slot = 0; slot < slots_.size(); ++slot) {
        ServerSession* session = slots_[slot].get();
        if (session == nullptr || session->fd < 0) continue;
        const short events = static_cast<short>(POLLIN | (session->Pending() ? POLLOUT : 0));
        fds.push_back({session->fd, events, 0});
        owners.push_back(static_cast<int>(slot));
      }
    }
    (void)::poll(fds.data(), fds.size(), kLoopTickMs);
    std::lock_guard lock(mutex_);
    if (stop_) return;
    for (size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      if (owners[i] == -2) {
        char drain[64];
        while (::read(wakeRead_, drain, sizeof drain) > 0) {
        }
      } else if (owners[i] == -1) {
        if (fds[i].fd != listenFd_) continue;  // closed meanwhile
        if (fds[i].revents & (POLLERR | POLLNVAL)) {
          int error = 0;
          socklen_t size = sizeof error;
          (void)::getsockopt(listenFd_, SOL_SOCKET, SO_ERROR, &error, &size);
          CloseListener();
          observer_.ServerStatus(CFormat("Listening socket returned %s", std::string(SocketErrorName(error)).c_str()));
        } else {
          Accept();
        }
      } else {
        const ServerSession* session = slots_[static_cast<size_t>(owners[i])].get();
        if (session != nullptr && session->fd == fds[i].fd) OnSessionEvents(owners[i], fds[i].revents);
      }
    }
    Housekeeping();
  }
}

void CommandServer::Accept() {
  for (;;) {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    const int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR) continue;
      // Would-block ends the queue; a connection that went away before it
      // was taken is no fault of the server.
      if (errno != EAGAIN && errno != EWOULDBLOCK && errno != ECONNABORTED) {
        observer_.ServerStatus(Failed("accept()", errno));
      }
      return;
    }
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0 || peer.sin_family != AF_INET) {
      observer_.ServerStatus(Failed("getpeername()", errno));
      Refuse(fd);
      continue;
    }
    size_t slot = 0;
    while (slot < slots_.size() && slots_[slot]) ++slot;
    if (slot == slots_.size()) {
      Refuse(fd);
      continue;
    }
    slots_[slot] = std::make_unique<ServerSession>(fd, Dotted(peer.sin_addr), ntohs(peer.sin_port), limits_.queuedBytes,
                                                   [this] { Wake(); });
    slots_[slot]->deadline = Clock::now() + limits_.silence;
    ShowRow(static_cast<int>(slot), "Waiting for command");
  }
}

void CommandServer::Refuse(int fd) {
  // The message fits any socket buffer; a client that cannot take it is gone.
  (void)::send(fd, kNotAccepted, std::char_traits<char>::length(kNotAccepted) + 1, MSG_NOSIGNAL | MSG_DONTWAIT);
  ShutDownAndClose(fd);
}

void CommandServer::OnSessionEvents(int slot, short revents) {
  ServerSession& session = *slots_[static_cast<size_t>(slot)];
  if (revents & POLLOUT) {
    if (session.Flush() != 0) {
      EndSession(slot, "Terminated (send() error)");
      return;
    }
  }
  if (revents & (POLLIN | POLLHUP)) {
    Receive(slot);
  } else if (revents & (POLLERR | POLLNVAL)) {
    EndSession(slot, "Terminated (WSAAsync error)");
  }
}

void CommandServer::Receive(int slot) {
  ServerSession& session = *slots_[static_cast<size_t>(slot)];
  char buffer[kReceiveBytes];
  const ssize_t n = ::recv(session.fd, buffer, sizeof buffer, MSG_DONTWAIT);
  if (n < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return;
    EndSession(slot, "Terminated (recv() error)");
    return;
  }
  if (n == 0) {
    EndSession(slot, session.phase == SessionPhase::Closing ? "Closed" : "Connection gracefully closed");
    return;
  }
  for (ssize_t i = 0; i < n; ++i) {
    // A session that is closing or halting takes no more commands.
    if (session.phase == SessionPhase::Closing || session.phase == SessionPhase::Halting) return;
    if (buffer[i] == '\0') {
      Complete(slot);
    } else if (session.command.size() < limits_.commandBytes) {
      session.command.push_back(buffer[i]);
    } else {
      session.command.clear();
      session.Send(std::string("$Trelvik Error ") + kDecodeCaption + "\nCommand too long");
      if (session.jobLive) {
        session.StopJob();
        session.phase = SessionPhase::Halting;
        ShowRow(slot, "Halting");
      } else {
        BeginClosing(session);
      }
      return;
    }
  }
}

void CommandServer::Complete(int slot) {
  ServerSession& session = *slots_[static_cast<size_t>(slot)];
  std::string text;
  text.swap(session.command);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  const bool hadJob = session.jobLive;
  if (const char* error = Execute(session, text)) {
    session.Send(std::string("$Trelvik Error ") + kDecodeCaption + "\n" + error);
  }
  if (!hadJob && session.jobLive) {
    ShowRow(slot, "Executing command");
  } else if (!session.jobLive) {
    session.deadline = Clock::now() + limits_.silence;
  }
}

const char* CommandServer::Execute(ServerSession& session, std::string_view text) {
  std::variant<NetworkCommand, std::string> parsed = ParseNetworkCommand(text, rows_);
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    session.Send(std::string("$Trelvik Error ") + kDecodeCaption + "\n" + *error);
    return nullptr;
  }
  const NetworkCommand& command = std::get<NetworkCommand>(parsed);
  if (session.jobLive) {
    if (command.abort == 1u || command.track == 0u) {
      session.StopJob();
    } else if (command.track) {
      session.ChooseTrack(static_cast<int>(*command.track) - 1);
    }
    return nullptr;
  }
  return StartJob(session, command);
}

bool CommandServer::PortInUse(const ServerSession& asking, const std::string& key, bool usb) const {
  const auto uses = [&](const std::unique_ptr<ServerSession>& other) {
    if (!other || other.get() == &asking || !other->jobLive) return false;
    return usb ? other->usb : (!other->usb && other->portKey == key);
  };
  for (const auto& session : slots_) {
    if (uses(session)) return true;
  }
  for (const auto& session : ending_) {
    if (uses(session)) return true;
  }
  return false;
}

const char* CommandServer::StartJob(ServerSession& session, const NetworkCommand& command) {
  if (command.gps == nullptr) return "Missing GPS protocol";
  const ProtocolRow& row = *command.gps;
  std::string portName;
  std::string key;
  if (row.usb) {
    if (PortInUse(session, key, true)) return "USB port is used by another session";
  } else {
    if (!command.portName || command.portName->empty() || command.portName->size() > kPortNameLimit) {
      return "Missing/bad COM port";
    }
    portName = *command.portName;
    key = DeviceKey(portName);
    if (PortInUse(session, key, false)) return "COM port is used by another session";
  }
  if (!row.serverSessions || !RowRuns(row, AccessFunction::DownloadTrackLog)) return "GPS protocol not supported";
  if (!row.usb && !IsTerminalDevice(portName)) return "Missing/bad COM port";

  JobRequest request;
  request.function = AccessFunction::DownloadTrackLog;
  request.protocol = row.protocol;
  request.portName = portName;
  request.channel = &session.Channel();
  request.tcpClient = true;
  request.sessionTrackChooser = &session;
  session.jobLive = true;
  session.usb = row.usb;
  session.portKey = key;
  session.phase = SessionPhase::Executing;
  if (access_->StartGpsJob(std::move(request)) < 0) {
    // The refusal went to the client as the access layer's error message.
    session.jobLive = false;
    session.usb = false;
    session.portKey.clear();
    session.phase = SessionPhase::Waiting;
  }
  return nullptr;
}

void CommandServer::Housekeeping() {
  const Clock::time_point now = Clock::now();
  for (size_t index = 0; index < slots_.size(); ++index) {
    ServerSession* session = slots_[index].get();
    if (session == nullptr) continue;
    const int slot = static_cast<int>(index);
    if (session->Overflowed()) {
      EndSession(slot, "Terminated (client not reading)");
      continue;
    }
    if (session->jobLive && session->jobEnded.load()) {
      session->jobLive = false;
      BeginClosing(*session);
    }
    switch (session->phase) {
      case SessionPhase::Waiting:
        if (now >= session->deadline) FreeSlot(slot, "Terminated (no command)");
        break;
      case SessionPhase::Closing:
        if (session->Flush() != 0 || now >= session->deadline) {
          FreeSlot(slot, "Closed");
        } else if (!session->Pending() && !session->shutDown) {
          // The client reads to the end, then closes; its close frees the slot.
          ::shutdown(session->fd, SHUT_WR);
          session->shutDown = true;
        }
        break;
      case SessionPhase::Executing:
      case SessionPhase::Halting: break;
    }
  }
  std::erase_if(ending_, [](const std::unique_ptr<ServerSession>& session) { return session->jobEnded.load(); });
}

}  // namespace trelvik
