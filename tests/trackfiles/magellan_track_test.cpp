#include "trackfiles/magellan_track.hpp"

#include <gtest/gtest.h>

#include "base/c_format.hpp"

namespace trelvik {
namespace {

std::string Sentence(const std::string& body) {
  unsigned sum = 0;
  for (const char c : body) sum ^= static_cast<unsigned char>(c);
  return "$" + body + CFormat("*%02X", sum);
}

TrackTime At(int hour, int minute, int second) {
  return TrackTimeFromDate(SystemTime{2012, 7, 0, 1, static_cast<uint16_t>(hour), static_cast<uint16_t>(minute),
                                      static_cast<uint16_t>(second), 0});
}

TEST(MagellanTrack, SentencesWithoutFormatOrEndLinesRead) {
  // What gpsbabel writes: LF or CR LF, no $PMGNFMT and no $PMGNCMD,END.
  const std::string text = Sentence("PMGNTRK,4700.000,N,00830.000,E,01500,M,100000.00,A,,010712") + "\n" +
                           Sentence("PMGNTRK,4700.120,S,00830.180,W,-0012,M,100020.00,A,,010712") + "\r\n";
  const TrackFileRead read = ReadMagellanTrack(text);
  ASSERT_TRUE(read.Ok()) << read.error.text;
  ASSERT_EQ(read.records.Count(), 2);
  EXPECT_EQ(read.records.points[0].flags, kNewSegment);
  EXPECT_EQ(read.records.points[0].time, At(10, 0, 0));
  EXPECT_EQ(read.records.points[1].gpsAlt, -120);
  EXPECT_LT(read.records.points[1].lat, 0);
  EXPECT_LT(read.records.points[1].lon, 0);
}

TEST(MagellanTrack, ValidityVIsSkippedAndEndStopsTheReading) {
  const std::string text = Sentence("PMGNTRK,4700.000,N,00830.000,E,01500,M,100000.00,V,,010712") + "\r\n" +
                           Sentence("PMGNTRK,4700.000,N,00830.000,E,01500,F,100000.49,A,,010712") + "\r\n" +
                           Sentence("PMGNCMD,END") + "\r\ngarbage\r\n";
  const TrackFileRead read = ReadMagellanTrack(text);
  ASSERT_TRUE(read.Ok()) << read.error.text;
  ASSERT_EQ(read.records.Count(), 1);
  EXPECT_EQ(read.records.points[0].gpsAlt, 4572);  // 1500 ft
  EXPECT_EQ(read.records.points[0].time, At(10, 0, 0));
}

TEST(MagellanTrack, FaultsNameTheirLine) {
  const std::string good = Sentence("PMGNTRK,4700.000,N,00830.000,E,01500,M,100000.00,A,,010712") + "\r\n";
  const std::string cases[] = {
      "$PMGNTRK,4700.000,N,00830.000,E,01500,M,100000.00,A,,010712*00",
      Sentence("PMGNTRK,9000.000,N,00830.000,E,01500,M,100000.00,A,,010712"),
      Sentence("PMGNTRK,4700.000,X,00830.000,E,01500,M,100000.00,A,,010712"),
      Sentence("PMGNTRK,4700.000,N,00830.000,E,01500,K,100000.00,A,,010712"),
      Sentence("PMGNTRK,4700.000,N,00830.000,E,01500,M,250000.00,A,,010712"),
      Sentence("PMGNTRK,4700.000,N,00830.000,E,01500,M,100000.00,A,,320712"),
      Sentence("PMGNTRK,4700.000,N,00830.000,E,01500,M,100000.00,A"),
      Sentence("PMGNWPL,4700.000,N,00830.000,E,01500,M,100000.00,A,,010712"),
      "PMGNTRK",
  };
  for (const std::string& bad : cases) {
    const TrackFileRead read = ReadMagellanTrack(good + bad + "\r\n");
    EXPECT_EQ(read.status, FileReadStatus::Failed) << bad;
    EXPECT_EQ(read.error.text, "Bad line 2") << bad;
    EXPECT_EQ(read.error.caption, "Decoding track log file");
  }
}

}  // namespace
}  // namespace trelvik
