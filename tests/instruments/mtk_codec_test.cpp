// The MTK logger's sentences and log memory from bytes.
#include <gtest/gtest.h>

#include <cmath>

#include "geo/angles.hpp"
#include "instruments/mtk/codec.hpp"
#include "instruments/mtk_fixtures.hpp"

namespace trelvik::mtk {
namespace {

using testing::MtkRecord;
using testing::MtkSector;
using testing::MtkSettingsChange;
using testing::Sentence;

constexpr uint32_t kJuly15 = 1721044800;  // 2024-07-15 12:00:00 UTC

std::string Body(std::string_view sentence) {
  return std::string(sentence.substr(1, sentence.size() - 3));  // without "$" and CR LF
}

TEST(MtkCodec, CommandsCarryTheirChecksums) {
  for (const std::string_view command :
       {kProductRequest, kLogStatusRequest, kLoggingOff, kMemoryUsedRequest, kLoggingOn, kEraseRequest}) {
    EXPECT_EQ(Sentence(command.substr(1, command.find('*') - 1)), command);
  }
  EXPECT_EQ(ReadChunkRequest(0x0001FF00), Sentence("PMTK182,7,0001FF00,00000100"));
}

TEST(MtkCodec, CollectorEndsSentencesAtCrLfOrZero) {
  SentenceCollector collector;
  std::vector<std::string> got;
  for (const char c : std::string("xx$AB*01\r\n$CD\0$EF\n", 19)) {
    if (collector.Feed(static_cast<uint8_t>(c))) got.push_back(collector.Sentence());
  }
  EXPECT_EQ(got, (std::vector<std::string>{"AB*01", "CD", "EF"}));
  // Longer than 3000 characters: dropped.
  got.clear();
  for (const char c : "$" + std::string(3001, 'A') + "\r\n$OK\r\n") {
    if (collector.Feed(static_cast<uint8_t>(c))) got.push_back(collector.Sentence());
  }
  EXPECT_EQ(got, (std::vector<std::string>{"OK"}));
}

TEST(MtkCodec, ChecksumIsTheThirdCharacterFromTheEnd) {
  EXPECT_TRUE(ChecksumMatches(Body(Sentence("PMTK001,182,5,3"))));
  EXPECT_TRUE(ChecksumMatches("PMTK705,AXN_1.0-B_1.3_C01,0001,Sim,1.0*6f"));
  EXPECT_FALSE(ChecksumMatches("PMTK001,182,5,3*23"));
  EXPECT_FALSE(ChecksumMatches("PMTK001,182,5,3*2"));
  EXPECT_FALSE(ChecksumMatches("PMTK001,182,5,3*2G"));
  EXPECT_FALSE(ChecksumMatches("*"));
}

TEST(MtkCodec, AnswersMatchTheirStepOnly) {
  AnswerValues v;
  EXPECT_TRUE(MatchAnswer(Step::Product, 0, Body(Sentence("PMTK705,AXN_1.0,0001,X")), v));
  EXPECT_EQ(v.release, "AXN_1.0");
  EXPECT_EQ(v.model, "0001");
  EXPECT_FALSE(MatchAnswer(Step::Product, 0, Body(Sentence("PMTK705,AXN_1.0")), v));
  EXPECT_TRUE(MatchAnswer(Step::LogStatus, 0, Body(Sentence("PMTK182,3,7,6")), v));
  EXPECT_EQ(v.logStatus, 6u);
  EXPECT_FALSE(MatchAnswer(Step::LogStatus, 0, Body(Sentence("PMTK182,3,8,6")), v));
  EXPECT_TRUE(MatchAnswer(Step::MemoryUsed, 0, Body(Sentence("PMTK182,3,8,00011170")), v));
  EXPECT_EQ(v.memoryUsed, 70000u);
  EXPECT_FALSE(MatchAnswer(Step::MemoryUsed, 0, Body(Sentence("PMTK182,3,8,0001117G")), v));
  EXPECT_TRUE(MatchAnswer(Step::LoggingOff, 0, Body(Sentence("PMTK001,182,5,3")), v));
  EXPECT_FALSE(MatchAnswer(Step::LoggingOff, 0, Body(Sentence("PMTK001,182,5,2")), v));
  EXPECT_FALSE(MatchAnswer(Step::LoggingOff, 0, Body(Sentence("PMTK001,182,4,3")), v));
  EXPECT_TRUE(MatchAnswer(Step::LoggingOn, 0, Body(Sentence("PMTK001,182,4,3")), v));
  EXPECT_TRUE(MatchAnswer(Step::Erase, 0, Body(Sentence("PMTK001,182,6,3")), v));
  EXPECT_FALSE(MatchAnswer(Step::None, 0, Body(Sentence("PMTK001,182,6,3")), v));
}

TEST(MtkCodec, DataAnswerOfAnotherAddressIsNotTheAnswer) {
  AnswerValues v;
  EXPECT_FALSE(MatchAnswer(Step::ReadChunk, 0x100, Body(Sentence("PMTK182,8,00000200,0102")), v));
  ASSERT_TRUE(MatchAnswer(Step::ReadChunk, 0x200, Body(Sentence("PMTK182,8,00000200,0102")), v));
  EXPECT_EQ(v.address, 0x200u);
  EXPECT_EQ(v.data, (std::vector<uint8_t>{1, 2}));
}

TEST(MtkCodec, DataAnswerKeepsOnlyTheHexDigitsThatCame) {
  AnswerValues v;
  ASSERT_TRUE(MatchAnswer(Step::ReadChunk, 0, Body(Sentence("PMTK182,8,00000000,0A0b0")), v));
  EXPECT_EQ(v.data, (std::vector<uint8_t>{0x0A, 0x0B}));
  ASSERT_TRUE(MatchAnswer(Step::ReadChunk, 0, Body(Sentence("PMTK182,8,00000000,0AZZ0C")), v));
  EXPECT_EQ(v.data, (std::vector<uint8_t>{0x0A}));
  ASSERT_TRUE(MatchAnswer(Step::ReadChunk, 0, Body(Sentence("PMTK182,8,00000000," + std::string(600, 'E'))), v));
  EXPECT_EQ(v.data.size(), 256u);
}

TEST(MtkCodec, RecordsBecomePoints) {
  std::vector<uint8_t> image =
      MtkSector(3, {MtkRecord(kJuly15, 46.5, -8.25, 1234.56f), MtkRecord(kJuly15 + 5, 46.6, 8.3, 1300.0f, 3),
                    MtkRecord(kJuly15 + 10, -33.5, 151.25, -5.5f)});
  std::vector<TrackPoint> points;
  const LogDecode decoded = DecodeMtkLog(image, points);
  ASSERT_EQ(decoded.fault, LogFault::None);
  ASSERT_EQ(points.size(), 2u);  // the second has the no-fix bit
  EXPECT_EQ(points[0].flags, kNewSegment);
  EXPECT_EQ(points[0].time, kJuly15 - 631065600u);
  EXPECT_EQ(points[0].lat, RadiansToSemicircle(46.5 * 3.14159265358979323846 / 180));
  EXPECT_EQ(points[0].lon, RadiansToSemicircle(-8.25 * 3.14159265358979323846 / 180));
  EXPECT_EQ(points[0].gpsAlt, 12345);
  EXPECT_EQ(points[0].baroAlt, 0);
  EXPECT_EQ(points[1].flags, 0);
  EXPECT_EQ(points[1].gpsAlt, -55);
}

TEST(MtkCodec, SettingsChangeSwitchesTheFormat) {
  // Time and position only after the change: 4 + 8 + 8 bytes.
  std::vector<uint8_t> small;
  testing::AppendLe<uint32_t>(small, kJuly15);
  testing::AppendLe<double>(small, 10.0);
  testing::AppendLe<double>(small, 20.0);
  uint8_t sum = 0;
  for (const uint8_t b : small) sum ^= b;
  small.push_back('*');
  small.push_back(sum);
  std::vector<uint8_t> image =
      MtkSector(2, {MtkRecord(kJuly15, 1, 2, 3), MtkSettingsChange(3, 10), MtkSettingsChange(2, 0x0D), small});
  std::vector<TrackPoint> points;
  ASSERT_EQ(DecodeMtkLog(image, points).fault, LogFault::None);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[1].gpsAlt, 0);  // no height field
}

TEST(MtkCodec, RecordsWithoutTimeOrPositionAreSkipped) {
  for (const uint32_t format : {0x1Eu, 0x17u, 0x0Bu}) {  // no time, no longitude, no latitude
    std::vector<uint8_t> record;
    size_t size = 0;
    for (const auto& [bit, bytes] : {std::pair{0, 4}, {1, 2}, {2, 8}, {3, 8}, {4, 4}}) {
      if (format & (1u << bit)) size += static_cast<size_t>(bytes);
    }
    record.assign(size, 0);
    record.push_back('*');
    record.push_back(0);
    std::vector<TrackPoint> points;
    ASSERT_EQ(DecodeMtkLog(MtkSector(1, {record}, format), points).fault, LogFault::None) << format;
    EXPECT_TRUE(points.empty()) << format;
  }
}

TEST(MtkCodec, SectorsBeingFilledEndAtUnwrittenMemory) {
  std::vector<uint8_t> image = MtkSector(0xFFFF, {MtkRecord(kJuly15, 1, 2, 3), MtkRecord(kJuly15 + 1, 1, 2, 3)});
  const std::vector<uint8_t> empty = MtkSector(0, {MtkRecord(kJuly15 + 2, 1, 2, 3)});
  image.insert(image.begin(), empty.begin(), empty.end());  // an empty sector first: skipped
  std::vector<TrackPoint> points;
  ASSERT_EQ(DecodeMtkLog(image, points).fault, LogFault::None);
  EXPECT_EQ(points.size(), 2u);
}

TEST(MtkCodec, CountedSectorStopsAtItsCount) {
  std::vector<TrackPoint> points;
  ASSERT_EQ(DecodeMtkLog(MtkSector(1, {MtkRecord(kJuly15, 1, 2, 3), MtkRecord(kJuly15 + 1, 1, 2, 3)}), points).fault,
            LogFault::None);
  EXPECT_EQ(points.size(), 1u);
}

TEST(MtkCodec, BadHeaders) {
  for (const size_t at : {10u, 14u, 18u, 506u, 508u}) {
    std::vector<uint8_t> image = MtkSector(1, {MtkRecord(kJuly15, 1, 2, 3)});
    image[at] ^= 0x01;
    std::vector<TrackPoint> points;
    EXPECT_EQ(DecodeMtkLog(image, points).fault, LogFault::BadHeader) << at;
  }
}

TEST(MtkCodec, BadDataBlockCodes) {
  std::vector<uint8_t> noStar = MtkRecord(kJuly15, 1, 2, 3);
  noStar[26] = '#';
  std::vector<uint8_t> badSum = MtkRecord(kJuly15, 1, 2, 3);
  badSum[27] ^= 0xFF;
  std::vector<uint8_t> pastEnd = MtkRecord(kJuly15, 1, 2, 3);
  pastEnd.resize(26);
  const uint32_t withSatellites = testing::kMtkBasicFormat | (1u << 13);
  pastEnd.insert(pastEnd.end(), {1, 1, 0xFF, 0x7F});  // 32767 satellites
  const struct {
    std::vector<uint8_t> image;
    int code;
  } cases[] = {
      {MtkSector(1, {pastEnd}, withSatellites), 1},
      {MtkSector(1, {noStar}), 2},
      {MtkSector(1, {badSum}), 3},
  };
  for (const auto& c : cases) {
    std::vector<TrackPoint> points;
    const LogDecode decoded = DecodeMtkLog(c.image, points);
    EXPECT_EQ(decoded.fault, LogFault::BadData);
    EXPECT_EQ(decoded.dataCode, c.code);
  }
}

TEST(MtkCodec, SatelliteListIsSizedPerSatellite) {
  // Two satellites with elevation, azimuth and SNR: 2 x (4 + 6) bytes.
  const uint32_t format = testing::kMtkBasicFormat | (1u << 13) | (1u << 14) | (1u << 15) | (1u << 16);
  std::vector<uint8_t> record = MtkRecord(kJuly15, 1, 2, 3);
  record.resize(26);
  const std::vector<uint8_t> satellites = {5, 1, 2, 0, 1, 0, 2, 0, 3, 0, 7, 1, 2, 0, 1, 0, 2, 0, 3, 0};
  record.insert(record.end(), satellites.begin(), satellites.end());
  uint8_t sum = 0;
  for (const uint8_t b : record) sum ^= b;
  record.push_back('*');
  record.push_back(sum);
  std::vector<TrackPoint> points;
  ASSERT_EQ(DecodeMtkLog(MtkSector(2, {record, record}, format), points).fault, LogFault::None);
  EXPECT_EQ(points.size(), 2u);
}

TEST(MtkCodec, GarbagePositionsMakeNoPoint) {
  std::vector<TrackPoint> points;
  ASSERT_EQ(DecodeMtkLog(MtkSector(3, {MtkRecord(kJuly15, std::nan(""), 2, 3), MtkRecord(kJuly15, 91, 2, 3),
                                       MtkRecord(100, 1, 2, 3)}),
                         points)
                .fault,
            LogFault::None);
  EXPECT_TRUE(points.empty());
}

}  // namespace
}  // namespace trelvik::mtk
