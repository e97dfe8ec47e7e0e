// Ten clients misbehave against the server for a while (random bytes,
// over-long commands, half-open and abandoned connections, clients that
// never read); afterwards the server must hold no session and no descriptor
// more than before, and still serve a normal download. TRELVIK_HOSTILE_SECONDS
// sets the duration (10 by default); the long run is a CTest entry of its own.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <atomic>
#include <cstdlib>
#include <random>
#include <thread>

#include "access/sim_process.hpp"
#include "server/server_test_support.hpp"

namespace trelvik::testing {
namespace {

constexpr int kClients = 10;
constexpr int kConnectionLimit = 200000;  // per run, whatever the duration

int HostileSeconds() {
  const char* value = std::getenv("TRELVIK_HOSTILE_SECONDS");
  const int seconds = value ? std::atoi(value) : 0;
  return seconds > 0 ? seconds : 10;
}

std::string RandomBytes(std::mt19937& random, size_t count, bool zeros) {
  std::uniform_int_distribution<int> byte(zeros ? 0 : 1, 255);
  std::string bytes(count, '\0');
  for (char& c : bytes) c = static_cast<char>(byte(random));
  return bytes;
}

// Commands that look right but never reach a device that exists.
std::string PlausibleCommand(std::mt19937& random) {
  static const char* const kParts[] = {"/gps=iqcompeo", "/gps=mlr",       "/gps=garmin", "/gps=garminusb",
                                       "/gps=Garmin",   "/com=/dev/null", "/com=0",      "/com=/nonexistent",
                                       "/abort=1",      "/track=3",       "/track=0",    "/com=\"/dev/zero\"",
                                       "/com=\"",       "/x=1",           "gps=1",       "/gps="};
  std::uniform_int_distribution<size_t> part(0, std::size(kParts) - 1);
  std::uniform_int_distribution<int> count(0, 4);
  std::string command = "$Trelvik";
  for (int i = count(random); i > 0; --i) command += std::string(" ") + kParts[part(random)];
  return command;
}

void Misbehave(int port, uint32_t seed, std::chrono::steady_clock::time_point end, std::atomic<int>& connections) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> kind(0, 5);
  std::uniform_int_distribution<int> shortWait(0, 200);
  while (std::chrono::steady_clock::now() < end && connections.fetch_add(1) < kConnectionLimit) {
    const int behaviour = kind(random);
    TestClient client(port, behaviour == 3 ? 2048 : 0);
    if (!client.Connected()) continue;
    switch (behaviour) {
      case 0:  // random bytes, zeros among them
        (void)client.SendRaw(RandomBytes(random, std::uniform_int_distribution<size_t>(1, 3000)(random), true));
        (void)client.Next(std::chrono::milliseconds(shortWait(random)));
        break;
      case 1:  // over-long commands
        (void)client.SendRaw("$Trelvik " + RandomBytes(random, 1100 + shortWait(random) * 10, false));
        (void)client.WaitClosed(2s);
        break;
      case 2: {  // half-open: a piece of a command, then no more writing
        (void)client.SendRaw(PlausibleCommand(random).substr(0, 5));
        ::shutdown(client.Fd(), SHUT_WR);
        (void)client.Next(std::chrono::milliseconds(shortWait(random)));
        break;
      }
      case 3: {  // never reads what it is sent
        std::string burst;
        for (int i = 0; i < 500; ++i) burst += PlausibleCommand(random) + std::string(1, '\0');
        for (int i = 0; i < 20 && std::chrono::steady_clock::now() < end; ++i) {
          if (!client.SendRaw(burst)) break;
        }
        break;
      }
      case 4:  // plausible commands, answers read
        for (int i = 0; i < 5; ++i) {
          if (!client.SendCommand(PlausibleCommand(random))) break;
          (void)client.Next(200ms);
        }
        break;
      default:  // connects and goes silent for a moment, then leaves
        std::this_thread::sleep_for(std::chrono::milliseconds(shortWait(random)));
        break;
    }
  }
}

TEST(HostileClientTest, ServerSurvivesMisbehavingClientsAndStillServes) {
  const char* longRun = std::getenv("TRELVIK_LONG_TESTS");
  if (HostileSeconds() > 10 && (longRun == nullptr || std::string(longRun) != "1")) {
    GTEST_SKIP() << "the long run needs TRELVIK_LONG_TESTS=1";
  }
  if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"flytec", "--flights=2"}));
  TestServer server;
  const int descriptors = OpenDescriptors();

  const auto started = std::chrono::steady_clock::now();
  const auto end = started + std::chrono::seconds(HostileSeconds());
  std::atomic<int> connections{0};
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back(Misbehave, server.Port(), 1234u + static_cast<uint32_t>(i), end, std::ref(connections));
  }
  for (std::thread& client : clients) client.join();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  RecordProperty("connections", connections.load());
  std::printf("%d connections in %.1f s\n", connections.load(), seconds);

  EXPECT_TRUE(WaitFor([&] { return server.Server().LiveSessions() == 0; }, 5s));
  EXPECT_EQ(OpenDescriptors(), descriptors);
  EXPECT_TRUE(server.Server().Listening());

  TestClient client(server.Port());
  ASSERT_TRUE(client.SendCommand("$Trelvik /gps=iqcompeo /com=" + sim.PtyPath()));
  ASSERT_TRUE(client.NextStarting("$Trelvik TrackList "));
  ASSERT_TRUE(client.SendCommand("$Trelvik /track=1"));
  ASSERT_TRUE(client.WaitClosed());
  EXPECT_EQ(client.Seen().back(), "$Trelvik Status 600 points received");
}

}  // namespace
}  // namespace trelvik::testing
