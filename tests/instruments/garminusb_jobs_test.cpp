// Every Garmin USB operation through its cell on the fake receiver: what the
// user gets, the exact packets the receiver got (no acknowledgements on
// USB), and the faults a receiver shows with their numbered errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "access/job_report.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/garminusb_fixtures.hpp"

namespace trelvik::garmin {
namespace {

using sim::garmin::SimPacket;
using testing::UsbJob;
using testing::UsbReceiverModel;
using trelvik::LinkFault;

std::string Ids(const std::vector<SimPacket>& packets) {
  std::string ids;
  for (const SimPacket& p : packets) ids += std::to_string(p.id) + " ";
  return ids;
}

uint16_t U16(const std::string& data) {
  return static_cast<uint16_t>(static_cast<uint8_t>(data[0]) | static_cast<uint8_t>(data[1]) << 8);
}

bool Shown(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

Waypoint MakeWaypoint(const char* name, int32_t lat, int32_t lon) {
  Waypoint w;
  std::strncpy(w.name, name, sizeof w.name - 1);
  w.lat = lat;
  w.lon = lon;
  w.alt = 800;
  return w;
}

class GarminUsbJobs : public ::testing::TestWithParam<bool> {};

TEST_P(GarminUsbJobs, WaypointDownloadOnEitherPipe) {
  UsbJob s(UsbReceiverModel(), GetParam());
  ASSERT_EQ(UsbDownloadWaypoints(s.job), 0);
  ASSERT_EQ(s.job.waypoints.size(), 4u);
  EXPECT_STREQ(s.job.waypoints[0].name, "FIESCH");
  EXPECT_STREQ(s.job.waypoints[0].description, "FIESCH LAUNCH");
  EXPECT_EQ(s.job.waypoints[0].alt, 2240);
  EXPECT_EQ(s.job.waypoints[1].airport, 1);
  EXPECT_EQ(s.job.waypoints[3].alt, -13);
  EXPECT_EQ(s.job.identity, "Garmin USB: 3456789012");
  EXPECT_EQ(s.job.modelName, "Garmin");
  EXPECT_EQ(s.job.description, "eTrex Legend Software Version 2.80");
  EXPECT_TRUE(Shown(s.channel.Progress(), "Receiving waypoints"));
  EXPECT_EQ(s.channel.Progress().back(), "4 waypoints read");
  EXPECT_TRUE(s.channel.Messages().empty());
  // The product request and the command; nothing is acknowledged.
  EXPECT_EQ(Ids(s.device->Received()), "254 10 ");
  EXPECT_EQ(U16(s.device->Received()[1].data), 7);
  EXPECT_EQ(s.trace.Contents().find("Bulk pipe TRUE") != std::string::npos, GetParam());
  EXPECT_NE(s.trace.Contents().find("Unit ID = "), std::string::npos);
  EXPECT_NE(s.trace.Contents().find("Requesting waypoints\r\n"), std::string::npos);
  EXPECT_NE(s.trace.Contents().find("USB device name:\r\nbus 001 device 007 (fake)\r\n"), std::string::npos);
  s.block.reset();
  EXPECT_EQ(s.device->OpenTransports(), 0);
}

TEST_P(GarminUsbJobs, TrackDownloadKeepsEveryPoint) {
  UsbJob s(UsbReceiverModel(3, 40), GetParam());
  ASSERT_EQ(UsbDownloadTrackLog(s.job), 0);
  ASSERT_EQ(s.job.points.size(), 120u);
  EXPECT_EQ(s.job.points[0].flags, kNewSegment);
  EXPECT_EQ(s.job.points[1].lat, 554767000);
  EXPECT_EQ(s.job.points[1].gpsAlt, 10010);
  EXPECT_EQ(s.job.source, TrackSource::Garmin);
  EXPECT_EQ(s.job.utcTimes, 1);
  EXPECT_TRUE(Shown(s.channel.Progress(), "Receiving track positions"));
  EXPECT_EQ(s.channel.Progress().back(), "120 track positions read");
  EXPECT_EQ(Ids(s.device->Received()), "254 10 ");
  EXPECT_EQ(U16(s.device->Received()[1].data), 6);
}

INSTANTIATE_TEST_SUITE_P(Pipes, GarminUsbJobs, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("Bulk") : std::string("Interrupt");
                         });

TEST(GarminUsbUploads, WaypointsGoOutWithoutWaitingAndThePowerOffFollows) {
  UsbJob s;
  s.commandLine.powerOff = true;
  s.job.waypoints = {MakeWaypoint("ONE", 1000, 2000), MakeWaypoint("TWO", 3000, 4000)};
  ASSERT_EQ(UsbUploadWaypoints(s.job), 0);
  const std::vector<SimPacket> got = s.device->Received();
  ASSERT_EQ(Ids(got), "254 27 35 35 12 10 ");
  EXPECT_EQ(U16(got[1].data), 2);
  EXPECT_EQ(got[2].data.substr(48, 4), std::string("ONE") + '\0');
  EXPECT_EQ(U16(got[4].data), 7);
  EXPECT_EQ(U16(got[5].data), 8);
  EXPECT_TRUE(s.device->PoweredOff());
  EXPECT_EQ(s.channel.Progress().back(), "Transfer completed");
}

TEST(GarminUsbUploads, WaypointsAsATrackLogWithItsHeader) {
  UsbJob s;
  s.job.waypoints = {MakeWaypoint("START", 1000, 2000), MakeWaypoint("END", 3000, 4000)};
  ASSERT_EQ(UsbUploadWaypointsAsTrack(s.job), 0);
  const std::vector<SimPacket> got = s.device->Received();
  ASSERT_EQ(Ids(got), "254 27 99 34 34 12 ");
  EXPECT_EQ(U16(got[1].data), 3);  // the header counts as a record
  EXPECT_EQ(got[2].data, std::string("\x01\x00START\x00", 8));
  EXPECT_EQ(got[3].data.size(), 21u);
  EXPECT_EQ(U16(got[5].data), 6);
  EXPECT_FALSE(s.device->PoweredOff());  // only PWROFF powers off after a track upload
}

TEST(GarminUsbUploads, NothingToSendEndsAfterTheIdentification) {
  UsbJob s;
  ASSERT_EQ(UsbUploadWaypoints(s.job), 0);
  EXPECT_EQ(Ids(s.device->Received()), "254 ");
}

struct FaultCase {
  const char* name;
  std::function<void(UsbJob&)> arrange;
  JobRoutine routine;
  const char* text;
  const char* caption;
};

TEST(GarminUsbFaults, EachFaultGivesItsNumberedError) {
  const std::vector<FaultCase> cases = {
      {"no device", [](UsbJob& s) { s.opener.usb.plugged = false; }, UsbDownloadTrackLog, "Could not open USB port",
       "Connecting to GPS"},
      {"no permission", [](UsbJob& s) { s.opener.usb.refusal = "The receiver may not be opened by this user."; },
       UsbDownloadTrackLog, "Could not open USB port\nThe receiver may not be opened by this user.",
       "Connecting to GPS"},
      {"silence", [](UsbJob& s) { s.device->InjectFault(0, LinkFault::Silence); }, UsbDownloadTrackLog,
       "E002 Start session error", "Read GPS product data"},
      {"more than 50 zero-length reads",
       [](UsbJob& s) { s.device->ZeroReadsBeforeEachPacket(51); },
       UsbDownloadTrackLog, "E002 Start session error", "Read GPS product data"},
      {"a packet shorter than 12 bytes", [](UsbJob& s) { s.device->InjectFault(7, LinkFault::Silence); },
       UsbDownloadWaypoints, "E002 Start session error", "Read GPS product data"},
      {"a wrong session answer", [](UsbJob& s) { s.device->SessionAnswerBytes(2); }, UsbDownloadWaypoints,
       "E004 Start session error", "Read GPS product data"},
      {"no capability array (bulk pipe)",
       [](UsbJob& s) {
         auto model = UsbReceiverModel();
         model.capabilities.reset();
         s.device = std::make_shared<testing::FakeUsbDevice>(model, true);
         s.opener = testing::FakeUsbLinkOpener(s.device);
       },
       UsbDownloadWaypoints, "E121 Packet read error", "Read GPS product data"},
      {"no capability array (interrupt pipe)",
       [](UsbJob& s) {
         auto model = UsbReceiverModel();
         model.capabilities.reset();
         s.device = std::make_shared<testing::FakeUsbDevice>(model, false);
         s.opener = testing::FakeUsbLinkOpener(s.device);
       },
       UsbDownloadWaypoints, "E115 Packet read error", "Read GPS product data"},
      {"unplugged during the track log", [](UsbJob& s) { s.device->UnplugAfterPackets(10); }, UsbDownloadTrackLog,
       "E221 Packet read error", "Read track log"},
      {"track log without track protocol",
       [](UsbJob& s) {
         auto model = UsbReceiverModel();
         model.trackProtocol = 0;
         std::string bytes;
         (void)sim::garmin::CapabilityBytes(sim::garmin::DefaultCapabilityList(model), bytes);
         model.capabilities = bytes;
         s.device = std::make_shared<testing::FakeUsbDevice>(model, true);
         s.opener = testing::FakeUsbLinkOpener(s.device);
       },
       UsbDownloadTrackLog, "E237 No track log protocol defined", "Read track log"},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.name);
    UsbJob s;
    c.arrange(s);
    s.device->UseClock(&s.clock);
    EXPECT_EQ(c.routine(s.job), -1);
    const std::vector<RecordedMessage> shown = s.channel.Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, c.text);
    EXPECT_EQ(shown[0].caption, c.caption);
    s.block.reset();
    EXPECT_EQ(s.device->OpenTransports(), 0);
  }
}

