// The line-based waypoint readers on the lines they must refuse, skip or ask
// about, with the exact message and line number.
#include <gtest/gtest.h>

#include <string>

#include "waypoints/waypoint_file_formats.hpp"

namespace trelvik {
namespace {

constexpr TrackTime kNow = 700000000;
const std::string kOziHeader = "OziExplorer Waypoint File Version 1.0\r\nWGS 84\r\nReserved 2\r\nReserved 3\r\n";
const std::string kCupHeader = "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n";

WaypointFileRead Read(const char* format, const std::string& bytes, bool canAsk = false) {
  FileReadContext context;
  context.now = kNow;
  context.canAsk = canAsk;
  return FindWaypointFileFormat(format)->read(bytes, context);
}

TEST(WaypointReaderCases, BadLinesStopTheReadingWithTheirNumber) {
  struct Case {
    const char* format;
    std::string bytes;
    const char* text;
    const char* caption;
  };
  const Case cases[] = {
      {"ozi-waypoints", kOziHeader + "1,A,90.0,8.0,0,0\r\n", "Bad line 5", "Decoding waypoint file"},
      {"ozi-waypoints", kOziHeader + "1,A,45.0,180.0,0,0\r\n", "Bad line 5", "Decoding waypoint file"},
      {"ozi-waypoints", kOziHeader + "1,A,45.0,8.0,x,0\r\n", "Bad line 5", "Decoding waypoint file"},
      {"ozi-waypoints", kOziHeader + "\r\n\r\n1,A,45,8,0,0.5\r\n", "Bad line 7", "Decoding waypoint file"},
      {"ozi-waypoints", kOziHeader + "1,A,45,8,0,0,1,3,0,65535,d,0,0,0,high\r\n", "Bad line 5",
       "Decoding waypoint file"},
      {"ozi-waypoints", kOziHeader + "1,a.b,45,8,0,0\r\n", "Bad line 5", "Decoding waypoint file"},
      {"ozi-waypoints", kOziHeader + "1,  ,45,8,0,0\r\n", "Bad line 5", "Decoding waypoint file"},
      {"geo-waypoints", "$FormatGEO\r\nA N 90 00 00.00 E 008 00 00.00 0\r\n", "Bad line 2", "Decoding waypoint file"},
      {"geo-waypoints", "$FormatGEO\r\nA 46 00 00.00 E 008 00 00.00 0\r\n", "Bad line 2", "Decoding waypoint file"},
      {"geo-waypoints", "$FormatGEO\r\nA N 46 00 00.00 E 008 00 00.00\r\n", "Bad line 2", "Decoding waypoint file"},
      {"geo-waypoints", "$FormatGEO\r\nA N 46 60 00.00 E 008 00 00.00 0\r\n", "Bad line 2", "Decoding waypoint file"},
      {"utm-waypoints", "$FormatUTM\r\nA 32T 1000001 5150000 0\r\n", "Bad line 2", "Decoding waypoint file"},
      {"utm-waypoints", "$FormatUTM\r\nA 32T 500000 20000001 0\r\n", "Bad line 2", "Decoding waypoint file"},
      {"utm-waypoints", "$FormatUTM\r\nA 61T 500000 5150000 0\r\n", "Bad line 2", "Decoding waypoint file"},
      {"utm-waypoints", "$FormatUTM\r\nA 32T 500000 5150000 1.5\r\n", "Bad line 2", "Decoding waypoint file"},
      // A southern band so near the equator's false northing that the position lies beyond 80 S.
      {"utm-waypoints", "$FormatUTM\r\nA 32G 0462165 47669 0\r\n", "Bad line 2", "Decoding waypoint file"},
      // An elevation without its unit.
      {"seeyou-waypoints", kCupHeader + "\"A\",A,,4630.000N,00715.000W,1200,1\r\n", "Bad line 2",
       "Decoding waypoint file"},
      {"seeyou-waypoints", kCupHeader + "\"A\",A,,463.000N,00715.000W,1200m,1\r\n", "Bad line 2",
       "Decoding waypoint file"},
      {"seeyou-waypoints", kCupHeader + "\"\",A,,4630.000N,00715.000W,1200m,1\r\n", "Bad line 2",
       "Decoding waypoint file"},
      // The first field missing on the third line.
      {"winpilot-waypoints", "1,46:30.000N,7:15.000W,0,T,A\r\n2,46:30.000N,7:15.000W,0,T,B\r\n"
                             "46:30.000N,7:15.000W,0,T,C,d\r\n", "Bad line 3", "Decoding WinPilot file"},
      {"winpilot-waypoints", "1,46:30.000N,7:15.000W,0,T,\r\n", "Bad line 1", "Decoding WinPilot file"},
      {"winpilot-waypoints", "1,46:60.000N,7:15.000W,0,T,A\r\n", "Bad line 1", "Decoding WinPilot file"},
      {"winpilot-waypoints", "1,46:30.000N,7:15.000W,0X,T,A\r\n", "Bad line 1", "Decoding WinPilot file"},
      {"compegps-waypoints", "G  WGS 72\r\n", "Bad line 1", "Decoding CompeGPS file"},
      {"compegps-waypoints", "G  WGS 84\r\nU  1\r\nW  A A 46.5N 7.2W 01-JUL-2012 10:00:00\r\n", "Bad line 3",
       "Decoding CompeGPS file"},
      {"compegps-waypoints", "G  WGS 84\r\nU  1\r\nW  A A 46.5X 7.2W 01-JUL-2012 10:00:00 0\r\n", "Bad line 3",
       "Decoding CompeGPS file"},
  };
  for (const Case& c : cases) {
    const WaypointFileRead read = Read(c.format, c.bytes);
    EXPECT_EQ(read.status, FileReadStatus::Failed) << c.format << " " << c.bytes;
    EXPECT_EQ(read.error.text, c.text) << c.format << " " << c.bytes;
    EXPECT_EQ(read.error.caption, c.caption) << c.format;
    EXPECT_EQ(read.error.line, std::stoi(std::string(c.text).substr(9))) << c.format;
    EXPECT_TRUE(read.records.waypoints.empty()) << c.format;
  }
}

TEST(WaypointReaderCases, LenientFormatsRaiseAndCutNamesWithoutAsking) {
  const WaypointFileRead cup = Read("seeyou-waypoints", kCupHeader + "\"Long\",long name,,4630.000N,00715.000W,1m,\r\n");
  ASSERT_TRUE(cup.Ok()) << cup.error.text;
  EXPECT_STREQ(cup.records.waypoints[0].name, "LONG");
  const WaypointFileRead dat = Read("winpilot-waypoints", "1,46:30.000N,7:15.000W,0,T,Abc.defgh,x\r\n");
  ASSERT_TRUE(dat.Ok()) << dat.error.text;
  EXPECT_STREQ(dat.records.waypoints[0].name, "ABC-DE");
}

TEST(WaypointReaderCases, StrictFormatsAskAboutEachUncleanIdUntilYesToAll) {
  const std::string text = kOziHeader + "1,ok,45,8,0,0\r\n2,take.off,45,8,0,0\r\n3,lz.1,45,8,0,0\r\n"
                                        "4,x!,45,8,0,0\r\n";
  FileReadContext context;
  context.now = kNow;
  const WaypointFileFormat& ozi = *FindWaypointFileFormat("ozi-waypoints");
  // "ok" is lower case: strict reading asks about it too.
  WaypointFileRead read = ozi.read(text, context);
  ASSERT_EQ(read.status, FileReadStatus::NeedsAnswer);
  EXPECT_EQ(read.question.waypointName, "ok");

  context.answers = {AnswerOf(ModifyIdAnswer::Yes), AnswerOf(ModifyIdAnswer::No)};
  read = ozi.read(text, context);
  ASSERT_EQ(read.status, FileReadStatus::NeedsAnswer);
  EXPECT_EQ(read.question.waypointName, "lz.1");

  context.answers = {AnswerOf(ModifyIdAnswer::Yes), AnswerOf(ModifyIdAnswer::No), AnswerOf(ModifyIdAnswer::YesToAll)};
  read = ozi.read(text, context);
  ASSERT_EQ(read.status, FileReadStatus::Read);
  ASSERT_EQ(read.records.Count(), 3);  // "take.off" skipped
  EXPECT_STREQ(read.records.waypoints[0].name, "OK");
  EXPECT_STREQ(read.records.waypoints[1].name, "LZ-1");
  EXPECT_STREQ(read.records.waypoints[2].name, "X-");

  context.answers = {AnswerOf(ModifyIdAnswer::Cancel)};
  read = ozi.read(text, context);
  EXPECT_EQ(read.status, FileReadStatus::Failed);
  EXPECT_EQ(read.error.text, "Bad line 5");

  const WaypointFileRead geo = FindWaypointFileFormat("geo-waypoints")
                                   ->read("$FormatGEO\r\ntoolongname N 46 00 00.00 E 008 00 00.00 0\r\n", context);
  EXPECT_EQ(geo.status, FileReadStatus::Failed);
  EXPECT_EQ(geo.error.text, "Bad line 2");
}

TEST(WaypointReaderCases, TheTextFormatsTakeUtf8OrElseWindows1252) {
  const WaypointFileRead utf8 = Read("geo-waypoints", "$FormatGEO\r\nA N 46 00 00.00 E 008 00 00.00 0 \xE2\x82\xAC 5\r\n");
  ASSERT_TRUE(utf8.Ok());
  EXPECT_STREQ(utf8.records.waypoints[0].description, "\xE2\x82\xAC 5");
  const WaypointFileRead cp1252 = Read("geo-waypoints", "$FormatGEO\r\nA N 46 00 00.00 E 008 00 00.00 0 \x80 5\r\n");
  ASSERT_TRUE(cp1252.Ok());
  EXPECT_STREQ(cp1252.records.waypoints[0].description, "\xE2\x82\xAC 5");
  // Forty characters of two bytes each do not fit the record: it keeps whole characters.
  std::string title;
  for (int i = 0; i < 40; ++i) title += "\xC3\xA9";
  const WaypointFileRead cup = Read("seeyou-waypoints", kCupHeader + "\"" + title + "\",A,,4630.000N,00715.000W,1m,\r\n");
  ASSERT_TRUE(cup.Ok());
  EXPECT_EQ(std::string(cup.records.waypoints[0].description), title.substr(0, 40));
}

}  // namespace
}  // namespace trelvik
