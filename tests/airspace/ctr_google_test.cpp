#include "airspace/ctr_google.hpp"

#include <gtest/gtest.h>

#include "airspace_fixtures.hpp"
#include "base/atomic_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::MustParse;
using testing::ScriptedUserInterface;
using testing::TempDir;

constexpr TrackTime kNow = 1000000;

TEST(EncodePolyline, GooglesPublishedExample) {
  EXPECT_EQ(EncodePolyline({{38.5, -120.2}, {40.7, -120.95}}), "_p~iF~ps|U_ulLnnqC");
  EXPECT_EQ(EncodePolyline({{38.5, -120.2}, {40.7, -120.95}, {43.252, -126.453}}), "_p~iF~ps|U_ulLnnqC_mqNvxq`@");
  EXPECT_EQ(EncodePolyline({}), "");
  EXPECT_EQ(EncodePolyline({{0, 0}, {0.000004, -0.000006}}), "???@");  // rounds half away from zero
}

constexpr const char* kHeader =
    "function addAirspace(map) {\r\n\r\n"
    "// Airspace A:   Fillcolor #00FF00, strokeColor #FF0000, fillOpacity: 0.10\r\n"
    "// Airspace B:   Fillcolor #00FF01, strokeColor #FF0001, fillOpacity: 0.11\r\n"
    "// Airspace C:   Fillcolor #00FF02, strokeColor #FF0002, fillOpacity: 0.12\r\n"
    "// Airspace D:   Fillcolor #00FF03, strokeColor #FF0003, fillOpacity: 0.13\r\n"
    "// Airspace E:   Fillcolor #00FF04, strokeColor #FF0004, fillOpacity: 0.14\r\n"
    "// Airspace P:   Fillcolor #00FF05, strokeColor #FF0005, fillOpacity: 0.15\r\n"
    "// Airspace Q:   Fillcolor #00FF06, strokeColor #FF0006, fillOpacity: 0.16\r\n"
    "// Airspace R:   Fillcolor #00FF07, strokeColor #FF0007, fillOpacity: 0.17\r\n"
    "// Airspace W:   Fillcolor #00FF08, strokeColor #FF0008, fillOpacity: 0.18\r\n"
    "// Airspace CTR: Fillcolor #00FF09, strokeColor #FF0009, fillOpacity: 0.19\r\n"
    "// Airspace CTZ: Fillcolor #00FF0A, strokeColor #FF000A, fillOpacity: 0.20\r\n"
    "// Airspace GP:  Fillcolor #00FF0B, strokeColor #FF000B, fillOpacity: 0.21\r\n"
    "// Airspace ?:   Fillcolor #00FF0C, strokeColor #FF000C, fillOpacity: 0.22\r\n"
    "\r\n";

TEST(FormatCtrGoogleApi, WholeFragmentOfOneAirspace) {
  CtrList list = MustParse("AN Saint John's\nAC CTR\nAL 1000 ft\nAH FL 95\nDP 38.5N 120.2W\nDP 40.7N 120.95W\n");
  list[0].selected = true;
  std::string text;
  ASSERT_EQ(FormatCtrGoogleApi(list, 10, kNow, text), 0);
  EXPECT_EQ(text, std::string(kHeader) +
                      "// Saint John's FL 95 - 1000 ft\r\n"
                      "// CLASS CTR\r\n"
                      "var polygon = new google.maps.Polygon({\r\n"
                      "path: google.maps.geometry.encoding.decodePath('_p~iF~ps|U_ulLnnqC~tlLonqC'),\r\n"
                      "map: map, strokeColor: \"#FF0009\", strokeOpacity: 0.5, strokeWeight: 1, "
                      "fillColor: \"#00FF09\", fillOpacity: 0.19});\r\n"
                      "polygon.bounds  = new google.maps.LatLngBounds(new google.maps.LatLng(38.500000, "
                      "-120.950000), new google.maps.LatLng(40.700000, -120.200000));\r\n"
                      "polygon.altLow  = 1000;\r\npolygon.altHigh = 9500;\r\n"
                      "attachPolygonInfoBox(polygon, infoBox, 'Saint John\\'s<br />FL 95 - 1000 ft');\r\n"
                      "polygons.push(polygon);\r\n\r\n"
                      "}\r\n");
}

TEST(FormatCtrGoogleApi, HighestFloorFirstThenHighestCeiling) {
  CtrList list = MustParse(
      "AN Low\nAL GND\nAH 2000 m\nDP 45N 6E\nDP 46N 6E\n"
      "AN High\nAL FL 100\nAH FL 120\nDP 45N 6E\nDP 46N 6E\n"
      "AN MidLow\nAL 1000 m\nAH 1500 m\nDP 45N 6E\nDP 46N 6E\n"
      "AN MidHigh\nAL 1000 m\nAH 3000 m\nAC Glider\nDP 45N 6E\nDP 46N 6E\n"
      "AN Unselected\nAL FL 200\nAH FL 300\nDP 45N 6E\nDP 46N 6E\n");
  for (size_t i = 0; i < 4; ++i) list[i].selected = true;
  std::string text;
  ASSERT_EQ(FormatCtrGoogleApi(list, 10, kNow, text), 0);
  const size_t high = text.find("// High ");
  const size_t midHigh = text.find("// MidHigh ");
  const size_t midLow = text.find("// MidLow ");
  const size_t low = text.find("// Low ");
  EXPECT_LT(high, midHigh);
  EXPECT_LT(midHigh, midLow);
  EXPECT_LT(midLow, low);
  EXPECT_NE(low, std::string::npos);
  EXPECT_EQ(text.find("Unselected"), std::string::npos);
  EXPECT_NE(text.find("strokeColor: \"#FF000C\", strokeOpacity: 0.5, strokeWeight: 1, fillColor: \"#00FF0C\", "
                      "fillOpacity: 0.22"),
            std::string::npos);
}

TEST(WriteCtrGoogleApi, AFailedOutlineWritesNothing) {
  TempDir dir;
  ScriptedUserInterface ui;
  ui.QueueFile(dir.File("map.txt"));
  CtrList list = MustParse("AN A\nDP 45N 6E\nDP 46N 6E\nAN B\nDP 45N 6E\n");
  std::string folder;
  EXPECT_FALSE(WriteCtrGoogleApi(ui, list, {0, 1}, 10, kNow, folder));
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_TRUE(ui.fileRequests.empty());
  EXPECT_FALSE(FileExists(dir.File("map.txt")));
  ASSERT_TRUE(WriteCtrGoogleApi(ui, list, {0}, 10, kNow, folder));
  EXPECT_EQ(ui.statusLines, (std::vector<std::string>{dir.File("map.txt") + " written"}));
  EXPECT_EQ(ui.fileRequests.at(0).title, "Save CTR(s)");
  EXPECT_EQ(ui.fileRequests.at(0).extension, ".txt");
}

}  // namespace
}  // namespace trelvik
