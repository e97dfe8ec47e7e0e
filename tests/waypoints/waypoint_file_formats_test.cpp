#include "waypoints/waypoint_file_formats.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>

#include "records/track_time.hpp"
#include "support/golden_file.hpp"
#include "waypoints/waypoint_fixtures.hpp"
#include "trackfiles/kml_values.hpp"
#include "waypoints/xml_root_element.hpp"

namespace trelvik {
namespace {

using testing::GoldenFile;
using testing::kJuly1;
using testing::kJuly1Later;
using testing::kNow;
using testing::WrittenRecords;


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
  int32_t tolerance = 2;  // semicircles: the expected degrees are rounded like the file's own text
};

// The UTM positions as gpsbabel converts 32T 500000 5150000 and 32T 480000 5100000.
constexpr double kUtmLat1 = 46.503569566, kUtmLon1 = 9.0;
constexpr double kUtmLat2 = 46.053281965, kUtmLon2 = 8.741461595;
constexpr int32_t kUtmTolerance = 12;  // about 0.1 m between two inverse projections

// What each golden file holds, worked out from its text.
const GoldenWaypoints kGolden[] = {
    {"gpx-waypoints",
     "waypoint_files/waypoints.gpx",
     {{"TK1", "Takeoff north", 46.5, -7.25, 1001, kJuly1, 1}, {"LZ", "Landing field", 47.25, 8.5, 0, kNow, 0}}},
    {"kml-waypoints",
     "waypoint_files/waypoints.kml",
     {{"LAUNCH", "Top of the hill", 47.25, 8.5, 1235, kNow, 0}, {"LZ", "", 47.2, 8.6, 0, kNow, 0}}},
    // Windows-1252 with a comma as byte 209, 1000 ft, -777 ft, an empty day
    // field, a day of 0 and a line without the altitude field.
    {"ozi-waypoints",
     "waypoint_files/waypoints_ozi.wpt",
     {{"TK1", "Takeoff, north", 46.5, -7.25, 305, kJuly1, 0},
      {"LZ", "Landeplatz Z\xC3\xBCrich", -47.25, 8.5, 0, kNow, 0},
      {"PASS", "Pass", 45.0, 10.0, 0, kNow, 0}}},
    // Any number of blanks between the fields, "[A]" and "[a]", a negative height.
    {"geo-waypoints",
     "waypoint_files/waypoints_geo.wpt",
     {{"TK1", "Takeoff north", 46.5, -7.25, 1001, kNow, 1},
      {"LZ", "Landeplatz Z\xC3\xBCrich", -47.25, 8.5, 0, kNow, 1},
      {"PASS", "", 45.01, 10.0, 0, kNow, 0}}},
    {"utm-waypoints",
     "waypoint_files/waypoints_utm.wpt",
     {{"TK1", "Takeoff north", kUtmLat1, kUtmLon1, 1001, kNow, 1},
      {"LZ", "Landing field", kUtmLat2, kUtmLon2, 0, kNow, 0}},
     kUtmTolerance},
    // Quotes doubled inside a quoted title, feet, a title cut to 40
    // characters, a short line skipped, the task section not read.
    {"seeyou-waypoints",
     "waypoint_files/waypoints.cup",
     {{"TK1", "Takeoff, \"north\"", 46.5, -7.25, 1001, kNow, 1},
      {"LZ", "Landing Z\xC3\xBCrich", -47.25, 8.5, 366, kNow, 0},
      {"LONGNA", "A title that runs well past the forty ch", 45.0, 10.0, 0, kNow, 0}}},
    {"winpilot-waypoints",
     "waypoint_files/waypoints.dat",
     {{"TK1", "Takeoff north", 46.5, -7.25, 1001, kNow, 1},
      {"LZ", "Landing, field", -47.25, 8.5, 366, kNow, 0},
      {"PASS", "", 45.0, 10.0, -3, kNow, 0}}},
    // The degree sign, a signed magnitude with its letter, a UTM line, "airfield".
    {"compegps-waypoints",
     "waypoint_files/waypoints_compegps.wpt",
     {{"TK1", "Takeoff north", 46.5, -7.25, 1001, kNow, 1},
      {"LZ", "Landeplatz Z\xC3\xBCrich", -47.25, 8.5, 0, kNow, 0},
      {"PASS", "", kUtmLat1, kUtmLon1, 1500, kNow, 1}},
     kUtmTolerance},
    {"mapsource",
     "waypoint_files/waypoints.mps",
     {{"GOLDEN", "Golden gate", 47.0, 8.5, 1500, kNow, 0},
      {"LAND1", "Landing \xc3\xa9t\xc3\xa9", -12.5, -70.25, 0, kNow, 0}}},
};

// Files gpsbabel 1.8 wrote from gpsbabel_source.gpx.
const GoldenWaypoints kGpsbabelWritten[] = {
    {"ozi-waypoints",
     "waypoint_files/gpsbabel_ozi.wpt",
     {{"TK1", "Takeoff north & \"top\"", 46.5, -7.25, 1001, kJuly1, 0},
      {"LZ", "Landeplatz Z\xC3\xBCrich", -47.25, 8.5, 0, kJuly1Later, 0}}},
    {"seeyou-waypoints",
     "waypoint_files/gpsbabel.cup",
     {{"TK1", "TK1", 46.5, -7.25, 1001, kNow, 0}, {"LZ", "LZ", -47.25, 8.5, 0, kNow, 0}}},
    {"winpilot-waypoints",
     "waypoint_files/gpsbabel_cambridge.dat",
     {{"TK1", "Takeoff north & \"top\"", 46.5, -7.25, 1001, kNow, 0},
      {"LZ", "Landeplatz Z\xC3\xBCrich", -47.25, 8.5, 0, kNow, 0}}},
    // The XML readers keep letters, digits and blanks of a description.
    {"gpx-waypoints",
     "waypoint_files/gpsbabel.gpx",
     {{"TK1", "Takeoff- north - -top-", 46.5, -7.25, 1001, kJuly1, 1},
      {"LZ", "Landeplatz Z-rich", -47.25, 8.5, 0, kJuly1Later, 0}}},
    {"kml-waypoints",
     "waypoint_files/gpsbabel.kml",
     {{"TK1", "Takeoff- north - -top-", 46.5, -7.25, 1001, kNow, 0},
      {"LZ", "Landeplatz Z-rich", -47.25, 8.5, 0, kNow, 0}}},
};

void ExpectWaypoints(const std::vector<Waypoint>& actual, const GoldenWaypoints& golden, const std::string& label) {
  const std::vector<GoldenWaypoint>& expected = golden.waypoints;
  ASSERT_EQ(actual.size(), expected.size()) << label;
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_STREQ(actual[i].name, expected[i].name) << label;
    EXPECT_STREQ(actual[i].description, expected[i].description) << label;
    EXPECT_NEAR(actual[i].lat, DegreesToSemicircle(expected[i].lat), golden.tolerance) << label << " " << expected[i].name;
    EXPECT_NEAR(actual[i].lon, DegreesToSemicircle(expected[i].lon), golden.tolerance) << label << " " << expected[i].name;
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
    ExpectWaypoints(read.records.waypoints, golden, golden.file);
  }
}

