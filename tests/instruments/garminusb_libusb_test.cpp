// The libusb opener without a receiver: which descriptors it takes, and the
// job's answer when none is plugged in (the message after TIMEOUT attempts).
#include <gtest/gtest.h>

#include "access/debug_trace.hpp"
#include "access/libusb_link.hpp"
#include "access/posix_serial_link.hpp"
#include "instruments/garmin/jobs.hpp"
#include "support/recording_channel.hpp"

namespace trelvik {
namespace {

constexpr UsbDeviceId kGarmin{0x091E, 0x0003};

TEST(GarminUsbLibusb, DescriptorsOfGarminReceiversOnlyAreTaken) {
  struct Case {
    UsbDescriptorView device;
    bool wanted;
  };
  const Case cases[] = {
      {{0x091E, 0x0003, 0xFF}, true},   // a receiver in Garmin mode: vendor-specific interface
      {{0x091E, 0x0003, 0x00}, true},   // class given per interface elsewhere
      {{0x091E, 0x0003, 0x08}, false},  // mass storage
      {{0x091E, 0x2353, 0x08}, false},  // a unit that is only a disk
      {{0x091E, 0x0004, 0xFF}, false},  // another Garmin product
      {{0x1234, 0x0003, 0xFF}, false},  // another vendor
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.device.vendor << ":" << c.device.product << " class "
                                    << static_cast<int>(c.device.interfaceClass));
    EXPECT_EQ(IsWantedUsbDevice(c.device, kGarmin), c.wanted);
  }
}

TEST(GarminUsbLibusb, WithoutAReceiverTheJobSaysSoAfterItsAttempts) {
  LibusbOpener libusb;
  OpenedUsb probe = libusb.Open(kGarmin);
  if (probe.status != UsbOpenStatus::NotFound) GTEST_SKIP() << "a Garmin receiver is plugged in";
  EXPECT_FALSE(probe.transport);

  ManualClock clock;
  RecordingChannel channel(&clock);
  DebugTrace trace;
  PosixLinkOpener opener;
  CommandLineValues commandLine;
  commandLine.timeout = 3;
  GpsJob job;
  job.channel = &channel;
  job.trace = &trace;
  job.linkOpener = &opener;
  job.commandLine = &commandLine;
  job.protocol = ProtocolType::GarminUsb;
  EXPECT_EQ(garmin::UsbDownloadTrackLog(job), -1);
  const std::vector<RecordedMessage> shown = channel.Messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Could not open USB port");
  EXPECT_EQ(shown[0].caption, "Connecting to GPS");
  // An empty device list is tried again each second, within the attempts.
  const std::vector<std::chrono::milliseconds> expected = {std::chrono::seconds(1), std::chrono::seconds(1)};
  EXPECT_EQ(channel.Sleeps(), expected);
  EXPECT_EQ(channel.Progress(),
            (std::vector<std::string>{"Connecting to GPS (3)", "Connecting to GPS (2)", "Connecting to GPS (1)"}));
}

}  // namespace
}  // namespace trelvik
