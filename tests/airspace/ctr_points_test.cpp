#include "airspace/ctr_points.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "airspace_fixtures.hpp"
#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "geo/vincenty.hpp"

namespace trelvik {
namespace {

using testing::MustParseOne;

constexpr double kRad = 3.14159265358979323846 / 180;
constexpr TrackTime kNow = 1000000;

double Metres(const GeoPosition& a, const GeoPosition& b) {
  double metres = -1;
  EXPECT_EQ(VincentyDistance(a, b, metres), 0);
  return metres;
}

GeoPosition At(const Waypoint& w) { return SemicircleToRadians(w.lat, w.lon); }
GeoPosition Deg(double lat, double lon) { return {lat * kRad, lon * kRad}; }

// Metres per radian of latitude (meridian) and of longitude (parallel) on
// WGS-84: a flat frame around a centre, good to a few centimetres per
// kilometre at the distances used here.
double MeridianRadius(double lat) {
  const double w = 1 - 0.006694379990141317 * std::sin(lat) * std::sin(lat);
  return 6378137.0 * (1 - 0.006694379990141317) / (w * std::sqrt(w));
}
double ParallelRadius(double lat) {
  return 6378137.0 / std::sqrt(1 - 0.006694379990141317 * std::sin(lat) * std::sin(lat)) * std::cos(lat);
}

// Azimuth of `p` seen from `centre`, degrees clockwise from north: the
// bearing in a flat frame at the mid latitude, less half the convergence of
// the meridians between the two (good to about 0.01 degree at 30 km).
double BearingFrom(const GeoPosition& centre, const GeoPosition& p) {
  const double mid = (p.lat + centre.lat) / 2;
  const double north = (p.lat - centre.lat) * MeridianRadius(mid);
  const double east = (p.lon - centre.lon) * ParallelRadius(mid);
  const double bearing = std::atan2(east, north) / kRad - (p.lon - centre.lon) / kRad * std::sin(mid) / 2;
  return bearing < 0 ? bearing + 360 : bearing;
}

// Signed difference of two bearings, -180..180.
double AngleBetween(double a, double b) { return std::remainder(a - b, 360.0); }

// OpenAir text of the position at `metres` and azimuth `bearing` from a
// centre: the inverse of BearingFrom, found by a few rounds of correction.
std::string OffsetText(double lat, double lon, double metres, double bearing) {
  const double latRad = lat * kRad;
  double dLat = 0;
  double dLon = 0;
  for (int round = 0; round < 5; ++round) {
    const double mid = latRad + dLat / 2;
    const double flatBearing = (bearing + dLon / kRad * std::sin(mid) / 2) * kRad;
    dLat = metres * std::cos(flatBearing) / MeridianRadius(mid);
    dLon = metres * std::sin(flatBearing) / ParallelRadius(mid);
  }
  const double newLat = lat + dLat / kRad;
  const double newLon = lon + dLon / kRad;
  return CFormat("%.8f%c %.8f%c", std::fabs(newLat), newLat < 0 ? 'S' : 'N', std::fabs(newLon),
                 newLon < 0 ? 'W' : 'E');
}

std::vector<Waypoint> Points(const CtrArea& area, int32_t segError = kDefaultCtrSegError, int number = 1) {
  std::vector<Waypoint> points;
  EXPECT_EQ(CtrToPoints(area, number, segError, kNow, points), 0);
  return points;
}

TEST(CtrToPoints, TenKilometreCircleHasSeventySegments) {
  const CtrArea area = MustParseOne("AN C\nV X=47:00:00 N 006:10:00 E\nDC 10km\n");
  const std::vector<Waypoint> points = Points(area);
  ASSERT_EQ(points.size(), 71u);
  EXPECT_EQ(points.front().lat, points.back().lat);
  EXPECT_EQ(points.front().lon, points.back().lon);
  const GeoPosition centre = Deg(47, 6 + 10 / 60.0);
  for (size_t i = 0; i < points.size(); ++i) {
    // Every corner on the true circle; every chord sags by no more than the
    // 70 steps allow (10.07 m: the step rule rounds to the nearest count).
    EXPECT_NEAR(Metres(centre, At(points[i])), 10000, 1.0) << i;
    if (i == 0) continue;
    const GeoPosition mid{(At(points[i - 1]).lat + At(points[i]).lat) / 2,
                          (At(points[i - 1]).lon + At(points[i]).lon) / 2};
    EXPECT_GT(Metres(centre, mid), 10000 * std::cos(3.14159265358979 / 70) - 0.5) << i;
  }
}

TEST(CtrToPoints, CircleStepsFollowTheErrorAndNeverFallBelowEight) {
  const CtrArea area = MustParseOne("AN C\nV X=47N 6E\nDC 10km\n");
  EXPECT_EQ(Points(area, 1).size(), 223u);   // trunc(2.22 * sqrt(10000) + 0.5) = 222
  EXPECT_EQ(Points(area, 1000).size(), 9u);  // 7 would be too few
}

TEST(CtrToPoints, ArcByAnglesFromZeroToThreeSixtyIsTheCircle) {
  const CtrArea circle = MustParseOne("AN C\nV X=47N 6E\nDC 5\n");
  const CtrArea arc = MustParseOne("AN C\nV D=-\nV X=47N 6E\nDA 5,0,360\nDP 48N 7E\n");
  const std::vector<Waypoint> a = Points(circle);
  const std::vector<Waypoint> b = Points(arc);
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].lat, b[i].lat);
    EXPECT_EQ(a[i].lon, b[i].lon);
  }
}

