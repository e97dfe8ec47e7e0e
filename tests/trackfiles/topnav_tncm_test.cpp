#include "trackfiles/topnav_tncm.hpp"

#include <gtest/gtest.h>

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "support/golden_file.hpp"
#include "trackfiles/topnav_track.hpp"

namespace trelvik {
namespace {

using testing::GoldenFile;

// Lines built from the layout: 78-character header, 14-character time lines,
// 30 (or 34) hex digits a position.
std::string Header(char format = '1') {
  return std::string("@TN ") + format + "00A7------120701000000000" + "0" + std::string(11, '-') +
         std::string(28, '0') + "--000000\r\n";
}
std::string TimeLine(int hour, int minute, int second) {
  return CFormat("%02d%02d%02d00000AC0\r\n", hour, minute, second);
}
std::string Position(int32_t lat, int32_t lon, int32_t alt, bool twoAltitudes = false) {
  std::string line = CFormat("%06X%06X%04X", static_cast<unsigned>(lat) & 0xFFFFFF,
                             static_cast<unsigned>(lon) & 0xFFFFFF, static_cast<unsigned>(alt) & 0xFFFF);
  if (twoAltitudes) line += CFormat("%04X", static_cast<unsigned>(alt + 20) & 0xFFFF);
  return line + std::string(14, '0') + "\r\n";
}
const std::string kBad = "not a position\r\n";

std::string Lines(int good) {
  std::string text;
  for (int i = 0; i < good; ++i) text += Position(282000 + i, 51000, 1000 + i);
  return text;
}

TrackTime At(int hour, int minute, int second) {
  return TrackTimeFromDate(SystemTime{2012, 7, 0, 1, static_cast<uint16_t>(hour), static_cast<uint16_t>(minute),
                                      static_cast<uint16_t>(second), 0});
}

struct Decoded {
  TncmState state;
  int code;
  int line;
  std::vector<TrackPoint> points;
  int ignored;
};

Decoded Decode(const std::string& text, TncmOptions options = {}) {
  TncmDecoder decoder(options);
  // Byte by byte, as an instrument's bytes come.
  for (const char byte : text) (void)decoder.FeedByte(byte);
  return {decoder.State(), decoder.ErrorCode(), decoder.ErrorLine(), decoder.Points(), decoder.IgnoredBlocks()};
}

TEST(TncmDecoder, AFullBlockGivesOnePointASecond) {
  const Decoded d = Decode("noise before the header\r\n" + Header() + TimeLine(10, 0, 0) + Lines(30) + "@EOF\r\n");
  ASSERT_EQ(d.state, TncmState::Finished);
  ASSERT_EQ(d.points.size(), 30u);
  EXPECT_EQ(d.points[0].time, At(10, 0, 0));
  EXPECT_EQ(d.points[29].time, At(10, 0, 29));
  EXPECT_EQ(d.points[0].flags, kNewSegment);
  EXPECT_EQ(d.points[1].flags, 0);
  EXPECT_EQ(d.points[3].gpsAlt, 10030);
  EXPECT_EQ(d.points[0].lat, RoundHalfAway(282000 * 1988.410785185));
  EXPECT_EQ(d.ignored, 0);
}

TEST(TncmDecoder, AFirstRunOfBadLinesIsSkippedAndTheRestEndsAtSecond29) {
  std::string block;
  for (int i = 0; i < 5; ++i) block += kBad;
  const Decoded d = Decode(Header() + TimeLine(10, 0, 0) + block + Lines(25) + TimeLine(10, 0, 30) + Lines(2) +
                           "@EOF\r\n");
  ASSERT_EQ(d.state, TncmState::Finished) << d.code;
  ASSERT_EQ(d.points.size(), 27u);
  EXPECT_EQ(d.points[0].time, At(10, 0, 5));
  EXPECT_EQ(d.points[24].time, At(10, 0, 29));
  EXPECT_EQ(d.points[25].time, At(10, 0, 30));
  EXPECT_EQ(d.ignored, 1);
}

TEST(TncmDecoder, BadLinesBeforeTheEndAreSkippedInTheLastBlock) {
  const Decoded d = Decode(Header() + TimeLine(10, 0, 0) + Lines(3) + kBad + kBad + "@EOF\r\n");
  ASSERT_EQ(d.state, TncmState::Finished);
  EXPECT_EQ(d.points.size(), 3u);
  EXPECT_EQ(d.ignored, 1);
}

TEST(TncmDecoder, UtcOffsetIsSubtractedAndDaysAreCounted) {
  const Decoded d = Decode(Header() + TimeLine(14, 0, 0) + Lines(1) + TimeLine(1, 0, 0) + Lines(1) + "@EOF\r\n",
                           TncmOptions{false, 7200});
  ASSERT_EQ(d.state, TncmState::Finished);
  EXPECT_EQ(d.points[0].time, At(12, 0, 0));
  EXPECT_EQ(d.points[1].time, At(23, 0, 0));
}

TEST(TncmDecoder, TheHeaderChoosesAltitudesOnlyWhenAskedTo) {
  const std::string text = Header('2') + TimeLine(10, 0, 0) + Position(1, 2, 500, true) + "@EOF\r\n";
  const Decoded xcTrainer = Decode(text, TncmOptions{true, 0});
  ASSERT_EQ(xcTrainer.state, TncmState::Finished);
  ASSERT_EQ(xcTrainer.points.size(), 1u);
  EXPECT_EQ(xcTrainer.points[0].baroAlt, 500);
  EXPECT_EQ(xcTrainer.points[0].gpsAlt, 5200);
  // For TopNav logs the 34-character line is no position: one ignored block.
  const Decoded topNav = Decode(text);
  ASSERT_EQ(topNav.state, TncmState::Finished);
  EXPECT_TRUE(topNav.points.empty());
  const Decoded pressure = Decode(Header('0') + TimeLine(10, 0, 0) + Position(1, 2, -7) + "@EOF\r\n", {true, 0});
  ASSERT_EQ(pressure.points.size(), 1u);
  EXPECT_EQ(pressure.points[0].baroAlt, -7);
  EXPECT_EQ(pressure.points[0].gpsAlt, 0);
}

TEST(TncmDecoder, FaultsGiveTheirCodesAndLines) {
  std::string forty;
  for (int i = 0; i < 41; ++i) forty += Position(1, 1, 1);
  std::string thirtyOneWithSkip = kBad + Lines(30);
  struct Case {
    std::string text;
    int code;
    int line;
  };
  const Case cases[] = {
      {Header() + Lines(1), kTncmNoTimeLine, 2},
      {Header() + TimeLine(10, 0, 0) + Lines(1) + TimeLine(10, 0, 20), kTncmTimeOrder, 4},
      {Header() + TimeLine(10, 0, 0) + forty, kTncmBlockTooLong, 43},
      {Header() + TimeLine(10, 0, 0) + std::string(100, '0') + "\r\n", kTncmTooLongLine, 3},
      {Header() + TimeLine(10, 0, 0) + kBad + Lines(1) + "@EOF\r\n", kTncmGoodAfterBadAtEnd, 5},
      {Header() + TimeLine(10, 0, 0) + kBad + Lines(1) + kBad + TimeLine(10, 1, 0), kTncmSecondBadRun, 6},
      {Header() + TimeLine(10, 0, 0) + Lines(31) + TimeLine(10, 1, 0), kTncmLineBeyond29, 34},
      {Header() + TimeLine(10, 0, 0) + thirtyOneWithSkip + TimeLine(10, 1, 0), kTncmTooLongWithSkip, 34},
      {Header() + TimeLine(10, 0, 0) + Position(540001, 0, 0) + Lines(1) + "@EOF\r\n", kTncmGoodAfterBadAtEnd, 5},
  };
  for (const Case& c : cases) {
    const Decoded d = Decode(c.text);
    EXPECT_EQ(d.state, TncmState::Failed) << c.code;
    EXPECT_EQ(d.code, c.code);
    EXPECT_EQ(d.line, c.line) << c.code;
  }
}

TEST(TncmDecoder, TimeLinesFollowTheirLayout) {
  EXPECT_EQ(TncmTimeLine("10203000000AC0"), 10 * 3600 + 20 * 60 + 30);
  EXPECT_EQ(TncmTimeLine("102030ffff9ACx"), 10 * 3600 + 20 * 60 + 30);
  for (const char* bad : {"24000000000AC0", "10600000000AC0", "10203000000AB0", "10203000000AC", "1020300000gAC0"}) {
    EXPECT_EQ(TncmTimeLine(bad), -1) << bad;
  }
}

TEST(TopNavFile, ErrorsAndWarningsComeWithTheirTexts) {
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"", "Missing start record"},
      {Header() + TimeLine(10, 0, 0) + Lines(1), "Missing end-of-file record"},
      {Header() + Lines(1), "Error 1 on line 2"},
      {Header() + TimeLine(10, 0, 0) + kBad + Lines(1) + "@EOF\r\n", "Error 10 on block line 5"},
  };
  for (const Case& c : cases) {
    const TrackFileRead read = ReadTopNavTrack(c.text, 0);
    EXPECT_EQ(read.status, FileReadStatus::Failed) << c.error;
    EXPECT_EQ(read.error.text, c.error);
    EXPECT_EQ(read.error.caption, "Reading Top Navigator Log File");
  }
  const TrackFileRead warned = ReadTopNavTrack(Header() + TimeLine(10, 0, 0) + kBad + Lines(2) + "\r\n" +
                                                   TimeLine(10, 0, 30) + Lines(1) + "@EOF\r\n",
                                               0);
  ASSERT_TRUE(warned.Ok()) << warned.error.text;
  ASSERT_EQ(warned.notices.size(), 1u);
  EXPECT_EQ(warned.notices[0].kind, FileNoticeKind::Warning);
  EXPECT_EQ(warned.notices[0].text, "Error(s) in 1 block(s) ignored");
  EXPECT_EQ(warned.records.utcTimes, 0);
  EXPECT_EQ(warned.records.hasPressureAltitude, 0);
}