TEST(WaypointFileFormats, FilesGpsbabelWroteAreRecognisedAndRead) {
  for (const GoldenWaypoints& golden : kGpsbabelWritten) {
    const std::string bytes = GoldenFile(golden.file);
    ASSERT_FALSE(bytes.empty()) << golden.file;
    const WaypointFileFormat* row = RecogniseWaypointFile(bytes);
    ASSERT_EQ(row, FindWaypointFileFormat(golden.format)) << golden.file;
    const WaypointFileRead read = row->read(bytes, At(kNow));
    ASSERT_EQ(read.status, FileReadStatus::Read) << golden.file << ": " << read.error.text;
    ExpectWaypoints(read.records.waypoints, golden, golden.file);
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

// What a format keeps of a description: WinPilot writes 12 characters, and a
// comma there would end the field; SeeYou writes the name when there is none.
std::string DescriptionAfterRoundTrip(std::string_view format, const Waypoint& waypoint) {
  std::string description = waypoint.description;
  if (format == "winpilot-waypoints") {
    description = description.substr(0, 12);
    for (char& c : description) c = c == ',' ? ' ' : c;
    while (!description.empty() && description.back() == ' ') description.pop_back();
  }
  if (format == "seeyou-waypoints" && description.empty()) description = waypoint.name;
  return description;
}

TEST(WaypointFileFormats, EveryRowThatReadsAndWritesRoundTrips) {
  for (const GoldenWaypoints& golden : kGolden) {
    const WaypointFileFormat* row = FindWaypointFileFormat(golden.format);
    if (row->read == nullptr || row->write == nullptr) continue;
    const WaypointFileRead first = row->read(GoldenFile(golden.file), At(kNow));
    ASSERT_TRUE(first.Ok()) << golden.format;
    const FileWriteResult written = row->write(first.records, WaypointWriteOptions{kNow});
    ASSERT_FALSE(written.error) << golden.format;
    EXPECT_EQ(RecogniseWaypointFile(written.bytes), row) << golden.format;
    const WaypointFileRead again = row->read(written.bytes, At(kNow + 1));
    ASSERT_TRUE(again.Ok()) << golden.format << ": " << again.error.text;
    ASSERT_EQ(again.records.Count(), first.records.Count()) << golden.format;
    for (size_t i = 0; i < first.records.waypoints.size(); ++i) {
      const Waypoint& before = first.records.waypoints[i];
      const Waypoint& after = again.records.waypoints[i];
      const std::string label = std::string(golden.format) + " " + before.name;
      EXPECT_STREQ(after.name, before.name) << label;
      EXPECT_EQ(after.description, DescriptionAfterRoundTrip(golden.format, before)) << label;
      EXPECT_EQ(after.lat, before.lat) << label;
      EXPECT_EQ(after.lon, before.lon) << label;
      EXPECT_EQ(after.alt, before.alt) << label;
      EXPECT_EQ(after.airport, before.airport) << label;
      // Formats that hold a time keep it; the others give the time of reading.
      const bool holdsTime = row->name == "ozi-waypoints" || row->name == "gpx-waypoints";
      EXPECT_EQ(after.time, holdsTime ? before.time : kNow + 1) << label;
    }
  }
}

std::string WrittenGoldenName(const WaypointFileFormat& row) {
  return "waypoint_files/written/" + std::string(row.name) + std::string(row.Extension());
}

TEST(WaypointFileFormats, EveryWriterMatchesItsGoldenFile) {
  const WaypointFileRecords records = WrittenRecords();
  for (const WaypointFileFormat& row : WaypointFileFormats()) {
    if (row.write == nullptr) continue;
    const FileWriteResult written = row.write(records, WaypointWriteOptions{kNow, 472});
    ASSERT_FALSE(written.error) << row.name;
    const std::string golden = GoldenFile(WrittenGoldenName(row));
    if (written.bytes != golden && std::getenv("TRELVIK_WRITE_GOLDEN") != nullptr) {
      std::ofstream("tests/data/" + WrittenGoldenName(row), std::ios::binary) << written.bytes;
    }
    EXPECT_EQ(written.bytes, golden) << row.name;
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

TEST(WaypointFileFormats, RecognitionLooksAtTheFirstBytesThenTheFirstTagAndTheRoot) {
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
      {"OziExplorer Waypoint File Version 1.1\r\n", "ozi-waypoints"},
      {"$FormatGEO\r\n", "geo-waypoints"},
      {"$FormatUTM\r\n", "utm-waypoints"},
      {"name,code,country,lat,lon,elev,style\r\n", "seeyou-waypoints"},
      {"Title,Code,Country\r\n", "seeyou-waypoints"},
      {"G  WGS 84\r\nU  1\r\n", "compegps-waypoints"},
      {"G WGS 72\r\n", "winpilot-waypoints"},
      {"\r\n\r\nG WGS 84\r\n", "compegps-waypoints"},
      {"\r\nno waypoint\r\n", "winpilot-waypoints"},  // not CompeGPS's datum: WinPilot is tried
      {"1,46:30.000N,7:15.000W,1001M,T,TK1,x\r\n", "winpilot-waypoints"},
      {"\xFF\xFE" "1,46:30.000N", nullptr},  // another byte-order mark
      {" \r\n<html>", nullptr},
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
