#include "server/headless_server.hpp"

#include <pthread.h>
#include <csignal>

#include "access/posix_serial_link.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "instruments/protocol_table.hpp"
#include "server/command_server.hpp"

namespace trelvik {
namespace {

using namespace std::chrono_literals;

// How long the stopped server waits for its aborted jobs to say goodbye.
constexpr std::chrono::milliseconds kJobEndWait = 10s;

class ConsoleObserver : public ServerObserver {
 public:
  explicit ConsoleObserver(HeadlessUserInterface& console) : console_(console) {}
  void ServerStatus(std::string_view text) override { console_.SetStatus(text); }
  void SessionChanged(int slot, const SessionRow& row) override {
    console_.SetStatus(CFormat("Session %d %s:%d %s", slot + 1, row.address.c_str(), row.port, row.state.c_str()));
  }

 private:
  HeadlessUserInterface& console_;
};

}  // namespace

int RunHeadlessServer(const ServerEndpoint& endpoint, HeadlessUserInterface& console) {
  // Blocked before any thread starts, so every thread inherits the mask and
  // the signals wait for sigwait below.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  JobTable table;
  (void)RegisterInstruments(table);  // a driver whose cells clash is a fault of the build; the others serve
  PosixLinkOpener linkOpener;
  ConsoleObserver observer(console);
  CommandServer server(table, linkOpener, ProtocolTable(), observer);
  std::string error;
  if (server.Start(endpoint, error) < 0) {
    ShowError(console, error, kStartServerCaption);
    return 1;
  }
  int signal = 0;
  while (sigwait(&stopSignals, &signal) != 0) {
  }
  console.SetStatus(signal == SIGINT ? "Stopped by SIGINT" : "Stopped by SIGTERM");
  server.Close();
  if (!server.WaitForSessionsEnd(kJobEndWait)) console.SetStatus("Sessions still running at exit");
  return 0;
}

}  // namespace trelvik
