#include "records/track_point.hpp"

#include <gtest/gtest.h>

#include <ostream>

namespace trelvik {
namespace {

struct AltitudeCase {
  int32_t decimetres;
  int32_t metres;
};

void PrintTo(const AltitudeCase& c, std::ostream* os) { *os << c.decimetres << " dm"; }

class GpsAltitudeMetresTest : public ::testing::TestWithParam<AltitudeCase> {};

TEST_P(GpsAltitudeMetresTest, RoundsHalfAwayFromZero) {
  EXPECT_EQ(GpsAltitudeMetres(GetParam().decimetres), GetParam().metres);
}

INSTANTIATE_TEST_SUITE_P(Cases, GpsAltitudeMetresTest,
                         ::testing::Values(AltitudeCase{-15, -2}, AltitudeCase{15, 2}, AltitudeCase{14, 1},
                                           AltitudeCase{-14, -1}, AltitudeCase{0, 0}, AltitudeCase{-5, -1},
                                           AltitudeCase{4, 0}, AltitudeCase{12345, 1235}));

}  // namespace
}  // namespace trelvik
