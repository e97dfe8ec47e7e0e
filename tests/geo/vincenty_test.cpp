#include "geo/vincenty.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace trelvik {
namespace {

GeoPosition Degrees(double lat, double lon) { return {lat * M_PI / 180, lon * M_PI / 180}; }

double Dms(int degrees, int minutes, double seconds) {
  const double magnitude = std::abs(degrees) + minutes / 60.0 + seconds / 3600.0;
  return degrees < 0 ? -magnitude : magnitude;
}

struct DistanceCase {
  std::string name;
  GeoPosition from;
  GeoPosition to;
  double metres;
  double tolerance;
};

void PrintTo(const DistanceCase& c, std::ostream* os) { *os << c.name; }

class VincentyDistanceTest : public ::testing::TestWithParam<DistanceCase> {};

TEST_P(VincentyDistanceTest, MatchesTheReference) {
  const DistanceCase& c = GetParam();
  double metres = -1;
  ASSERT_EQ(VincentyDistance(c.from, c.to, metres), 0);
  EXPECT_NEAR(metres, c.metres, c.tolerance);
  double back = -1;
  ASSERT_EQ(VincentyDistance(c.to, c.from, back), 0);
  EXPECT_NEAR(back, c.metres, c.tolerance);
}

// References from an independent geodesic solver.
INSTANTIATE_TEST_SUITE_P(
    Cases, VincentyDistanceTest,
    ::testing::Values(
        DistanceCase{"IdenticalPoints", Degrees(47.1, 8.2), Degrees(47.1, 8.2), 0.0, 0.0},
        DistanceCase{"OneDegreeAlongTheMeridianAt60N", Degrees(59.5, 10), Degrees(60.5, 10), 111412.273367, 1e-3},
        DistanceCase{"SameMeridianSouth", Degrees(-10, -70), Degrees(-11, -70), 110611.186562, 1e-3},
        DistanceCase{"FlindersPeakToBuninyong", Degrees(Dms(-37, 57, 3.72030), Dms(144, 25, 29.52440)),
                     Degrees(Dms(-37, 39, 10.15610), Dms(143, 55, 35.38390)), 54972.271, 1e-3},
        DistanceCase{"NeighbouringFixes", Degrees(46.50000, 7.50000), Degrees(46.50010, 7.50012), 14.436747, 1e-4}));

TEST(VincentyDistanceTest, IdenticalPositionsWithinTheToleranceGiveZero) {
  double metres = -1;
  ASSERT_EQ(VincentyDistance({0.8, 0.1}, {0.8 + 1e-9, 0.1 + 0.5e-9}, metres), 0);
  EXPECT_EQ(metres, 0.0);
}

TEST(VincentyDistanceTest, NearlyAntipodalPointsFailAndLeaveTheOutputAlone) {
  double metres = 12345.0;
  EXPECT_EQ(VincentyDistance(Degrees(0, 0), Degrees(0.5, 179.7), metres), -1);
  EXPECT_EQ(metres, 12345.0);
  EXPECT_EQ(DistanceOrZero(Degrees(0, 0), Degrees(0.5, 179.7)), 0.0);
}

}  // namespace
}  // namespace trelvik
