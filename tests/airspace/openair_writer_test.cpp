#include "airspace/openair_writer.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "airspace_fixtures.hpp"
#include "base/atomic_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::MustParse;
using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

CtrSegment Point(double lat, double lon) {
  CtrSegment s;
  s.position = {lat, lon};
  return s;
}

// Built by hand, so the expected text below follows from the format alone.
CtrList HandBuiltList() {
  CtrList list(3);
  list[0].name = "North";
  list[0].floorRemark = "GND";
  list[0].ceilingRemark = "FL 95";
  list[0].classText = "C";
  list[0].classCode = kClassC;
  list[0].selected = true;
  list[0].segments.push_back(Point(45.5, 6 + 15 / 60.0 + 30.5 / 3600));
  CtrSegment db;
  db.type = CtrSegmentType::ArcByPoints;
  db.position = {45, 6};
  db.start = {45 + 5 / 60.0, 6};
  db.end = {45, 6 + 7 / 60.0};
  db.direction = '-';
  list[0].segments.push_back(db);
  CtrSegment da;
  da.type = CtrSegmentType::ArcByAngles;
  da.position = {45 + 10 / 60.0, 6 + 10 / 60.0};
  da.radius = 5000;
  da.startBearing = 90;
  da.endBearing = 180;
  list[0].segments.push_back(da);
  CtrSegment dc;
  dc.type = CtrSegmentType::Circle;
  dc.position = {45.5, 6.5};
  dc.radius = 9261;
  list[0].segments.push_back(dc);
  list[1].name = "Skipped";
  list[1].segments.push_back(Point(1, 1));
  list[2].name = "S\xC3\xBC" "d";
  list[2].floorRemark = "";
  list[2].ceilingRemark = "UNLIMITED";
  list[2].selected = true;
  list[2].segments.push_back(Point(-(33 + 51 / 60.0 + 36.04 / 3600), -(151 + 12 / 60.0 + 36.06 / 3600)));
  return list;
}

