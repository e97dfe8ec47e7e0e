// Airspaces in the Flytec/Braeuniger protocol: upload lines and the
// interpretation of a downloaded list.
#include <gtest/gtest.h>

#include <cmath>

#include "instruments/flytec/codec_ctr.hpp"
#include "instruments/flytec_fixtures.hpp"

namespace trelvik::flytec {
namespace {

using std::chrono::milliseconds;
using testing::Sentence;

CtrSegment Point(double lat, double lon) {
  CtrSegment s;
  s.type = CtrSegmentType::Point;
  s.position = {lat, lon};
  return s;
}

CtrSegment Circle(double lat, double lon, int32_t radius) {
  CtrSegment s = Point(lat, lon);
  s.type = CtrSegmentType::Circle;
  s.radius = radius;
  return s;
}

CtrArea Area(std::string name, std::string floor, std::vector<CtrSegment> segments, int32_t warning = 200) {
  CtrArea area;
  area.name = std::move(name);
  area.floorRemark = std::move(floor);
  area.segments = std::move(segments);
  area.warningDistance = warning;
  return area;
}

std::vector<std::string> Texts(const CtrUpload& upload) {
  std::vector<std::string> texts = {upload.name.text, upload.remark.text};
  for (const auto& segment : upload.segments) {
    for (const CtrUploadLine& line : segment) texts.push_back(line.text);
  }
  return texts;
}

TEST(FlytecCtrUpload, OneCircleIsThreeLines) {
  const CtrArea area = Area("Circle", "GND", {Circle(46.5, 8.0, 5000)});
  EXPECT_EQ(CtrLineCount(area), 3);
  const std::vector<std::string> expected = {
      Sentence("PBRCTRW,003,000,Circle           ,0200"),
      Sentence("PBRCTRW,003,001,GND              "),
      Sentence("PBRCTRW,003,002,C,4630.000,N,00800.000,E,05000"),
  };
  EXPECT_EQ(Texts(PBRCTRW(area)), expected);
}

TEST(FlytecCtrUpload, PointsAndArcsWithTheirPauses) {
  CtrSegment arc;
  arc.type = CtrSegmentType::ArcByPoints;
  arc.position = {-33.5, -151.25};
  arc.start = {-33.49, -151.25};
  arc.end = {-33.5, -151.24};
  arc.direction = '-';
  const CtrArea area = Area("A name longer than seventeen", "FL 95",
                            {Point(-(33 + 50.5 / 60), -(151 + 12.25 / 60)), arc}, 12345);
  EXPECT_EQ(CtrLineCount(area), 6);
  const CtrUpload upload = PBRCTRW(area);
  const std::vector<std::string> expected = {
      Sentence("PBRCTRW,006,000,A name longer tha,9999"),
      Sentence("PBRCTRW,006,001,FL 95            "),
      Sentence("PBRCTRW,006,002,P,3350.500,S,15112.250,W"),
      Sentence("PBRCTRW,006,003,X,3330.000,S,15115.000,W"),
      Sentence("PBRCTRW,006,004,T,3329.400,S,15115.000,W,-"),
      Sentence("PBRCTRW,006,005,Z,3330.000,S,15114.400,W,-"),
  };
  EXPECT_EQ(Texts(upload), expected);
  ASSERT_EQ(upload.segments.size(), 2u);
  EXPECT_EQ(upload.segments[1][0].pause, milliseconds(200));
  EXPECT_EQ(upload.segments[1][1].pause, milliseconds(200));
  EXPECT_EQ(upload.segments[1][2].pause, milliseconds(100));
  EXPECT_EQ(upload.segments[0][0].pause, milliseconds(100));
}

// Minutes of a "DDMM.mmm" or "DDDMM.mmm" field of an upload line.
double FieldMinutes(const std::string& field) {
  const double value = std::stod(field);
  return std::floor(value / 100) * 60 + std::fmod(value, 100.0);
}

TEST(FlytecCtrUpload, ArcsByBearingsGetTheirEndsThroughUtm) {
  CtrSegment arc;
  arc.type = CtrSegmentType::ArcByAngles;
  arc.position = {46.0, 9.0};  // on the zone's central meridian: grid north is true north
  arc.radius = 1852;
  arc.startBearing = 0;
  arc.endBearing = 270;
  arc.direction = '+';
  const CtrUpload upload = PBRCTRW(Area("Arc", "", {arc}));
  ASSERT_EQ(upload.segments[0].size(), 3u);
  const std::string& start = upload.segments[0][1].text;
  const std::string& end = upload.segments[0][2].text;
  EXPECT_TRUE(start.starts_with("$PBRCTRW,005,003,T,")) << start;
  EXPECT_TRUE(end.starts_with("$PBRCTRW,005,004,Z,")) << end;
  // One nautical mile north is about one minute of latitude; west at 270 degrees.
  EXPECT_NEAR(FieldMinutes(start.substr(19, 8)), 46 * 60 + 1.0, 0.01);
  EXPECT_NEAR(FieldMinutes(start.substr(30, 9)), 9 * 60, 0.002);
  EXPECT_NEAR(FieldMinutes(end.substr(19, 8)), 46 * 60, 0.002);
  EXPECT_NEAR(FieldMinutes(end.substr(30, 9)), 9 * 60 - 1.0 / std::cos(46 * 3.14159265358979 / 180), 0.01);
  EXPECT_TRUE(start.ends_with(",+*" + start.substr(start.size() - 4)));
}

// Interprets each sentence in turn; the last result.
int InterpretAll(CtrListBuilder& builder, const std::vector<std::string>& sentences) {
  int result = 0;
  for (const std::string& s : sentences) {
    result = builder.Interpret(s);
    if (result < 0) break;
  }
  return result;
}

TEST(FlytecCtrDownload, ListOfPolygonCircleAndArc) {
  CtrListBuilder builder;
  const std::vector<std::string> list = {
      "$PBRCTR,004,000,Poly             ,0200", "$PBRCTR,004,001,GND              ",
      "$PBRCTR,004,002,P,4614.000,N,00720.000,E", "$PBRCTR,004,003,P,3350.500,S,15112.250,W",
      "$PBRCTR,003,000,Circle,0500",              "$PBRCTR,003,001,FL 95",
      "$PBRCTR,003,002,C,4630.000,N,00800.000,E,05000",
      "$PBRCTR,005,000,Arc,0300",                 "$PBRCTR,005,001,1500 m",
      "$PBRCTR,005,002,X,4701.000,N,00901.000,E", "$PBRCTR,005,003,T,4702.000,N,00901.000,E,+",
      "$PBRCTR,005,004,Z,4701.000,N,00902.500,E,-", "$PBRANS,1",
  };
  std::vector<int> events;
  for (const std::string& s : list) events.push_back(builder.Interpret(s));
  const std::vector<int> expected = {1, 0, 0, 2, 1, 0, 2, 1, 0, 0, 0, 2, 3};
  EXPECT_EQ(events, expected);
  ASSERT_EQ(builder.List().size(), 3u);
  const CtrArea& poly = builder.List()[0];
  EXPECT_EQ(poly.name, "Poly");
  EXPECT_EQ(poly.floorRemark, "GND");
  EXPECT_EQ(poly.warningDistance, 200);
  ASSERT_EQ(poly.segments.size(), 2u);
  EXPECT_EQ(poly.segments[0].type, CtrSegmentType::Point);
  EXPECT_NEAR(poly.segments[0].position.lat, 46 + 14.0 / 60, 1e-12);
  EXPECT_NEAR(poly.segments[1].position.lat, -(33 + 50.5 / 60), 1e-12);
  EXPECT_NEAR(poly.segments[1].position.lon, -(151 + 12.25 / 60), 1e-12);
  const CtrArea& circle = builder.List()[1];
  ASSERT_EQ(circle.segments.size(), 1u);
  EXPECT_EQ(circle.segments[0].type, CtrSegmentType::Circle);
  EXPECT_EQ(circle.segments[0].radius, 5000);
  EXPECT_EQ(circle.floorValue, 9500);
  const CtrArea& arc = builder.List()[2];
  ASSERT_EQ(arc.segments.size(), 1u);
  EXPECT_EQ(arc.segments[0].type, CtrSegmentType::ArcByPoints);
  EXPECT_NEAR(arc.segments[0].start.lat, 47 + 2.0 / 60, 1e-12);
  EXPECT_NEAR(arc.segments[0].end.lon, 9 + 2.5 / 60, 1e-12);
  EXPECT_EQ(arc.segments[0].direction, '+');
  EXPECT_EQ(builder.CompleteAreas(), 3);
}

TEST(FlytecCtrDownload, EveryFaultHasItsCode) {
  const std::string l0of3 = "$PBRCTR,003,000,N,0200";
  const std::string l0of4 = "$PBRCTR,004,000,N,0200";
  const std::string l0of6 = "$PBRCTR,006,000,N,0200";
  const auto l1 = [](int total) { return "$PBRCTR,00" + std::to_string(total) + ",001,GND"; };
  const auto seg = [](int total, int line, std::string rest) {
    return "$PBRCTR,00" + std::to_string(total) + ",00" + std::to_string(line) + "," + rest;
  };
  const std::string pos = "4600.000,N,00800.000,E";
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{"$PBRANS,2"}, -2},
      {{"$PBRXYZ,1"}, -3},
      {{"$PBRCTR"}, -4},
      {{"$PBRCTR,x,000"}, -5},
      {{"$PBRCTR,003"}, -6},
      {{"$PBRCTR,003,x"}, -7},
      {{"$PBRCTR,002,000,N,0200"}, -8},
      {{"$PBRCTR,003,001,N,0200"}, -9},
      {{"$PBRCTR,003,000,N"}, -10},
      {{"$PBRCTR,003,000,N,x"}, -11},
      {{l0of3, seg(3, 2, "C," + pos + ",100")}, -13},
      {{l0of4, l1(4), seg(4, 3, "P," + pos)}, -14},
      {{l0of4, l1(4), seg(4, 2, "Q," + pos)}, -16},
      {{l0of4, l1(4), seg(4, 2, "P,4600.000,N")}, -17},
      {{l0of4, l1(4), seg(4, 2, "P,x600.000,N,00800.000,E")}, -18},
      {{l0of4, l1(4), seg(4, 2, "P,9000.000,N,00800.000,E")}, -19},
      {{l0of4, l1(4), seg(4, 2, "P,4600,N,00800.000,E")}, -20},
      {{l0of4, l1(4), seg(4, 2, "P,4600.000,K,00800.000,E")}, -22},
      {{l0of4, l1(4), seg(4, 2, "P,4600.000,N,00800.000,K")}, -23},
      {{l0of4, l1(4), seg(4, 2, "P,4600.000,N,x0800.000,E")}, -24},
      {{l0of4, l1(4), seg(4, 2, "P,4600.000,N,18000.000,E")}, -25},
      {{l0of4, l1(4), seg(4, 2, "P,4600.000,N,00800,E")}, -26},
      {{l0of3, l1(3), seg(3, 2, "C," + pos)}, -27},
      {{l0of3, l1(3), seg(3, 2, "C," + pos + ",x")}, -28},
      {{l0of6, l1(6), seg(6, 2, "X," + pos), seg(6, 3, "T," + pos + ",x")}, -30},
      {{l0of4, l1(4), seg(4, 2, "P," + pos), seg(4, 3, "C," + pos + ",100")}, -34},
      {{l0of4, l1(4), seg(4, 2, "C," + pos + ",100")}, -35},
      {{l0of4, l1(4), seg(4, 2, "P," + pos), seg(4, 3, "X," + pos)}, -37},
      {{l0of6, l1(6), seg(6, 2, "T," + pos + ",+")}, -38},
      {{l0of4, l1(4), seg(4, 2, "X," + pos), seg(4, 3, "T," + pos + ",+")}, -39},
      {{l0of6, l1(6), seg(6, 2, "X," + pos), seg(6, 3, "P," + pos)}, -40},
      {{l0of6, l1(6), seg(6, 2, "X," + pos), seg(6, 3, "T," + pos + ",+"), seg(6, 4, "P," + pos)}, -41},
      {{l0of4, l1(4), "$PBRANS,1"}, -14},  // the list ended inside an airspace
  };
  for (const auto& [sentences, code] : cases) {
    CtrListBuilder builder;
    EXPECT_EQ(InterpretAll(builder, sentences), code) << sentences.back();
  }
}

}  // namespace
}  // namespace trelvik::flytec
