#include "geo/angles.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace trelvik {
namespace {

TEST(AnglesTest, SemicirclesAndRadians) {
  EXPECT_DOUBLE_EQ(SemicircleToRadians(1 << 30), M_PI / 2);
  EXPECT_EQ(RadiansToSemicircle(M_PI / 2), 1 << 30);
  EXPECT_EQ(RadiansToSemicircle(-M_PI / 2), -(1 << 30));
  const GeoPosition position = SemicircleToRadians(1 << 29, -(1 << 29));
  EXPECT_DOUBLE_EQ(position.lat, M_PI / 4);
  EXPECT_DOUBLE_EQ(position.lon, -M_PI / 4);
}

TEST(AnglesTest, RoundsHalfAwayFromZero) {
  EXPECT_EQ(RoundHalfAway(2.5), 3);
  EXPECT_EQ(RoundHalfAway(-2.5), -3);
  EXPECT_EQ(RoundHalfAway(2.49), 2);
  EXPECT_EQ(RoundHalfAway(-2.49), -2);
}

TEST(AnglesTest, OneHundredEightyDegreesSaturatesInsteadOfOverflowing) {
  EXPECT_EQ(RadiansToSemicircle(M_PI), INT32_MAX);
  EXPECT_EQ(RadiansToSemicircle(-M_PI), INT32_MIN);
  EXPECT_EQ(RadiansToSemicircle(std::nan("")), 0);
}

TEST(AnglesTest, IntegerFractionsOfADegree) {
  const Semicircle oneDegree = RadiansToSemicircle(M_PI / 180);
  EXPECT_EQ(SemicircleToCentiArcSec(oneDegree), 360000);
  EXPECT_EQ(SemicircleToMilliMinute(oneDegree), 60000);
  EXPECT_EQ(SemicircleToCentiArcSec(-oneDegree), -360000);
}

}  // namespace
}  // namespace trelvik
