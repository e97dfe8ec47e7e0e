#include "access/gps_access.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/fake_link.hpp"
#include "access/job_report.hpp"
#include "support/recording_channel.hpp"
#include "access/tcp_job_channel.hpp"
#include "access/track_list.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik {
namespace {

using namespace std::chrono_literals;

// The routines are plain functions, as drivers' are; they talk to the tests
// through these.
std::atomic<bool> released{false};
std::atomic<int> completeCalls{0};

struct Seen {
  int32_t option = 0;
  std::string portName;
  int32_t compId = 0;
  int32_t civlId = 0;
  bool portClosed = false;
  int traceCount = -1;
  size_t waypoints = 0;
  const TrackListChooser* chooser = nullptr;
};
Seen seen;

int BlockingRoutine(GpsJob& job) {
  ShowProgress(job, "running");
  while (!released.load()) {
    if (JobAborted(job)) return EndAborted(job);
    std::this_thread::sleep_for(1ms);
  }
  return 0;
}

int CaptureRoutine(GpsJob& job) {
  seen = {job.option, job.portName, job.compId, job.civlId, job.port == nullptr, job.trace->Count(),
          job.waypoints.size(), job.trackListChooser};
  return 3;
}

int GoodbyeRoutine(GpsJob& job) {
  CompleteJob(job, -7);
  ShowProgress(job, "goodbye");
  return -7;
}

constexpr JobCell kCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::Flytec, BlockingRoutine},
    {AccessFunction::UploadWaypoints, ProtocolType::GarminSerial, CaptureRoutine},
    {AccessFunction::DownloadTrackLog, ProtocolType::GarminUsb, CaptureRoutine},
    {AccessFunction::DownloadWaypoints, ProtocolType::Flymaster, GoodbyeRoutine},
};
constexpr InstrumentDriver kTestDriver{"test", kCells};
constexpr AccessFunctionSet kEveryFunction = (1u << kAccessFunctionCount) - 1;
constexpr ProtocolRow kTestRows[] = {
    {.protocol = ProtocolType::Flytec, .offered = kEveryFunction, .driver = &kTestDriver},
    {.protocol = ProtocolType::GarminSerial, .offered = kEveryFunction, .driver = &kTestDriver},
    {.protocol = ProtocolType::GarminUsb, .usb = true, .offered = kEveryFunction, .driver = &kTestDriver},
    {.protocol = ProtocolType::Flymaster, .offered = kEveryFunction, .driver = &kTestDriver},
};

class GpsAccessTest : public ::testing::Test {
 protected:
  GpsAccessTest() : access(table, opener) {
    EXPECT_TRUE(table.RegisterAll(kTestRows));
    released = false;
    completeCalls = 0;
    seen = {};
  }

  JobRequest Request(AccessFunction function, ProtocolType protocol) {
    JobRequest request;
    request.function = function;
    request.protocol = protocol;
    request.channel = &channel;
    request.portName = "/dev/ttyUSB0";
    request.onComplete = [this](GpsJob& job) {
      results.push_back(job.result);
      ++completeCalls;
    };
    return request;
  }

  JobTable table;
  FakeLinkOpener opener;
  RecordingChannel channel;
  std::vector<int> results;  // written by the job thread, read after it ended
  GpsAccess access;
};

struct StartErrorCase {
  int function;
  int protocol;
  std::string text;
};

class StartErrorTest : public GpsAccessTest, public ::testing::WithParamInterface<StartErrorCase> {};

TEST_P(StartErrorTest, RefusesWithCaptionGpsAccess) {
  access.SetFailed();
  JobRequest request = Request(static_cast<AccessFunction>(GetParam().function),
                               static_cast<ProtocolType>(GetParam().protocol));
  EXPECT_EQ(access.StartGpsJob(std::move(request)), -1);
  EXPECT_EQ(channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, GetParam().text, "GPS access"}}));
  EXPECT_FALSE(access.JobExists());
  EXPECT_EQ(access.ExitCode(), 0);  // cleared before the checks
}

INSTANTIATE_TEST_SUITE_P(Cases, StartErrorTest,
                         ::testing::Values(StartErrorCase{8, 0, "Unsupported access function"},
                                           StartErrorCase{9, 0, "Unsupported access function"},
                                           StartErrorCase{10, 0, "Bad access type"},
                                           StartErrorCase{-1, 4, "Bad access type"},
                                           StartErrorCase{1, 19, "Bad protocol type"},
                                           StartErrorCase{1, -1, "Bad protocol type"}));

