#include "waypoints/waypoint_file_formats.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "records/track_time.hpp"
#include "support/golden_file.hpp"
#include "trackfiles/kml_values.hpp"
#include "waypoints/xml_root_element.hpp"

namespace trelvik {
namespace {

using testing::GoldenFile;

constexpr TrackTime kNow = 700000000;

struct GoldenWaypoint {
  const char* name;
  const char* description;
  double lat;
  double lon;
  int32_t alt;
  TrackTime time;
  int32_t airport;
};

struct GoldenWaypoints {
  const char* format;
  const char* file;
  std::vector<GoldenWaypoint> waypoints;
};

// What each golden file holds, worked out from its text.
const GoldenWaypoints kGolden[] = {
    {"gpx-waypoints",
     "waypoint_files/waypoints.gpx",
     {{"TK1", "Takeoff north", 46.5, -7.25, 1001, TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 10, 0, 0, 0}), 1},
      {"LZ", "Landing field", 47.25, 8.5, 0, kNow, 0}}},
    {"kml-waypoints",
     "waypoint_files/waypoints.kml",
     {{"LAUNCH", "Top of the hill", 47.25, 8.5, 1235, kNow, 0}, {"LZ", "", 47.2, 8.6, 0, kNow, 0}}},
    {"mapsource",
     "waypoint_files/waypoints.mps",
     {{"GOLDEN", "Golden gate", 47.0, 8.5, 1500, kNow, 0},
      {"LAND1", "Landing \xc3\xa9t\xc3\xa9", -12.5, -70.25, 0, kNow, 0}}},
};

void ExpectWaypoints(const std::vector<Waypoint>& actual, const std::vector<GoldenWaypoint>& expected,
                     const std::string& label) {
  ASSERT_EQ(actual.size(), expected.size()) << label;
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_STREQ(actual[i].name, expected[i].name) << label;
    EXPECT_STREQ(actual[i].description, expected[i].description) << label;
    EXPECT_EQ(actual[i].lat, DegreesToSemicircle(expected[i].lat)) << label << " " << expected[i].name;
    EXPECT_EQ(actual[i].lon, DegreesToSemicircle(expected[i].lon)) << label << " " << expected[i].name;
    EXPECT_EQ(actual[i].alt, expected[i].alt) << label << " " << expected[i].name;
    EXPECT_EQ(actual[i].time, expected[i].time) << label << " " << expected[i].name;
    EXPECT_EQ(actual[i].airport, expected[i].airport) << label << " " << expected[i].name;
  }
}

FileReadContext At(TrackTime now) {
  FileReadContext context;
  context.now = now;
  return context;
}

TEST(WaypointFileFormats, EveryGoldenFileIsRecognisedAndReadThroughItsRow) {
  for (const GoldenWaypoints& golden : kGolden) {
    const WaypointFileFormat* row = FindWaypointFileFormat(golden.format);
    ASSERT_NE(row, nullptr) << golden.format;
    const std::string bytes = GoldenFile(golden.file);
    ASSERT_FALSE(bytes.empty()) << golden.file;
    EXPECT_EQ(RecogniseWaypointFile(bytes), row) << golden.file;
    const WaypointFileRead read = row->read(bytes, At(kNow));
    ASSERT_EQ(read.status, FileReadStatus::Read) << golden.format << ": " << read.error.text;
    ExpectWaypoints(read.records.waypoints, golden.waypoints, golden.format);
  }
}

TEST(WaypointFileFormats, EveryReadableRowHasAGoldenFile) {
  std::set<std::string> golden;
  for (const GoldenWaypoints& file : kGolden) golden.insert(file.format);
  for (const WaypointFileFormat& row : WaypointFileFormats()) {
    if (row.read != nullptr) {
      EXPECT_TRUE(golden.count(std::string(row.name))) << row.name;
    }
  }
}

TEST(WaypointFileFormats, EveryRowThatReadsAndWritesRoundTrips) {
  for (const GoldenWaypoints& golden : kGolden) {
    const WaypointFileFormat* row = FindWaypointFileFormat(golden.format);
    if (row->read == nullptr || row->write == nullptr) continue;
    const WaypointFileRead first = row->read(GoldenFile(golden.file), At(kNow));
    ASSERT_TRUE(first.Ok()) << golden.format;
    const FileWriteResult written = row->write(first.records, WaypointWriteOptions{kNow});
    ASSERT_FALSE(written.error) << golden.format;
    const WaypointFileRead again = row->read(written.bytes, At(kNow));
    ASSERT_TRUE(again.Ok()) << golden.format;
    ASSERT_EQ(again.records.Count(), first.records.Count()) << golden.format;
    for (size_t i = 0; i < first.records.waypoints.size(); ++i) {
      EXPECT_EQ(std::memcmp(&again.records.waypoints[i], &first.records.waypoints[i], sizeof(Waypoint)), 0)
          << golden.format << " " << i;
    }
  }
}

