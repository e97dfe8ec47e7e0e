// Every Garmin USB operation with a fault at every byte of the receiver's
// answers (silence, a cut transfer and junk, an unplugged receiver, a flipped
// bit in a type, id, size or data byte), on either pipe: each run ends,
// releases the receiver, and shows only the messages the operation knows.
#include <gtest/gtest.h>

#include <cstring>

#include "airspace/ctr_area.hpp"
#include "base/c_format.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/garminusb_fixtures.hpp"
#include "support/fault_sweep.hpp"

namespace trelvik::garmin {
namespace {

using testing::ShownMessage;
using testing::SweepRun;
using testing::UsbJob;
using testing::UsbReceiverModel;
using Messages = std::vector<ShownMessage>;

void Add(Messages& all, const std::string& text, const char* caption) { all.push_back({text, caption}); }

// Every "E%d Packet read error" a read with base `base` can give.
void ReadErrors(Messages& all, int base, const char* caption) {
  for (int code = 1; code <= 9; ++code) Add(all, CFormat("E%d Packet read error", base + code), caption);
}

Messages Identification() {
  const char* caption = "Read GPS product data";
  Messages all = {{"Could not open USB port", "Connecting to GPS"}, {"E001 Bulk OUT error", caption}};
  for (int n = 2; n <= 8; ++n) Add(all, CFormat("E%03d Start session error", n), caption);
  for (int error : {-1, -4, -7}) Add(all, CFormat("E003 Start session error (%d)", error), caption);
  Add(all, "E104 Bulk OUT error", caption);
  ReadErrors(all, 104, caption);
  ReadErrors(all, 114, caption);
  for (const char* text :
       {"E114 Bad product data packet", "E124 Bad protocol array data packet", "E125 Bad protocol data packet",
        "E126 Bad protocol tag character", "E180 Unsupported link protocol", "E181 Unsupported device command protocol",
        "E182 Unsupported waypoint transfer protocol", "E183 Unsupported waypoint data type",
        "E185 Unsupported track log data type"}) {
    Add(all, text, caption);
  }
  return all;
}

Messages WaypointDownload() {
  Messages all = Identification();
  const char* caption = "Read waypoints";
  for (int base : {303, 314, 325}) ReadErrors(all, base, caption);
  for (const char* text : {"E336 No waypoint protocol defined", "E303 Bulk OUT error", "E313 Bad record count packet",
                           "E324 Bad waypoint data packet", "E325 Bad waypoint data packet",
                           "E335 Bad transfer complete packet type or format"}) {
    Add(all, text, caption);
  }
  return all;
}

Messages TrackDownload() {
  Messages all = Identification();
  const char* caption = "Read track log";
  for (int base : {203, 214, 226}) ReadErrors(all, base, caption);
  for (const char* text :
       {"E237 No track log protocol defined", "E203 Bulk OUT error", "E213 Bad record count packet",
        "E224 Packet type/length mismatch", "E225 Packet type/protocol mismatch", "E226 Bad data packet",
        "E236 Bad transfer complete packet type or format", "No points detected"}) {
    Add(all, text, caption);
  }
  return all;
}

// Runs `routine` on a fresh job over a fresh receiver, with the fault.
testing::SweepRunner UsbRunner(bool bulkData, JobRoutine routine, std::function<void(UsbJob&)> prepare,
                               std::function<std::string(UsbJob&, int)> observe) {
  return [=](const testing::InjectedFault* fault) {
    auto s = std::make_unique<UsbJob>(UsbReceiverModel(1, 6), bulkData);
    if (prepare) prepare(*s);
    s->device->WaitLimit(testing::kSweepWaitLimit);
    if (fault != nullptr) s->device->InjectFault(fault->atByte, fault->fault);
    SweepRun run;
    run.result = routine(*s->block);
    CompleteJob(*s->block, run.result);
    run.observed = observe(*s, run.result);
    run.messages = s->channel.Messages();
    run.answerBytes = s->device->AnswerBytes();
    run.waitedOut = s->device->WaitedOut();
    s->block.reset();
    run.openLinks = s->device->OpenTransports();
    return run;
  };
}

std::string ObservedWaypoints(UsbJob& s, int result) {
  if (result < 0) return {};
  std::string text;
  for (const Waypoint& w : s.job.waypoints) {
    text += CFormat("%s/%s/%d/%d/%d\n", w.name, w.description, w.lat, w.lon, w.alt);
  }
  return text;
}

std::string ObservedTrack(UsbJob& s, int result) {
  if (result < 0) return {};
  std::string text;
  for (const TrackPoint& p : s.job.points) text += CFormat("%d/%u/%d/%d/%d\n", p.flags, p.time, p.lat, p.lon, p.gpsAlt);
  return text;
}

// What an upload delivered: the packets the receiver took, when the job succeeded.
std::string ObservedUpload(UsbJob& s, int result) {
  if (result < 0) return {};
  std::string text;
  for (const sim::garmin::SimPacket& p : s.device->Received()) text += std::to_string(p.id) + ":" + p.data + "\n";
  return text;
}

Waypoint Point(const char* name, int32_t lat) {
  Waypoint w;
  std::strncpy(w.name, name, sizeof w.name - 1);
  w.lat = lat;
  w.lon = 97000000;
  return w;
}

class GarminUsbFaultSweep : public ::testing::TestWithParam<bool> {};

TEST_P(GarminUsbFaultSweep, WaypointDownload) {
  testing::SweepFaults("waypoint download", UsbRunner(GetParam(), UsbDownloadWaypoints, nullptr, ObservedWaypoints),
                       WaypointDownload());
}

TEST_P(GarminUsbFaultSweep, TrackDownload) {
  testing::SweepFaults("track download", UsbRunner(GetParam(), UsbDownloadTrackLog, nullptr, ObservedTrack),
                       TrackDownload());
}

TEST_P(GarminUsbFaultSweep, TrackDownloadWithCompetitionCheck) {
  testing::SweepFaults("track download with the waypoint check",
                       UsbRunner(
                           GetParam(), UsbDownloadTrackLog,
                           [](UsbJob& s) { s.job.competitionCheck = [](GpsJob&, const Waypoint&) {}; }, ObservedTrack),
                       [] {
                         Messages all = TrackDownload();
                         const Messages waypoints = WaypointDownload();
                         all.insert(all.end(), waypoints.begin(), waypoints.end());
                         return all;
                       }());
}

TEST_P(GarminUsbFaultSweep, Uploads) {
  // Uploads read only the identification; what they send must arrive whole.
  Messages messages = Identification();
  // A capability array cut short (its size field is clamped to the bytes
  // that came) may lose the transfer protocols.
  Add(messages, "E406 No waypoint protocol defined", "Upload waypoints");
  Add(messages, "E509 No track log protocol defined", "Upload track log");
  for (const char* text : {"E403 Bulk OUT error", "E404 Bulk OUT error", "E405 Bulk OUT error"}) {
    Add(messages, text, "Upload waypoints");
  }
  for (int n = 503; n <= 508; ++n) Add(messages, CFormat("E%d Bulk OUT error", n), "Upload track log");
  const auto prepare = [](UsbJob& s) { s.job.waypoints = {Point("ONE", 1000), Point("TWO", 2000)}; };
  testing::SweepFaults("waypoint upload", UsbRunner(GetParam(), UsbUploadWaypoints, prepare, ObservedUpload), messages);
  testing::SweepFaults("waypoints as a track log",
                       UsbRunner(GetParam(), UsbUploadWaypointsAsTrack, prepare, ObservedUpload), messages);
}

INSTANTIATE_TEST_SUITE_P(Pipes, GarminUsbFaultSweep, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("Bulk") : std::string("Interrupt");
                         });

}  // namespace
}  // namespace trelvik::garmin