TEST_F(GpsAccessTest, SecondStartWhileAJobRunsIsRefusedAndTheFirstRunsOn) {
  ASSERT_EQ(access.StartGpsJob(Request(AccessFunction::DownloadTrackLog, ProtocolType::Flytec)), 0);
  ASSERT_TRUE(channel.WaitForProgress("running", 5s));
  EXPECT_EQ(access.StartGpsJob(Request(AccessFunction::UploadWaypoints, ProtocolType::GarminSerial)), -1);
  EXPECT_EQ(channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, "Port/USB is being used", "GPS access"}}));
  EXPECT_TRUE(access.JobExists());
  released = true;
  ASSERT_TRUE(access.WaitForGpsJobEnd(5000ms));
  EXPECT_EQ(results, std::vector<int>{0});
  // The gate opens again once the block is freed.
  EXPECT_EQ(access.StartGpsJob(Request(AccessFunction::UploadWaypoints, ProtocolType::GarminSerial)), 0);
  ASSERT_TRUE(access.WaitForGpsJobEnd(5000ms));
  EXPECT_EQ(results, (std::vector<int>{0, 3}));
}

TEST_F(GpsAccessTest, AbortWhenIdleShowsPortNotInUse) {
  EXPECT_EQ(access.AbortGpsJob(channel), -1);
  EXPECT_EQ(channel.Messages(),
            (std::vector<RecordedMessage>{{MessageKind::Error, "Port not in use", "Abort GPS access"}}));
}

TEST_F(GpsAccessTest, AbortAsksTheRunningJobToStop) {
  ASSERT_EQ(access.StartGpsJob(Request(AccessFunction::DownloadTrackLog, ProtocolType::Flytec)), 0);
  ASSERT_TRUE(channel.WaitForProgress("running", 5s));
  EXPECT_EQ(access.AbortGpsJob(channel), 0);
  ASSERT_TRUE(access.WaitForGpsJobEnd(5000ms));
  EXPECT_EQ(channel.Progress(), (std::vector<std::string>{"running", "Aborting transfer", "Transfer aborted"}));
  EXPECT_EQ(results, std::vector<int>{-1});
  EXPECT_TRUE(channel.Messages().empty());
}

TEST_F(GpsAccessTest, JobGetsItsParametersAndAFreshBlock) {
  access.Trace().TraceText("old traffic");
  JobRequest request = Request(AccessFunction::UploadWaypoints, ProtocolType::GarminSerial);
  request.option = 57600;
  request.portName = std::string(100, 'p');
  request.waypoints.resize(2);
  ASSERT_EQ(access.StartGpsJob(std::move(request)), 0);
  ASSERT_TRUE(access.WaitForGpsJobEnd(5000ms));
  EXPECT_EQ(seen.option, 57600);
  EXPECT_EQ(seen.portName, std::string(80, 'p'));
  EXPECT_EQ(seen.compId, -1);
  EXPECT_EQ(seen.civlId, -1);
  EXPECT_TRUE(seen.portClosed);
  EXPECT_EQ(seen.traceCount, 0);
  EXPECT_EQ(seen.waypoints, 2u);
}

TEST_F(GpsAccessTest, GarminUsbJobGetsNoPortNameOrOption) {
  JobRequest request = Request(AccessFunction::DownloadTrackLog, ProtocolType::GarminUsb);
  request.option = 4800;
  ASSERT_EQ(access.StartGpsJob(std::move(request)), 0);
  ASSERT_TRUE(access.WaitForGpsJobEnd(5000ms));
  EXPECT_EQ(seen.option, 0);
  EXPECT_EQ(seen.portName, "");
}

TEST_F(GpsAccessTest, CompletionRunsOnceWhenTheRoutineCompletesBeforeItsGoodbye) {
  ASSERT_EQ(access.StartGpsJob(Request(AccessFunction::DownloadWaypoints, ProtocolType::Flymaster)), 0);
  ASSERT_TRUE(access.WaitForGpsJobEnd(5000ms));
  EXPECT_EQ(completeCalls.load(), 1);
  EXPECT_EQ(results, std::vector<int>{-7});
  EXPECT_EQ(channel.Progress(), std::vector<std::string>{"goodbye"});
}

TEST_F(GpsAccessTest, TcpJobRunsOutsideTheGateAndClosesItsSession) {
  ASSERT_EQ(access.StartGpsJob(Request(AccessFunction::DownloadTrackLog, ProtocolType::Flytec)), 0);
  ASSERT_TRUE(channel.WaitForProgress("running", 5s));
  RecordingChannel session;
  JobRequest request = Request(AccessFunction::UploadWaypoints, ProtocolType::GarminSerial);
  request.channel = &session;
  request.tcpClient = true;
  EXPECT_EQ(access.StartGpsJob(std::move(request)), 0);
  EXPECT_TRUE(session.WaitForFreed(5s));
  EXPECT_TRUE(session.Messages().empty());
  // The TCP job never became the running job: abort still reaches the window's job.
  EXPECT_EQ(access.AbortGpsJob(channel), 0);
  ASSERT_TRUE(access.WaitForGpsJobEnd(5000ms));
}

