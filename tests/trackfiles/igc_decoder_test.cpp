#include "trackfiles/igc_decoder.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "trackfiles/igc_records.hpp"

namespace trelvik {
namespace {

constexpr const char* kB1 = "B1005094730500N00815250WA0123401235";
constexpr const char* kB2 = "B1005124730600S00815350EA-001200010";

// Lines joined with CR LF, each one terminated.
std::string File(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

TrackTime Midnight(int year, int month, int day) {
  SystemTime t;
  t.year = static_cast<uint16_t>(year);
  t.month = static_cast<uint16_t>(month);
  t.day = static_cast<uint16_t>(day);
  return TrackTimeFromDate(t);
}

TEST(IgcDecoder, DecodesPointsMakerAndSerial) {
  const IgcDecodeResult r = DecodeIgc(File({"AFLY05094 Flytec", "HFDTE140712", "HOPLTPILOT: Anna", kB1, kB2}));
  ASSERT_TRUE(r.Ok()) << r.error;
  EXPECT_EQ(r.maker, "FLY");
  EXPECT_EQ(r.serial, "050");
  ASSERT_EQ(r.Count(), 2);
  const TrackPoint& a = r.points[0];
  EXPECT_EQ(a.flags, kNewSegment);
  EXPECT_EQ(a.time, Midnight(2012, 7, 14) + 10 * 3600 + 5 * 60 + 9);
  EXPECT_EQ(a.lat, MilliMinuteToSemicircle(47 * 60000 + 30500));
  EXPECT_EQ(a.lon, MilliMinuteToSemicircle(-(8 * 60000 + 15250)));
  EXPECT_EQ(a.baroAlt, 1234);
  EXPECT_EQ(a.gpsAlt, 12350);
  EXPECT_EQ(a.aux, 0.0f);
  const TrackPoint& b = r.points[1];
  EXPECT_EQ(b.flags, 0);
  EXPECT_EQ(b.lat, MilliMinuteToSemicircle(-(47 * 60000 + 30600)));
  EXPECT_EQ(b.lon, MilliMinuteToSemicircle(8 * 60000 + 15350));
  EXPECT_EQ(b.baroAlt, -12);
  EXPECT_EQ(b.gpsAlt, 100);
}

TEST(IgcDecoder, AngleConversionRoundsHalfAwayFromZero) {
  EXPECT_EQ(MilliMinuteToSemicircle(0), 0);
  EXPECT_EQ(MilliMinuteToSemicircle(1), 199);  // 198.84
  EXPECT_EQ(MilliMinuteToSemicircle(-1), -199);
  EXPECT_EQ(MilliMinuteToSemicircle(5400000), 1 << 30);  // 90 degrees
  EXPECT_EQ(MilliMinuteToSemicircle(-10800000), std::numeric_limits<int32_t>::min());
  // +180 degrees does not fit; it is the same meridian as -180.
  EXPECT_EQ(MilliMinuteToSemicircle(10800000), std::numeric_limits<int32_t>::min());
}

TEST(IgcDecoder, SerialRules) {
  struct Case {
    const char* aRecord;
    const char* maker;
    const char* serial;
  };
  const Case cases[] = {
      {"AXYZ", "XYZ", "000"},
      {"AXYZ 123", "XYZ", "000"},
      {"Axyz9a9FLIGHT:1", "xyz", "9a9"},
      {"ANAV977,FLIGHT:1", "NAV", "977"},
  };
  for (const Case& c : cases) {
    const IgcDecodeResult r = DecodeIgc(File({c.aRecord, "HFDTE140712", kB1}));
    ASSERT_TRUE(r.Ok()) << c.aRecord << ": " << r.error;
    EXPECT_EQ(r.maker, c.maker);
    EXPECT_EQ(r.serial, c.serial);
  }
}

TEST(IgcDecoder, ErrorsNameTheFaultAndTheLine) {
  struct Case {
    std::string file;
    const char* error;
  };
  const Case cases[] = {
      {File({"AFLY050", "HFDTE140712", "HFDTE150712", kB1}), "Multiple date lines"},
      {File({"AFLY050", "HFDTE140712", "HFDTEXX", kB1}), "Multiple date lines"},
      {File({"AFLY050", "HFDTEDATE:140712", "HFDTE150712", kB1}), "Multiple date lines"},
      {File({"AFLY050", "HOPLT", "HFDTE1407", kB1}), "Date error 1 on line 3"},
      {File({"AFLY050", "HFDTE1407123", kB1}), "Date error 1 on line 2"},
      {File({"AFLY050", "HFDTE320712", kB1}), "Date error 1 on line 2"},
      {File({"AFLY050", "HFDTE001312", kB1}), "Date error 1 on line 2"},
      {File({"AFLY050", "HFDTE141312", kB1}), "Date error 1 on line 2"},
      {File({"AFLY050", "HFDTE14O712", kB1}), "Date error 1 on line 2"},
      {File({"AFLY050", "HFDTEDATE:140712,", kB1}), "Date error 1 on line 2"},
      {File({"AFLY050", "HFDTEDATE:140712,123", kB1}), "Date error 1 on line 2"},
      {File({"AFLY050", "HFDTEDATE: 140712", kB1}), "Date error 1 on line 2"},
      {File({"AFLY050", "HFDTE140712", "AFLY051", kB1}), "Multiple A-records"},
      {File({"AFL", "HFDTE140712", kB1}), "Too short A-record"},
      {File({"A", "HFDTE140712", kB1}), "Too short A-record"},
      {File({"AF-Y050", "HFDTE140712", kB1}), "Bad IGC manufacturer found in the A-record"},
      {File({"AFLY0-0", "HFDTE140712", kB1}), "Bad serial number found in the A-record"},
      {File({"AFLY05", "HFDTE140712", kB1}), "Bad serial number found in the A-record"},
      {File({"AFLY050", kB1, "HFDTE140712"}), "Missing date line"},
      {File({"HFDTE140712", kB1}), "No A-record found"},
      {File({"AFLY050", "HFDTE140712", "LXXX"}), "No positions found"},
      {"", "No A-record found"},
  };
  for (const Case& c : cases) {
    const IgcDecodeResult r = DecodeIgc(c.file);
    EXPECT_EQ(r.error, c.error) << c.file;
    EXPECT_TRUE(r.points.empty());
  }
}

TEST(IgcDecoder, PositionErrorCodes) {
  struct Case {
    const char* record;
    int code;
  };
  const Case cases[] = {
      {"B1a05094730500N00815250WA0123401235", 1},  {"B2405094730500N00815250WA0123401235", 2},
      {"B10x5094730500N00815250WA0123401235", 3},  {"B1060094730500N00815250WA0123401235", 4},
      {"B10050a4730500N00815250WA0123401235", 5},  {"B1005604730500N00815250WA0123401235", 6},
      {"B100509 730500N00815250WA0123401235", 7},  {"B1005099030500N00815250WA0123401235", 8},
      {"B10050947305-0N00815250WA0123401235", 9},  {"B1005094760001N00815250WA0123401235", 10},
      {"B1005094730500n00815250WA0123401235", 11}, {"B1005094730500X00815250WA0123401235", 11},
      {"B1005094730500N0a815250WA0123401235", 12}, {"B1005094730500N18015250WA0123401235", 13},
      {"B1005094730500N0081525xWA0123401235", 14}, {"B1005094730500N00860001WA0123401235", 15},
      {"B1005094730500N00815250wA0123401235", 16}, {"B1005094730500N00815250WA01a3401235", 18},
      {"B1005094730500N00815250WA0123-01235", 18}, {"B1005094730500N00815250WA0123401-35", 18},
      {"B1005094730500N00815250WA012340123 ", 18}, {"B1005099000001N00815250WA0123401235", 8},
      {"B1005099100000N00815250WA0123401235", 8},  {"B1005094730500N18000001WA0123401235", 13},
      {"B1005094730500N18100000WA0123401235", 13},
  };
  for (const Case& c : cases) {
    const IgcDecodeResult r = DecodeIgc(File({"AFLY050", "HOPLT", "HFDTE140712", kB1, c.record}));
    EXPECT_EQ(r.error, "Pos. error " + std::to_string(c.code) + " on line 5") << c.record;
  }
}

TEST(IgcDecoder, FieldLimitsThatStillDecode) {
  // 89 degrees and 60.000 minutes, 179 degrees and 60.000 minutes, 23:59:59.
  const IgcDecodeResult r = DecodeIgc(File({"AFLY050", "HFDTE140712", "B2359598960000S17960000WV-9999-0001"}));
  ASSERT_TRUE(r.Ok()) << r.error;
  EXPECT_EQ(r.points[0].lat, -(1 << 30));
  EXPECT_EQ(r.points[0].lon, std::numeric_limits<int32_t>::min());
  EXPECT_EQ(r.points[0].baroAlt, -9999);
  EXPECT_EQ(r.points[0].gpsAlt, -10);
  // The pole and the date line as our writer prints them.
  const IgcDecodeResult edge = DecodeIgc(File({"AFLY050", "HFDTE140712", "B2359599000000N18000000EV0000000000"}));
  ASSERT_TRUE(edge.Ok()) << edge.error;
  EXPECT_EQ(edge.points[0].lat, 1 << 30);
  EXPECT_EQ(edge.points[0].lon, std::numeric_limits<int32_t>::min());
}

TEST(IgcDecoder, MidnightRollsOverAndSmallStepsBackStayOnTheDay) {
  const IgcDecodeResult r = DecodeIgc(
      File({"AFLY050", "HFDTE311212", "B2359504730500N00815250WA0123401235", "B0000104730500N00815250WA0123401235",
            "B1200004730500N00815250WA0123401235", "B1130004730500N00815250WA0123401235"}));
  ASSERT_TRUE(r.Ok()) << r.error;
  ASSERT_EQ(r.Count(), 4);
  EXPECT_EQ(r.points[1].time - r.points[0].time, 20u);
  EXPECT_EQ(r.points[1].time, Midnight(2013, 1, 1) + 10);
  EXPECT_EQ(r.points[3].time, Midnight(2013, 1, 1) + 11 * 3600 + 30 * 60);
}

TEST(IgcDecoder, LongDateFormsAndARepeatedSameDate) {
  const char* dateLines[][2] = {
      {"HFDTEDATE:140712", nullptr},       {"HFDTEDATE:140712,01", nullptr},       {"HFDTE DATE:140712,2", nullptr},
      {"HFDTEDATE:140712", "HFDTE140712"}, {"HFDTE140712", "HFDTEDATE:140712,03"},
  };
  for (const auto& dates : dateLines) {
    std::string file = File({"AFLY050", dates[0]});
    if (dates[1]) file += File({dates[1]});
    file += File({kB1});
    const IgcDecodeResult r = DecodeIgc(file);
    ASSERT_TRUE(r.Ok()) << dates[0] << ": " << r.error;
    EXPECT_EQ(r.points[0].time, Midnight(2012, 7, 14) + 36309) << dates[0];
  }
}

TEST(IgcDecoder, LastLineWithoutLineFeedIsDecoded) {
  const IgcDecodeResult r = DecodeIgc(File({"AFLY050", "HFDTE140712", kB1}) + kB2);
  ASSERT_TRUE(r.Ok()) << r.error;
  EXPECT_EQ(r.Count(), 2);
  EXPECT_EQ(DecodeIgc(std::string("AFLY050\nHFDTE140712\n") + "B1a05094730500N00815250WA0123401235").error,
            "Pos. error 1 on line 3");
}

TEST(IgcDecoder, CutOffPositionRecordsAreSkippedAndCounted) {
  const IgcDecodeResult r = DecodeIgc(File({"AFLY050", "HFDTE140712", kB1, "B1349534535414N00611417EA0", "B", kB2}));
  ASSERT_TRUE(r.Ok()) << r.error;
  EXPECT_EQ(r.Count(), 2);
  EXPECT_EQ(r.skippedRecords, 2);
  EXPECT_EQ(r.points[1].flags, 0);
  EXPECT_EQ(SkippedRecordsText(2), "2 incomplete position record(s) skipped");
  // A record of full length keeps failing on a bad field.
  EXPECT_EQ(DecodeIgc(File({"AFLY050", "HFDTE140712", "B1349534535414N00611417EA0123401x35"})).error,
            "Pos. error 18 on line 3");
}

TEST(IgcDecoder, LinesEndAtLineFeedsAndCarriageReturnsAndLongLinesStillDecode) {
  // Plain LF line ends, a CR in the middle of a line, and a B record with long extensions.
  std::string longB = std::string(kB1) + std::string(100, '7');
  std::string text = "AFLY050\nHFDTE140712\r junk after the return\n" + longB + "\n";
  const IgcDecodeResult r = DecodeIgc(text);
  ASSERT_TRUE(r.Ok()) << r.error;
  EXPECT_EQ(r.Count(), 1);
}

}  // namespace
}  // namespace trelvik
