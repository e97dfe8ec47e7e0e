// XC Trainer / TopNav codecs from text and bytes.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/c_format.hpp"
#include "instruments/xctrainer/mxp_codec.hpp"
#include "instruments/xctrainer/waypoint_record.hpp"

namespace trelvik::xctrainer {
namespace {

std::string Summed(std::string body) {
  uint8_t sum = 0;
  for (const char c : body) sum = static_cast<uint8_t>(sum ^ static_cast<uint8_t>(c));
  return body + CFormat("%02X", sum);
}

// "@xc" firmware 1234, S/N 1234, 2024-06-15 10:00:00, datum 1, `count` positions, interval 1, format 0.
std::string Header(const char* id, int count) {
  return Summed(CFormat("%s12341234XX240615100000%02X%04X010XX", id, 1, count));
}

TEST(MxpDecoder, AnnouncedPositionsEndTheLogAndRepeatedRecordsFail) {
  std::vector<TrackPoint> points;
  MxpDecoder decoder(false, 0, points);
  EXPECT_EQ(decoder.Line(Header("@xc", 2)), MxpState::Positions);
  EXPECT_EQ(MxpProductLine(decoder.Header()), "XC Trainer V1.2-34, S/N 4660");
  EXPECT_EQ(decoder.Line(Summed("0000000A01000100FFFF000064")), MxpState::Positions);
  EXPECT_EQ(decoder.Line(Summed("0000000B01000100FFFF000064")), MxpState::Failed);
  EXPECT_EQ(MxpErrorText(decoder.ErrorCode()), "E202 Bad record number sequence");
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].baroAlt, 100);
  EXPECT_EQ(points[0].flags, kNewSegment);
}

TEST(MxpDecoder, HeaderFaults) {
  struct Case {
    std::string line;
    int code;
  } const cases[] = {
      {Header("@xc", 0).substr(0, 37), kMxpTooShortLine},
      {Header("@tn", 0), kMxpBadIdentifier},
      {Header("@xc", 0).substr(0, 36) + "00", kMxpBadChecksum},
      {Header("@xc", 0).substr(0, 36) + "ZZ", kMxpBadChecksumFormat},
  };
  for (const Case& c : cases) {
    MxpHeader header;
    EXPECT_EQ(ParseMxpHeader(c.line, false, header), c.code) << c.line;
  }
  std::vector<TrackPoint> points;
  MxpDecoder decoder(false, 0, points);
  EXPECT_EQ(decoder.Line(Header("@xc", 0)), MxpState::Finished);
}

TEST(WaypointRecord, RoundTripKeepsFlowControlBytesInsideARecord) {
  Waypoint waypoint;
  waypoint.alt = -20;
  waypoint.lat = 0x11 * 1988;  // a coordinate byte of 0x11
  std::snprintf(waypoint.name, sizeof waypoint.name, "FIESCH");
  const WaypointRecord record = EncodeWaypointRecord(waypoint);
  EXPECT_EQ(record[5], 0);
  EXPECT_EQ(record[6], 0);
  WaypointRecordReceiver receiver;
  EXPECT_FALSE(receiver.Feed(0x13));  // between records: flow control
  int complete = 0;
  for (const uint8_t byte : record) complete += receiver.Feed(byte) ? 1 : 0;
  ASSERT_EQ(complete, 1);
  Waypoint back;
  ASSERT_EQ(DecodeWaypointRecord(receiver.Record(), back), 0);
  EXPECT_STREQ(back.name, "FIESCH");
  EXPECT_NEAR(back.lat, waypoint.lat, 1000);
  WaypointRecord spoiled = record;
  spoiled[10] ^= 1;
  EXPECT_EQ(DecodeWaypointRecord(spoiled, back), kRecordBadChecksum);
}

}  // namespace
}  // namespace trelvik::xctrainer
