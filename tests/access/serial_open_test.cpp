// The open loop and the job-level link calls over a scripted link.
#include "access/serial_link.hpp"

#include <gtest/gtest.h>

#include "access/debug_trace.hpp"
#include "support/fake_link.hpp"
#include "support/recording_channel.hpp"

namespace trelvik {
namespace {

using namespace std::chrono_literals;

class SerialLinkTest : public ::testing::Test {
 protected:
  SerialLinkTest() : channel(&clock) {
    job.channel = &channel;
    job.trace = &trace;
    job.linkOpener = &opener;
    job.portName = "/dev/ttyUSB0";
    job.protocol = ProtocolType::Flytec;
  }

  std::vector<std::string> Countdown(int from) {
    std::vector<std::string> lines;
    for (int left = from; left >= 1; --left) lines.push_back("Connecting to GPS (" + std::to_string(left) + ")");
    return lines;
  }

  ManualClock clock;
  RecordingChannel channel;
  DebugTrace trace;
  FakeLinkOpener opener;
  GpsJob job;
};

TEST_F(SerialLinkTest, MissingDeviceGivesUpAfterThirtyAttemptsCountingDown) {
  EXPECT_EQ(OpenSerialPort(job, 57600, true), -1);
  EXPECT_EQ(channel.Progress(), Countdown(30));
  EXPECT_EQ(channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, "Could not open serial port (sure it's the right one ?)",
                                           "Connecting to GPS on /dev/ttyUSB0"}}));
  EXPECT_EQ(opener.OpenedNames().size(), 30u);
  EXPECT_EQ(clock.Now(), 30000u);  // a second between attempts
  EXPECT_EQ(job.port, nullptr);
}

TEST_F(SerialLinkTest, CommandLineTimeoutSetsTheAttempts) {
  CommandLineValues commandLine;
  commandLine.timeout = 3;
  job.commandLine = &commandLine;
  EXPECT_EQ(OpenSerialPort(job, 9600, false), -1);
  EXPECT_EQ(channel.Progress(), Countdown(3));
}

TEST_F(SerialLinkTest, BusyPortCountsAsOneFailedAttempt) {
  opener.AddUnavailable(2);
  auto script = std::make_shared<LinkScript>(&clock);
  opener.AddScript(script);
  ASSERT_EQ(OpenSerialPort(job, 57600, true), 0);
  EXPECT_EQ(channel.Progress(), (std::vector<std::string>{"Connecting to GPS (30)", "Connecting to GPS (29)"}));
  ASSERT_NE(job.port, nullptr);
  EXPECT_EQ(script->LastSetup().baud, 57600);
  EXPECT_TRUE(script->LastSetup().xonXoff);
  EXPECT_TRUE(channel.Messages().empty());
}

TEST_F(SerialLinkTest, AbortStopsTheOpenLoop) {
  job.abort = true;
  EXPECT_EQ(OpenSerialPort(job, 57600, true), -1);
  EXPECT_EQ(channel.Progress(), std::vector<std::string>{"Transfer aborted"});
  EXPECT_TRUE(opener.OpenedNames().empty());
}

TEST_F(SerialLinkTest, LineSetupFailureClosesThePort) {
  auto script = std::make_shared<LinkScript>(&clock);
  script->FailConfigure(SetupError::SetState);
  opener.AddScript(script);
  EXPECT_EQ(OpenSerialPort(job, 57600, true), -1);
  EXPECT_EQ(channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, "Error while initialising port",
                                                               "Connecting to GPS on /dev/ttyUSB0"}}));
  EXPECT_EQ(job.port, nullptr);
}

struct SpeedCase {
  SetupError error;
  std::string text;
};

class SetSerialSpeedTest : public SerialLinkTest, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(SetSerialSpeedTest, ReportsTheFailingStep) {
  auto script = std::make_shared<LinkScript>(&clock);
  opener.AddScript(script);
  ASSERT_EQ(OpenSerialPort(job, 9600, true), 0);
  script->FailConfigure(GetParam().error);
  EXPECT_EQ(SetSerialSpeed(job, 57600), -1);
  EXPECT_EQ(channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, GetParam().text, "Initialising COM port"}}));
}

INSTANTIATE_TEST_SUITE_P(Steps, SetSerialSpeedTest,
                         ::testing::Values(SpeedCase{SetupError::GetState, "Error getting COM port state"},
                                           SpeedCase{SetupError::SetTimeouts, "Error setting COM port timeouts"},
                                           SpeedCase{SetupError::SetState, "Error setting COM port state"},
                                           SpeedCase{SetupError::Purge, "Error purging COM port buffers"}));

