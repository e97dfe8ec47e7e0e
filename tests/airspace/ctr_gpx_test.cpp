#include "airspace/ctr_gpx.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

#include "airspace/airspace_text.hpp"
#include "airspace_fixtures.hpp"
#include "base/atomic_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::MustParse;
using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

const CtrExportStamp kStamp{472, SystemTime{2024, 5, 0, 6, 7, 8, 9, 0}};

CtrList Selected(std::string_view text) {
  CtrList list = MustParse(text);
  for (CtrArea& area : list) area.selected = true;
  return list;
}

constexpr const char* kTrackPoint =
    "      <trkpt lat=\"%s\" lon=\"%s\">\r\n"
    "        <ele>914.400000</ele>\r\n"
    "        <extensions>\r\n"
    "          <gpxx:TrackPointExtension xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\">\r\n"
    "            <gpxx:Depth>1500.000000</gpxx:Depth>\r\n"
    "          </gpxx:TrackPointExtension>\r\n"
    "        </extensions>\r\n"
    "      </trkpt>\r\n";

std::string TrackPoint(const char* lat, const char* lon) {
  std::string text = kTrackPoint;
  text.replace(text.find("%s"), 2, lat);
  text.replace(text.find("%s"), 2, lon);
  return text;
}

TEST(FormatCtrGpx, WholeFileOfOneAirspace) {
  ScriptedUserInterface ui;
  std::string text;
  ASSERT_EQ(FormatCtrGpx(ui, Selected("AN a<b\nAL 1500 m\nAH 3000 ft AMSL\nDP 45N 6E\nDP 45.1N 6E\nDP 45.1N 6.1E\n"),
                         10, kStamp, text),
            0);
  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\"\r\n"
      "     creator=\"Trelvik 4.72\"\r\n"
      "     version=\"1.1\"\r\n"
      "     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
      "     xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">\r\n"
      "\r\n"
      "  <metadata>\r\n"
      "    <link href=\"https://trelvik.org/\"><text>Trelvik: flights from your instrument to your flight-log "
      "service</text></link>\r\n"
      "    <time>2024-05-06T07:08:09Z</time>\r\n"
      "    <bounds maxlat=\"45.100000\" maxlon=\"6.100000\" minlat=\"45.000000\" minlon=\"6.000000\"/>\r\n"
      "  </metadata>\r\n"
      "\r\n"
      "  <trk>\r\n"
      "    <name>a&lt;b</name>\r\n"
      "    <extensions>\r\n"
      "      <gpxx:TrackExtension xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\">\r\n"
      "        <gpxx:DisplayColor>Transparent</gpxx:DisplayColor>\r\n"
      "      </gpxx:TrackExtension>\r\n"
      "    </extensions>\r\n"
      "    <trkseg>\r\n" +
      TrackPoint("45.000000", "6.000000") + TrackPoint("45.100000", "6.000000") +
      TrackPoint("45.100000", "6.100000") + TrackPoint("45.000000", "6.000000") +
      "    </trkseg>\r\n"
      "  </trk>\r\n"
      "\r\n"
      "</gpx>\r\n";
  EXPECT_EQ(text, expected);
}

TEST(FormatCtrGpx, AnOutlineWithoutPointsStopsTheExport) {
  ScriptedUserInterface ui;
  std::string text = "old";
  EXPECT_EQ(FormatCtrGpx(ui, Selected("AN A\nDP 45N 6E\nDP 46N 6E\nAN B\nDP 45N 6E\n"), 10, kStamp, text), -1);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Memory allocation error",
                                                  "Save CTR(s) in .gpx file"}}));
  EXPECT_EQ(text, "old");
}

TEST(WriteCtrGpx, SavesAndReportsTheFileName) {
  TempDir dir;
  ScriptedUserInterface ui;
  ui.QueueFile(dir.File("air"));
  CtrList list = MustParse("AN A\nDP 45N 6E\nDP 46N 6E\nAN B\nV X=45N 6E\nDC 2\n");
  std::string folder;
  ASSERT_TRUE(WriteCtrGpx(ui, list, {1}, 10, kStamp, folder));
  EXPECT_EQ(ui.fileRequests.at(0).extension, ".gpx");
  EXPECT_EQ(ui.statusLines, (std::vector<std::string>{dir.File("air.gpx") + " written"}));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("air.gpx"), bytes));
  EXPECT_NE(bytes.find("<name>B</name>"), std::string::npos);
  EXPECT_EQ(bytes.find("<name>A</name>"), std::string::npos);
}

TEST(XmlText, EscapesAndDropsWhatXmlForbids) {
  EXPECT_EQ(XmlText("a<b & c>d ]]>"), "a&lt;b &amp; c&gt;d ]]&gt;");
  EXPECT_EQ(XmlText("x\x01y\tz\x7F"), "xy\tz\x7F");
  EXPECT_EQ(XmlText("Z\xC3\xBCrich \xEF\xBF\xBF"), "Z\xC3\xBCrich ");
}

// gpsbabel, where installed, must read the export as tracks with every point.
TEST(WriteCtrGpx, GpsbabelReadsTheTracks) {
  if (std::system("command -v gpsbabel >/dev/null 2>&1") != 0) GTEST_SKIP() << "gpsbabel is not on PATH";
  TempDir dir;
  ScriptedUserInterface ui;
  std::string text;
  const CtrList list = Selected(
      "AN Gen\xE8ve TMA\nAL 1000 m\nAH FL 95\nV X=46:14:00 N 006:07:00 E\nDC 10km\n"
      "AN R&D <1>\nAL GND\nAH 2000 ft\nDP 46N 6E\nDP 46.1N 6E\nDP 46.1N 6.1E\n");
  ASSERT_EQ(FormatCtrGpx(ui, list, 10, kStamp, text), 0);
  ASSERT_FALSE(WriteFileAtomically(dir.File("in.gpx"), text));
  const std::string command = "gpsbabel -t -i gpx -f " + dir.File("in.gpx") + " -o unicsv -F " +
                              dir.File("out.csv") + " 2>" + dir.File("err.txt");
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::string csv;
  ASSERT_TRUE(ReadWholeFile(dir.File("out.csv"), csv));
  size_t lines = 0;
  for (const char c : csv) lines += c == '\n';
  EXPECT_EQ(lines, 1u + 71u + 4u);  // the header line, then every point of both tracks
  EXPECT_NE(csv.find("46.1000"), std::string::npos);
}

}  // namespace
}  // namespace trelvik