class NoChoice : public TrackListChooser {
 public:
  std::optional<std::vector<int>> ChooseTracks(const TrackListQuestion&) override { return std::nullopt; }
};

TEST_F(GpsAccessTest, TcpJobChoosesTracksThroughItsSessionNeverTheWindow) {
  NoChoice window;
  NoChoice session;
  access.SetTrackListChooser(&window);
  ASSERT_EQ(access.StartGpsJob(Request(AccessFunction::UploadWaypoints, ProtocolType::GarminSerial)), 0);
  ASSERT_TRUE(access.WaitForGpsJobEnd(5000ms));
  EXPECT_EQ(seen.chooser, &window);
  for (TrackListChooser* own : {static_cast<TrackListChooser*>(&session), static_cast<TrackListChooser*>(nullptr)}) {
    RecordingChannel client;
    JobRequest request = Request(AccessFunction::UploadWaypoints, ProtocolType::GarminSerial);
    request.channel = &client;
    request.tcpClient = true;
    request.sessionTrackChooser = own;
    ASSERT_EQ(access.StartGpsJob(std::move(request)), 0);
    ASSERT_TRUE(client.WaitForFreed(5s));
    ASSERT_TRUE(access.WaitForGpsJobEnd(5000ms));
    EXPECT_EQ(seen.chooser, own);
  }
}

TEST_F(GpsAccessTest, LostTcpClientStopsItsJob) {
  std::vector<std::string> sent;
  std::mutex sentMutex;
  TcpJobChannel session([&](const std::string& message) {
    std::lock_guard lock(sentMutex);
    sent.push_back(message);
  }, nullptr);
  JobRequest request = Request(AccessFunction::DownloadTrackLog, ProtocolType::Flytec);
  request.channel = &session;
  request.tcpClient = true;
  ASSERT_EQ(access.StartGpsJob(std::move(request)), 0);
  session.Cancel();
  ASSERT_TRUE(access.WaitForGpsJobEnd(5000ms));
  std::lock_guard lock(sentMutex);
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), "$Trelvik Status Transfer aborted");
}

TEST_F(GpsAccessTest, BusyFlagRefusesCommandsWithBusyGpsDriver) {
  testing::ScriptedUserInterface ui;
  EXPECT_FALSE(access.RefuseWhenBusy(ui, "Download track log"));
  access.SetJobRunning(true);
  EXPECT_TRUE(access.RefuseWhenBusy(ui, "Download track log"));
  EXPECT_EQ(ui.boxes,
            (std::vector<testing::RecordedBox>{{MessageKind::Error, "Busy GPS driver", "Download track log"}}));
}

TEST(GpsAccessLifetimeTest, DestroyingTheOwnerStopsAndAwaitsARunningJob) {
  released = false;
  JobTable table;
  ASSERT_TRUE(table.RegisterAll(kTestRows));
  FakeLinkOpener opener;
  RecordingChannel channel;
  {
    GpsAccess access(table, opener);
    JobRequest request;
    request.function = AccessFunction::DownloadTrackLog;
    request.protocol = ProtocolType::Flytec;
    request.channel = &channel;
    ASSERT_EQ(access.StartGpsJob(std::move(request)), 0);
    ASSERT_TRUE(channel.WaitForProgress("running", 5s));
  }
  EXPECT_EQ(channel.Progress().back(), "Transfer aborted");
}

TEST(JobTableTest, RefusesCellsNotOfferedOrProtocolsRegisteredTwice) {
  JobTable table;
  static constexpr JobCell ctrDownload[] = {{AccessFunction::DownloadCtr, ProtocolType::GarminSerial, CaptureRoutine}};
  static constexpr InstrumentDriver badDriver{"bad", ctrDownload};
  static constexpr ProtocolRow tracksOnly{.protocol = ProtocolType::GarminSerial,
                                   .offered = Functions({AccessFunction::DownloadTrackLog}),
                                   .driver = &badDriver};
  EXPECT_FALSE(table.Register(tracksOnly));
  EXPECT_EQ(table.Find(8, 0), nullptr);
  EXPECT_EQ(table.Row(ProtocolType::GarminSerial), nullptr);
  ASSERT_TRUE(table.RegisterAll(kTestRows));
  EXPECT_FALSE(table.RegisterAll(kTestRows));
  EXPECT_EQ(table.Row(ProtocolType::Flytec), &kTestRows[0]);
  EXPECT_EQ(table.Find(1, 4), &BlockingRoutine);
  EXPECT_EQ(table.Find(3, 0), &CaptureRoutine);
  EXPECT_EQ(table.Find(1, 0), nullptr);  // offered, but the driver has no routine for it
  EXPECT_EQ(table.Find(10, 0), nullptr);
}

}  // namespace
}  // namespace trelvik
