// The Digifly Leonardo codec from bytes: requests, memory replies and their
// codes, the flight list, and the records of its memory.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "access/nmea.hpp"
#include "geo/angles.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "instruments/leonardo/codec.hpp"

namespace trelvik::leonardo {
namespace {

int FeedAll(MemoryReply& reply, std::string_view bytes) {
  for (const char c : bytes) {
    const int code = reply.Feed(static_cast<uint8_t>(c));
    if (code != 0) return code;
  }
  return 0;
}

TEST(LeonardoRequests, FixedAndBuiltSentences) {
  for (const std::string_view request : {kPDGFVID, kPDGFFLL, kWriteAck}) {
    std::string text(request.substr(0, request.find('*')));
    FinishNmeaSentence(text);
    EXPECT_EQ(text, request);
  }
  EXPECT_EQ(PDGFRMM(2, 255, 4094, 92), testing::Sentence("PDGFRMM,2,255,4094,92"));
  const uint8_t bytes[] = {0x00, 0xAB, 0xFF};
  EXPECT_EQ(PDGFWMM(230, 44, bytes), testing::Sentence("PDGFWMM,1,230,44,3,00ABFF"));
}

TEST(LeonardoMemoryReply, DataAndEveryCode) {
  const std::string good = testing::Sentence("PDGFRMM,00abFF");
  MemoryReply reply(3);
  ASSERT_EQ(FeedAll(reply, "noise" + good), 1);
  EXPECT_EQ(reply.Data(), (std::vector<uint8_t>{0x00, 0xAB, 0xFF}));
  std::string badSum = good;
  badSum[badSum.size() - 3] = badSum[badSum.size() - 3] == '0' ? '1' : '0';
  std::string longReply = "PDGFRMM,";
  for (int i = 0; i < 100; ++i) longReply += "00";
  const std::pair<std::string, int> cases[] = {
      {"$PDGFXMM,00*00\r\n", -14},
      {"$PDGFRMM;00*00\r\n", -15},
      {testing::Sentence("PDGFRMM,00A"), -16},
      {testing::Sentence(longReply), -17},
      {testing::Sentence("PDGFRMM,0G"), -18},
      {"$PDGFRMM,00*Z0\r\n", -19},
      {badSum, -20},
      {testing::Sentence("PDGFRMM,0000"), -21},
  };
  for (const auto& [text, code] : cases) {
    MemoryReply r(3);
    EXPECT_EQ(FeedAll(r, text), code) << text;
  }
}

std::string Entry(uint32_t start, int startPage, int startOffset, uint32_t end, int endPage, int endOffset) {
  uint8_t e[14];
  for (int i = 0; i < 4; ++i) e[i] = static_cast<uint8_t>(start >> (8 * i));
  e[4] = static_cast<uint8_t>(startPage);
  e[5] = static_cast<uint8_t>(startOffset >> 8);
  e[6] = static_cast<uint8_t>(startOffset);
  for (int i = 0; i < 4; ++i) e[7 + i] = static_cast<uint8_t>(end >> (8 * i));
  e[11] = static_cast<uint8_t>(endPage);
  e[12] = static_cast<uint8_t>(endOffset >> 8);
  e[13] = static_cast<uint8_t>(endOffset);
  std::string hex;
  for (const uint8_t b : e) hex += "0123456789ABCDEF"[b >> 4], hex += "0123456789ABCDEF"[b & 15];
  return hex;
}

std::string Line(std::string_view body) {
  std::string text = testing::Sentence(body);
  text.resize(text.size() - 2);
  return text;
}

TEST(LeonardoFlightList, EntriesAndErrors) {
  std::vector<Flight> flights;
  const std::string two = Entry(kEpochOffset + 1000, 3, 4050, kEpochOffset + 2000, 4, 68) +
                          Entry(kEpochOffset + 5000, 4, 69, kEpochOffset + 6000, 4, 160);
  ASSERT_EQ(ParseFlightList(Line("PDGFFLL,2," + two), flights), FlightListError::None);
  ASSERT_EQ(flights.size(), 2u);
  EXPECT_EQ(flights[0].start, 1000u);
  EXPECT_EQ(flights[0].startOffset, 4050);
  EXPECT_EQ(flights[0].endPage, 4);
  std::string badSum = Line("PDGFFLL,2," + two);
  badSum.back() = badSum.back() == '0' ? '1' : '0';
  const std::pair<std::string, FlightListError> cases[] = {
      {Line("PDGFFLX,2," + two), FlightListError::Sentence},
      {Line("PDGFFLL,x," + two), FlightListError::Count},
      {Line("PDGFFLL,2," + two + "0"), FlightListError::Format},
      {Line("PDGFFLL,1," + Entry(kEpochOffset + 9, 0, 0, kEpochOffset + 8, 0, 0)), FlightListError::EndBeforeStart},
      {badSum, FlightListError::Checksum},
      {Line("PDGFFLL,3," + two), FlightListError::CountMismatch},
  };
  for (const auto& [text, error] : cases) EXPECT_EQ(ParseFlightList(text, flights), error) << text;
  EXPECT_EQ(FlightListErrorText(FlightListError::CountMismatch),
            "Number of tracks detected unequal to track count indication");
}

TEST(LeonardoRecords, WaypointSlotsRoundTripAndEmptyOnes) {
  Waypoint w = testing::MakeWaypoint(46.5, -8.25, "ABC", "Long name here", -120);
  w.airport = 1;
  const auto record = EncodeWaypoint(w);
  EXPECT_EQ(record[16], 1);
  EXPECT_EQ(std::string(record.begin() + 17, record.begin() + 33), "Long name here  ");
  const std::optional<Waypoint> back = DecodeWaypoint(record, 5);
  ASSERT_TRUE(back.has_value());
  EXPECT_STREQ(back->name, "ABC");
  EXPECT_STREQ(back->description, "Long name here");
  EXPECT_EQ(back->alt, -120);
  EXPECT_EQ(back->airport, 1);
  EXPECT_NEAR(back->lat, w.lat, 200);  // single-precision radians
  auto empty = record;
  empty[0] = 0xFF;
  EXPECT_FALSE(DecodeWaypoint(empty, 5).has_value());
  auto blank = record;
  std::memset(blank.data(), ' ', 6);
  EXPECT_FALSE(DecodeWaypoint(blank, 5).has_value());
}

TEST(LeonardoRecords, TrackRecordsKeepSignedAltitudes) {
  std::array<uint8_t, kTrackRecord> r{};
  r[0] = 1;
  const uint32_t time = kEpochOffset + 100;
  for (int i = 0; i < 4; ++i) r[static_cast<size_t>(1 + i)] = static_cast<uint8_t>(time >> (8 * i));
  const uint32_t lat = std::bit_cast<uint32_t>(0.5f);
  for (int i = 0; i < 4; ++i) r[static_cast<size_t>(5 + i)] = static_cast<uint8_t>(lat >> (8 * i));
  r[13] = 0x0F;  // 3900 m: above 2047 m, where a 12-bit reading would go negative
  r[14] = 0x3C;
  r[21] = 0xFF;  // -2 m
  r[22] = 0xFE;
  const TrackPoint p = DecodeTrackRecord(r);
  EXPECT_EQ(p.flags, kNewSegment);
  EXPECT_EQ(p.time, 100u);
  EXPECT_EQ(p.lat, RadiansToSemicircle(0.5));
  EXPECT_EQ(p.baroAlt, 3900);
  EXPECT_EQ(p.gpsAlt, -20);
}

TEST(LeonardoRecords, RecordsOnAPageOfTheRing) {
  EXPECT_EQ(RecordsOnPage(3, 0, 3, 22), 1);
  EXPECT_EQ(RecordsOnPage(3, 23, 3, 22), 0);
  EXPECT_EQ(RecordsOnPage(3, 0, 4, 0), 178);        // whole records of a page
  EXPECT_EQ(RecordsOnPage(3, 4096 - 30, 4, 0), 1);  // what fits before the page ends
  EXPECT_EQ(RecordsOnPage(3, 4096 - 22, 4, 0), 0);
}

}  // namespace
}  // namespace trelvik::leonardo