TEST(WaypointFileFormats, ErrorsComeBackWithTextAndCaption) {
  struct Case {
    const char* format;
    std::string bytes;
    const char* text;
  };
  const Case cases[] = {
      {"gpx-waypoints", "<?xml version=\"1.0\"?><gpx><wpt lat=\"1\" lon=\"2\"></wpt></gpx>",
       "Missing name data for waypoint 1"},
      {"gpx-waypoints", "<gpx></gpx>", "Missing opening tag '<?xml>'"},
      {"kml-waypoints",
       "<?xml version=\"1.0\"?><kml><Document><Folder><name>Waypoints</name><Placemark><name>A</name>"
       "</Placemark></Folder></Document></kml>",
       "Missing tag(s) for waypoint 1"},
  };
  for (const Case& c : cases) {
    const WaypointFileRead read = FindWaypointFileFormat(c.format)->read(c.bytes, At(kNow));
    EXPECT_EQ(read.status, FileReadStatus::Failed) << c.text;
    EXPECT_EQ(read.error.text, c.text);
    EXPECT_EQ(read.error.caption, "Parsing waypoint file") << c.text;
  }
}

TEST(WaypointFileFormats, AnUncleanIdIsAskedAboutOrRefused) {
  const WaypointFileFormat& gpx = *FindWaypointFileFormat("gpx-waypoints");
  const std::string text =
      "<?xml version=\"1.0\"?><gpx><wpt lat=\"1\" lon=\"2\"><name>a.b</name></wpt>"
      "<wpt lat=\"1\" lon=\"2\"><name>c.d</name></wpt></gpx>";

  const WaypointFileRead asking = gpx.read(text, At(kNow));
  ASSERT_EQ(asking.status, FileReadStatus::NeedsAnswer);
  EXPECT_EQ(asking.question.kind, FileQuestionKind::ModifyId);
  EXPECT_EQ(asking.question.waypointName, "a.b");

  FileReadContext answered = At(kNow);
  answered.answers = {AnswerOf(ModifyIdAnswer::Yes)};
  const WaypointFileRead next = gpx.read(text, answered);
  ASSERT_EQ(next.status, FileReadStatus::NeedsAnswer);
  EXPECT_EQ(next.question.waypointName, "c.d");

  answered.answers = {AnswerOf(ModifyIdAnswer::YesToAll)};
  const WaypointFileRead all = gpx.read(text, answered);
  ASSERT_EQ(all.status, FileReadStatus::Read);
  ASSERT_EQ(all.records.Count(), 2);
  EXPECT_STREQ(all.records.waypoints[1].name, "C-D");

  answered.answers = {AnswerOf(ModifyIdAnswer::No), AnswerOf(ModifyIdAnswer::Cancel)};
  EXPECT_EQ(gpx.read(text, answered).status, FileReadStatus::Cancelled);

  // Asked with no one to answer: the negative answer ends the reading.
  const WaypointFileRead unanswered = ReadAnswering<WaypointFileRecords>(
      [&](const FileReadContext& context) { return gpx.read(text, context); }, At(kNow), {}, {});
  EXPECT_EQ(unanswered.status, FileReadStatus::Cancelled);

  FileReadContext cannotAsk = At(kNow);
  cannotAsk.canAsk = false;
  const WaypointFileRead refused = gpx.read(text, cannotAsk);
  EXPECT_EQ(refused.status, FileReadStatus::Failed);
  EXPECT_EQ(refused.error.text, "Bad ID for waypoint 1");
}

TEST(WaypointFileFormats, RecognitionLooksAtTheFirstTagAndTheRoot) {
  struct Case {
    std::string bytes;
    const char* format;  // nullptr: no row recognises it
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- made by hand -->\r\n<gpx></gpx>", "gpx-waypoints"},
      {"<?xml version=\"1.0\"?><kml xmlns=\"x\"/>", "kml-waypoints"},
      {"<gpx></gpx>", nullptr},                          // no declaration
      {"\xFF\xFE<?xml version=\"1.0\"?><gpx/>", nullptr},  // another byte-order mark
      {"<?xml version=\"1.0\"?><Document/>", nullptr},
      {"OziExplorer Waypoint File Version 1.0\r\n", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    const WaypointFileFormat* row = RecogniseWaypointFile(c.bytes);
    EXPECT_EQ(row, c.format ? FindWaypointFileFormat(c.format) : nullptr) << c.bytes;
  }
  EXPECT_EQ(XmlRootElement("<?xml version=\"1.0\"?><?style x?><!DOCTYPE gpx><gpx>"), "gpx");
}

TEST(WaypointFileFormats, DialogListsFollowTheirOrder) {
  EXPECT_EQ(FileTypeFilterList(WaypointSaveChoices()),
            (std::vector<std::string>{
                "Ozi files (*.wpt)", "UTM files (*.wpt)", "Geographical files (*.wpt)", "MapSource files (*.mps)",
                "SeeYou files (*.cup)", "GPX files (*.gpx)", "GoogleEarth files (*.kml)", "WinPilot files (*.dat)",
                "CompeGPS files (*.wpt)", "Ozi files (*.*)", "UTM files (*.*)", "Geographical files (*.*)",
                "MapSource files (*.*)", "SeeYou files (*.*)", "GPX files (*.*)", "GoogleEarth files (*.*)",
                "WinPilot files (*.*)", "CompeGPS files (*.*)"}));
  EXPECT_EQ(FileTypeFilterListThenAll(WaypointOpenChoices()),
            (std::vector<std::string>{"Ozi/Trelvik files (*.wpt)", "MapSource files (*.mps)", "SeeYou files (*.cup)",
                                      "GPS exchange files (*.gpx)", "GoogleEarth files (*.kml)",
                                      "WinPilot files (*.dat)", "All files (*.*)"}));
}

}  // namespace
}  // namespace trelvik