struct ArcCase {
  const char* name;
  double centreLat, centreLon;  // near zone edges too, where grid north is turned
  double radius;                // metres
  double from, to;              // bearings
  char direction;
  bool byPoints;
  int32_t segError;
};

class CtrToPointsArc : public ::testing::TestWithParam<ArcCase> {};

// The arc's corners lie on the true arc (Vincenty distance from the centre)
// within the segment error, in the arc's direction from its start bearing to
// its end bearing, and the outline ends back at its first point.
TEST_P(CtrToPointsArc, CornersLieOnTheTrueArc) {
  const ArcCase& c = GetParam();
  const std::string centre = OffsetText(c.centreLat, c.centreLon, 0, 0);
  std::string text = std::string("AN Arc\nV D=") + c.direction + "\nV X=" + centre + "\n";
  if (c.byPoints) {
    text += "DB " + OffsetText(c.centreLat, c.centreLon, c.radius, c.from) + ", " +
            OffsetText(c.centreLat, c.centreLon, c.radius, c.to) + "\n";
  } else {
    text += CFormat("DA %.6fkm, %.2f, %.2f\n", c.radius / 1000, c.from, c.to);
  }
  const CtrArea area = MustParseOne(text);
  const std::vector<Waypoint> points = Points(area, c.segError);
  ASSERT_GE(points.size(), 4u);
  const GeoPosition middle = Deg(c.centreLat, c.centreLon);
  const double sweep = c.direction == '+' ? std::fmod(c.to - c.from + 360, 360) : std::fmod(c.from - c.to + 360, 360);
  double lastProgress = -1;
  // The last point closes the outline: it is the first again.
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    const GeoPosition p = At(points[i]);
    EXPECT_NEAR(Metres(middle, p), c.radius, c.segError) << i;
    const double bearing = BearingFrom(middle, p);
    const double progress = c.direction == '+' ? std::fmod(bearing - c.from + 360.05, 360) - 0.05
                                               : std::fmod(c.from - bearing + 360.05, 360) - 0.05;
    EXPECT_GT(progress, lastProgress) << i;
    EXPECT_LE(progress, sweep + 0.05) << i;
    lastProgress = progress;
  }
  EXPECT_NEAR(lastProgress, sweep, 0.05);
  EXPECT_NEAR(AngleBetween(BearingFrom(middle, At(points.front())), c.from), 0, 0.03);
  EXPECT_EQ(points.back().lat, points.front().lat);
  EXPECT_EQ(points.back().lon, points.front().lon);
}

INSTANTIATE_TEST_SUITE_P(
    BothKindsBothDirections, CtrToPointsArc,
    ::testing::Values(ArcCase{"AnglesClockwise", 47, 9, 8000, 30, 200, '+', false, 10},
                      ArcCase{"AnglesCounterClockwise", 47, 9, 8000, 200, 30, '-', false, 10},
                      ArcCase{"AnglesClockwiseAcrossNorth", 46.2, 6.1, 15000, 300, 60, '+', false, 10},
                      ArcCase{"AnglesAtZoneEdge", 47, 6.05, 30000, 100, 170, '+', false, 5},
                      ArcCase{"AnglesSouthernHemisphere", -33.9, 151.2, 20000, 0, 90, '+', false, 10},
                      ArcCase{"PointsClockwise", 47, 9, 8000, 30, 200, '+', true, 10},
                      ArcCase{"PointsCounterClockwise", 47, 9, 8000, 200, 30, '-', true, 10},
                      ArcCase{"PointsAtZoneEdge", 47, 6.05, 30000, 100, 170, '+', true, 5},
                      ArcCase{"PointsCounterClockwiseAtZoneEdge", 47, 11.9, 12000, 350, 10, '-', true, 10},
                      ArcCase{"PointsAcrossTheEquator", 0.01, 30, 20000, 90, 270, '+', true, 10}),
    [](const ::testing::TestParamInfo<ArcCase>& info) { return std::string(info.param.name); });

