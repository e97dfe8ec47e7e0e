// The termios link end to end against trelvik-sim on a pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>

#include "access/debug_trace.hpp"
#include "access/posix_serial_link.hpp"
#include "support/recording_channel.hpp"
#include "access/serial_link.hpp"
#include "access/sim_process.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using namespace std::chrono_literals;

class PtyLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  }

  void Prepare(GpsJob& job, RecordingChannel& channel, const std::string& port) {
    job.channel = &channel;
    job.trace = &trace;
    job.linkOpener = &opener;
    job.portName = port;
    job.commandLine = &commandLine;
  }

  // Reads until `want` bytes arrived or nothing came for 1 s (real time).
  static std::string ReadFor(GpsJob& job, size_t want, int* lastResult = nullptr) {
    std::string received;
    uint8_t buffer[100];
    int idle = 0;
    while (received.size() < want && idle < 20) {
      const int n = ReadChunk(job, buffer);
      if (lastResult) *lastResult = n;
      if (n < 0) break;
      if (n == 0) ++idle;
      received.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(n));
    }
    return received;
  }

  DebugTrace trace;
  PosixLinkOpener opener;
  CommandLineValues commandLine;
};

TEST_F(PtyLinkTest, BytesGoBothWaysAndTheTraceHoldsBoth) {
  testing::SimProcess sim;
  ASSERT_TRUE(sim.Start({"echo"}));
  RecordingChannel channel;
  GpsJob job;
  Prepare(job, channel, sim.PtyPath());
  ASSERT_EQ(OpenSerialPort(job, 57600, false), 0);
  const std::string request = "$PTRVQ,3*00\r\n";
  ASSERT_EQ(WriteText(job, request), 0);
  EXPECT_EQ(ReadFor(job, request.size()), request);
  EXPECT_EQ(trace.Contents(), request + request);
}

TEST_F(PtyLinkTest, NmeaInstrumentAnswersThroughTheLink) {
  testing::SimProcess sim;
  ASSERT_TRUE(sim.Start({"nmea"}));
  RecordingChannel channel;
  GpsJob job;
  Prepare(job, channel, sim.PtyPath());
  ASSERT_EQ(OpenSerialPort(job, 57600, true), 0);
  ASSERT_EQ(WriteText(job, "\x11$PBRSNP,*21\r\n"), 0);
  const std::string answer = "$PTRVA,PBRSNP*" ;
  const std::string received = ReadFor(job, answer.size() + 4);
  EXPECT_EQ(received.substr(0, answer.size()), answer);
}

TEST_F(PtyLinkTest, SecondOpenOfAHeldPortFailsEveryAttempt) {
  testing::SimProcess sim;
  ASSERT_TRUE(sim.Start({"echo"}));
  RecordingChannel firstChannel;
  GpsJob first;
  Prepare(first, firstChannel, sim.PtyPath());
  ASSERT_EQ(OpenSerialPort(first, 57600, false), 0);

  ManualClock clock;  // no real waits between the attempts
  RecordingChannel secondChannel(&clock);
  GpsJob second;
  Prepare(second, secondChannel, sim.PtyPath());
  commandLine.timeout = 2;
  EXPECT_EQ(OpenSerialPort(second, 57600, false), -1);
  EXPECT_EQ(secondChannel.Progress(),
            (std::vector<std::string>{"Connecting to GPS (2)", "Connecting to GPS (1)"}));
  EXPECT_EQ(secondChannel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, "Could not open serial port (sure it's the right one ?)",
                                           "Connecting to GPS on " + sim.PtyPath()}}));
  // Once the first job lets go, the port opens again.
  CloseSerialPort(first);
  EXPECT_EQ(OpenSerialPort(second, 57600, false), 0);
}

TEST_F(PtyLinkTest, HangUpMidTransferFailsTheReadAtOnce) {
  testing::SimProcess sim;
  ASSERT_TRUE(sim.Start({"echo", "--hangup-after=10", "--hangup-delay=50"}));
  RecordingChannel channel;
  GpsJob job;
  Prepare(job, channel, sim.PtyPath());
  ASSERT_EQ(OpenSerialPort(job, 57600, false), 0);
  ASSERT_EQ(WriteText(job, "0123456789abcdefghij"), 0);
  int last = 0;
  const std::string received = ReadFor(job, 20, &last);
  EXPECT_EQ(last, -1);
  EXPECT_LE(received.size(), 10u);
  EXPECT_EQ(received, std::string("0123456789").substr(0, received.size()));
  // Every later read fails too: a read that waited out its time-out on the
  // dead line would report no bytes (0) instead.
  uint8_t buffer[8];
  EXPECT_EQ(ReadChunk(job, buffer), -1);
  EXPECT_EQ(sim.WaitForExit(5000), 0);
}

TEST_F(PtyLinkTest, MissingDeviceGivesUpWithTheCountdown) {
  testing::TempDir dir;
  ManualClock clock;
  RecordingChannel channel(&clock);
  GpsJob job;
  Prepare(job, channel, dir.File("ttyUSB9"));
  commandLine.timeout = 4;
  EXPECT_EQ(OpenSerialPort(job, 57600, false), -1);
  EXPECT_EQ(channel.Progress(), (std::vector<std::string>{"Connecting to GPS (4)", "Connecting to GPS (3)",
                                                          "Connecting to GPS (2)", "Connecting to GPS (1)"}));
  EXPECT_EQ(channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, "Could not open serial port (sure it's the right one ?)",
                                           "Connecting to GPS on " + dir.File("ttyUSB9")}}));
}

TEST_F(PtyLinkTest, FileThatIsNoTerminalFailsTheLineSetup) {
  testing::TempDir dir;
  const std::string path = dir.File("plain");
  FILE* f = std::fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  ManualClock clock;
  RecordingChannel channel(&clock);
  GpsJob job;
  Prepare(job, channel, path);
  EXPECT_EQ(OpenSerialPort(job, 57600, false), -1);
  EXPECT_EQ(channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, "Error while initialising port",
                                                               "Connecting to GPS on " + path}}));
}

TEST(BaudToSpeedTest, KnowsTheInstrumentSpeedsOnly) {
  unsigned int speed = 0;
  for (int baud : {4800, 9600, 19200, 38400, 57600, 115200}) EXPECT_TRUE(BaudToSpeed(baud, speed)) << baud;
  EXPECT_FALSE(BaudToSpeed(12345, speed));
}

}  // namespace
}  // namespace trelvik