// A downloaded XC Trainer log saved as a ".tnc" file reads back with the
// altitudes its header names; a TopNav header's format is never taken.
TEST(TopNavFile, AnXcTrainerLogReadsWithTheFormatItsHeaderNames) {
  struct Case {
    char format;
    bool twoAltitudes;
    int hasPressure;
    int32_t baroAlt;
    int32_t gpsAlt;
  } cases[] = {
      {'2', true, 1, 500, 5200},
      {'0', false, 1, 500, 0},
      {'1', false, 0, 0, 5000},
  };
  for (const Case& c : cases) {
    const TrackFileRead read = ReadTopNavTrack(
        Header(c.format) + TimeLine(10, 0, 0) + Position(1, 2, 500, c.twoAltitudes) + "@EOF\r\n", 0);
    ASSERT_TRUE(read.Ok()) << c.format << read.error.text;
    ASSERT_EQ(read.records.Count(), 1) << c.format;
    EXPECT_EQ(read.records.hasPressureAltitude, c.hasPressure) << c.format;
    EXPECT_EQ(read.records.points[0].baroAlt, c.baroAlt) << c.format;
    EXPECT_EQ(read.records.points[0].gpsAlt, c.gpsAlt) << c.format;
  }
  // A header naming format 2 over TopNav-length lines reads as a TopNav log.
  const TrackFileRead topNav =
      ReadTopNavTrack(Header('2') + TimeLine(10, 0, 0) + Position(1, 2, 500) + "@EOF\r\n", 0);
  ASSERT_TRUE(topNav.Ok()) << topNav.error.text;
  ASSERT_EQ(topNav.records.Count(), 1);
  EXPECT_EQ(topNav.records.hasPressureAltitude, 0);
  EXPECT_EQ(topNav.records.points[0].gpsAlt, 5000);
}

TEST(TopNavFile, GoldenFileReadsInPiecesAsByteByByte) {
  const std::string golden = GoldenFile("track_files/flight.tnc");
  const TrackFileRead read = ReadTopNavTrack(golden, 0);
  ASSERT_TRUE(read.Ok()) << read.error.text;
  const Decoded bytes = Decode(golden);
  ASSERT_EQ(read.records.Count(), 5);
  ASSERT_EQ(bytes.points.size(), 5u);
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(read.records.points[i].time, bytes.points[i].time);
  EXPECT_EQ(read.records.points[3].time, At(10, 0, 30));
  EXPECT_EQ(read.records.points[4].gpsAlt, -120);
  EXPECT_LT(read.records.points[4].lat, 0);
}

}  // namespace
}  // namespace trelvik
