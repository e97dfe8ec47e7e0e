// The IQ Basic / Flytec 6015 lines from bytes: parameter values, track list
// and waypoint lines, the upload line and the reply framing.
#include <gtest/gtest.h>

#include "instruments/flytec_fixtures.hpp"
#include "instruments/iqbasic/codec.hpp"
#include "records/track_time.hpp"

namespace trelvik::iqbasic {
namespace {

TEST(IqBasicCodec, ParameterValuesArePairsOfHexDigitsLeastSignificantFirst) {
  struct Case {
    std::string_view text;
    bool ok;
    uint32_t value;
  };
  const Case cases[] = {
      {"71040000", true, 1137}, {"", true, 0},
      {"   0a", true, 10},      {"FFFFFFFF", true, 0xFFFFFFFF},
      {"d204", true, 1234},     {"71040000 ", true, 1137},
      {"7", false, 0},          {"7G", false, 0},
      {"0102030405", false, 0}, {"71 04", false, 0},
  };
  for (const Case& c : cases) {
    uint32_t value = 99;
    EXPECT_EQ(ParseParameterValue(c.text, value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(IqBasicCodec, ModelAndProductLine) {
  EXPECT_EQ(DeviceModel(0), "6015");
  EXPECT_EQ(DeviceModel(1), "IQ-BASIC");
  EXPECT_EQ(DeviceModel(7), "IQ-BASIC");
  EXPECT_EQ(ProductText("6015", 1234, 1137), "6015, SW 1.2.34, S/N 1137");
  EXPECT_EQ(ProductText("IQ-BASIC", 2005, 9), "IQ-BASIC, SW 2.0.05, S/N 9");
}

TEST(IqBasicCodec, Requests) {
  EXPECT_EQ(ACT21(0), "ACT_21_00\r\n");
  EXPECT_EQ(ACT21(0x2A), "ACT_21_2A\r\n");
  EXPECT_EQ(ACT21(255), "ACT_21_FF\r\n");
  EXPECT_EQ(kACT20, "ACT_20_  \r\n");
}

TEST(IqBasicCodec, ReplyLinesEndWithLfAndDropWhatFollowsACr) {
  ReplyLineCollector collector;
  std::vector<std::string> lines;
  for (const char c : std::string_view("RPA_00_71040000\r junk\n\nDone\n")) {
    if (collector.Feed(static_cast<uint8_t>(c))) lines.push_back(collector.Line());
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"RPA_00_71040000", "", "Done"}));
  ReplyLineCollector longLine;
  for (int i = 0; i < 1500; ++i) (void)longLine.Feed('x');
  ASSERT_TRUE(longLine.Feed('\n'));
  EXPECT_EQ(longLine.Line().size(), 1000u);
}

TEST(IqBasicCodec, TrackListLines) {
  TrackListLine entry;
  ASSERT_TRUE(ParseTrackListLine("12;15.07.24;10:00:05;600;00:19:58", entry));
  EXPECT_EQ(entry.flightNumber, 12);
  EXPECT_EQ(entry.start, TrackTimeFromDate({2024, 7, 0, 15, 10, 0, 5, 0}));
  EXPECT_EQ(entry.duration, 1198u);
  ASSERT_TRUE(ParseTrackListLine("255;01.01.09;00:00:00;;01:00:00;more", entry));
  EXPECT_EQ(entry.flightNumber, 255);
  for (const std::string_view bad : {"12;15.07.24;10:00:05;600", "256;15.07.24;10:00:05;600;00:19:58",
                                     "x;15.07.24;10:00:05;600;00:19:58", "12;15/07/24;10:00:05;600;00:19:58",
                                     "12;15.07.24;10:00;600;00:19:58", "12;15.07.24;10:00:05;600;00:61:00", ""}) {
    EXPECT_FALSE(ParseTrackListLine(bad, entry)) << bad;
  }
}

TEST(IqBasicCodec, WaypointLines) {
  Waypoint w;
  ASSERT_EQ(ParseWaypointLine("Fies launch ost;N  46'25.460;E 008'08.100;  2240.6", 77, w), 0);
  EXPECT_STREQ(w.name, "FIES");
  EXPECT_STREQ(w.description, "Fies launch ost");
  EXPECT_EQ(w.alt, 2241);
  EXPECT_EQ(w.time, 77u);
  EXPECT_EQ(w.airport, 0);
  EXPECT_EQ(SemicircleToMilliMinute(w.lat), 46 * 60000 + 25460);
  EXPECT_EQ(SemicircleToMilliMinute(w.lon), 8 * 60000 + 8100);
  ASSERT_EQ(ParseWaypointLine("verylongname;s 33 ' 50;w 151'12", 0, w), 0);
  EXPECT_STREQ(w.name, "VERYLO");
  EXPECT_EQ(w.alt, 0);
  EXPECT_EQ(SemicircleToMilliMinute(w.lat), -(33 * 60000 + 50000));
  EXPECT_EQ(SemicircleToMilliMinute(w.lon), -(151 * 60000 + 12000));
  struct Case {
    std::string_view line;
    int error;
  };
  const Case cases[] = {
      {";N 46'25;E 8'08", kEmptyName},
      {"A;N 46'25", kTooFewFields},
      {"A", kTooFewFields},
      {"A;N 46'25;E 8'08;high", kBadAltitude},
      {"A;X 46'25;E 8'08", kBadLatitude},
      {"A;N 90'00;E 8'08", kBadLatitude},
      {"A;N 46'60;E 8'08", kBadLatitude},
      {"A;N 46'25.1x;E 8'08", kBadLatitude},
      {"A;N 46 25;E 8'08", kBadLatitude},
      {"A;N 46'25;N 8'08", kBadLongitude},
      {"A;N 46'25;E 180'00", kBadLongitude},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseWaypointLine(c.line, 0, w), c.error) << c.line;
  EXPECT_TRUE(EndsWaypointList("No Data"));
  EXPECT_TRUE(EndsWaypointList("DONE"));
  EXPECT_FALSE(EndsWaypointList(" Done"));
}

TEST(IqBasicCodec, UploadLineRoundsToThousandthsOfAMinuteAndLimitsTheAltitude) {
  const Waypoint w = testing::MakeWaypoint(46.42433333, 8.135, "FIESCH", "Fiesch launch and a long name", 2240);
  EXPECT_EQ(ACT32(w), "ACT_32_00\r\nFiesch launch an;N  46'25.460;E 008'08.100;  2240;   400\r\n");
  const Waypoint south = testing::MakeWaypoint(-33.5, -151.25, "SW", "SW", 20000);
  EXPECT_EQ(ACT32(south), "ACT_32_00\r\nSW              ;S  33'30.000;W 151'15.000; 10000;   400\r\n");
  const Waypoint low = testing::MakeWaypoint(0, 0, "LOW", "", -3000);
  EXPECT_EQ(ACT32(low), "ACT_32_00\r\n                ;N  00'00.000;E 000'00.000; -2000;   400\r\n");
  // What is sent reads back as the same position.
  Waypoint back;
  ASSERT_EQ(ParseWaypointLine("Fiesch launch an;N  46'25.460;E 008'08.100;  2240", 0, back), 0);
  EXPECT_EQ(ACT32(back).substr(11), "Fiesch launch an;N  46'25.460;E 008'08.100;  2240;   400\r\n");
}

}  // namespace
}  // namespace trelvik::iqbasic