TEST(GarminUsbFaults, ASizeFieldLargerThanTheDataIsClampedToTheBytesReceived) {
  UsbJob s(UsbReceiverModel(), false);
  // The product data follows the 16-byte session answer; its size field is at 8.
  s.device->InjectFault(16 + 8, LinkFault::Corrupt);
  ASSERT_EQ(UsbDownloadWaypoints(s.job), 0);
  EXPECT_EQ(s.job.description, "eTrex Legend Software Version 2.80");
  EXPECT_EQ(s.job.waypoints.size(), 4u);
}

TEST(GarminUsbFaults, AbortInEitherLoopStartsANewSessionAndEndsTheJob) {
  for (JobRoutine routine : {UsbDownloadTrackLog, UsbDownloadWaypoints}) {
    UsbJob s(UsbReceiverModel(2, 30));
    s.device->OnPacketDelivered([&s](int n) {
      if (n == 8) s.job.abort = true;
    });
    EXPECT_EQ(routine(s.job), -1);
    EXPECT_TRUE(s.channel.Messages().empty());
    EXPECT_EQ(s.channel.Progress().back(), "Transfer aborted");
    EXPECT_EQ(s.device->SessionStarts(), 2);
  }
}

TEST(GarminUsbFaults, AReceiverPluggedInLateIsFoundOnALaterAttempt) {
  UsbJob s;
  s.commandLine.timeout = 5;
  s.opener.usb.absentAttempts = 2;
  ASSERT_EQ(UsbDownloadWaypoints(s.job), 0);
  EXPECT_EQ(s.opener.usb.attempts, 3);
  EXPECT_TRUE(Shown(s.channel.Progress(), "Connecting to GPS (3)"));
}

}  // namespace
}  // namespace trelvik::garmin