TEST_F(SerialLinkTest, SpeedChangeTakesFlowControlFromTheProtocolAndPauses) {
  auto script = std::make_shared<LinkScript>(&clock);
  opener.AddScript(script);
  job.protocol = ProtocolType::GarminSerial;
  ASSERT_EQ(OpenSerialPort(job, 9600, false), 0);
  const uint32_t before = clock.Now();
  ASSERT_EQ(SetSerialSpeed(job, 115200), 0);
  EXPECT_EQ(script->LastSetup().baud, 115200);
  EXPECT_FALSE(script->LastSetup().xonXoff);
  EXPECT_EQ(clock.Now() - before, 200u);
}

TEST_F(SerialLinkTest, TraceHoldsBothDirectionsInOrder) {
  auto script = std::make_shared<LinkScript>(&clock);
  script->Expect("\x11$PBRSNP,*21\r\n").Answer("$PBRSNP,COMPEO*00\r\n");
  opener.AddScript(script);
  ASSERT_EQ(OpenSerialPort(job, 57600, true), 0);
  ASSERT_EQ(WriteText(job, "\x11$PBRSNP,*21\r\n"), 0);
  uint8_t buffer[100];
  const int n = ReadChunk(job, buffer);
  ASSERT_EQ(n, 19);
  EXPECT_EQ(ReadChunk(job, buffer), 0);
  EXPECT_EQ(trace.Contents(), "\x11$PBRSNP,*21\r\n$PBRSNP,COMPEO*00\r\n");
  EXPECT_FALSE(script->Mismatch());
  EXPECT_TRUE(script->Finished());
}

TEST_F(SerialLinkTest, SilentReadWaitsItsFiftyMilliseconds) {
  auto script = std::make_shared<LinkScript>(&clock);
  opener.AddScript(script);
  ASSERT_EQ(OpenSerialPort(job, 57600, true), 0);
  const uint32_t before = clock.Now();
  uint8_t buffer[16];
  EXPECT_EQ(ReadChunk(job, buffer), 0);
  EXPECT_EQ(clock.Now() - before, 50u);
}

TEST_F(SerialLinkTest, FaultAtAByteOfTheAnswerTakesItsPlace) {
  struct Case {
    LinkFault fault;
    std::string received;
    int lastRead;
  };
  for (const Case& c : {Case{LinkFault::Silence, "$PB", 0}, Case{LinkFault::HangUp, "$PB", -1},
                        Case{LinkFault::Garbage, std::string("$PB\xFF\x00\xA5\x5A\xFE\x80\x13\x11\x7F\x24\x2A\x0D", 15), 0},
                        Case{LinkFault::Corrupt, "$PB\xADSNP*00\r\n", 0}}) {
    auto script = std::make_shared<LinkScript>(&clock);
    script->Answer("$PBRSNP*00\r\n").InjectFault(3, c.fault);
    GpsJob probe;
    probe.channel = &channel;
    probe.trace = &trace;
    probe.port = script->NewLink();
    std::string received;
    uint8_t buffer[64];
    int n = 0;
    for (int i = 0; i < 4 && (n = ReadChunk(probe, buffer)) > 0; ++i) received.append(reinterpret_cast<char*>(buffer), n);
    EXPECT_EQ(received, c.received);
    EXPECT_EQ(n, c.lastRead);
  }
}

TEST_F(SerialLinkTest, WrongRequestIsReportedAndSilencesTheScript) {
  auto script = std::make_shared<LinkScript>(&clock);
  script->Expect("$PBRTL,*74\r\n").Answer("$PBRTL,1*00\r\n");
  opener.AddScript(script);
  ASSERT_EQ(OpenSerialPort(job, 57600, true), 0);
  ASSERT_EQ(WriteText(job, "$PBRWPS,*38\r\n"), 0);
  EXPECT_TRUE(script->Mismatch());
  EXPECT_EQ(script->MismatchReport(), "expected \"$PBRTL,*74<0D><0A>\", got \"$PBRWPS,*38<0D><0A>\"");
  uint8_t buffer[16];
  EXPECT_EQ(ReadChunk(job, buffer), 0);
}

TEST_F(SerialLinkTest, ClosedPortFailsReadsAndWrites) {
  uint8_t buffer[4];
  EXPECT_EQ(ReadChunk(job, buffer), -1);
  EXPECT_EQ(WriteText(job, "x"), -1);
}

}  // namespace
}  // namespace trelvik
