#include "trackfiles/kml_track_file.hpp"

#include <gtest/gtest.h>

#include <string>

#include "base/atomic_file.hpp"
#include "kml_test_expat.hpp"
#include "kml_trip_fixture.hpp"
#include "support/scripted_user_interface.hpp"
#include "file_read_shown.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/kml_command_line.hpp"
#include "trackfiles/kml_track_reader.hpp"

namespace trelvik {
namespace {

using testing::Shown;

using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

std::string Read(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes));
  return bytes;
}

std::vector<RecordedBox> Error(const char* text, const char* caption) {
  return {{MessageKind::Error, text, caption}};
}

TEST(KmlTrackFile, StatisticsFromThePoints) {
  std::vector<TrackPoint> points = testing::FixturePoints(30);
  points[7].gpsAlt = -15;
  KmlTripInput input;
  FillKmlTripStatistics(points, input);
  EXPECT_EQ(input.firstTime, points.front().time);
  EXPECT_EQ(input.lastTime, points.back().time);
  EXPECT_EQ(input.duration, 145u);
  EXPECT_EQ(input.lowestAltitude, -2);
  EXPECT_EQ(input.highestAltitude, 1029);
  EXPECT_GT(input.totalDistance, 29 * 1300.0);  // 0.01 degree steps north-east, about 1.36 km each
  EXPECT_LT(input.totalDistance, 29 * 1400.0);
  EXPECT_NEAR(input.averageSpeed, input.totalDistance / 145 * 3.6, 1e-9);
  EXPECT_GT(input.topSpeed, 900);  // over 1.3 km in 5 s
  EXPECT_GT(input.greatestMeanSpeed, 900);
  // Climb compares the ends of a 60 s window: the rise from point 7 shows, nothing falls.
  EXPECT_EQ(input.leastClimb, 0);
  EXPECT_NEAR(input.greatestClimb, (10190 + 15) * 0.001666667, 1e-6);

  // A corrupt altitude gives climbs far beyond any glider's: stored as +-9999.
  points[13].gpsAlt = -70000000;
  FillKmlTripStatistics(points, input);
  EXPECT_EQ(input.leastClimb, -9999);
  EXPECT_EQ(input.greatestClimb, 9999);
}

TEST(KmlTrackFile, WritesTheCommandLineFile) {
  TempDir dir;
  const std::vector<TrackPoint> points = testing::FixturePoints(40);
  ScriptedUserInterface ui;
  ASSERT_EQ(WriteKmlTrackFile(ui, {dir.File("flight"), false, false}, points, 1, 1, 1, "Flytec 6030", {}), 0);
  EXPECT_TRUE(ui.boxes.empty());
  const std::string text = Read(dir.File("flight.kml"));
  EXPECT_EQ(testing::ExpatProblem(text), "");
  EXPECT_NE(text.find("<![CDATA[2012-07-01\r\n<pre>"), std::string::npos);
  EXPECT_NE(text.find("instrument=\"Flytec 6030\""), std::string::npos);
  EXPECT_EQ(text.find("downloaded="), std::string::npos);
  EXPECT_EQ(text.find("pilot_id"), std::string::npos);
  const TrackFileRecords read = Shown(ui, ReadKmlTrack(text));
  EXPECT_EQ(read.Count(), 40);
  EXPECT_EQ(read.signatureValid, 2);

  // An existing file is kept without OVERWRITE and replaced with it.
  ASSERT_EQ(WriteKmlTrackFile(ui, {dir.File("flight"), false, false}, points, 0, 0, 0, std::nullopt, {}), -1);
  EXPECT_EQ(ui.boxes, Error("File already exists", "Write GoogleEarth file"));
  EXPECT_EQ(Read(dir.File("flight.kml")), text);
  ui.boxes.clear();
  ASSERT_EQ(WriteKmlTrackFile(ui, {dir.File("flight"), false, true}, points, 0, 0, 0, std::nullopt, {}), 0);
  const std::string replaced = Read(dir.File("flight.kml"));
  EXPECT_NE(replaced.find("instrument=\"unknown\""), std::string::npos);
  EXPECT_EQ(replaced.find("hash="), std::string::npos);

  // A decided file is written as it is named.
  ASSERT_EQ(WriteKmlTrackFile(ui, {dir.File("chosen.kml"), true, false}, points, 0, 0, 0, std::nullopt, {}), 0);
  EXPECT_TRUE(FileExists(dir.File("chosen.kml")));
}

