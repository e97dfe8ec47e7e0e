#include "analysis/test_flight.hpp"

#include <gtest/gtest.h>

#include "geo/transverse_mercator.hpp"

namespace trelvik {
namespace {

TEST(TestFlight, Has2201PositionsOneSecondApartInZone32V) {
  const std::vector<TrackPoint> flight = GenerateTestFlight();
  ASSERT_EQ(flight.size(), 2201u);
  EXPECT_EQ(flight.front().flags, kNewSegment);
  for (size_t i = 1; i < flight.size(); ++i) {
    EXPECT_EQ(flight[i].flags, 0) << i;
    EXPECT_EQ(flight[i].time, flight[i - 1].time + 1) << i;
    UtmPosition utm;
    LatLonToUtm(SemicircleToRadians(flight[i].lat, flight[i].lon), utm);
    EXPECT_EQ(utm.zone, 32) << i;
    EXPECT_EQ(utm.band, 'V') << i;
    if (HasFailure()) return;
  }
}

TEST(TestFlight, ClimbsInItsThermal) {
  const std::vector<TrackPoint> flight = GenerateTestFlight();
  // 600 seconds of circling at 2 m/s after the first 100 seconds.
  EXPECT_EQ(flight[699].gpsAlt - flight[99].gpsAlt, 12000);
}

}  // namespace
}  // namespace trelvik
