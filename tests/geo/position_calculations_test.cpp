#include "geo/position_calculations.hpp"

#include <gtest/gtest.h>
#include <regex>

#include "support/scripted_user_interface.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;
using testing::ScriptedUserInterface;

const PositionFields kOsloDegrees{"", "N 59 54 50", "E 10 45 0"};
const PositionFields kBergenDegrees{"", "60.3913", "5.3221"};
const PositionFields kZone32Start{"32V", "0500000", "6651411"};
const PositionFields kZone32End{"32v", "500000", "6652411.0"};

struct DistanceFault {
  PositionFields from;
  PositionFields to;
  bool utm;
  RecordedBox box;
};

TEST(DistanceCalculator, ReportsTheFirstUnreadableFieldInOrder) {
  const DistanceFault faults[] = {
      {{"", "", "E 10"}, kBergenDegrees, false, {MessageKind::Error, "Missing input", "Reading FROM latitude"}},
      {{"", "N 90", ""}, kBergenDegrees, false, {MessageKind::Error, "Bad latitude input", "Reading FROM latitude"}},
      {{"", "N 59", ""}, kBergenDegrees, false, {MessageKind::Error, "Missing input", "Reading FROM longitude"}},
      {{"", "N 59", "E 180"}, kBergenDegrees, false,
       {MessageKind::Error, "Bad longitude input", "Reading FROM longitude"}},
      {kOsloDegrees, {"", "", ""}, false, {MessageKind::Error, "Missing input", "Reading TO latitude"}},
      {kOsloDegrees, {"", "S 12 60", "E 1"}, false, {MessageKind::Error, "Bad latitude input", "Reading TO latitude"}},
      {kOsloDegrees, {"", "N 1", ""}, false, {MessageKind::Error, "Missing input", "Reading TO longitude"}},
      {kOsloDegrees, {"", "N 1", "x"}, false, {MessageKind::Error, "Bad longitude input", "Reading TO longitude"}},
      {{"", "0500000", "6651411"}, kZone32End, true, {MessageKind::Error, "Missing input", "Reading FROM zone"}},
      {{"61V", "0500000", "6651411"}, kZone32End, true, {MessageKind::Error, "Bad zone input", "Reading FROM zone"}},
      {{"32V", "", "6651411"}, kZone32End, true, {MessageKind::Error, "Missing input", "Reading FROM easting"}},
      {{"32V", "5e5", "6651411"}, kZone32End, true, {MessageKind::Error, "Bad input", "Reading FROM easting"}},
      {{"32V", "500000", ""}, kZone32End, true, {MessageKind::Error, "Missing input", "Reading FROM northing"}},
      {{"32V", "500000", "66-1"}, kZone32End, true, {MessageKind::Error, "Bad input", "Reading FROM northing"}},
      {kZone32Start, {"", "1", "1"}, true, {MessageKind::Error, "Missing input", "Reading TO zone"}},
      {kZone32Start, {"32I", "1", "1"}, true, {MessageKind::Error, "Bad zone input", "Reading TO zone"}},
      {kZone32Start, {"32V", "", "1"}, true, {MessageKind::Error, "Missing input", "Reading TO easting"}},
      {kZone32Start, {"32V", "1;", "1"}, true, {MessageKind::Error, "Bad input", "Reading TO easting"}},
      {kZone32Start, {"32V", "1", ""}, true, {MessageKind::Error, "Missing input", "Reading TO northing"}},
      {kZone32Start, {"32V", "1", "north"}, true, {MessageKind::Error, "Bad input", "Reading TO northing"}},
  };
  for (const DistanceFault& fault : faults) {
    ScriptedUserInterface ui;
    EXPECT_FALSE(CalculateDistanceText(fault.from, fault.to, fault.utm, ui));
    EXPECT_EQ(ui.boxes, std::vector<RecordedBox>{fault.box}) << fault.box.caption;
  }
}

