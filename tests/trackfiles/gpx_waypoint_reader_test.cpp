#include "trackfiles/gpx_waypoint_reader.hpp"

#include <gtest/gtest.h>

#include <string>

#include "file_read_shown.hpp"
#include "support/scripted_user_interface.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::ShownWaypoints;

constexpr TrackTime kNow = 700000000;

std::string Gpx(const std::string& waypoints) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\">\n" + waypoints + "</gpx>\n";
}

std::string Wpt(const char* attributes, const char* inner) {
  return std::string("  <wpt ") + attributes + ">" + inner + "</wpt>\n";
}

TEST(GpxWaypointReader, ReadsNamesDescriptionsTypesAndTimes) {
  const std::string text = Gpx(
      Wpt("lat=\"46.5\" lon=\"-7.25\"",
          "<ele>1000.5</ele><time>2012-07-01T10:00:00Z</time><name>TK1</name><cmt>Comment</cmt><desc>D</desc>"
          "<type>Airport</type>") +
      Wpt("lat=\"-1\" lon=\"2\"", "<name>B</name><desc>Only desc</desc><type>Waypoint</type>"));
  ScriptedUserInterface ui;
  std::vector<Waypoint> waypoints;
  ASSERT_EQ(ShownWaypoints(ui, ReadGpxWaypoints(text, kNow), waypoints), 2);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_STREQ(waypoints[0].name, "TK1");
  EXPECT_STREQ(waypoints[0].description, "Comment");
  EXPECT_EQ(waypoints[0].airport, 1);
  EXPECT_EQ(waypoints[0].alt, 1001);
  EXPECT_EQ(waypoints[0].time, TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 10, 0, 0, 0}));
  EXPECT_EQ(waypoints[0].lat, DegreesToSemicircle(46.5));
  EXPECT_EQ(waypoints[0].lon, DegreesToSemicircle(-7.25));
  EXPECT_STREQ(waypoints[1].description, "Only desc");
  EXPECT_EQ(waypoints[1].airport, 0);
  EXPECT_EQ(waypoints[1].time, kNow);
  EXPECT_EQ(waypoints[1].alt, 0);
}

struct ErrorCase {
  const char* name;
  std::string text;
  const char* message;
};

TEST(GpxWaypointReader, Errors) {
  const ErrorCase cases[] = {
      {"utf-16", "\xFF\xFE" + Gpx(""), "Unknown BOM before opening tag '<?xml>'"},
      {"no position", Gpx("<wpt><name>A</name></wpt>"), "Missing position data for waypoint 1"},
      {"no name", Gpx(Wpt("lat=\"1\" lon=\"1\"", "<name> </name>")), "Missing name data for waypoint 1"},
      {"bad name", Gpx(Wpt("lat=\"1\" lon=\"1\"", "<name>A B C</name>")), "Bad ID for waypoint 1"},
      {"bad time", Gpx(Wpt("lat=\"1\" lon=\"1\"", "<name>A</name><time>x</time>")), "Bad time data for waypoint 1"},
      {"bad ele", Gpx(Wpt("lat=\"1\" lon=\"1\"", "<name>A</name><ele>x</ele>")), "Bad height data for waypoint 1"},
      {"bad lat", Gpx(Wpt("lat=\"\" lon=\"1\"", "<name>A</name>")), "Missing/bad latitude data in waypoint 1"},
      {"bad lon", Gpx(Wpt("lat=\"1\" lon=\"181\"", "<name>A</name>")), "Missing/bad longitude data in waypoint 1"},
  };
  for (const ErrorCase& c : cases) {
    ScriptedUserInterface ui;
    std::vector<Waypoint> waypoints;
    EXPECT_EQ(ShownWaypoints(ui, ReadGpxWaypoints(c.text, kNow), waypoints), -1) << c.name;
    EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, c.message, "Parsing waypoint file"}}))
        << c.name;
  }
}

}  // namespace
}  // namespace trelvik
