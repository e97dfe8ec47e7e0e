#include "trackfiles/kml_waypoint_reader.hpp"

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

std::string Placemark(const std::string& inner) { return "      <Placemark>" + inner + "</Placemark>\r\n"; }

std::string Waypoint(const char* name, const char* coordinates, const char* description = nullptr) {
  std::string inner = std::string("<name>") + name + "</name>";
  if (description != nullptr) inner += std::string("<description>") + description + "</description>";
  inner += std::string("<Point><coordinates>") + coordinates + "</coordinates></Point>";
  return Placemark(inner);
}

std::string File(const std::string& folders) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n<Document>\r\n" +
         folders + "</Document>\r\n</kml>\r\n";
}

std::string Folder(const char* name, const std::string& placemarks) {
  return std::string("  <Folder>\r\n    <name>") + name + "</name>\r\n" + placemarks + "  </Folder>\r\n";
}

TEST(KmlWaypointReader, ReadsOnlyTheWaypointsFolders) {
  const std::string text =
      File(Folder("Waypoints", Waypoint("LAUNCH", " 8.5,47.25,1234.6 ", " Top of the hill!") + Waypoint("LZ", "8.6,47.2")) +
           Folder("Tracks", Waypoint("OTHER", "1,1,1")) +
           "  <Folder>" + Waypoint("EARLY", "1,1,1") + "<name>Waypoints</name>" + Waypoint("LATE", "2,2,2") +
           "</Folder>\r\n");
  ScriptedUserInterface ui;
  std::vector<trelvik::Waypoint> waypoints;
  ASSERT_EQ(ShownWaypoints(ui, ReadKmlWaypoints(text, kNow), waypoints), 3);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_STREQ(waypoints[0].name, "LAUNCH");
  EXPECT_STREQ(waypoints[0].description, "Top of the hill-");
  EXPECT_EQ(waypoints[0].lat, DegreesToSemicircle(47.25));
  EXPECT_EQ(waypoints[0].lon, DegreesToSemicircle(8.5));
  EXPECT_EQ(waypoints[0].alt, 1235);
  EXPECT_EQ(waypoints[0].time, kNow);
  EXPECT_EQ(waypoints[0].airport, 0);
  EXPECT_STREQ(waypoints[1].name, "LZ");
  EXPECT_STREQ(waypoints[1].description, "");
  EXPECT_EQ(waypoints[1].alt, 0);
  EXPECT_STREQ(waypoints[2].name, "LATE");  // EARLY came before the folder's name
}

struct ErrorCase {
  const char* name;
  std::string placemarks;
  const char* message;
};

TEST(KmlWaypointReader, Errors) {
  const ErrorCase cases[] = {
      {"no coordinates", Waypoint("A", "1,1") + Placemark("<name>B</name>"), "Missing tag(s) for waypoint 2"},
      {"no name", Placemark("<Point><coordinates>1,1</coordinates></Point>"), "Missing tag(s) for waypoint 1"},
      {"empty name", Waypoint(" ", "1,1"), "Missing data for waypoint 1"},
      {"empty coordinates", Waypoint("A", " \r\n"), "Missing data for waypoint 1"},
      {"bad name", Waypoint("a.b", "1,1"), "Bad ID for waypoint 1"},
      {"bad coordinates", Waypoint("AB", "1;1"), "Bad <coordinates> in waypoint AB"},
      {"two items", Waypoint("AB", "1,1,1 2,2,2"), "Bad <coordinates> in waypoint AB"},
  };
  for (const ErrorCase& c : cases) {
    ScriptedUserInterface ui;
    std::vector<trelvik::Waypoint> waypoints;
    EXPECT_EQ(ShownWaypoints(ui, ReadKmlWaypoints(File(Folder("Waypoints", c.placemarks)), kNow), waypoints), -1)
        << c.name;
    EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, c.message, "Parsing waypoint file"}}))
        << c.name;
  }
}

TEST(KmlWaypointReader, ModifyIdQuestion) {
  const std::string text =
      File(Folder("Waypoints", Waypoint("a.b", "1,1") + Waypoint("c.d", "1,1") + Waypoint("e.f", "1,1")));
  struct Case {
    const char* name;
    std::vector<ModifyIdAnswer> answers;
    int count;
    std::vector<std::string> names;
    size_t asked;
  } cases[] = {
      {"yes each", {ModifyIdAnswer::Yes, ModifyIdAnswer::Yes, ModifyIdAnswer::Yes}, 3, {"A-B", "C-D", "E-F"}, 3},
      {"yes to all", {ModifyIdAnswer::YesToAll}, 3, {"A-B", "C-D", "E-F"}, 1},
      {"skip middle", {ModifyIdAnswer::Yes, ModifyIdAnswer::No, ModifyIdAnswer::Yes}, 2, {"A-B", "E-F"}, 3},
      {"cancel", {ModifyIdAnswer::Yes, ModifyIdAnswer::Cancel}, -1, {}, 2},
  };
  for (const Case& c : cases) {
    ScriptedUserInterface ui;
    std::vector<std::string> askedNames;
    size_t next = 0;
    std::vector<trelvik::Waypoint> waypoints;
    const int count = ShownWaypoints(ui, ReadKmlWaypoints(text, kNow, [&](const std::string& name) {
      askedNames.push_back(name);
      return c.answers.at(next++);
    }), waypoints);
    EXPECT_EQ(count, c.count) << c.name;
    EXPECT_EQ(askedNames.size(), c.asked) << c.name;
    EXPECT_TRUE(ui.boxes.empty()) << c.name;
    if (count < 0) continue;
    std::vector<std::string> names;
    for (const auto& waypoint : waypoints) names.emplace_back(waypoint.name);
    EXPECT_EQ(names, c.names) << c.name;
  }
}

}  // namespace
}  // namespace trelvik
