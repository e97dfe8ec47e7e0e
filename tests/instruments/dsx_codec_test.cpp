// The DSX recorder's commands and replies from bytes.
#include <gtest/gtest.h>

#include "instruments/dsx/codec.hpp"

namespace trelvik::dsx {
namespace {

// The codes the parser gave, byte by byte, up to the first fault.
int FeedAll(FlightListParser& parser, std::string_view text) {
  for (const char c : text) {
    const int rc = parser.Feed(static_cast<uint8_t>(c));
    if (rc < 0) return rc;
  }
  return 0;
}

TEST(DsxCodec, Commands) {
  EXPECT_EQ(F(7), "F007\r");
  EXPECT_EQ(F(123), "F123\r");
  EXPECT_EQ(E(3), "E3\r");
  EXPECT_EQ(H(1, "Jo Pilot"), "H1Jo Pilot\r");
  EXPECT_EQ(C1("+41 79 000"), "C1+41 79 000\r");
}

TEST(DsxCodec, ConnectionAnswerInterruptedCountsOnlyWhenItLaterArrivesWhole) {
  struct Case {
    std::string_view bytes;
    bool connected;
  };
  const Case cases[] = {
      {"Conn\n\r\r\n#", true},  {"xxConn\n\r\r\n#", true},  {"Conn\n\r\r\n", false},
      {"Conx\n\r\r\n#", false}, {"ConConn\n\r\r\n#", true}, {"Conn\n\r\r\nConn\n\r\r\n#", true},
      {"Conn\r\n\r\n#", false},
  };
  for (const Case& c : cases) {
    ConnectionMatcher matcher;
    bool connected = false;
    for (const char ch : c.bytes) connected = matcher.Feed(static_cast<uint8_t>(ch)) || connected;
    EXPECT_EQ(connected, c.connected) << c.bytes;
  }
}

TEST(DsxCodec, FlightListLines) {
  FlightListParser parser;
  ASSERT_EQ(
      FeedAll(parser, "\r\n#001 recs n.1234 15.07.24\r\n002 recs n.77 \n003 recs n.5\r\n004 recs n.999999 x\r\n#"), 0);
  ASSERT_EQ(parser.Flights().size(), 3u);  // 003 ends right after its count: not counted
  EXPECT_EQ(parser.Flights()[0].number, 1);
  EXPECT_EQ(parser.Flights()[0].records, 1234);
  EXPECT_EQ(parser.Flights()[1].records, 77);
  EXPECT_EQ(parser.Flights()[2].number, 4);
  EXPECT_EQ(parser.Flights()[2].records, 999999);
}

TEST(DsxCodec, FlightListFormatErrors) {
  struct Case {
    std::string_view text;
    int code;
  };
  const Case cases[] = {
      {"0x1 recs n.1 \r\n", -1},   {"FL\r\n", -1},
      {"001-recs n.1 \r\n", -2},   {"0012 recs n.1 \r\n", -2},
      {"001 rec n.1 \r\n", -3},    {"001 recs n.x \r\n", -4},
      {"001 recs n.12/ \r\n", -5}, {"001 recs n.1234567 \r\n", -5},
  };
  for (const Case& c : cases) {
    FlightListParser parser;
    EXPECT_EQ(FeedAll(parser, c.text), c.code) << c.text;
  }
  FlightListParser parser;
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += "001 recs n.1 \r\n";
  ASSERT_EQ(FeedAll(parser, hundred), 0);
  EXPECT_EQ(FeedAll(parser, "101 recs n.1 \r\n"), -6);
}

TEST(DsxCodec, ItemRepliesAreTheTextUpToCr) {
  ItemReplyCollector collector;
  std::string text;
  for (const char c : std::string_view("\n#Jo Pilot\rrest")) {
    if (collector.Feed(static_cast<uint8_t>(c))) break;
  }
  EXPECT_EQ(collector.Text(), "Jo Pilot");
  ItemReplyCollector longReply;
  for (int i = 0; i < 100; ++i) (void)longReply.Feed('a');
  EXPECT_TRUE(longReply.Feed('\r'));
  EXPECT_EQ(longReply.Text().size(), kItemReplyLimit);
}

}  // namespace
}  // namespace trelvik::dsx
