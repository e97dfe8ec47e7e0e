#include "trackfiles/kml_trip.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kml_test_expat.hpp"
#include "kml_trip_fixture.hpp"
#include "support/scripted_user_interface.hpp"
#include "file_read_shown.hpp"
#include "trackfiles/kml_track_reader.hpp"

namespace trelvik {
namespace {

using testing::Shown;

using testing::FixtureInput;
using testing::FixturePoints;

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

std::string Build(const KmlTripInput& input, std::optional<std::string_view> title = std::nullopt,
                  std::optional<std::string_view> instrument = "Flytec 6030") {
  TextBuffer buffer(kKmlTripBufferStart);
  EXPECT_EQ(BuildKmlTrip(buffer, input, title, instrument), 0);
  return buffer.Text();
}

std::string Between(const std::string& text, const std::string& from, const std::string& to) {
  const size_t begin = text.find(from);
  if (begin == std::string::npos) return "<" + from + " missing>";
  const size_t end = text.find(to, begin + from.size());
  return text.substr(begin + from.size(), end - begin - from.size());
}

// The whole folder, written line by line from the file layout.
TEST(KmlTrip, FolderByteForByte) {
  const std::vector<TrackPoint> points = FixturePoints();
  const std::string expected = Lines({
      "  <Folder>",
      "    <Metadata src=\"Trelvik\" v=\"4.72\" type=\"trip\"/>",
      "    <open>1</open>",
      "    <name>Trip</name>",
      "    <description><![CDATA[Evening flight &lt;Alps&gt;",
      "<pre>",
      "Flight statistics",
      "Date                 2012-07-01",
      "Start/finish         10:00:00 - 10:00:25",
      "Duration             0 : 00 : 25",
      "Max./min. height     1005 / 1000 m",
      "Max. mean/top speed  31 km/h / 35 km/h",
      "Max/min climb rate   2.50 / -1.25 m/s over 60s",
      "Total distance       12.35 km",
      "</pre>]]>",
      "    </description>",
      "",
      "    <Placemark>",
      "      <Metadata src=\"Trelvik\" v=\"4.72\" type=\"distance_5_point\">",
      "        <FsInfo track_idx=\"0 1 2 3 5\" />",
      "      </Metadata>",
      "      <name>Distance over 5 points</name>",
      "      <description>",
      "        <![CDATA[",
      "<pre>",
      "Greatest distance using 5 points",
      "",
      "Pos.      Time      Latitude         Longitude         Distance",
      " A     1  10:00:00  N 47  00  00.00  E 008  30  00.00",
      " B     2  10:00:05  N 47  00  36.00  E 008  30  36.00  1.00",
      " C     3  10:00:10  N 47  01  12.00  E 008  31  12.00  2.00",
      " D     4  10:00:15  N 47  01  48.00  E 008  31  48.00  3.00",
      " E     6  10:00:25  N 47  03  00.00  E 008  33  00.00  4.00",
      "                                                  Sum  10.00",
      "</pre>]]>",
      "      </description>",
      "      <LineString>",
      "        <tessellate>1</tessellate>",
      "        <coordinates>",
      "          8.500000,47.000000,1000",
      "          8.510000,47.010000,1001",
      "          8.520000,47.020000,1002",
      "          8.530000,47.030000,1003",
      "          8.550000,47.050000,1005",
      "        </coordinates>",
      "      </LineString>",
      "      <Style>",
      "        <LineStyle>",
      "          <color>FFFF0000</color>",
      "        </LineStyle>",
      "      </Style>",
      "    </Placemark>",
      "",
      "    <Placemark>",
      "      <Metadata src=\"Trelvik\" v=\"4.72\" type=\"distance_4_point\">",
      "        <FsInfo track_idx=\"0 1 3 5\" />",
      "      </Metadata>",
      "      <name>Distance over 4 points</name>",
      "      <description>",
      "        <![CDATA[",
      "<pre>",
      "Greatest distance using 4 points",
      "",
      "Pos.      Time      Latitude         Longitude         Distance",
      " A     1  10:00:00  N 47  00  00.00  E 008  30  00.00",
      " B     2  10:00:05  N 47  00  36.00  E 008  30  36.00  1.50",
      " C     4  10:00:15  N 47  01  48.00  E 008  31  48.00  2.50",
      " D     6  10:00:25  N 47  03  00.00  E 008  33  00.00  3.50",
      "                                                  Sum  7.50",
      "</pre>]]>",
      "      </description>",
      "      <LineString>",
      "        <tessellate>1</tessellate>",
      "        <coordinates>",
      "          8.500000,47.000000,1000",
      "          8.510000,47.010000,1001",
      "          8.530000,47.030000,1003",
      "          8.550000,47.050000,1005",
      "        </coordinates>",
      "      </LineString>",
      "      <Style>",
      "        <LineStyle>",
      "          <color>FFFF0000</color>",
      "        </LineStyle>",
      "      </Style>",
      "    </Placemark>",
      "",
      "    <Placemark>",
      "      <Metadata src=\"Trelvik\" v=\"4.72\" type=\"distance_3_point\">",
      "        <FsInfo track_idx=\"0 2 5\" />",
      "      </Metadata>",
      "      <name>Distance over 3 points</name>",
      "      <description>",
      "        <![CDATA[",
      "<pre>",
      "Greatest distance using 3 points",
      "",
      "Pos.      Time      Latitude         Longitude         Distance",
      " A     1  10:00:00  N 47  00  00.00  E 008  30  00.00",
      " B     3  10:00:10  N 47  01  12.00  E 008  31  12.00  1.23",
      " C     6  10:00:25  N 47  03  00.00  E 008  33  00.00  2.35",
      "                                                  Sum  3.58",
      "</pre>]]>",
      "      </description>",
      "      <LineString>",
      "        <tessellate>1</tessellate>",
      "        <coordinates>",
      "          8.500000,47.000000,1000",
      "          8.520000,47.020000,1002",
      "          8.550000,47.050000,1005",
      "        </coordinates>",
      "      </LineString>",
      "      <Style>",
      "        <LineStyle>",
      "          <color>FFFF0000</color>",
      "        </LineStyle>",
      "      </Style>",
      "    </Placemark>",
      "",
      "    <Placemark>",
      "      <Metadata src=\"Trelvik\" v=\"4.72\" type=\"distance_open\">",
      "        <FsInfo track_idx=\"0 5\" />",
      "      </Metadata>",
      "      <name>Open distance</name>",
      "      <description>",
      "        <![CDATA[",
      "<pre>",
      "Greatest distance between any 2 points",
      "",
      "Pos.      Time      Latitude         Longitude         Distance",
      " A     1  10:00:00  N 47  00  00.00  E 008  30  00.00",
      " B     6  10:00:25  N 47  03  00.00  E 008  33  00.00  5.00",
      "</pre>]]>",
      "      </description>",
      "      <LineString>",
      "        <tessellate>1</tessellate>",
      "        <coordinates>",
      "          8.500000,47.000000,1000",
      "          8.550000,47.050000,1005",
      "        </coordinates>",
      "      </LineString>",
      "      <Style>",
      "        <LineStyle>",
      "          <color>FF0000FF</color>",
      "        </LineStyle>",
      "      </Style>",
      "    </Placemark>",
      "",
      "    <Placemark>",
      "      <Metadata src=\"Trelvik\" v=\"4.72\" type=\"distance_out_and_return\">",
      "        <FsInfo track_idx=\"0 3 5\" />",
      "      </Metadata>",
      "      <name>Out-and-return distance</name>",
      "      <description>",
      "        <![CDATA[",
      "<pre>",
      "Out-and-return distance (max allowable gap 800)",
      "",
      "Pos.      Time      Latitude         Longitude         Distance",
      " A     1  10:00:00  N 47  00  00.00  E 008  30  00.00",
      " B     4  10:00:15  N 47  01  48.00  E 008  31  48.00  3.00",
      " C     6  10:00:25  N 47  03  00.00  E 008  33  00.00  0.10",
      "                                                  Sum  5.90",
      "</pre>]]>",
      "      </description>",
      "      <LineString>",
      "        <tessellate>1</tessellate>",
      "        <coordinates>",
      "          8.550000,47.050000,1005",
      "          8.500000,47.000000,1000",
      "          8.530000,47.030000,1003",
      "        </coordinates>",
      "      </LineString>",
      "      <Style>",
      "        <LineStyle>",
      "          <color>FFFF0000</color>",
      "        </LineStyle>",
      "      </Style>",
      "    </Placemark>",
      "",
      "    <Placemark>",
      "      <Metadata src=\"Trelvik\" v=\"4.72\" type=\"distance_flat_triangle\">",
      "        <FsInfo track_idx=\"0 1 2 4 5\" />",
      "      </Metadata>",
      "      <name>Flat triangle</name>",
      "      <description>",
      "        <![CDATA[",
      "<pre>",
      "Flat triangle (max allowable gap 800)",
      "",
      "Pos.      Time      Latitude         Longitude         Distance",
      " A     1  10:00:00  N 47  00  00.00  E 008  30  00.00",
      " B     2  10:00:05  N 47  00  36.00  E 008  30  36.00  1.00",
      " C     3  10:00:10  N 47  01  12.00  E 008  31  12.00  1.10",
      " D     5  10:00:20  N 47  02  24.00  E 008  32  24.00  1.20",
      " E     6  10:00:25  N 47  03  00.00  E 008  33  00.00  0.05",
      "                                                  Sum  3.25",
      "</pre>]]>",
      "      </description>",
      "      <MultiGeometry>",
      "        <LineString>",
      "          <tessellate>1</tessellate>",
      "          <coordinates>",
      "            8.510000,47.010000,1001",
      "            8.520000,47.020000,1002",
      "            8.540000,47.040000,1004",
      "            8.510000,47.010000,1001",
      "          </coordinates>",
      "        </LineString>",
      "        <LineString>",
      "          <tessellate>1</tessellate>",
      "          <coordinates>",
      "            8.500000,47.000000,1000",
      "            8.550000,47.050000,1005",
      "          </coordinates>",
      "        </LineString>",
      "      </MultiGeometry>",
      "      <Style>",
      "        <LineStyle>",
      "          <color>FFFF0000</color>",
      "        </LineStyle>",
      "      </Style>",
      "    </Placemark>",
      "",
      "    <!--FAI triangle not computed-->",
      "",
      "    <Placemark>",
      "      <Metadata src=\"Trelvik\" v=\"4.72\" type=\"track\">",
      "        <FsInfo time_of_first_point=\"2012-07-01T10:00:00Z\"",
      "                civl_pilot_id=\"1234\" comp_pilot_id=\"56\"",
      "                instrument=\"Flytec 6030\"",
      "                downloaded=\"2012-07-01T18:00:00Z\"",
      "                hash=\"9475A04102CC56DD1CFA4A51FA6DCF419FFD5747\">",
      "          <SecondsFromTimeOfFirstPoint>",
      "0 5 10 15 20 25",
      "          </SecondsFromTimeOfFirstPoint>",
      "          <PressureAltitude>",
      "990 991 992 993 994 995",
      "          </PressureAltitude>",
      "        </FsInfo>",
      "      </Metadata>",
      "      <name>Tracklog</name>",
      "      <LineString>",
      "        <altitudeMode>absolute</altitudeMode>",
      "        <coordinates>",
      "8.500000,47.000000,1000 8.510000,47.010000,1001 8.520000,47.020000,1002 8.530000,47.030000,1003 "
      "8.540000,47.040000,1004 ",
      "8.550000,47.050000,1005",
      "        </coordinates>",
      "      </LineString>",
      "    </Placemark>",
      "  </Folder>",
  });
  EXPECT_EQ(Build(FixtureInput(points), "Evening flight <Alps>"), expected);
}

TEST(KmlTrip, ImpossibleTimesBecomeFiveSecondSteps) {
  std::vector<TrackPoint> points = FixturePoints();
  points[3].time = 0;
  const std::string text = Build(FixtureInput(points));
  EXPECT_EQ(Between(text, "time_of_first_point=\"", "\""), "1989-12-31T00:00:00");
  EXPECT_EQ(Between(text, "<SecondsFromTimeOfFirstPoint>\r\n", "\r\n"), "0 5 10 15 20 25");
  EXPECT_NE(text.find(" D     4  00:00:15  "), std::string::npos);  // rows show the stand-in times
  for (TrackTime bad : {0x7FFFFFFFu, 0xFFFFFFFFu}) {
    points = FixturePoints();
    points[0].time = bad;
    EXPECT_EQ(Between(Build(FixtureInput(points)), "time_of_first_point=\"", "\""), "1989-12-31T00:00:00");
  }
}

TEST(KmlTrip, OffsetsInLinesOfTwentyFiveAndCoordinatesOfFive) {
  struct Case {
    size_t count;
    size_t offsetLines;
    size_t lastLineItems;
  } cases[] = {{25, 1, 25}, {26, 2, 1}, {50, 2, 25}, {51, 3, 1}};
  for (const Case& c : cases) {
    std::vector<TrackPoint> points = FixturePoints(c.count);
    KmlTripInput input = FixtureInput(points);
    input.optimisation = {};
    const std::string list = Between(Build(input), "<SecondsFromTimeOfFirstPoint>\r\n", "          </Seconds");
    size_t lines = 0;
    size_t lastItems = 0;
    for (size_t begin = 0; begin < list.size();) {
      const size_t end = list.find("\r\n", begin);
      ASSERT_NE(end, std::string::npos);
      const std::string line = list.substr(begin, end - begin);
      lastItems = static_cast<size_t>(std::count(line.begin(), line.end(), ' ')) + (line.back() == ' ' ? 0 : 1);
      ++lines;
      begin = end + 2;
    }
    EXPECT_EQ(lines, c.offsetLines) << c.count;
    EXPECT_EQ(lastItems, c.lastLineItems) << c.count;
  }
}

TEST(KmlTrip, AltitudeModeAndAltitudeRounding) {
  std::vector<TrackPoint> points = FixturePoints();
  for (TrackPoint& point : points) point.gpsAlt = 0;
  EXPECT_NE(Build(FixtureInput(points)).find("<altitudeMode>clampedToGround</altitudeMode>"), std::string::npos);
  points[2].gpsAlt = -15;  // -1.5 m rounds away from zero
  const std::string text = Build(FixtureInput(points));
  EXPECT_NE(text.find("<altitudeMode>absolute</altitudeMode>"), std::string::npos);
  EXPECT_NE(text.find("8.520000,47.020000,-2 "), std::string::npos);
}

TEST(KmlTrip, PilotIdentifierCombinations) {
  struct Case {
    int32_t hasIds, compId, civlId;
    const char* line;  // nullptr: no identifier line
  } cases[] = {
      {1, 56, 1234, "civl_pilot_id=\"1234\" comp_pilot_id=\"56\""},
      {1, -1, 1234, "civl_pilot_id=\"1234\""},
      {1, 56, -1, "comp_pilot_id=\"56\""},
      {1, -1, -1, nullptr},
      {0, 56, 1234, nullptr},
  };
  for (const Case& c : cases) {
    KmlTripInput input = FixtureInput(FixturePoints());
    std::vector<TrackPoint> points = FixturePoints();
    input.points = points;
    input.hasIds = c.hasIds;
    input.compId = c.compId;
    input.civlId = c.civlId;
    const std::string attributes =
        Between(Build(input), "time_of_first_point=\"2012-07-01T10:00:00Z\"", "\r\n                instrument=");
    EXPECT_EQ(attributes, c.line ? std::string("\r\n                ") + c.line : std::string()) << c.line;
  }
}

std::string HashOf(const std::string& text) { return Between(text, "hash=\"", "\""); }

TEST(KmlTrip, HashFollowsTheHashedTextsOnly) {
  const std::vector<TrackPoint> points = FixturePoints();
  const std::string base = HashOf(Build(FixtureInput(points)));
  ASSERT_EQ(base.size(), 40u);

  KmlTripInput unsignedInput = FixtureInput(points);
  unsignedInput.isSigned = 0;
  EXPECT_EQ(Build(unsignedInput).find("hash="), std::string::npos);

  KmlTripInput otherIds = FixtureInput(points);
  otherIds.compId = 7;
  otherIds.civlId = -1;
  EXPECT_EQ(HashOf(Build(otherIds)), base);
  KmlTripInput otherStatistics = FixtureInput(points);
  otherStatistics.totalDistance = 1;
  otherStatistics.optimisation.faiTriangle = otherStatistics.optimisation.flatTriangle;
  EXPECT_EQ(HashOf(Build(otherStatistics)), base);

  struct Change {
    const char* name;
    void (*apply)(std::vector<TrackPoint>&);
  } changes[] = {
      {"offset", [](std::vector<TrackPoint>& p) { p[4].time += 1; }},
      {"pressure", [](std::vector<TrackPoint>& p) { p[4].baroAlt += 1; }},
      {"coordinate", [](std::vector<TrackPoint>& p) { p[4].lon += 20; }},
      {"altitude", [](std::vector<TrackPoint>& p) { p[4].gpsAlt += 10; }},
  };
  for (const Change& change : changes) {
    std::vector<TrackPoint> changed = FixturePoints();
    change.apply(changed);
    EXPECT_NE(HashOf(Build(FixtureInput(changed))), base) << change.name;
  }
  EXPECT_NE(HashOf(Build(FixtureInput(points), std::nullopt, "Flytec 6031")), base);
  KmlTripInput otherDownload = FixtureInput(points);
  otherDownload.downloaded += 1;
  EXPECT_NE(HashOf(Build(otherDownload)), base);
}

TEST(KmlTrip, LoopResultsOfZeroAreNotComputedComments) {
  const std::vector<TrackPoint> points = FixturePoints();
  KmlTripInput input = FixtureInput(points);
  input.optimisation.outAndReturn.distance = 0;
  input.optimisation.flatTriangle.distance = 0;
  const std::string text = Build(input);
  EXPECT_NE(text.find("</Placemark>\r\n\r\n    <!--Out-and-return not computed-->\r\n\r\n    <!--Flat triangle not "
                      "computed-->\r\n\r\n    <!--FAI triangle not computed-->\r\n\r\n    <Placemark>"),
            std::string::npos);
  EXPECT_EQ(text.find("distance_out_and_return"), std::string::npos);
  EXPECT_EQ(text.find("distance_flat_triangle"), std::string::npos);
}

TEST(KmlTrip, InstrumentTexts) {
  struct Case {
    const char* name;
    std::optional<std::string_view> instrument;
    const char* written;  // nullptr: no attribute
  } cases[] = {
      {"none", std::nullopt, "unknown"},
      {"blanks", " \t Flytec \r\n 6030  ", "Flytec 6030"},
      {"empty", "", nullptr},
      {"only blanks", "  ", nullptr},
      {"entities", "A \"B\" & <C>", "A &quot;B&quot; &amp; &lt;C&gt;"},
      {"latin-1", "Br\xE4uniger", "Br\xC3\xA4uniger"},
      {"control", "a\x01z", "a z"},
      {"cut to 79", "0123456789012345678901234567890123456789012345678901234567890123456789012345678XYZ",
       "0123456789012345678901234567890123456789012345678901234567890123456789012345678"},
      {"escapes stay within 79",
       "0123456789012345678901234567890123456789012345678901234567890123456789012345&78",
       "0123456789012345678901234567890123456789012345678901234567890123456789012345"},
  };
  for (const Case& c : cases) {
    const std::vector<TrackPoint> points = FixturePoints();
    const std::string text = Build(FixtureInput(points), std::nullopt, c.instrument);
    if (c.written == nullptr) {
      EXPECT_EQ(text.find("instrument="), std::string::npos) << c.name;
    } else {
      EXPECT_EQ(Between(text, "instrument=\"", "\"\r\n"), c.written) << c.name;
    }
    EXPECT_EQ(testing::ExpatProblem(std::string(kKmlFileHead) + text + std::string(kKmlFileTail)), "") << c.name;
    testing::ScriptedUserInterface ui;
    EXPECT_EQ(ReadKmlTrack(text).records.signatureValid, 2) << c.name;
  }
}

TEST(KmlTrip, TitleTexts) {
  const std::vector<TrackPoint> points = FixturePoints();
  const std::string text = Build(FixtureInput(points), "a<b>c ]]> \x01 \xC3\xA4 \xF0\x9F\xAA\x82");
  EXPECT_EQ(Between(text, "<![CDATA[", "\r\n<pre>"), "a&lt;b&gt;c ]]&gt;   \xC3\xA4 \xF0\x9F\xAA\x82");
  EXPECT_EQ(testing::ExpatProblem(std::string(kKmlFileHead) + text + std::string(kKmlFileTail)), "");

  TextBuffer buffer(kKmlTripBufferStart);
  EXPECT_EQ(BuildKmlTrip(buffer, FixtureInput(points), "bad \xC3", std::nullopt), kKmlTripBadTitle);
  EXPECT_EQ(buffer.Length(), 0u);
}

TEST(KmlTrip, BufferThatCannotGrowAndBadInput) {
  const std::vector<TrackPoint> points = FixturePoints();
  TextBuffer small(1000, 4000);
  EXPECT_EQ(BuildKmlTrip(small, FixtureInput(points), std::nullopt, std::nullopt), kKmlTripBufferFailed);
  EXPECT_TRUE(small.Failed());

  KmlTripInput beyond = FixtureInput(points);
  beyond.optimisation.fivePoints.index[4] = 6;
  TextBuffer buffer(kKmlTripBufferStart);
  EXPECT_EQ(BuildKmlTrip(buffer, beyond, std::nullopt, std::nullopt), kKmlTripBadInput);
  KmlTripInput empty = FixtureInput(points);
  empty.points = {};
  EXPECT_EQ(BuildKmlTrip(buffer, empty, std::nullopt, std::nullopt), kKmlTripBadInput);
}

TEST(KmlTrip, SignedTrackReadsBackAndDetectsOneChangedDigit) {
  const std::vector<TrackPoint> points = FixturePoints(57);
  KmlTripInput input = FixtureInput(points);
  input.optimisation = {};
  input.utcTimes = 1;
  const std::string file = std::string(kKmlFileHead) + Build(input) + std::string(kKmlFileTail);
  EXPECT_EQ(testing::ExpatProblem(file), "");
  testing::ScriptedUserInterface ui;
  const TrackFileRecords read = Shown(ui, ReadKmlTrack(file));
  ASSERT_EQ(read.Count(), 57);
  EXPECT_EQ(read.signatureValid, 2);
  EXPECT_EQ(read.utcTimes, 1);
  EXPECT_EQ(read.hasPressureAltitude, 1);
  for (size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(read.points[i].time, points[i].time);
    EXPECT_EQ(read.points[i].baroAlt, points[i].baroAlt);
    EXPECT_EQ(read.points[i].gpsAlt, points[i].gpsAlt);
    EXPECT_NEAR(read.points[i].lat, points[i].lat, 6);  // six decimals of a degree
  }
  std::string tampered = file;
  const size_t at = tampered.find("8.530000,47.030000,1003");
  ASSERT_NE(at, std::string::npos);
  tampered[at + 7] = '1';
  EXPECT_EQ(Shown(ui, ReadKmlTrack(tampered)).signatureValid, 0);
}

}  // namespace
}  // namespace trelvik
