#include "geo/transverse_mercator.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace trelvik {
namespace {

GeoPosition Degrees(double lat, double lon) { return {lat * M_PI / 180, lon * M_PI / 180}; }

struct UtmCase {
  std::string name;
  double lat, lon;  // degrees
  int32_t zone;
  char band;
  double easting, northing;  // from an independent (exact) Transverse Mercator
};

void PrintTo(const UtmCase& c, std::ostream* os) { *os << c.name; }

class UtmTest : public ::testing::TestWithParam<UtmCase> {};

TEST_P(UtmTest, ProjectsToTheReference) {
  const UtmCase& c = GetParam();
  UtmPosition utm;
  LatLonToUtm(Degrees(c.lat, c.lon), utm);
  EXPECT_EQ(utm.zone, c.zone);
  EXPECT_EQ(utm.band, c.band);
  // Redfearn's series stays within millimetres of the exact projection inside a zone.
  EXPECT_NEAR(utm.easting, c.easting, 0.01);
  EXPECT_NEAR(utm.northing, c.northing, 0.01);
}

TEST_P(UtmTest, RoundTripsThroughTheInverse) {
  const UtmCase& c = GetParam();
  const GeoPosition position = Degrees(c.lat, c.lon);
  UtmPosition utm;
  LatLonToUtm(position, utm);
  const GeoPosition back = UtmToLatLon(utm);
  EXPECT_NEAR(back.lat, position.lat, 2e-10);  // about a millimetre
  EXPECT_NEAR(back.lon, position.lon, 2e-10);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UtmTest,
    ::testing::Values(UtmCase{"Paris", 48.8583, 2.2945, 31, 'U', 448251.8983, 5411943.7938},
                      UtmCase{"BandVExceptionAt60N5E", 60, 5, 32, 'V', 276979.9264, 6658157.2024},
                      UtmCase{"BandVWestOfTheException", 60, 2.9, 31, 'V', 494422.2333, 6651415.4058},
                      UtmCase{"BandXExceptionAt75N10E", 75, 10, 33, 'X', 355706.5666, 8329692.6507},
                      UtmCase{"BandXZone37", 83.9, 40, 37, 'X', 511863.2692, 9317033.0971},
                      UtmCase{"Sydney", -33.8568, 151.2153, 56, 'H', 334900.5697, 6252288.7529},
                      UtmCase{"JustSouthOfTheEquator", -0.000001, 10, 32, 'M', 611280.6509, 9999999.8895},
                      UtmCase{"OnTheEquator", 0, 10, 32, 'N', 611280.6509, 0.0},
                      UtmCase{"EightySouth", -80, -70, 19, 'C', 480615.1967, 1118247.5852},
                      UtmCase{"Alps", 46.5, 7.5, 32, 'T', 384902.8374, 5150696.3462},
                      UtmCase{"Iceland", 64, -21.9, 27, 'W', 455980.1619, 7097324.9124},
                      UtmCase{"TierraDelFuego", -54.8, -68.3, 19, 'F', 545000.0534, 3927239.3813}));

struct BandCase {
  double lat;
  char band;
};

void PrintTo(const BandCase& c, std::ostream* os) { *os << c.lat; }

class UtmBandTest : public ::testing::TestWithParam<BandCase> {};

TEST_P(UtmBandTest, LowerEdgeBelongsToTheBand) {
  EXPECT_EQ(UtmBandLetter(GetParam().lat * M_PI / 180), GetParam().band);
}

INSTANTIATE_TEST_SUITE_P(Cases, UtmBandTest,
                         ::testing::Values(BandCase{-90, 'B'}, BandCase{-80.000001, 'B'}, BandCase{-80, 'C'},
                                           BandCase{-72, 'D'}, BandCase{-8.000001, 'L'}, BandCase{-8, 'M'},
                                           BandCase{-0.000001, 'M'}, BandCase{0, 'N'}, BandCase{8, 'P'},
                                           BandCase{56, 'V'}, BandCase{64, 'W'}, BandCase{72, 'X'},
                                           BandCase{83.999999, 'X'}, BandCase{84, 'Y'}, BandCase{90, 'Y'}));

struct ZoneCase {
  double lat, lon;
  int32_t zone;
};

void PrintTo(const ZoneCase& c, std::ostream* os) { *os << c.lat << ' ' << c.lon; }

class UtmZoneTest : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(UtmZoneTest, ChoosesTheZone) {
  UtmPosition utm;
  LatLonToUtm(Degrees(GetParam().lat, GetParam().lon), utm);
  EXPECT_EQ(utm.zone, GetParam().zone);
}

INSTANTIATE_TEST_SUITE_P(Cases, UtmZoneTest,
                         ::testing::Values(ZoneCase{60, 5, 32}, ZoneCase{56, 3, 32}, ZoneCase{63.9, 11.9, 32},
                                           ZoneCase{60, 12, 33}, ZoneCase{55.9, 5, 31}, ZoneCase{75, 10, 33},
                                           ZoneCase{75, 8.9, 31}, ZoneCase{75, 0, 31}, ZoneCase{75, 21, 35},
                                           ZoneCase{75, 33, 37}, ZoneCase{75, 42, 38}, ZoneCase{75, -0.1, 30},
                                           ZoneCase{0, 180, 60}, ZoneCase{0, -180, 1}, ZoneCase{0, 179.9, 60},
                                           ZoneCase{0, 0, 31}, ZoneCase{0, -0.000001, 30}));

TEST(UtmTest, NonZeroZoneOnEntryIsKeptAndTheLetterStillSet) {
  UtmPosition utm;
  utm.zone = 32;
  LatLonToUtm(Degrees(47, 5.9), utm);  // zone 31 if chosen
  EXPECT_EQ(utm.zone, 32);
  EXPECT_EQ(utm.band, 'T');
  const GeoPosition back = UtmToLatLon(utm);
  EXPECT_NEAR(back.lat * 180 / M_PI, 47, 1e-8);
  EXPECT_NEAR(back.lon * 180 / M_PI, 5.9, 1e-8);
}

TEST(UtmTest, LowerCaseSouthernLetterIsSouthern) {
  UtmPosition utm;
  LatLonToUtm(Degrees(-33.8568, 151.2153), utm);
  utm.band = 'h';
  EXPECT_NEAR(UtmToLatLon(utm).lat * 180 / M_PI, -33.8568, 1e-8);
}

TEST(ProjectTmTest, CentralMeridianHasNoEastingAndTheMeridianDistance) {
  const TmPoint point = ProjectTm(Degrees(45, 9), 9 * M_PI / 180);
  EXPECT_NEAR(point.x, 0.0, 1e-9);
  // 0.9996 times the meridian arc from the equator to 45 degrees.
  EXPECT_NEAR(point.y, 4982950.4, 0.5);
}

TEST(ProjectTmTest, IsUtmWithoutFalseOrigins) {
  UtmPosition utm;
  LatLonToUtm(Degrees(46.5, 7.5), utm);
  const TmPoint point = ProjectTm(Degrees(46.5, 7.5), 9 * M_PI / 180);
  EXPECT_DOUBLE_EQ(point.x + 500000, utm.easting);
  EXPECT_DOUBLE_EQ(point.y, utm.northing);
}

}  // namespace
}  // namespace trelvik