TEST(DistanceCalculator, GivesMetresWithTwoDecimals) {
  ScriptedUserInterface ui;
  // One degree of latitude along a meridian at 60 N is about 111.4 km.
  const std::optional<std::string> meridian =
      CalculateDistanceText({"", "N 59 30", "E 10"}, {"", "N 60 30", "E 10"}, false, ui);
  ASSERT_TRUE(meridian);
  EXPECT_EQ(meridian->size(), std::string("111412.30").size());
  EXPECT_NEAR(std::stod(*meridian), 111412, 50);
  EXPECT_EQ(CalculateDistanceText(kOsloDegrees, kOsloDegrees, false, ui), "0.00");
  // 1000 m north along the central meridian of zone 32.
  const std::optional<std::string> utm = CalculateDistanceText(kZone32Start, kZone32End, true, ui);
  ASSERT_TRUE(utm);
  EXPECT_NEAR(std::stod(*utm), 1000.4, 0.5);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(DistanceCalculator, NearlyAntipodalPositionsShowError) {
  ScriptedUserInterface ui;
  EXPECT_EQ(CalculateDistanceText({"", "N 0", "E 0"}, {"", "N 0.5", "W 179.7"}, false, ui), "Error");
}

TEST(DistanceCalculator, FieldsOfAStoredPosition) {
  const GeoPosition position{60 * 0.017453292519943295, 9 * 0.017453292519943295};
  const PositionFields degrees = FieldsForPosition(position, false);
  EXPECT_EQ(degrees.zone, "");
  EXPECT_EQ(degrees.first, "N 60  00  00.00");
  EXPECT_EQ(degrees.second, "E 009  00  00.00");
  const PositionFields utm = FieldsForPosition(position, true);
  EXPECT_EQ(utm.zone, "32V");
  EXPECT_EQ(utm.first, "0500000");
  EXPECT_EQ(utm.second, "6651411");
}

struct ConverterFault {
  const char* zone;
  const char* easting;
  const char* northing;
  RecordedBox box;
};

TEST(CoordinateConverter, ToDegreesReportsEachField) {
  const ConverterFault faults[] = {
      {"", "500000", "6651411", {MessageKind::Error, "Missing input", "Decoding zone string"}},
      {"0V", "500000", "6651411", {MessageKind::Error, "Bad input", "Decoding zone string"}},
      {"32V", "", "6651411", {MessageKind::Error, "Missing input", "Decoding easting string"}},
      {"32V", "50 0", "6651411", {MessageKind::Error, "Bad input", "Decoding easting string"}},
      {"32V", "500000", "", {MessageKind::Error, "Missing input", "Decoding northing string"}},
      {"32V", "500000", "x", {MessageKind::Error, "Bad input", "Decoding northing string"}},
  };
  for (const ConverterFault& fault : faults) {
    ScriptedUserInterface ui;
    EXPECT_FALSE(ConvertUtmToDegrees(fault.zone, fault.easting, fault.northing, ui));
    EXPECT_EQ(ui.boxes, std::vector<RecordedBox>{fault.box}) << fault.box.caption;
  }
}

TEST(CoordinateConverter, ToDegreesGivesSecondsWithFiveDecimals) {
  ScriptedUserInterface ui;
  const std::optional<DegreeTexts> degrees = ConvertUtmToDegrees("32V", "500000", "6652000", ui);
  ASSERT_TRUE(degrees);
  EXPECT_TRUE(std::regex_match(degrees->latitude, std::regex("N 60 00 [0-9]{2}\\.[0-9]{5}"))) << degrees->latitude;
  EXPECT_EQ(degrees->longitude, "E 009 00 00.00000");  // the central meridian of zone 32
  const std::optional<DegreeTexts> south = ConvertUtmToDegrees("33H", "500000", "6000000", ui);
  ASSERT_TRUE(south);
  EXPECT_EQ(south->latitude.substr(0, 5), "S 36 ");
  EXPECT_EQ(south->longitude, "E 015 00 00.00000");
}

TEST(CoordinateConverter, ToUtmReportsEachField) {
  const ConverterFault faults[] = {
      {"", "", "E 9", {MessageKind::Error, "Missing input", "Decoding latitude string"}},
      {"", "N 95", "E 9", {MessageKind::Error, "Bad latitude input", "Decoding latitude string"}},
      {"", "N 60", "", {MessageKind::Error, "Missing input", "Decoding longitude string"}},
      {"", "N 60", "E 9 60", {MessageKind::Error, "Bad longitude input", "Decoding longitude string"}},
      {"99Q", "N 60", "E 9", {MessageKind::Error, "Bad zone input", "Decoding longitude string"}},
  };
  for (const ConverterFault& fault : faults) {
    ScriptedUserInterface ui;
    EXPECT_FALSE(ConvertDegreesToUtm(fault.easting, fault.northing, fault.zone, ui));
    EXPECT_EQ(ui.boxes, std::vector<RecordedBox>{fault.box}) << fault.box.caption;
  }
}

TEST(CoordinateConverter, ToUtmChoosesOrForcesTheZone) {
  ScriptedUserInterface ui;
  const std::optional<UtmTextFields> automatic = ConvertDegreesToUtm("N 60", "E 9", "", ui);
  ASSERT_TRUE(automatic);
  EXPECT_EQ(automatic->zone, "32V");
  EXPECT_EQ(automatic->easting, "0500000.0000");
  EXPECT_EQ(automatic->northing.substr(0, 9), "6651411.1");
  // 5 E at 60 N lies in zone 32 by the band V rule; a forced zone 31 keeps 31.
  EXPECT_EQ(ConvertDegreesToUtm("N 60", "E 5", "", ui)->zone, "32V");
  EXPECT_EQ(ConvertDegreesToUtm("N 60", "E 5", "31V", ui)->zone, "31V");
  EXPECT_TRUE(ui.boxes.empty());
}

}  // namespace
}  // namespace trelvik