TEST(FormatCtrOpenAir, SelectedAirspacesInListOrder) {
  ScriptedUserInterface ui;
  std::string text;
  const int length = FormatCtrOpenAir(ui, HandBuiltList(), text);
  EXPECT_EQ(text,
            "AN North\r\n"
            "AL GND\r\n"
            "AH FL 95\r\n"
            "DP 45:30:00.0 N   6:15:30.5 E\r\n"
            "V D = -\r\n"
            "V X = 45:00:00.0 N   6:00:00.0 E\r\n"
            "DB 45:05:00.0 N   6:00:00.0 E,   45:00:00.0 N   6:07:00.0 E\r\n"
            "V D = +\r\n"
            "V X = 45:10:00.0 N   6:10:00.0 E\r\n"
            "DA 2.6995, 90.00, 180.00\r\n"
            "V X = 45:30:00.0 N   6:30:00.0 E\r\n"
            "DC 5.0000\r\n"
            "\r\n"
            "AN S\xC3\xBC" "d\r\n"
            "AL \r\n"
            "AH UNLIMITED\r\n"
            "DP 33:51:36.0 S   151:12:36.1 W\r\n");
  EXPECT_EQ(length, static_cast<int>(text.size()));
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(FormatCtrOpenAir, EditorTextCarriesTheHelpLines) {
  ScriptedUserInterface ui;
  CtrList list = HandBuiltList();
  list[2].segments.push_back(Point(0.00001, 0.00002));
  std::string text;
  ASSERT_GT(FormatCtrOpenAirForEdit(ui, list[2], text), 0);
  EXPECT_EQ(text,
            "*Airspace name\r\nAN S\xC3\xBC" "d\r\n"
            "*Airspace floor (Remark)\r\nAL \r\n"
            "*Airspace ceiling\r\nAH UNLIMITED\r\n"
            "*Use records V, DP, DA, DB or DC\r\n"
            "*Pos. formats: DD.dd... or DD:MM.mm... or DD:MM:SS.s\r\n"
            "DP 33:51:36.0 S   151:12:36.1 W\r\n"
            "DP 0:00:00.0 N   0:00:00.1 E\r\n");
}

TEST(OpenAirCoordinate, RoundsHalfAwayAndStaysReadableNearThePoles) {
  EXPECT_EQ(OpenAirCoordinate(0.051 / 3600, false), "0:00:00.1 N");  // 0.051" rounds up
  EXPECT_EQ(OpenAirCoordinate(-0.051 / 3600, true), "0:00:00.1 W");  // and away from zero
  EXPECT_EQ(OpenAirCoordinate(89.999999, false), "89:59:59.9 N");    // not 90:00:00.0
  EXPECT_EQ(OpenAirCoordinate(-179.999999, true), "179:59:59.9 W");  // not 180:00:00.0
  EXPECT_EQ(OpenAirCoordinate(7.5, true), "7:30:00.0 E");
}

// A file of every outline element: polygons, circles, DA and DB arcs both ways.
constexpr const char* kRoundTripText =
    "AN Polygon\r\nAC D\r\nAL 1500 ft\r\nAH FL 95\r\n"
    "DP 47:00:00 N 008:00:00 E\r\nDP 47:10:30.5 N 008:00:00 E\r\nDP 47:10:30 N 008:20:15.3 E\r\n"
    "\r\n"
    "AN Circle nautical\r\nAL GND\r\nAH 3000 m\r\nV X=46:30:00 N 007:30:00 E\r\nDC 5\r\n"
    "AN Circle metric\nAL GND\nAH 2500 ft\nV X=46:30:00 S 007:30:00 W\nDC 2.5km\n"
    "AN Arcs by angles\nAL 1000 m\nAH UNLIMITED\n"
    "DP 46:00:00 N 007:00:00 E\n"
    "V D=+\nV X=46:05:00 N 007:05:00 E\nDA 3, 270, 90\n"
    "V D=-\nV X=46:10:00 N 007:10:00 E\nDA 2.5, 45.5, 300.25\n"
    "AN Arcs by points\nAL FL 65\nAH FL 105\n"
    "DP 45:00:00 N 006:00:00 E\n"
    "V D=+\nV X=45:00:00 N 006:10:00 E\nDB 45:00:00 N 006:05:00 E, 45:03:00 N 006:10:00 E\n"
    "V D=-\nV X=45:05:00 N 006:10:00 E\nDB 45:03:00 N 006:10:00 E, 45:05:00 N 006:15:00 E\n";

void ExpectSamePosition(const LatLonDegrees& a, const LatLonDegrees& b) {
  EXPECT_NEAR(a.lat, b.lat, 0.05 / 3600);  // half the tenth of an arc second written
  EXPECT_NEAR(a.lon, b.lon, 0.05 / 3600);
}

TEST(FormatCtrOpenAir, ReadWriteReadKeepsEveryOutline) {
  CtrList first = MustParse(kRoundTripText);
  ASSERT_EQ(first.size(), 5u);
  for (CtrArea& area : first) area.selected = true;
  ScriptedUserInterface ui;
  std::string text;
  ASSERT_GT(FormatCtrOpenAir(ui, first, text), 0);
  const CtrList second = MustParse(text);
  ASSERT_EQ(second.size(), first.size());
  for (size_t i = 0; i < first.size(); ++i) {
    SCOPED_TRACE(first[i].name);
    EXPECT_EQ(second[i].name, first[i].name);
    EXPECT_EQ(second[i].floorRemark, first[i].floorRemark);
    EXPECT_EQ(second[i].ceilingRemark, first[i].ceilingRemark);
    EXPECT_EQ(second[i].floorValue, first[i].floorValue);
    EXPECT_EQ(second[i].ceilingValue, first[i].ceilingValue);
    EXPECT_EQ(second[i].classCode, kClassA);  // the class is not written
    EXPECT_EQ(second[i].classText, "");
    ASSERT_EQ(second[i].segments.size(), first[i].segments.size());
    for (size_t j = 0; j < first[i].segments.size(); ++j) {
      const CtrSegment& a = first[i].segments[j];
      const CtrSegment& b = second[i].segments[j];
      EXPECT_EQ(b.type, a.type);
      ExpectSamePosition(b.position, a.position);
      if (a.type == CtrSegmentType::Point) continue;
      if (a.type != CtrSegmentType::Circle) {
        EXPECT_EQ(b.direction, a.direction);
      }
      if (a.type == CtrSegmentType::ArcByPoints) {
        ExpectSamePosition(b.start, a.start);
        ExpectSamePosition(b.end, a.end);
      } else {
        EXPECT_EQ(b.radius, a.radius);
      }
      if (a.type == CtrSegmentType::ArcByAngles) {
        EXPECT_DOUBLE_EQ(b.startBearing, a.startBearing);
        EXPECT_DOUBLE_EQ(b.endBearing, a.endBearing);
      }
    }
  }
  // Written again, the text is the same: nothing drifts from one save to the next.
  CtrList again = second;
  for (CtrArea& area : again) area.selected = true;
  std::string text2;
  ASSERT_GT(FormatCtrOpenAir(ui, again, text2), 0);
  EXPECT_EQ(text2, text);
}

TEST(WriteCtrFile, WritesTheSelectedRowsThroughTheSaveDialog) {
  TempDir dir;
  ScriptedUserInterface ui;
  ui.QueueFile(dir.File("out"));
  CtrList list = HandBuiltList();
  std::string folder = "/nowhere";
  ASSERT_TRUE(WriteCtrFile(ui, list, {2}, folder));
  EXPECT_EQ(folder, dir.Path());
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].title, "Save CTR(s)");
  EXPECT_EQ(ui.fileRequests[0].typeName, "CTR files");
  EXPECT_EQ(ui.fileRequests[0].extension, ".txt");
  EXPECT_EQ(ui.fileRequests[0].folder, "/nowhere");
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("out.txt"), bytes));
  EXPECT_EQ(bytes, "AN S\xC3\xBC" "d\r\nAL \r\nAH UNLIMITED\r\nDP 33:51:36.0 S   151:12:36.1 W\r\n");
  EXPECT_FALSE(list[0].selected);
  EXPECT_TRUE(list[2].selected);
}

TEST(WriteCtrFile, SelectionAndWriteErrors) {
  CtrList list = HandBuiltList();
  std::string folder;
  {
    ScriptedUserInterface ui;
    EXPECT_FALSE(WriteCtrFile(ui, list, {}, folder));
    EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "No CTR(s) selected", "Write CTR file"}}));
    EXPECT_TRUE(ui.fileRequests.empty());
  }
  {
    ScriptedUserInterface ui;
    EXPECT_FALSE(WriteCtrFile(ui, list, {0, 3}, folder));
    EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Program error", "CTR list action"}}));
  }
  {
    ScriptedUserInterface ui;  // cancelled dialog: nothing written, nothing said
    EXPECT_FALSE(WriteCtrFile(ui, list, {0}, folder));
    EXPECT_TRUE(ui.boxes.empty());
  }
}

}  // namespace
}  // namespace trelvik
