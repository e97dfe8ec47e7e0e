// The Garmin upload cells over a scripted link: waypoints in the unit's
// record type, waypoints and airspace outlines as track logs, the abort
// command after the errors that need one, and power-off.
#include <gtest/gtest.h>

#include "airspace/ctr_area.hpp"
#include "airspace/ctr_points.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/garmin/serial_packet_link.hpp"
#include "instruments/garmin_fixtures.hpp"

namespace trelvik::garmin {
namespace {

using testing::AckFrame;
using testing::Bytes;
using testing::CommandFrame;
using testing::CompleteFrame;
using testing::Frame;
using testing::GarminJob;
using testing::kRequest;
using testing::Le16;
using testing::Le32;
using testing::LeFloat;
using testing::ProductFrame;
using testing::RecordsFrame;

const std::string kAbort = CommandFrame(0);
constexpr int32_t kLat = 554766000;
constexpr int32_t kLon = 97000000;

bool Shown(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

std::vector<RecordedMessage> Error(const std::string& text, const std::string& caption) {
  return {{MessageKind::Error, text, caption}};
}

// ---- uploads ---------------------------------------------------------------

Waypoint Point(const char* name, int32_t lat, int32_t lon) {
  Waypoint w;
  std::strncpy(w.name, name, 6);
  w.lat = lat;
  w.lon = lon;
  w.alt = 500;
  return w;
}

std::string D103(const std::string& name, int32_t lat, int32_t lon) {
  return (name + "      ").substr(0, 6) + Le32(static_cast<uint32_t>(lat)) + Le32(static_cast<uint32_t>(lon)) +
         Le32(0) + std::string(40, ' ') + Bytes({0, 0});
}

TEST(GarminWaypointUpload, SendsEachWaypointInTheUnitsType) {
  GarminJob s;
  s.job.waypoints = {Point("one", kLat, kLon), Point("two", kLat + 1, kLon + 1)};
  s.Handshake("L001,A010,A100,D103,A300,D300");
  s.script->Expect(RecordsFrame(2)).Answer(AckFrame(27));
  s.script->Expect(Frame(35, D103("ONE", kLat, kLon))).Answer(AckFrame(35));
  s.script->Expect(Frame(35, D103("TWO", kLat + 1, kLon + 1))).Answer(AckFrame(35));
  s.script->Expect(CompleteFrame(7)).Answer(AckFrame(12));
  s.job.powerOffAfterTransfer = true;  // the menu's setting does not apply to a command-line run
  ASSERT_EQ(SerialUploadWaypoints(s.job), 0);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  EXPECT_EQ(s.channel.Progress().back(), "Waypoint 2 of 2 sent");
  EXPECT_TRUE(s.channel.Messages().empty());
}

TEST(GarminWaypointUpload, MenuPowerOffOutsideACommandLineRun) {
  GarminJob s;
  s.job.commandLine = nullptr;
  s.job.powerOffAfterTransfer = true;
  s.job.waypoints = {Point("one", kLat, kLon)};
  s.Handshake("L001,A010,A100,D103");
  s.script->Expect(RecordsFrame(1))
      .Answer(AckFrame(27))
      .Expect(Frame(35, D103("ONE", kLat, kLon)))
      .Answer(AckFrame(35));
  s.script->Expect(CompleteFrame(7)).Answer(AckFrame(12)).Expect(CommandFrame(8));
  ASSERT_EQ(SerialUploadWaypoints(s.job), 0);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
}

TEST(GarminWaypointUpload, EmptyListAndMissingProtocol) {
  GarminJob empty;
  empty.Handshake();
  EXPECT_EQ(SerialUploadWaypoints(empty.job), 0);
  EXPECT_TRUE(empty.script->Finished());
  EXPECT_FALSE(empty.script->Mismatch());

  GarminJob none;
  none.job.waypoints = {Point("one", kLat, kLon)};
  none.Handshake("L001,A010");
  EXPECT_EQ(SerialUploadWaypoints(none.job), -1);
  EXPECT_EQ(none.channel.Messages(), Error("E406 No waypoint log protocol defined", "Upload waypoints"));
  EXPECT_FALSE(none.script->Mismatch());
}

TEST(GarminWaypointUpload, ErrorsAndTheAbortAfterThem) {
  struct Case {
    const char* name;
    std::function<void(GarminJob&)> answers;
    std::string text;
    bool abort;
  };
  const Case cases[] = {
      {"records", [](GarminJob& s) { s.script->Expect(RecordsFrame(1)); }, "E400 Timeout while waiting for ack. packet",
       true},
      {"records wrong", [](GarminJob& s) { s.script->Expect(RecordsFrame(1)).Answer(AckFrame(35)); },
       "E401 Bad acknowledge packet type or format", true},
      {"record",
       [](GarminJob& s) {
         s.script->Expect(RecordsFrame(1)).Answer(AckFrame(27)).Expect(Frame(35, D103("ONE", kLat, kLon)));
       },
       "E402 Timeout while waiting for ack. packet", true},
      {"record wrong",
       [](GarminJob& s) {
         s.script->Expect(RecordsFrame(1)).Answer(AckFrame(27)).Expect(Frame(35, D103("ONE", kLat, kLon)));
         s.script->Answer(Frame(6, Bytes({35, 1})));
       },
       "E403 Bad acknowledge packet type or format", true},
      {"complete",
       [](GarminJob& s) {
         s.script->Expect(RecordsFrame(1)).Answer(AckFrame(27)).Expect(Frame(35, D103("ONE", kLat, kLon)));
         s.script->Answer(AckFrame(35)).Expect(CompleteFrame(7));
       },
       "E404 Timeout while waiting for ack. packet", true},
      {"complete wrong",
       [](GarminJob& s) {
         s.script->Expect(RecordsFrame(1)).Answer(AckFrame(27)).Expect(Frame(35, D103("ONE", kLat, kLon)));
         s.script->Answer(AckFrame(35)).Expect(CompleteFrame(7)).Answer(AckFrame(7));
       },
       "E405 Bad acknowledge packet type or format", false},
  };
  for (const Case& c : cases) {
    GarminJob s;
    s.job.waypoints = {Point("one", kLat, kLon)};
    s.Handshake("L001,A010,A100,D103");
    c.answers(s);
    if (c.abort) s.script->Expect(kAbort);
    EXPECT_EQ(SerialUploadWaypoints(s.job), -1) << c.name;
    EXPECT_EQ(s.channel.Messages(), Error(c.text, "Upload waypoints")) << c.name;
    EXPECT_TRUE(s.script->Finished()) << c.name;
    EXPECT_FALSE(s.script->Mismatch()) << c.name << s.script->MismatchReport();
  }
}

std::string UploadPoint(int32_t lat, int32_t lon, size_t size) {
  return Le32(static_cast<uint32_t>(lat)) + Le32(static_cast<uint32_t>(lon)) + std::string(size - 8, '\0');
}

TEST(GarminTrackUpload, HeaderAndPointSizeFollowTheUnitsProtocol) {
  struct Case {
    std::string array;
    int records;
    std::string header;  // empty: none
    size_t pointSize;
  };
  const Case cases[] = {
      {"L001,A010,A100,D108,A300,D300", 2, "", 13},
      {"L001,A010,A100,D108,A301,D310,D301", 3, Bytes({1, 0}) + "ROUTE" + '\0', 21},
      {"L001,A010,A100,D108,A301,D312,D302", 3, Bytes({1, 0}) + "ROUTE" + '\0', 21},
      {"L001,A010,A100,D108,A302,D311,D304", 3, Le16(0), 23},
      {"L001,A010,A100,D108,A302,D312,D302", 3, Bytes({1, 0}) + "ROUTE" + '\0', 25},
  };
  for (const Case& c : cases) {
    GarminJob s;
    s.job.waypoints = {Point("ROUTE", kLat, kLon), Point("B", kLat + 2, kLon + 2)};
    s.Handshake(c.array);
    s.script->Expect(RecordsFrame(c.records)).Answer(AckFrame(27));
    if (!c.header.empty()) s.script->Expect(Frame(99, c.header)).Answer(AckFrame(99));
    s.script->Expect(Frame(34, UploadPoint(kLat, kLon, c.pointSize))).Answer(AckFrame(34));
    s.script->Expect(Frame(34, UploadPoint(kLat + 2, kLon + 2, c.pointSize))).Answer(AckFrame(34));
    s.script->Expect(CompleteFrame(6)).Answer(AckFrame(12));
    ASSERT_EQ(SerialUploadWaypointsAsTrack(s.job), 0) << c.array;
    EXPECT_TRUE(s.script->Finished()) << c.array;
    EXPECT_FALSE(s.script->Mismatch()) << c.array << s.script->MismatchReport();
    EXPECT_EQ(s.channel.Progress().back(), "Point 2 of 2 sent");
    EXPECT_TRUE(s.channel.Messages().empty()) << c.array;
  }
}

CtrArea Triangle(const char* name, double lat) {
  CtrArea area;
  area.name = name;
  area.selected = true;
  for (const LatLonDegrees p : {LatLonDegrees{lat, 8.0}, LatLonDegrees{lat + 0.1, 8.0}, LatLonDegrees{lat, 8.1}}) {
    CtrSegment segment;
    segment.position = p;
    area.segments.push_back(segment);
  }
  return area;
}

// The conversation of one airspace sent to an A301 unit; `ackOfPoints` is
// what the unit answers to each point.
void CtrConversation(GarminJob& s, const CtrArea& area, int number, const std::string& ackOfPoints) {
  std::vector<Waypoint> points;
  ASSERT_EQ(CtrToPoints(area, number, kDefaultCtrSegError, 0, points), 0);
  s.script->Expect(RecordsFrame(static_cast<int>(points.size()) + 1)).Answer(AckFrame(27));
  s.script->Expect(Frame(99, Bytes({1, 0}) + area.name + '\0')).Answer(AckFrame(99));
  s.script->Expect(Frame(34, UploadPoint(points[0].lat, points[0].lon, 21))).Answer(ackOfPoints);
  if (ackOfPoints != AckFrame(34)) {
    s.script->Expect(kAbort);
    return;
  }
  for (size_t i = 1; i < points.size(); ++i) {
    s.script->Expect(Frame(34, UploadPoint(points[i].lat, points[i].lon, 21))).Answer(AckFrame(34));
  }
  s.script->Expect(CompleteFrame(6)).Answer(AckFrame(12));
}

TEST(GarminCtrUpload, EverySelectedAirspaceIsATrackAndAFailureFailsTheJob) {
  GarminJob s;
  CtrArea skipped = Triangle("SKIPPED", 45.0);
  skipped.selected = false;
  const CtrList list = {Triangle("FIRST", 46.0), skipped, Triangle("SECOND", 47.0)};
  s.job.ctrList = list;
  s.Handshake();
  CtrConversation(s, list[0], 1, AckFrame(35));  // a wrong acknowledgement
  CtrConversation(s, list[2], 2, AckFrame(34));
  EXPECT_EQ(SerialUploadCtr(s.job), -1);
  EXPECT_EQ(s.channel.Messages(), Error("E505 Bad acknowledge packet type or format", "Upload CTR"));
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  std::vector<Waypoint> points;
  ASSERT_EQ(CtrToPoints(list[2], 2, kDefaultCtrSegError, 0, points), 0);
  const int n = static_cast<int>(points.size());
  EXPECT_TRUE(Shown(s.channel.Progress(), "CTR 2: Point " + std::to_string(n) + " of " + std::to_string(n) + " sent"));
}

TEST(GarminCtrUpload, AnAirspaceWithoutPointsIsNamedAfterTheOthers) {
  GarminJob s;
  CtrArea empty;
  empty.name = "EMPTY";
  empty.selected = true;
  const CtrList list = {empty, Triangle("SECOND", 47.0)};
  s.job.ctrList = list;
  s.Handshake();
  CtrConversation(s, list[1], 2, AckFrame(34));
  EXPECT_EQ(SerialUploadCtr(s.job), -1);
  EXPECT_EQ(s.channel.Messages(), Error("No points for CTR 1 sent", "Upload CTR"));
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
}

}  // namespace
}  // namespace trelvik::garmin
