// Every Garmin serial operation with a fault at every byte of a correct
// conversation: each run ends, closes its port, and shows only the messages
// that operation knows, with their captions. A damaged packet is dropped by
// the framing, so the step waiting for it ends with its time-out text.
#include <gtest/gtest.h>

#include <cstring>

#include "airspace/ctr_area.hpp"
#include "airspace/ctr_points.hpp"
#include "base/c_format.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/garmin/tracks.hpp"
#include "instruments/garmin/waypoints.hpp"
#include "instruments/garmin_fixtures.hpp"
#include "support/fault_sweep.hpp"

namespace trelvik::garmin {
namespace {

using testing::AckFrame;
using testing::Bytes;
using testing::CommandFrame;
using testing::CompleteFrame;
using testing::Frame;
using testing::GarminJob;
using testing::JobSweepRunner;
using testing::Le16;
using testing::Le32;
using testing::LeFloat;
using testing::RecordsFrame;
using testing::ShownMessage;
using testing::SweepFaults;
using Messages = std::vector<ShownMessage>;

const std::string kAbort = CommandFrame(0);
constexpr int32_t kLat = 554766000;
constexpr int32_t kLon = 97000000;

Messages Join(std::initializer_list<Messages> lists) {
  Messages all;
  for (const Messages& list : lists) all.insert(all.end(), list.begin(), list.end());
  return all;
}

const Messages kProductMessages = {
    {"COM port read error", "Requesting GPS product data"},
    {"No valid response from GPS", "Get GPS product data"},
    {"COM port error while waiting for protocol capability packet", "Requesting GPS product data"},
    {"GPS product ID not supported", "Requesting GPS product data"},
    {"Bad protocol data packet", "Requesting GPS product data"},
    {"Bad protocol tag character", "Requesting GPS product data"},
};

// Both texts of each numbered wait, under `caption`.
Messages Waits(std::initializer_list<std::pair<const char*, const char*>> waits, const char* caption) {
  Messages all;
  for (const auto& [code, what] : waits) {
    all.push_back({CFormat("%s Timeout while waiting for %s", code, what), caption});
    all.push_back({CFormat("%s COM port error while waiting for %s", code, what), caption});
  }
  return all;
}

Messages Texts(std::initializer_list<const char*> texts, const char* caption) {
  Messages all;
  for (const char* text : texts) all.push_back({text, caption});
  return all;
}

std::string D108(const std::string& name, float alt, int32_t lat) {
  return Bytes({0, 0xFF, 0, 0x60}) + Le16(18) + std::string(18, '\xFF') + Le32(static_cast<uint32_t>(lat)) +
         Le32(static_cast<uint32_t>(kLon)) + LeFloat(alt) + LeFloat(1e25f) + LeFloat(0) + "    " + name + '\0' +
         "COMMENT" + '\0' + std::string(4, '\0');
}

std::string D301(uint32_t time, float alt) {
  return Le32(static_cast<uint32_t>(kLat)) + Le32(static_cast<uint32_t>(kLon)) + Le32(time) + LeFloat(alt) +
         LeFloat(1e25f) + Bytes({0});
}

Messages WaypointDownloadMessages() {
  const char* caption = "Read GPS waypoints";
  return Join(
      {kProductMessages,
       Waits({{"E300", "ack. packet"}, {"E305", "wpt. data packet"}, {"E308", "transfer complete packet"}}, caption),
       Texts({"E302 Timeout while waiting for record count packet",
              "E302 COM port error while waiting for count packet", "E301 Bad acknowledge packet type or format",
              "E303 Bad record count packet", "E306 Bad waypoint data packet", "E309 Bad waypoint data packet",
              "E307 Bad transfer complete packet type or format"},
             caption)});
}

std::string ObservedWaypoints(GarminJob& s, int result) {
  if (result < 0) return {};
  std::string text;
  for (const Waypoint& w : s.job.waypoints) {
    text += CFormat("%s/%s/%d/%d/%d\n", w.name, w.description, w.lat, w.lon, w.alt);
  }
  return text;
}

TEST(GarminFaultSweep, WaypointDownload) {
  SweepFaults("waypoint download",
              JobSweepRunner<GarminJob>(
                  [](GarminJob& s) {
                    s.Handshake();
                    s.script->Expect(CommandFrame(7)).Answer(AckFrame(10) + RecordsFrame(2)).Expect(AckFrame(27));
                    s.script->Answer(Frame(35, D108("A", 100, kLat))).Expect(AckFrame(35));
                    s.script->Answer(Frame(35, D108("B", 200, kLat + 16))).Expect(AckFrame(35));
                    s.script->Answer(CompleteFrame(7)).Expect(AckFrame(12));
                  },
                  SerialDownloadWaypoints, ObservedWaypoints),
              WaypointDownloadMessages());
}

TEST(GarminFaultSweep, UnitWithoutCapabilityArray) {
  SweepFaults("waypoint download from a unit without array",
              JobSweepRunner<GarminJob>(
                  [](GarminJob& s) {
                    s.script->Expect(testing::kRequest).Answer(testing::ProductFrame(77, 355, "GPS 12XL"));
                    s.script->Expect(AckFrame(255));
                    s.script->Expect(CommandFrame(7)).Answer(AckFrame(10) + RecordsFrame(1)).Expect(AckFrame(27));
                    const std::string d103 = "LAUNCH" + Le32(static_cast<uint32_t>(kLat)) +
                                             Le32(static_cast<uint32_t>(kLon)) + Le32(0) + std::string(40, ' ') +
                                             Bytes({0, 0});
                    s.script->Answer(Frame(35, d103)).Expect(AckFrame(35));
                    s.script->Answer(CompleteFrame(7)).Expect(AckFrame(12));
                  },
                  SerialDownloadWaypoints, ObservedWaypoints),
              WaypointDownloadMessages());
}

std::string ObservedTrack(GarminJob& s, int result) {
  if (result < 0) return {};
  std::string text;
  for (const TrackPoint& p : s.job.points) text += CFormat("%d/%u/%d/%d/%d\n", p.flags, p.time, p.lat, p.lon, p.gpsAlt);
  return text;
}

TEST(GarminFaultSweep, TrackDownload) {
  const char* caption = "Read GPS track log";
  SweepFaults(
      "track download",
      JobSweepRunner<GarminJob>(
          [](GarminJob& s) {
            s.Handshake();
            s.script->Expect(CommandFrame(6)).Answer(AckFrame(10) + RecordsFrame(4)).Expect(AckFrame(27));
            s.script->Answer(Frame(99, Bytes({1, 0}) + "LOG" + '\0')).Expect(AckFrame(99));
            for (uint32_t t = 1000; t < 1003; ++t) {
              s.script->Answer(Frame(34, D301(t, 1000.0f + static_cast<float>(t)))).Expect(AckFrame(34));
            }
            s.script->Answer(CompleteFrame(6)).Expect(AckFrame(12));
          },
          SerialDownloadTrackLog, ObservedTrack),
      Join(
          {kProductMessages,
           Waits({{"E200", "data packet"}, {"E205", "log data packet"}, {"E211", "transfer complete packet"}}, caption),
           Texts({"E202 Timeout while waiting for record count packet",
                  "E202 COM port error while waiting for count packet", "E201 Bad acknowledge packet type or format",
                  "E203 Bad record count packet", "E206 Packet type/length mismatch", "E209 Bad data packet",
                  "E210 Bad transfer complete packet type or format", "No points detected"},
                 caption)}));
}

Messages UploadMessages(const char* caption, std::initializer_list<const char*> codes, const char* first,
                        const char* last) {
  Messages all = kProductMessages;
  for (const char* code : codes) {
    all.push_back({CFormat("%s Timeout while waiting for ack. packet", code), caption});
    all.push_back({CFormat("%s COM port error while waiting for ack. packet", code), caption});
  }
  for (int code = std::atoi(first); code <= std::atoi(last); ++code) {
    all.push_back({CFormat("E%d Bad acknowledge packet type or format", code), caption});
  }
  return all;
}

std::string ObservedUpload(GarminJob& s, int result) { return result < 0 ? std::string() : s.script->Written(); }

TEST(GarminFaultSweep, WaypointUpload) {
  SweepFaults("waypoint upload",
              JobSweepRunner<GarminJob>(
                  [](GarminJob& s) {
                    Waypoint a;
                    std::strcpy(a.name, "ONE");
                    Waypoint b = a;
                    b.lat = kLat;
                    s.job.waypoints = {a, b};
                    s.Handshake();
                    s.script->Expect(RecordsFrame(2)).Answer(AckFrame(27));
                    for (const Waypoint& w : s.job.waypoints) {
                      const GarminPacket p = EncodeWaypoint(108, w);
                      s.script->Expect(Frame(35, std::string(reinterpret_cast<const char*>(p.data.data()), p.size)));
                      s.script->Answer(AckFrame(35));
                    }
                    s.script->Expect(CompleteFrame(7)).Answer(AckFrame(12));
                  },
                  SerialUploadWaypoints, ObservedUpload),
              UploadMessages("Upload waypoints", {"E400", "E402", "E404"}, "401", "405"));
}

TEST(GarminFaultSweep, WaypointsAsTrackUpload) {
  SweepFaults("waypoints as a track",
              JobSweepRunner<GarminJob>(
                  [](GarminJob& s) {
                    Waypoint a;
                    std::strcpy(a.name, "ROUTE");
                    a.lat = kLat;
                    s.job.waypoints = {a, a};
                    s.Handshake();
                    s.script->Expect(RecordsFrame(3)).Answer(AckFrame(27));
                    s.script->Expect(Frame(99, Bytes({1, 0}) + "ROUTE" + '\0')).Answer(AckFrame(99));
                    const std::string point = Frame(34, Le32(static_cast<uint32_t>(kLat)) + std::string(17, '\0'));
                    s.script->Expect(point).Answer(AckFrame(34)).Expect(point).Answer(AckFrame(34));
                    s.script->Expect(CompleteFrame(6)).Answer(AckFrame(12));
                  },
                  SerialUploadWaypointsAsTrack, ObservedUpload),
              UploadMessages("Upload track log", {"E500", "E502", "E504", "E506"}, "501", "507"));
}

TEST(GarminFaultSweep, CtrUpload) {
  SweepFaults(
      "airspace upload",
      JobSweepRunner<GarminJob>(
          [](GarminJob& s) {
            CtrArea area;
            area.name = "ZONE";
            area.selected = true;
            for (const LatLonDegrees p : {LatLonDegrees{46, 8}, LatLonDegrees{46.1, 8}, LatLonDegrees{46, 8.1}}) {
              CtrSegment segment;
              segment.position = p;
              area.segments.push_back(segment);
            }
            s.job.ctrList = CtrList{area};
            std::vector<Waypoint> points;
            ASSERT_EQ(CtrToPoints(area, 1, kDefaultCtrSegError, 0, points), 0);
            s.Handshake();
            s.script->Expect(RecordsFrame(static_cast<int>(points.size()) + 1)).Answer(AckFrame(27));
            s.script->Expect(Frame(99, Bytes({1, 0}) + "ZONE" + '\0')).Answer(AckFrame(99));
            for (const Waypoint& w : points) {
              const GarminPacket p = EncodeTrackPoint(w.lat, w.lon, 21);
              s.script->Expect(Frame(34, std::string(reinterpret_cast<const char*>(p.data.data()), p.size)));
              s.script->Answer(AckFrame(34));
            }
            s.script->Expect(CompleteFrame(6)).Answer(AckFrame(12));
          },
          SerialUploadCtr, ObservedUpload),
      UploadMessages("Upload CTR", {"E500", "E502", "E504", "E506"}, "501", "507"));
}

}  // namespace
}  // namespace trelvik::garmin
