// Garmin receivers on USB end to end: every operation started through the job
// frame as the window and the server start it (the job table built from the
// protocol table, the job thread, the completion that installs the result),
// and an unattended /USB command-line run that writes its file, all against
// the simulated receiver behind the fake USB transport.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "access/completion.hpp"
#include "access/gps_access.hpp"
#include "airspace/airspace_list.hpp"
#include "airspace/ctr_area.hpp"
#include "airspace/ctr_points.hpp"
#include "automation/batch_headless_run.hpp"
#include "automation/command_line.hpp"
#include "instruments/garminusb_fixtures.hpp"
#include "instruments/protocol_table.hpp"
#include "records/track_log.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using sim::garmin::SimPacket;
using testing::FakeUsbDevice;
using testing::FakeUsbLinkOpener;
using testing::UsbReceiverModel;

// One job through the job frame, its channel on a hand-driven clock.
class UsbFrameRun {
 public:
  explicit UsbFrameRun(std::shared_ptr<FakeUsbDevice> device) : device_(device), opener_(device) {
    commandLine.timeout = 2;
    device_->UseClock(&clock_);
    (void)RegisterInstruments(table_);
    access_ = std::make_unique<GpsAccess>(table_, opener_);
    access_->SetCommandLine(&commandLine);
  }
  ~UsbFrameRun() { access_.reset(); }

  int Run(AccessFunction function, std::vector<Waypoint> waypoints = {}, std::any ctrList = {}) {
    JobRequest request;
    request.function = function;
    request.protocol = ProtocolType::GarminUsb;
    request.channel = &channel;
    request.waypoints = std::move(waypoints);
    request.ctrList = std::move(ctrList);
    request.onComplete = [this, function](GpsJob& job) {
      const CompletionContext context;
      if (function == AccessFunction::DownloadTrackLog) {
        CompleteTrackDownload(job, *access_, log, context);
      } else if (function == AccessFunction::DownloadWaypoints) {
        CompleteWaypointDownload(job, *access_, log, waypointList, context);
      } else {
        CompleteUpload(job, *access_);
      }
      result = job.result;
    };
    access_->SetJobRunning(true);
    if (access_->StartGpsJob(std::move(request)) != 0) {
      access_->SetJobRunning(false);
      return -2;
    }
    return access_->WaitForGpsJobEnd(std::chrono::seconds(30)) ? result.load() : -2;
  }

  CommandLineValues commandLine;
  RecordingChannel channel{&clock_};
  TrackLog log;
  WaypointList waypointList;
  std::atomic<int> result{-2};
  FakeUsbLinkOpener& Opener() { return opener_; }

 private:
  ManualClock clock_;
  std::shared_ptr<FakeUsbDevice> device_;
  FakeUsbLinkOpener opener_;
  JobTable table_;
  std::unique_ptr<GpsAccess> access_;
};

std::shared_ptr<FakeUsbDevice> Receiver(int tracks = 2, int points = 25, bool bulkData = true) {
  return std::make_shared<FakeUsbDevice>(UsbReceiverModel(tracks, points), bulkData);
}

std::string Ids(const std::vector<SimPacket>& packets) {
  std::string ids;
  for (const SimPacket& p : packets) ids += std::to_string(p.id) + " ";
  return ids;
}

Waypoint MakeWaypoint(const char* name, int32_t lat) {
  Waypoint w;
  std::strncpy(w.name, name, sizeof w.name - 1);
  w.lat = lat;
  w.lon = 97000000;
  return w;
}

TEST(GarminUsbEndToEnd, TrackLogIsInstalledWithTheReceiversIdentity) {
  const auto device = Receiver(2, 25);
  UsbFrameRun run(device);
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 0);
  ASSERT_EQ(run.log.points.size(), 50u);
  EXPECT_EQ(run.log.points[0].flags, kNewSegment);
  EXPECT_EQ(run.log.source, TrackSource::Garmin);
  EXPECT_EQ(run.log.protocol, ProtocolType::GarminUsb);
  EXPECT_EQ(run.log.identity, "Garmin USB: 3456789012");
  EXPECT_EQ(run.log.description, "eTrex Legend Software Version 2.80");
  EXPECT_TRUE(run.channel.Messages().empty());
  EXPECT_EQ(device->OpenTransports(), 0);
}

TEST(GarminUsbEndToEnd, WaypointsAreInstalledInTheList) {
  const auto device = Receiver();
  UsbFrameRun run(device);
  ASSERT_EQ(run.Run(AccessFunction::DownloadWaypoints), 0);
  ASSERT_EQ(run.waypointList.waypoints.size(), 4u);
  EXPECT_STREQ(run.waypointList.waypoints[2].name, "SOUTH");
}

