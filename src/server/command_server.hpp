#pragma once
// The TCP command server: one listening socket and up to ten sessions, all
// served by one poll loop on a thread of its own; each session's command runs
// a track download as a GPS job on its own thread, outside the one-job gate,
// its reports going back to the client as messages. Sessions are kept apart
// by their ports: two jobs never use the same device (or the USB port) at
// once. The "Server" dialog and the headless `/SERVER=` run both drive it.
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "access/gps_access.hpp"
#include "automation/server_endpoint.hpp"
#include "server/server_session.hpp"

namespace trelvik {

inline constexpr const char* kDecodeCaption = "Decode network command";
inline constexpr const char* kStartServerCaption = "Start server";

struct ServerLimits {
  int sessions = 10;
  size_t commandBytes = 1024;  // device paths under /dev/serial/by-id/ are long
  // A connection that sends no command for this long is closed; so is one
  // that does not close within it after its job ended.
  std::chrono::milliseconds silence{30000};
  size_t queuedBytes = 64 * 1024;  // messages waiting for a client that stopped reading
};

// One row of the session table as the dialog shows it.
struct SessionRow {
  std::string address;
  int port = 0;
  std::string state;
  bool active = false;  // false: the slot is free again, `state` says why
};

// What the server shows. Called from the loop's thread and from the thread
// that starts or closes the server, never at once; the window passes the
// calls on to its own thread.
class ServerObserver {
 public:
  virtual ~ServerObserver() = default;
  virtual void ServerStatus(std::string_view text) = 0;
  virtual void SessionChanged(int slot, const SessionRow& row) = 0;
};

class CommandServer {
 public:
  // `table`, `linkOpener`, `rows` and `observer` must outlive the server.
  CommandServer(const JobTable& table, LinkOpener& linkOpener, std::span<const ProtocolRow> rows,
                ServerObserver& observer, ServerLimits limits = {});
  // Closes the server and waits for every job to end.
  ~CommandServer();
  CommandServer(const CommandServer&) = delete;
  CommandServer& operator=(const CommandServer&) = delete;

  // 0 when listening ("Listening on port %d"); -1 with the error text for a
  // box captioned "Start server".
  [[nodiscard]] int Start(const ServerEndpoint& endpoint, std::string& error);
  bool Listening() const;
  int Port() const;  // the bound port; 0 when not listening
  // Stops listening; sessions with a running job tell it to stop ("Halting")
  // and end when it ends, the others end at once.
  void Close();
  // After Close: true when, within `limit`, every job has ended and every
  // session has sent its last messages (a client may still hold its end).
  [[nodiscard]] bool WaitForSessionsEnd(std::chrono::milliseconds limit);
  // Sessions in slots plus sessions whose client left while their job ends.
  int LiveSessions() const;

 private:
  using Clock = ServerSession::Clock;

  void Loop();
  void Wake();
  void Accept();
  void Refuse(int fd);
  void OnSessionEvents(int slot, short revents);
  void Receive(int slot);
  void Complete(int slot);
  // Null when the command was carried out (or its refusal already sent).
  const char* Execute(ServerSession& session, std::string_view text);
  const char* StartJob(ServerSession& session, const struct NetworkCommand& command);
  bool PortInUse(const ServerSession& asking, const std::string& key, bool usb) const;
  void Housekeeping();
  // The client is gone or misbehaved: its place is free at once; a running
  // job is told to stop and its session waits aside until the job ends.
  void EndSession(int slot, std::string_view state);
  void FreeSlot(int slot, std::string_view state);
  void BeginClosing(ServerSession& session);
  void ShowRow(int slot, std::string_view state);
  void CloseListener();
  bool Quiet() const;

  const std::span<const ProtocolRow> rows_;
  ServerObserver& observer_;
  const ServerLimits limits_;

  mutable std::mutex mutex_;  // guards everything below but the pipe
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  int listenFd_ = -1;
  int port_ = 0;
  bool stop_ = false;
  std::vector<std::unique_ptr<ServerSession>> slots_;
  std::vector<std::unique_ptr<ServerSession>> ending_;  // client gone, job still ending
  std::thread loop_;
  // Last: destroyed first, it waits for the job threads, which use the
  // sessions and the pipe to the end.
  std::unique_ptr<GpsAccess> access_;
};

}  // namespace trelvik