TEST(KmlTrackFile, Failures) {
  TempDir dir;
  const std::vector<TrackPoint> four = testing::FixturePoints(4);
  const std::vector<TrackPoint> five = testing::FixturePoints(5);
  struct Case {
    const char* name;
    const std::vector<TrackPoint>& points;
    KmlTrackFileTarget target;
    std::vector<RecordedBox> boxes;
  } cases[] = {
      {"four points", four, {dir.File("a"), false, true}, Error("Too few track positions", "Write GoogleEarth file")},
      {"long name", five, {dir.File(std::string(256, 'x')), false, true},
       Error("File name too long", "Write GoogleEarth file")},
      {"no folder", five, {dir.File("missing/a"), false, true}, Error("File creation error", "Write GoogleEarth file")},
  };
  for (const Case& c : cases) {
    ScriptedUserInterface ui;
    EXPECT_EQ(WriteKmlTrackFile(ui, c.target, c.points, 0, 0, 0, std::nullopt, {}), -1) << c.name;
    EXPECT_EQ(ui.boxes, c.boxes) << c.name;
  }
}

// Six fixes of a flight, hand-written in the IGC layout.
constexpr char kSmallIgc[] =
    "AXYZ001\r\nHFDTE010712\r\n"
    "B1000004700000N00830000EA0050000510\r\n"
    "B1000054700600N00830600EA0050500515\r\n"
    "B1000104701200N00831200EA0051000520\r\n"
    "B1000154701800N00831800EA0051500525\r\n"
    "B1000204702400N00832400EA0052000530\r\n"
    "B1000254703000N00833000EA0052500535\r\n";

TEST(KmlCommandLine, ConvertsAnIgcFileAndChecksKmlFiles) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("flight.igc"), kSmallIgc));
  ScriptedUserInterface ui;
  ASSERT_EQ(ConvertIgcToKml(ui, dir.File("flight"), false, {}), 0);
  EXPECT_TRUE(ui.boxes.empty());
  const std::string text = Read(dir.File("flight.kml"));
  EXPECT_EQ(testing::ExpatProblem(text), "");
  EXPECT_NE(text.find("<PressureAltitude>\r\n500 505 510 515 520 525\r\n"), std::string::npos);
  EXPECT_NE(text.find("time_of_first_point=\"2012-07-01T10:00:00\""), std::string::npos);  // unmarked times
  EXPECT_NE(text.find("instrument=\"unknown\""), std::string::npos);
  EXPECT_EQ(CheckKmlFile(ui, dir.File("flight.kml")), kKmlSignatureMissing);

  std::vector<TrackPoint> points = testing::FixturePoints(8);
  ASSERT_EQ(WriteKmlTrackFile(ui, {dir.File("signed"), false, false}, points, 1, 1, 1, "Flytec", {}), 0);
  EXPECT_EQ(CheckKmlFile(ui, dir.File("signed.kml")), kKmlSignatureValid);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_TRUE(ui.statusLines.empty());

  // Two trips in one file, as a logbook holds them: the first is checked.
  std::string kml = Read(dir.File("signed.kml"));
  const size_t folder = kml.find("  <Folder>");
  const size_t end = kml.find("</Document>");
  kml.insert(end, kml.substr(folder, end - folder));
  ASSERT_FALSE(WriteFileAtomically(dir.File("two.kml"), kml));
  EXPECT_EQ(CheckKmlFile(ui, dir.File("two.kml")), kKmlSignatureValid);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Information, "1 taken", "Track List"}}));
  ui.boxes.clear();

  EXPECT_EQ(ConvertIgcToKml(ui, dir.File("missing"), false, {}), -1);
  EXPECT_FALSE(FileExists(dir.File("missing.kml")));
}

TEST(KmlCommandLine, CheckFailures) {
  TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir.File("empty.kml"), ""));
  ASSERT_FALSE(WriteFileAtomically(dir.File("none.kml"), "<?xml version=\"1.0\"?><Document></Document>"));
  ScriptedUserInterface ui;
  EXPECT_EQ(CheckKmlFile(ui, dir.File("absent.kml")), kKmlCheckFailed);
  EXPECT_EQ(CheckKmlFile(ui, dir.File("empty.kml")), kKmlCheckFailed);
  EXPECT_EQ(CheckKmlFile(ui, dir.File("none.kml")), kKmlSignatureMissing);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Error opening file", "Reading track log file"},
                                                {MessageKind::Error, "File is empty", "Reading track log file"},
                                                {MessageKind::Error, "No track log found", "Parsing track log file"}}));
  EXPECT_EQ(ui.statusLines, std::vector<std::string>{"No positions found"});
}

}  // namespace
}  // namespace trelvik
