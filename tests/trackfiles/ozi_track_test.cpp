#include "trackfiles/ozi_track.hpp"

#include <gtest/gtest.h>

#include "support/golden_file.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

using testing::GoldenFile;

TrackTime At(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute, uint16_t second) {
  return TrackTimeFromDate(SystemTime{year, month, 0, day, hour, minute, second, 0});
}

std::string Head(const char* count) {
  return std::string("OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\nReserved 3\r\n"
                     "0,2,255,x,0,0,2,8421376\r\n") +
         count + "\r\n";
}

TEST(OziTrack, WriterGivesTheGoldenFileByteForByte) {
  const TrackPoint points[] = {
      {kNewSegment, At(2012, 7, 1, 10, 0, 0), DegreesToSemicircle(47.0), DegreesToSemicircle(8.5), 15000, 0, 0},
      {0, At(2012, 7, 1, 10, 0, 10), DegreesToSemicircle(47.001), DegreesToSemicircle(8.501), 15107, 0, 0},
      {0, At(2012, 7, 1, 10, 0, 20), DegreesToSemicircle(47.002), DegreesToSemicircle(8.503), 15220, 0, 0}};
  const FileWriteResult written = WriteOziTrack(points, At(2012, 7, 2, 12, 0, 0));
  ASSERT_FALSE(written.error);
  EXPECT_EQ(written.bytes, GoldenFile("track_files/flight.plt"));
}

TEST(OziTrack, DayNumbersAndFeetConvertAsTheFormatSays) {
  const TrackFileRead read = ReadOziTrack(Head("2") +
                                          "47.0,8.5,0,30000,32873.5,,\r\n"
                                          "-47.0,-8.5,0,-1.5,41091.4166667,,\r\n");
  ASSERT_TRUE(read.Ok()) << read.error.text;
  ASSERT_EQ(read.records.Count(), 2);
  EXPECT_EQ(read.records.points[0].time, At(1989, 12, 31, 12, 0, 0));
  EXPECT_EQ(read.records.points[0].gpsAlt, 91440);
  EXPECT_EQ(read.records.points[0].flags, kNewSegment);
  EXPECT_EQ(read.records.points[1].time, At(2012, 7, 1, 10, 0, 0));
  EXPECT_EQ(read.records.points[1].gpsAlt, -5);  // -4.572 dm, half away from zero
  EXPECT_EQ(read.records.points[1].flags, 0);
  EXPECT_EQ(DecimetresToFeet(-5), -2);
  EXPECT_EQ(DecimetresToFeet(15), 5);
}

TEST(OziTrack, LinesReadWithAndWithoutCarriageReturns) {
  std::string lf = Head("1") + "47.0,8.5,0,100,41091.5,,\r\n";
  for (size_t at; (at = lf.find('\r')) != std::string::npos;) lf.erase(at, 1);
  const TrackFileRead read = ReadOziTrack(lf);
  ASSERT_TRUE(read.Ok()) << read.error.text;
  EXPECT_EQ(read.records.Count(), 1);
}

TEST(OziTrack, ACountOfZeroReadsEveryLineThatFollows) {
  const TrackFileRead read = ReadOziTrack(Head("0") + "47.0,8.5,1,4921.3,41091.4166667,,\r\n"
                                                      "47.001,8.501,0,4956.4,41091.4167824,,\r\n");
  ASSERT_TRUE(read.Ok()) << read.error.text;
  ASSERT_EQ(read.records.Count(), 2);
  EXPECT_EQ(read.records.points[0].gpsAlt, 15000);  // 4921.3 ft = 14999.6 dm
  EXPECT_TRUE(ReadOziTrack(Head("0")).Ok());
}

TEST(OziTrack, FaultsNameTheirLine) {
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"", "Missing format line (1)"},
      {"Ozi\r\n", "Bad format line (1)"},
      {"OziExplorer Track Point File\r\n", "Missing map datum line (2)"},
      {"OziExplorer Track Point File\r\nWGS84\r\n", "Bad map datum line (2)"},
      {Head("2") + "47.0,8.5,0,100,41091.5,,\r\n", "Missing line(s)"},
      {Head("1") + "47.0,8.5,0,30001,41091.5,,\r\n", "Bad line 7"},
      {Head("1") + "47.0,8.5,0,-2001,41091.5,,\r\n", "Bad line 7"},
      {Head("1") + "90.0,8.5,0,100,41091.5,,\r\n", "Bad line 7"},
      {Head("1") + "47.0,180,0,100,41091.5,,\r\n", "Bad line 7"},
      {Head("1") + "47.0,8.5,0,100,32872.9,,\r\n", "Bad line 7"},
      {Head("1") + "47.0,8.5,0,100,99999999,,\r\n", "Bad line 7"},
      {Head("1") + "47.0,8.5,0,100\r\n", "Bad line 7"},
      {Head("x"), "Bad line 6"},
  };
  for (const Case& c : cases) {
    const TrackFileRead read = ReadOziTrack(c.text);
    EXPECT_EQ(read.status, FileReadStatus::Failed) << c.error;
    EXPECT_EQ(read.error.text, c.error);
    EXPECT_EQ(read.error.caption, "Decoding track log file");
  }
}

TEST(OziTrack, AHugeAnnouncedCountIsNotBelievedBeforeTheLinesCome) {
  const TrackFileRead read = ReadOziTrack(Head("2000000000") + "47.0,8.5,0,100,41091.5,,\r\n");
  EXPECT_EQ(read.error.text, "Missing line(s)");
}

}  // namespace
}  // namespace trelvik