TEST(CtrToPoints, PolygonPointsCloserThanAHundredMetresAreLeftOut) {
  // One arc second of latitude is about 31 m.
  const CtrArea area = MustParseOne(
      "AN P\n"
      "DP 45:00:00 N 006:00:00 E\n"
      "DP 45:00:02 N 006:00:00 E\n"   // 62 m: dropped
      "DP 45:00:04 N 006:00:00 E\n"   // 124 m from the kept one: kept
      "DP 45:01:00 N 006:01:00 E\n"
      "DP 45:01:00 N 006:00:02 E\n"   // kept; then the first point closes the outline
  );
  const std::vector<Waypoint> points = Points(area);
  ASSERT_EQ(points.size(), 5u);
  EXPECT_EQ(points[1].lat, RadiansToSemicircle((45 + 4 / 3600.0) * kRad));
  EXPECT_EQ(points[4].lat, points[0].lat);
  EXPECT_EQ(points[4].lon, points[0].lon);
}

TEST(CtrToPoints, AnOutlineEndingNearItsStartIsNotClosedAgain) {
  const CtrArea area = MustParseOne("AN P\nDP 45N 6E\nDP 45.1N 6E\nDP 45.1N 6.1E\nDP 45:00:01 N 6E\n");
  EXPECT_EQ(Points(area).size(), 4u);  // the last corner is 31 m from the first: no closing point
}

TEST(CtrToPoints, PointsAreNamedAfterTheAirspaceAndTheirIndex) {
  const CtrArea area = MustParseOne("AN P\nDP 45N 6E\nDP 45.1N 6E\nDP 45.1N 6.1E\n");
  const std::vector<Waypoint> points = Points(area, 10, 1);
  ASSERT_EQ(points.size(), 4u);
  EXPECT_STREQ(points[1].name, "CABAAB");
  EXPECT_EQ(points[1].alt, 0);
  EXPECT_EQ(points[1].time, kNow);
  EXPECT_EQ(points[1].airport, 0);
  EXPECT_STREQ(points[1].description, "");
  char name[7];
  CtrPointName(27, 677, name);
  EXPECT_STREQ(name, "CBBBAB");
  CtrPointName(0, 0, name);
  EXPECT_STREQ(name, "CAAAAA");
  CtrPointName(700, 20000, name);  // past ZZ / ZZZ the letters wrap instead of leaving A..Z
  EXPECT_STREQ(name, "CAYDPG");
}

TEST(CtrToPoints, OutlinesWithoutTwoPointsFail) {
  for (const char* text : {"AN P\nDP 45N 6E\n", "AN P\nDP 45N 6E\nDP 45:00:01 N 6E\n"}) {
    const CtrArea area = MustParseOne(text);
    std::vector<Waypoint> points(3);
    EXPECT_EQ(CtrToPoints(area, 1, 10, kNow, points), -1) << text;
    EXPECT_EQ(points.size(), 3u);
  }
  std::vector<Waypoint> points;
  EXPECT_EQ(CtrToPoints(CtrArea{}, 1, 10, kNow, points), -1);
}

TEST(CtrToPoints, CircleOverTheDateLineWrapsItsLongitudes) {
  const CtrArea area = MustParseOne("AN D\nV X=10N 179:59:00 E\nDC 20km\n");
  const std::vector<Waypoint> points = Points(area);
  bool west = false;
  for (const Waypoint& p : points) {
    west = west || p.lon < 0;
    EXPECT_NEAR(Metres(Deg(10, 179 + 59 / 60.0), At(p)), 20000, 2);
  }
  EXPECT_TRUE(west);
}

TEST(CtrToPoints, HugeAndDegenerateArcsStayBounded) {
  const CtrArea area = MustParseOne(
      "AN H\nDP 80N 170W\nV X=89:59:59 S 179:59:59 W\nDB 89N 10E, 0N 0E\nV X=45N 6E\nDB 45N 6E, 45N 6E\n"
      "DA 10000, 0, 359\nDC 1\n");
  std::vector<Waypoint> points;
  ASSERT_EQ(CtrToPoints(area, 1, 1, kNow, points), 0);
  // The steps follow the radii (the 10000 NM arc alone asks for about ten
  // thousand), never run away; every corner is a real position, the pole at most.
  EXPECT_GT(points.size(), 10000u);
  EXPECT_LT(points.size(), 40000u);
  constexpr int64_t kPole = int64_t{1} << 30;
  for (size_t i = 0; i < points.size(); ++i) {
    ASSERT_LE(std::abs(int64_t{points[i].lat}), kPole) << i;
  }
}

TEST(CtrPreviewTrack, SameCornersFiveSecondsApart) {
  std::vector<Waypoint> points(3);
  points[2].lat = 77;
  const std::vector<TrackPoint> track = CtrPreviewTrack(points, kNow);
  ASSERT_EQ(track.size(), 3u);
  EXPECT_EQ(track[0].flags, kNewSegment);
  EXPECT_EQ(track[1].flags, 0);
  EXPECT_EQ(track[2].time, kNow + 10);
  EXPECT_EQ(track[2].lat, 77);
}

}  // namespace
}  // namespace trelvik
