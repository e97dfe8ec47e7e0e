// The server over real loopback sockets, with the real Flytec driver behind
// it talking to trelvik-sim on pseudo-terminals.
#include <gtest/gtest.h>

#include "access/sim_process.hpp"
#include "instruments/protocol_table.hpp"
#include "server/server_test_support.hpp"

namespace trelvik::testing {
namespace {

constexpr const char* kDecodeError = "$Trelvik Error Decode network command\n";

std::string Download(const std::string& port) { return "$Trelvik /gps=iqcompeo /com=" + port; }

class CommandServerTest : public ::testing::Test {
 protected:
  // A simulated Compeo with two generated flights; `extra` adds options.
  void StartSim(SimProcess& sim, std::vector<std::string> extra = {}) {
    if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
    std::vector<std::string> args = {"flytec", "--flights=2"};
    args.insert(args.end(), extra.begin(), extra.end());
    ASSERT_TRUE(sim.Start(args));
  }
};

TEST_F(CommandServerTest, WholeDownloadSessionEndsWithTheServerClosing) {
  SimProcess sim;
  StartSim(sim);
  TestServer server;
  TestClient client(server.Port());
  ASSERT_TRUE(client.Connected());
  ASSERT_TRUE(client.SendCommand(Download(sim.PtyPath()) + "\r\n"));  // CR LF at the end are ignored
  const std::optional<std::string> list = client.NextStarting("$Trelvik TrackList ");
  ASSERT_TRUE(list);
  // Generated flights: two entries "start,duration".
  EXPECT_EQ(std::count(list->begin(), list->end(), '\n'), 1) << *list;
  EXPECT_EQ(std::count(list->begin(), list->end(), ','), 2) << *list;
  ASSERT_TRUE(client.SendCommand("$Trelvik /track=2"));
  ASSERT_TRUE(client.WaitClosed());
  const std::vector<std::string>& seen = client.Seen();
  const auto at = [&](const std::string& text) { return std::find(seen.begin(), seen.end(), text) - seen.begin(); };
  // In the order the job reported them.
  const auto product = std::find_if(seen.begin(), seen.end(),
                                    [](const std::string& m) { return m.starts_with("$Trelvik Product 6030"); });
  ASSERT_NE(product, seen.end());
  EXPECT_LT(product - seen.begin(), at(*list));
  EXPECT_LT(at(*list), at("$Trelvik Status Requesting track log 2"));
  EXPECT_LT(at("$Trelvik Status Requesting track log 2"), at("$Trelvik Status 600 points received"));
  EXPECT_EQ(seen.back(), "$Trelvik Status 600 points received");
  for (const std::string& message : seen) EXPECT_FALSE(message.starts_with("$Trelvik Error")) << message;
  // The client's close after the end frees the place.
  EXPECT_EQ(server.Server().LiveSessions(), 1);
  client.Close();
  EXPECT_TRUE(WaitFor([&] { return server.Server().LiveSessions() == 0; }, 5s));
  EXPECT_EQ(server.Observer().Rows(),
            (std::vector<std::string>{"0: Waiting for command", "0: Executing command", "0: Closed"}));
  EXPECT_EQ(server.Observer().Statuses().front(), "Listening on port " + std::to_string(server.Port()));
}

TEST_F(CommandServerTest, EveryRefusedCommandLeavesTheSessionWaiting) {
  TestServer server;
  TestClient client(server.Port());
  ASSERT_TRUE(client.Connected());
  struct Case {
    std::string command;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"/gps=garmin /com=3", "$Trelvik Error Bad command identifier"},
      {"$Trelvik /gps=garmin com=3", "Missing parameter start '/'"},
      {"$Trelvik /gps", "Missing parameter assignment character '='"},
      {"$Trelvik /gps= /com=3", "Missing parameter value"},
      {"$Trelvik /com=\"/dev/pts", "Missing '\"'"},
      {"$Trelvik /com=three", "Bad COM port value"},
      {"$Trelvik /gps=Garmin /com=3", "Unrecognized GPS type"},
      {"$Trelvik /abort=x", "Bad abort value"},
      {"$Trelvik /track=x", "Bad track select"},
      {"$Trelvik /baud=9600", "Unrecognized parameter"},
      {"$Trelvik /com=3", "Missing GPS protocol"},
      {"$Trelvik /gps=iqcompeo", "Missing/bad COM port"},
      {"$Trelvik /gps=iqcompeo /com=0", "Missing/bad COM port"},
      {"$Trelvik /gps=iqcompeo /com=/dev/null", "Missing/bad COM port"},  // not a terminal
      {"$Trelvik /gps=iqcompeo /com=/nonexistent/tty", "Missing/bad COM port"},
      {"$Trelvik /gps=iqcompeo /com=/" + std::string(100, 'x'), "Missing/bad COM port"},
      {"$Trelvik /gps=mlr /com=3", "GPS protocol not supported"},
      {"$Trelvik /gps=iqbasic /com=3\n", "GPS protocol not supported"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(client.SendCommand(c.command));
    EXPECT_EQ(client.Next(), kDecodeError + c.error) << c.command;
  }
  EXPECT_EQ(server.Server().LiveSessions(), 1);
  EXPECT_EQ(server.Observer().Rows(), std::vector<std::string>{"0: Waiting for command"});
}

TEST_F(CommandServerTest, SessionsRunEveryInstrumentTheTableOffersThemFor) {
  TestServer server;
  TestClient client(server.Port());
  JobTable built;
  ASSERT_TRUE(RegisterInstruments(built));
  for (const ProtocolRow& row : ProtocolTable()) {
    if (row.serverName.empty()) continue;
    const bool runs = row.serverSessions && RowRuns(row, AccessFunction::DownloadTrackLog);
    if (row.usb && runs) continue;  // would open the USB port of this machine
    // /dev/null is no terminal: a type that runs gets as far as the port check.
    ASSERT_TRUE(client.SendCommand("$Trelvik /gps=" + std::string(row.serverName) + " /com=/dev/null"));
    EXPECT_EQ(client.Next(), std::string(kDecodeError) + (runs ? "Missing/bad COM port" : "GPS protocol not supported"))
        << row.serverName;
  }
}

TEST_F(CommandServerTest, SecondSessionOnTheSamePortIsRefusedWhileTheFirstRuns) {
  SimProcess sim;
  StartSim(sim);
  TestServer server;
  TestClient first(server.Port());
  TestClient second(server.Port());
  ASSERT_TRUE(first.SendCommand(Download(sim.PtyPath())));
  ASSERT_TRUE(first.NextStarting("$Trelvik TrackList "));
  ASSERT_TRUE(second.SendCommand(Download(sim.PtyPath())));
  EXPECT_EQ(second.Next(), std::string(kDecodeError) + "COM port is used by another session");
  ASSERT_TRUE(first.SendCommand("$Trelvik /track=0"));  // 0 aborts
  EXPECT_TRUE(first.WaitClosed());
  EXPECT_FALSE(second.Closed());
}

TEST_F(CommandServerTest, SessionsOnTwoPortsDownloadAtTheSameTime) {
  SimProcess simA;
  SimProcess simB;
  StartSim(simA);
  StartSim(simB);
  TestServer server;
  TestClient a(server.Port());
  TestClient b(server.Port());
  ASSERT_TRUE(a.SendCommand(Download(simA.PtyPath())));
  ASSERT_TRUE(b.SendCommand(Download(simB.PtyPath())));
  // Both jobs wait for their track choice at once.
  ASSERT_TRUE(a.NextStarting("$Trelvik TrackList "));
  ASSERT_TRUE(b.NextStarting("$Trelvik TrackList "));
  ASSERT_TRUE(a.SendCommand("$Trelvik /track=1"));
  ASSERT_TRUE(b.SendCommand("$Trelvik /track=2"));
  ASSERT_TRUE(a.WaitClosed());
  ASSERT_TRUE(b.WaitClosed());
  EXPECT_EQ(a.Seen().back(), "$Trelvik Status 600 points received");
  EXPECT_EQ(b.Seen().back(), "$Trelvik Status 600 points received");
}

TEST_F(CommandServerTest, EleventhConnectionIsNotAccepted) {
  TestServer server;
  std::vector<std::unique_ptr<TestClient>> clients;
  for (int i = 0; i < 10; ++i) clients.push_back(std::make_unique<TestClient>(server.Port()));
  ASSERT_TRUE(WaitFor([&] { return server.Server().LiveSessions() == 10; }, 5s));
  TestClient eleventh(server.Port());
  EXPECT_EQ(eleventh.Next(), "$Trelvik Error New connection\r\nConnection not accepted");
  EXPECT_TRUE(eleventh.WaitClosed());
  // The ten are still served, and a freed place takes the next connection.
  ASSERT_TRUE(clients[3]->SendCommand("$Trelvik /com=1"));
  EXPECT_EQ(clients[3]->Next(), std::string(kDecodeError) + "Missing GPS protocol");
  clients[4]->Close();
  ASSERT_TRUE(WaitFor([&] { return server.Server().LiveSessions() == 9; }, 5s));
  TestClient next(server.Port());
  ASSERT_TRUE(next.SendCommand("$Trelvik /com=1"));
  EXPECT_EQ(next.Next(), std::string(kDecodeError) + "Missing GPS protocol");
}

TEST_F(CommandServerTest, AbortStopsTheJobAndClosesTheConnection) {
  SimProcess sim;
  StartSim(sim);
  TestServer server;
  TestClient client(server.Port());
  ASSERT_TRUE(client.SendCommand(Download(sim.PtyPath())));
  ASSERT_TRUE(client.NextStarting("$Trelvik TrackList "));
  ASSERT_TRUE(client.SendCommand("$Trelvik /abort=1 /track=1"));  // abort wins over a choice
  ASSERT_TRUE(client.WaitClosed(5s));
  for (const std::string& message : client.Seen()) EXPECT_NE(message, "$Trelvik Status 600 points received");
  client.Close();
  EXPECT_TRUE(WaitFor([&] { return server.Server().LiveSessions() == 0; }, 5s));
}

TEST_F(CommandServerTest, ClientLeavingMidDownloadFreesItsPlaceAndItsPort) {
  SimProcess sim;
  StartSim(sim, {"--baud=19200"});  // the flight takes seconds on this line
  TestServer server;
  {
    TestClient leaving(server.Port());
    ASSERT_TRUE(leaving.SendCommand(Download(sim.PtyPath())));
    ASSERT_TRUE(leaving.NextStarting("$Trelvik TrackList "));
    ASSERT_TRUE(leaving.SendCommand("$Trelvik /track=1"));
    ASSERT_TRUE(leaving.NextStarting("$Trelvik Status Track position", 30s));
  }
  // Its place is free at once; the job stops soon after and frees the port.
  EXPECT_TRUE(WaitFor([&] { return server.Observer().Rows().back() == "0: Connection gracefully closed"; }, 500ms));
  ASSERT_TRUE(WaitFor([&] { return server.Server().LiveSessions() == 0; }, 2s));
  TestClient next(server.Port());
  ASSERT_TRUE(next.SendCommand(Download(sim.PtyPath())));
  const std::optional<std::string> first = next.Next();
  ASSERT_TRUE(first);
  EXPECT_FALSE(first->starts_with("$Trelvik Error")) << *first;
  ASSERT_TRUE(next.SendCommand("$Trelvik /abort=1"));
  EXPECT_TRUE(next.WaitClosed(10s));
}

TEST_F(CommandServerTest, OverLongCommandIsRefusedAndClosed) {
  TestServer server;
  TestClient client(server.Port());
  ASSERT_TRUE(client.SendRaw("$Trelvik /com=" + std::string(1024, '1')));
  EXPECT_EQ(client.Next(), std::string(kDecodeError) + "Command too long");
  EXPECT_TRUE(client.WaitClosed(5s));
  // 1024 bytes are still a command.
  TestClient longest(server.Port());
  ASSERT_TRUE(longest.SendCommand("$Trelvik /gps=iqcompeo /com=/" + std::string(1024 - 29, 'x')));
  EXPECT_EQ(longest.Next(), std::string(kDecodeError) + "Missing/bad COM port");
}

TEST_F(CommandServerTest, SilentConnectionIsClosed) {
  ServerLimits limits;
  limits.silence = 300ms;
  TestServer server(limits);
  TestClient silent(server.Port());
  TestClient talking(server.Port());
  ASSERT_TRUE(talking.SendRaw("$Trelvik /com=1"));  // a command without its end counts as silence
  EXPECT_TRUE(silent.WaitClosed(3s));
  EXPECT_TRUE(talking.WaitClosed(3s));
  EXPECT_TRUE(WaitFor([&] { return server.Server().LiveSessions() == 0; }, 2s));
}

TEST_F(CommandServerTest, ClientThatStopsReadingIsDropped) {
  ServerLimits limits;
  limits.queuedBytes = 4096;
  TestServer server(limits);
  TestClient deaf(server.Port(), 4096);
  ASSERT_TRUE(WaitFor([&] { return server.Server().LiveSessions() == 1; }, 5s));
  // Every bad command is answered; nobody reads the answers.
  std::string burst;
  for (int i = 0; i < 2000; ++i) burst += std::string("x", 1) + std::string(1, '\0');
  bool dropped = false;
  for (int round = 0; round < 400 && !dropped; ++round) {
    dropped = !deaf.SendRaw(burst) || WaitFor([&] { return server.Server().LiveSessions() == 0; }, 1ms);
  }
  EXPECT_TRUE(dropped);
  EXPECT_TRUE(WaitFor([&] { return server.Server().LiveSessions() == 0; }, 5s));
  const std::vector<std::string> rows = server.Observer().Rows();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back(), "0: Terminated (client not reading)");
}

TEST_F(CommandServerTest, CloseHaltsRunningJobsAndEndsIdleSessions) {
  SimProcess sim;
  StartSim(sim);
  TestServer server;
  TestClient running(server.Port());
  TestClient idle(server.Port());
  ASSERT_TRUE(running.SendCommand(Download(sim.PtyPath())));
  ASSERT_TRUE(running.NextStarting("$Trelvik TrackList "));
  server.Server().Close();
  EXPECT_FALSE(server.Server().Listening());
  EXPECT_TRUE(idle.WaitClosed(3s));
  EXPECT_TRUE(running.WaitClosed(5s));
  EXPECT_TRUE(server.Server().WaitForSessionsEnd(5s));
  EXPECT_EQ(server.Server().LiveSessions(), 1);  // until the client closes its end
  running.Close();
  EXPECT_TRUE(WaitFor([&] { return server.Server().LiveSessions() == 0; }, 2s));
  const std::vector<std::string> rows = server.Observer().Rows();
  EXPECT_NE(std::find(rows.begin(), rows.end(), "0: Halting"), rows.end());
  std::string error;
  ASSERT_EQ(server.Server().Start(ServerEndpoint{kLoopbackAddress, 0}, error), 0) << error;
  EXPECT_EQ(server.Server().Start(ServerEndpoint{kLoopbackAddress, 0}, error), -1);
  EXPECT_EQ(error, "Server already started");
}

TEST_F(CommandServerTest, BindErrorsCarryTheirWindowsNames) {
  TestServer first;
  JobTable table;
  PosixLinkOpener opener;
  RecordingObserver observer;
  CommandServer second(table, opener, {}, observer);
  std::string error;
  EXPECT_EQ(second.Start(ServerEndpoint{kLoopbackAddress, first.Port()}, error), -1);
  EXPECT_EQ(error, "bind() returned WSAEADDRINUSE");
  EXPECT_EQ(second.Start(ServerEndpoint{"192.0.2.1", 0}, error), -1);  // no such local address
  EXPECT_EQ(error, "bind() returned WSAEADDRNOTAVAIL");
}

}  // namespace
}  // namespace trelvik::testing
