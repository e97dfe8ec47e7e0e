// Every XC Trainer and TopNav download with a fault at every byte of what the
// instrument sends: each run ends, closes its port and shows only the
// messages that operation knows; a run that succeeds delivers what the clean
// run did, or fewer whole waypoints when the instrument fell silent.
#include <gtest/gtest.h>

#include "instruments/pmlr_sweep_support.hpp"
#include "instruments/topnav/jobs.hpp"
#include "instruments/xctrainer/jobs.hpp"
#include "instruments/xctrainer/mxp_codec.hpp"
#include "instruments/xctrainer_fixtures.hpp"

namespace trelvik::xctrainer {
namespace {

using namespace trelvik::testing;

template <ProtocolType kProtocol>
struct ProtocolJob : XcTrainerJob {
  ProtocolJob() : XcTrainerJob(kProtocol) {}
};

const std::string kTrackCaption = "Read GPS track log";
const std::string kWaypointCaption = "Read GPS waypoints";

// The positions only: the raw log keeps the bytes as they came, a garbled
// one the decoder need not look at (a CR, a header field of no meaning) included.
std::string ObservedPoints(ScriptedJob& s, int result) {
  return result < 0 ? std::string() : PointLines(s.job.points);
}

std::string ObservedWaypoints(ScriptedJob& s, int result) {
  return result < 0 ? std::string() : WaypointLines(s.job.waypoints);
}

TEST(XcTrainerFaultSweep, MxpTrack) {
  SweepMessages accepted = {{"E201 COM port read error", kTrackCaption},
                            {"Timeout while waiting for data", kTrackCaption}};
  for (int code = 1; code <= 19; ++code) accepted.push_back({MxpErrorText(code), "Decode track log sentence"});
  SweepFaults("MXP track",
              JobSweepRunner<ProtocolJob<ProtocolType::XcTrainerMxp>>(
                  [](auto& s) {
                    std::string log = MxpHeaderLine("@xc", 3, 2);
                    for (int i = 1; i <= 3; ++i) log += MxpPositionLine(i, i, 1114194 + i, 195300, 1400, 1500);
                    s.script->Answer(log);
                  },
                  DownloadMxpTrack, ObservedPoints),
              accepted);
}

// A garbled position line is a bad line: its block is kept without it and
// the warning says so.
TEST(XcTrainerFaultSweep, TncmTrack) {
  SweepMessages accepted = JoinMessages({NumberedMessages("E202 Format error ", {1, 2, 3, 10, 11, 13, 14}, kTrackCaption),
                                         {{"E203 Too long sentence", kTrackCaption},
                                          {"E201 COM port read error", kTrackCaption},
                                          {"Timeout while waiting for data", kTrackCaption},
                                          {"Error(s) in 1 block(s) ignored", kTrackCaption}}});
  SweepFaults("TNCM track",
              JobSweepRunner<ProtocolJob<ProtocolType::TopNav>>(
                  [](auto& s) {
                    s.script->Answer(TncmHeaderLine('1') + TncmBlock(10, 0, 0, 3) + TncmBlock(10, 0, 30, 2) +
                                     "@EOF\r\n");
                  },
                  DownloadTncmTrack, ObservedPoints),
              accepted);
}

TEST(XcTrainerFaultSweep, WaypointRecords) {
  const SweepMessages accepted = JoinMessages(
      {NumberedMessages("E302 Format error ", {2, 3, 4, 5, 6}, kWaypointCaption),
       {{"E301 COM port read error", kWaypointCaption}, {"E304 COM port write error", kWaypointCaption}}});
  SweepFaults("waypoint records",
              JobSweepRunner<ProtocolJob<ProtocolType::XcTrainer>>(
                  [](auto& s) {
                    s.script->Answer(WaypointRecordBytes("FIESCH LNCH", 2240, 278546, 48810)).Expect("@@OK");
                    s.script->Answer(WaypointRecordBytes("XONOFF", 500, 0x041311, 0x001113)).Expect("@@OK");
                  },
                  DownloadWaypointRecords, ObservedWaypoints),
              accepted, Losses::WholeRecords);
}

// The lines carry no checksum, so a garbled name would arrive as another
// name: the sweep leaves out the corrupt byte.
TEST(XcTrainerFaultSweep, TopNavWaypointLines) {
  const SweepMessages accepted = JoinMessages(
      {NumberedMessages("E302 Format error ", {1, 2}, kWaypointCaption),
       {{"E301 COM port read error", kWaypointCaption},
        {"E304 COM port write error", kWaypointCaption},
        {"Timeout while waiting for data", kWaypointCaption}}});
  constexpr LinkFault kFaults[] = {LinkFault::Silence, LinkFault::Garbage, LinkFault::HangUp};
  SweepFaults("TopNav waypoint lines",
              JobSweepRunner<ProtocolJob<ProtocolType::TopNav>>(
                  [](auto& s) {
                    s.script->Answer("FIESCH x TPT N 46 25 28 E 8 8 6 2240 m\r\n").Expect("@@OK");
                    s.script->Answer("SEA___ x TPT S 33 50 30 W 151 12 15 0 m\r\n").Expect("@@OK");
                    s.script->Answer("@EOF\r\n");
                  },
                  topnav::DownloadWaypointLines, ObservedWaypoints),
              accepted, Losses::None, kFaults);
}

}  // namespace
}  // namespace trelvik::xctrainer
