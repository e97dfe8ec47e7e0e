// Every Magellan operation with a fault at every byte of a correct
// conversation: each run ends, closes its port, and shows only the messages
// that operation knows, with their captions.
#include <gtest/gtest.h>

#include "base/c_format.hpp"
#include "instruments/magellan/jobs.hpp"
#include "instruments/magellan_fixtures.hpp"
#include "support/fault_sweep.hpp"

namespace trelvik::magellan {
namespace {

using testing::JobSweepRunner;
using testing::MagellanJob;
using testing::Sentence;
using testing::ShownMessage;
using testing::SweepFaults;
using testing::Version;
using Messages = std::vector<ShownMessage>;

constexpr const char* kCaption = "Read GPS track log";

Messages ProductAnd(const char* prefix, int lastFormatCode) {
  Messages all = {{"COM port write error", "Requesting GPS product data"},
                  {"COM port read error", "Reading product data"},
                  {"No valid response from GPS", "Get GPS product data"}};
  const bool track = std::string_view(prefix) == "E2";
  all.push_back({std::string(prefix) + (track ? "03" : "02") + " COM port write error", kCaption});
  all.push_back({std::string(prefix) + (track ? "04" : "03") + " COM port read error", kCaption});
  for (int code = 1; code <= lastFormatCode; ++code) {
    all.push_back({CFormat("%s%s Format error %d", prefix, track ? "05" : "04", code), kCaption});
  }
  for (int code = 2; code <= 4; ++code) {
    all.push_back({CFormat("%s%s Format error %d", prefix, track ? "06" : "05", code), kCaption});
  }
  return all;
}

std::string ObservedPoints(MagellanJob& s, int result) {
  if (result < 0) return {};
  std::string text;
  for (const TrackPoint& p : s.job.points) {
    text += CFormat("%u/%d/%d/%d\n", p.time, p.lat, p.lon, p.gpsAlt);
  }
  return text;
}

std::string ObservedWaypoints(MagellanJob& s, int result) {
  if (result < 0) return {};
  std::string text;
  for (const Waypoint& w : s.job.waypoints)
    text += CFormat("%s/%s/%d/%d/%d\n", w.name, w.description, w.lat, w.lon, w.alt);
  return text;
}

TEST(MagellanFaultSweep, TrackDownload) {
  SweepFaults("track",
              JobSweepRunner<MagellanJob>(
                  [](MagellanJob& s) {
                    s.script->Expect(std::string(kVersionCommand)).Answer(Version());
                    s.script->Expect(std::string(kTrackCommand))
                        .Answer(Sentence("PMGNTRK,4630.500,N,00815.250,E,01000,M,120000,A,,150724") +
                                Sentence("PMGNTRK,4630.600,N,00815.250,W,01010,F,120002.5,A,,150724") +
                                Sentence("PMGNCMD,END"));
                  },
                  DownloadTrackLog, ObservedPoints),
              ProductAnd("E2", 22), testing::Losses::WholeRecords);
}

TEST(MagellanFaultSweep, WaypointDownload) {
  SweepFaults("waypoints",
              JobSweepRunner<MagellanJob>(
                  [](MagellanJob& s) {
                    s.script->Expect(std::string(kVersionCommand)).Answer(Version());
                    s.script->Expect(std::string(kWaypointCommand))
                        .Answer(Sentence("PMGNWPL,4625.460,N,00808.100,E,2240,M,FIESCH,Launch") +
                                Sentence("PMGNWPL,3350.500,S,15112.250,W,12,F,SW1,") + Sentence("PMGNCMD,END"));
                  },
                  DownloadWaypoints, ObservedWaypoints),
              ProductAnd("E3", 16), testing::Losses::WholeRecords);
}

TEST(MagellanFaultSweep, WaypointUpload) {
  SweepFaults(
      "waypoint upload",
      JobSweepRunner<MagellanJob>(
          [](MagellanJob& s) {
            s.job.waypoints = {testing::MakeWaypoint(46.4, 8.1, "A1", "Alpha", 100)};
            s.script->Expect(std::string(kVersionCommand)).Answer(Version());
            s.script->Expect(Sentence("PMGNWPL,4624.000,N,00806.000,E,0100,M,A1,Alpha"));
            s.script->Expect(std::string(kEndCommand));
          },
          UploadWaypoints, [](MagellanJob& s, int result) { return result < 0 ? std::string() : s.script->Written(); }),
      ProductAnd("E3", 0));
}

}  // namespace
}  // namespace trelvik::magellan
