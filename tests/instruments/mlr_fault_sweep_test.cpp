// Every MLR operation with a fault at every byte of a correct conversation:
// each run ends, closes its port, and shows only the messages that operation
// knows, with their captions.
#include <gtest/gtest.h>

#include "instruments/mlr/jobs.hpp"
#include "instruments/pmlr_fixtures.hpp"
#include "instruments/pmlr_sweep_support.hpp"

namespace trelvik::mlr {
namespace {

using namespace trelvik::testing;

const std::string kTrack = "$PMLR,24,02,0101,0399\r\n";
const std::string kWaypoints = "$PMLR,24,02,0301,039B\r\n";
const std::string kProduct = PmlrProduct("SP24,0,7,2.72,X");

SweepMessages TrackMessages() {
  const std::string caption = "Read GPS track log";
  return JoinMessages({kIdentificationMessages,
                       NumberedMessages("E208 Format error ", {1, 2, 3, 4}, caption),
                       {{"E201 COM port write error", caption},
                        {"E202 COM port read error", caption},
                        {"E203 Bad sentence type sequence", caption},
                        {"E204 Bad sentence sequence", caption},
                        {"E205 Bad sentence sequence", caption},
                        {"E206 Bad track point sequence", caption},
                        {"E210 Track log data timeout", caption},
                        {"No points detected", caption}}});
}

TEST(MlrFaultSweep, TrackDownload) {
  SweepFaults("track",
              JobSweepRunner<ScriptedJob>(
                  [](ScriptedJob& s) {
                    s.job.protocol = ProtocolType::Mlr;
                    s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Expect(kTrack);
                    s.script->Answer(Transfer("T\x01", PointRun(1, 4), 18, 2)).Expect(kPmlrEnd);
                  },
                  DownloadTrackLog,
                  [](ScriptedJob& s, int result) { return result < 0 ? std::string() : PointLines(s.job.points); }),
              TrackMessages());
}

TEST(MlrFaultSweep, BinaryWaypointDownload) {
  const std::string caption = "Read GPS waypoints";
  std::string entries;
  for (const char* name : {"ALPHA ", "BRAVO "}) {
    entries += name;
    entries += std::string(16, '\x01');
  }
  SweepFaults(
      "binary waypoints",
      JobSweepRunner<ScriptedJob>(
          [entries](ScriptedJob& s) {
            s.job.protocol = ProtocolType::MlrFast;
            s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Expect(kWaypoints);
            s.script->Answer(Transfer("W\x02", entries, 22, 1)).Expect(kPmlrEnd);
          },
          DownloadWaypoints,
          [](ScriptedJob& s, int result) { return result < 0 ? std::string() : WaypointLines(s.job.waypoints); }),
      JoinMessages({kIdentificationMessages,
                    NumberedMessages("E303 Format error ", {1, 2, 3, 4}, caption),
                    {{"E301 COM port write error", caption},
                     {"E302 COM port read error", caption},
                     {"E303 Bad sentence type sequence", caption},
                     {"E304 Bad sentence sequence", caption},
                     {"E305 Bad sentence sequence", caption},
                     {"Timeout while waiting for data", caption}}}));
}

TEST(MlrFaultSweep, NmeaWaypointDownload) {
  const std::string caption = "Read GPS waypoints";
  const std::string a = Sentence("GPWPL,4625.460,N,00808.100,E,A     0First");
  const std::string b = Sentence("GPWPL,4624.000,S,00809.000,W,B     0Second");
  SweepFaults("NMEA waypoints",
              JobSweepRunner<ScriptedJob>(
                  [a, b](ScriptedJob& s) {
                    s.job.protocol = ProtocolType::Mlr;
                    s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Answer(a + b + a + b + a);
                  },
                  DownloadWaypoints,
                  [](ScriptedJob& s, int result) {
                    if (result < 0) return std::string();
                    // The list comes round again and again: any turn of it is the same list.
                    std::vector<Waypoint> sorted = s.job.waypoints;
                    std::sort(sorted.begin(), sorted.end(),
                              [](const Waypoint& x, const Waypoint& y) { return std::string(x.name) < y.name; });
                    return WaypointLines(sorted);
                  }),
              JoinMessages({kIdentificationMessages,
                            NumberedMessages("E302 Format error ",
                                             {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 17, 18, 19, 20, 21}, caption),
                            {{"E301 COM port read error", caption},
                             {"E305 Bad waypoint ID character", caption},
                             {"E306 Missing waypoint ID", caption},
                             {"Timeout while waiting for data", caption}}}),
              Losses::WholeRecords);
}

TEST(MlrFaultSweep, WaypointUpload) {
  SweepFaults(
      "waypoint upload",
      JobSweepRunner<ScriptedJob>(
          [](ScriptedJob& s) {
            s.job.protocol = ProtocolType::Mlr;
            s.job.waypoints = {MakeWaypoint(46.5, 8.0, "A", "One", 0)};
            s.script->Expect(kPmlrProductRequest).Answer(kProduct).Expect(kPmlrEnd).Expect(GPWPL(s.job.waypoints[0]));
          },
          UploadWaypoints, [](ScriptedJob& s, int result) { return result < 0 ? std::string() : s.script->Written(); }),
      kIdentificationMessages);
}

}  // namespace
}  // namespace trelvik::mlr
