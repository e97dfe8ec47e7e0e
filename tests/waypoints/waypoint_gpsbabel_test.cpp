// Our waypoint files as other programs read them: gpsbabel 1.8 where it has
// the format, xmllint for the XML ones. Both are skipped when not installed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/atomic_file.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/kml_values.hpp"
#include "waypoints/seeyou_waypoints.hpp"
#include "waypoints/waypoint_file_formats.hpp"
#include "waypoints/waypoint_fixtures.hpp"

namespace trelvik {
namespace {

using testing::TempDir;

bool Installed(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ReadText(const std::string& path) {
  std::string text;
  (void)ReadWholeFile(path, text);
  return text;
}

std::string Written(const char* format, const WaypointFileRecords& records, const TempDir& dir) {
  const WaypointFileFormat* row = FindWaypointFileFormat(format);
  const std::string path = dir.File(std::string("out") + std::string(row->Extension()));
  EXPECT_FALSE(WriteFileAtomically(path, row->write(records, WaypointWriteOptions{testing::kNow}).bytes));
  return path;
}

TEST(WaypointFilesElsewhere, GpsbabelReadsNamesPositionsAndHeights) {
  if (!Installed("gpsbabel")) GTEST_SKIP() << "gpsbabel is not on PATH";
  struct Case {
    const char* gpsbabelFormat;
    const char* format;
    double altitudeTolerance;  // metres: Ozi holds whole feet
  };
  const Case cases[] = {{"ozi", "ozi-waypoints", 0.2},
                        {"gpx", "gpx-waypoints", 0.01},
                        {"kml", "kml-waypoints", 0.01},
                        {"cup", "seeyou-waypoints", 0.01},
                        {"cambridge", "winpilot-waypoints", 0.01}};
  WaypointFileRecords records = testing::WrittenRecords();
  // gpsbabel's own SeeYou reader cuts quoted fields at their commas too, so
  // the title here holds none.
  records.waypoints[0].description[7] = ' ';
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = Written(c.format, records, dir);
    const std::string command = std::string("gpsbabel -i ") + c.gpsbabelFormat + " -f " + path +
                                " -o unicsv -F " + dir.File("out.csv") + " 2>" + dir.File("err.txt");
    ASSERT_EQ(std::system(command.c_str()), 0) << c.format << ": " << ReadText(dir.File("err.txt"));
    // No,Latitude,Longitude,Name,Altitude,...
    const std::vector<std::string> lines = [&] {
      std::vector<std::string> all;
      std::string text = ReadText(dir.File("out.csv"));
      size_t start = 0;
      while (start < text.size()) {
        const size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        all.push_back(line);
        start = end == std::string::npos ? text.size() : end + 1;
      }
      return all;
    }();
    ASSERT_EQ(lines.size(), 1 + records.waypoints.size()) << c.format;
    for (size_t i = 0; i < records.waypoints.size(); ++i) {
      const Waypoint& waypoint = records.waypoints[i];
      const std::vector<std::string> fields = SplitQuotedFields(lines[i + 1], 6);
      ASSERT_GE(fields.size(), 5u) << c.format << " " << lines[i + 1];
      EXPECT_EQ(fields[3], waypoint.name) << c.format;
      EXPECT_NEAR(std::stod(fields[1]), SemicircleToDegrees(waypoint.lat), 1e-6) << c.format;
      EXPECT_NEAR(std::stod(fields[2]), SemicircleToDegrees(waypoint.lon), 1e-6) << c.format;
      EXPECT_NEAR(std::stod(fields[4]), waypoint.alt, c.altitudeTolerance) << c.format << " " << waypoint.name;
    }
  }
}

// Escaped texts keep the XML files well formed whatever the descriptions hold.
TEST(WaypointFilesElsewhere, XmllintFindsTheXmlFilesWellFormed) {
  if (!Installed("xmllint")) GTEST_SKIP() << "xmllint is not on PATH";
  for (const char* format : {"gpx-waypoints", "kml-waypoints"}) {
    TempDir dir;
    const std::string path = Written(format, testing::WrittenRecords(), dir);
    EXPECT_EQ(std::system(("xmllint --noout " + path + " 2>/dev/null").c_str()), 0) << format;
  }
}

}  // namespace
}  // namespace trelvik