TEST(GarminUsbEndToEnd, UploadsReachTheReceiver) {
  const auto device = Receiver();
  UsbFrameRun run(device);
  ASSERT_EQ(run.Run(AccessFunction::UploadWaypoints, {MakeWaypoint("A", 1), MakeWaypoint("B", 2)}), 0);
  ASSERT_EQ(run.Run(AccessFunction::UploadWaypointsAsTrack, {MakeWaypoint("A", 1), MakeWaypoint("B", 2)}), 0);
  CtrArea area;
  area.name = "TMA CIRCLE";
  area.selected = true;
  CtrSegment circle;
  circle.type = CtrSegmentType::Circle;
  circle.position = {46.5, 8.0};
  circle.radius = 2000;
  area.segments = {circle};
  ASSERT_EQ(run.Run(AccessFunction::UploadCtr, {}, CtrList{area}), 0);
  std::vector<Waypoint> points;
  ASSERT_EQ(CtrToPoints(area, 1, kDefaultCtrSegError, 0, points), 0);
  std::string expected = "254 27 35 35 12 254 27 99 34 34 12 254 27 99 ";
  for (size_t i = 0; i < points.size(); ++i) expected += "34 ";
  expected += "12 ";
  EXPECT_EQ(Ids(device->Received()), expected);
  EXPECT_EQ(device->Received()[13].data.substr(2), std::string("TMA CIRCLE") + '\0');
  EXPECT_EQ(device->SessionStarts(), 3);  // one session per job
}

TEST(GarminUsbEndToEnd, FailuresReachTheUserAndReleaseTheReceiver) {
  const auto device = Receiver();
  UsbFrameRun run(device);
  run.Opener().usb.plugged = false;
  EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1);
  ASSERT_EQ(run.channel.Messages().size(), 1u);
  EXPECT_EQ(run.channel.Messages()[0].text, "Could not open USB port");
  EXPECT_EQ(run.channel.Messages()[0].caption, "Connecting to GPS");
  EXPECT_EQ(run.Opener().usb.attempts, 2);  // TIMEOUT attempts, an empty list included
  run.Opener().usb.plugged = true;
  device->UnplugAfterPackets(12);
  EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1);
  ASSERT_EQ(run.channel.Messages().size(), 2u);
  EXPECT_EQ(run.channel.Messages()[1].text, "E221 Packet read error");
  EXPECT_EQ(device->OpenTransports(), 0);
  EXPECT_TRUE(run.log.points.empty());  // a failed download installs nothing
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The unattended run: /USB on the command line, the file written at the end.
TEST(GarminUsbEndToEnd, CommandLineUsbRunWritesItsFile) {
  testing::TempDir dir;
  const std::string file = dir.File("flight.plt");
  testing::ScriptedUserInterface console;
  CommandLineResult parsed;
  ASSERT_EQ(ParseCommandLine("/WIN=0 /GPS=GARMIN /USB /TIMEOUT=1 /OZI_LOG=" + file, console, parsed), 0);
  ASSERT_TRUE(parsed.job);
  JobTable table;
  ASSERT_TRUE(RegisterInstruments(table));
  // A real flight, so that the split of the receiver's track log finds it.
  sim::garmin::ReceiverModel model = UsbReceiverModel(0);
  sim::garmin::SimTrack flight;
  ASSERT_TRUE(sim::garmin::TrackFromIgc(ReadFile("sim/flights/pg-flytec6030-2008-3s.igc"), "FLIGHT", flight));
  model.tracks = {flight};
  const auto device = std::make_shared<FakeUsbDevice>(model, true);
  FakeUsbLinkOpener opener(device);
  TrackLog log;
  WaypointList waypoints;
  AirspaceList airspace;
  EXPECT_EQ(RunHeadlessBatch(*parsed.job, {console, table, opener, nullptr, log, waypoints, airspace, {}}), 0);
  EXPECT_GT(log.points.size(), 1000u);
  const std::string plt = ReadFile(file);
  EXPECT_EQ(plt.rfind("OziExplorer Track Point File", 0), 0u);
  // Six header lines, then a line a position of the flight the split kept.
  EXPECT_GT(static_cast<size_t>(std::count(plt.begin(), plt.end(), '\n')), 6 + 4000u);
  EXPECT_EQ(device->OpenTransports(), 0);

  // No receiver: the run fails with the message, and nothing is written.
  testing::ScriptedUserInterface again;
  const std::string missing = dir.File("missing.plt");
  CommandLineResult second;
  ASSERT_EQ(ParseCommandLine("/WIN=0 /GPS=GARMIN /USB /TIMEOUT=1 /OZI_LOG=" + missing, again, second), 0);
  opener.usb.plugged = false;
  TrackLog emptyLog;
  EXPECT_EQ(RunHeadlessBatch(*second.job, {again, table, opener, nullptr, emptyLog, waypoints, airspace, {}}), 1);
  EXPECT_TRUE(std::any_of(again.boxes.begin(), again.boxes.end(), [](const testing::RecordedBox& box) {
    return box.text == "Could not open USB port" && box.caption == "Connecting to GPS";
  }));
  EXPECT_TRUE(ReadFile(missing).empty());
}

}  // namespace
}  // namespace trelvik
