// TopNav waypoint text lines, one token rule at a time.
#include <gtest/gtest.h>

#include "instruments/topnav/waypoint_text.hpp"

namespace trelvik::topnav {
namespace {

TEST(TopNavWaypointLine, TokenRules) {
  struct Case {
    const char* line;
    WaypointLine kind;
  } const cases[] = {
      {"FIESCH x TPT N 46 25 28 E 8 8 6 2240 m", WaypointLine::Waypoint},
      {"FIESCH\tx  TPT N 46 25 28 E 8 8 6 2240 m  ", WaypointLine::Waypoint},
      {"; a comment", WaypointLine::Skipped},
      {"", WaypointLine::Skipped},
      {"   ", WaypointLine::Skipped},
      {"HOME x HOM N 46 25 28 E 8 8 6 2240 m", WaypointLine::Skipped},
      {"@EOF", WaypointLine::End},
      {"FIESCH x TPT N 46 25 28 E 8 8 6 2240", WaypointLine::Bad},       // no "m"
      {"FIESCH x TPT N 46 25 28 E 8 8 6 2240 m m", WaypointLine::Bad},   // one token too many
      {"FIESCH x TPT X 46 25 28 E 8 8 6 2240 m", WaypointLine::Bad},
      {"FIESCH x TPT N 90 0 0 E 8 8 6 2240 m", WaypointLine::Bad},
      {"FIESCH x TPT N 46 60 0 E 8 8 6 2240 m", WaypointLine::Bad},
      {"FIESCH x TPT N 46 0 60 E 8 8 6 2240 m", WaypointLine::Bad},
      {"FIESCH x TPT N 46 0 0 E 180 0 0 2240 m", WaypointLine::Bad},
      {"FIESCH x TPT N 46 0 0 W 8 0 0 12a m", WaypointLine::Bad},
      {"FIESCH x", WaypointLine::Bad},
  };
  for (const Case& c : cases) {
    Waypoint waypoint;
    EXPECT_EQ(DecodeWaypointLine(c.line, waypoint), c.kind) << c.line;
  }
}

TEST(TopNavWaypointLine, NamePositionAndAltitude) {
  Waypoint w;
  ASSERT_EQ(DecodeWaypointLine("LAND___LONG x TPT S 0 0 36 W 179 59 59 -20 m", w), WaypointLine::Waypoint);
  EXPECT_STREQ(w.name, "LAND");
  EXPECT_EQ(w.alt, 0);
  // 36 arc-seconds south, 179 degrees 59'59" west, in semicircles.
  EXPECT_EQ(w.lat, -119305);
  EXPECT_EQ(w.lon, -2147480334);
}

}  // namespace
}  // namespace trelvik::topnav
