#pragma once
// A Garmin USB job on the fake receiver, its clock and reports in hand, as
// the job frame would hold it.
#include <memory>

#include "access/command_line_values.hpp"
#include "access/debug_trace.hpp"
#include "access/gps_job.hpp"
#include "garmin/garmin_receiver.hpp"
#include "instruments/garminusb_fake.hpp"
#include "support/recording_channel.hpp"

namespace trelvik::testing {

// An eTrex-like unit (D108 waypoints, A301 with D310/D301) holding the sample
// waypoints and `tracks` track logs of `points` points, with its capability array.
sim::garmin::ReceiverModel UsbReceiverModel(int tracks = 2, int points = 7);

struct UsbJob {
  explicit UsbJob(sim::garmin::ReceiverModel model = UsbReceiverModel(), bool bulkData = true)
      : device(std::make_shared<FakeUsbDevice>(std::move(model), bulkData)), opener(device) {
    device->UseClock(&clock);
    commandLine.timeout = 2;
    job.channel = &channel;
    job.trace = &trace;
    job.linkOpener = &opener;
    job.commandLine = &commandLine;
    job.protocol = ProtocolType::GarminUsb;
  }
  ManualClock clock;
  RecordingChannel channel{&clock};
  DebugTrace trace;
  std::shared_ptr<FakeUsbDevice> device;
  FakeUsbLinkOpener opener;
  CommandLineValues commandLine;
  std::unique_ptr<GpsJob> block = std::make_unique<GpsJob>();
  GpsJob& job = *block;
};

}  // namespace trelvik::testing
