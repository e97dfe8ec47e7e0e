// The $PMLR codec the MLR and LogIt drivers share, from bytes built by hand.
#include <gtest/gtest.h>

#include "instruments/common/pmlr_codec.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "instruments/pmlr_fixtures.hpp"

namespace trelvik::pmlr {
namespace {

using testing::Frame;
using testing::PointBytes;
using testing::Sentence;

struct Fed {
  int frames = 0;
  std::vector<FrameFault> faults;
};

Fed FeedAll(FrameParser& parser, const std::string& bytes) {
  Fed fed;
  for (const char c : bytes) {
    const FrameStep step = parser.Feed(static_cast<uint8_t>(c));
    if (step == FrameStep::Frame) ++fed.frames;
    if (step == FrameStep::Fault) fed.faults.push_back(parser.Fault());
  }
  return fed;
}

TEST(PmlrCommand, SumOfEveryByteUpToTheLastComma) {
  EXPECT_EQ(Command("$PMLR,06,00,"), kEndOfTransfer);
  EXPECT_EQ(Command("$PMLR,26,01,01,"), kProductRequest);
  EXPECT_EQ(Command("$PMLR,24,02,0301,"), "$PMLR,24,02,0301,039B\r\n");
  EXPECT_EQ(Command("$PMLR,59,17,"), "$PMLR,59,17,02B9\r\n");
}

TEST(PmlrProduct, FourOrFiveFieldsWithTheirLimits) {
  struct Case {
    std::string bytes;
    ProductRules rules;
    std::array<std::string, 5> fields;
    bool sumRight;
  };
  std::string badSum = Sentence("PMLR,IDGPS,01,SP24,0,12,2.71");
  badSum[badSum.size() - 3] ^= 1;
  const std::string longField(45, 'X');
  const Case cases[] = {
      {"noise" + Sentence("PMLR,IDGPS,01,  SP24 XC,0, 12,2.71,Shown"),
       {},
       {"SP24 XC", "0", "12", "2.71", "Shown"},
       true},
      {Sentence("PMLR,IDGPS,01,SP24,0,12,2.71"), {}, {"SP24", "0", "12", "2.71", ""}, true},
      {badSum, {}, {"SP24", "0", "12", "2.71", ""}, false},
      {Sentence("PMLR,IDGPS,01," + longField + ",0,1,2.0"), {}, {std::string(40, 'X'), "0", "1", "2.0", ""}, true},
      {Sentence("PMLR,IDGPS,01,TRACKLOGGER,Desc,000815,2.10"),
       {4, {20, 20, 20, 40, 0}},
       {"TRACKLOGGER", "Desc", "000815", "2.10", ""},
       true},
      {"$PMLR,IDGPX$PMLR,IDGPS,01,A,B,C,D*" + std::string("00\r\n"), {}, {"A", "B", "C", "D", ""}, false},
  };
  for (const Case& c : cases) {
    ProductParser parser(c.rules);
    int complete = 0;
    for (const char ch : c.bytes) complete += parser.Feed(static_cast<uint8_t>(ch)) == ProductStep::Complete ? 1 : 0;
    ASSERT_EQ(complete, 1) << c.bytes;
    EXPECT_EQ(parser.Fields(), c.fields) << c.bytes;
    EXPECT_EQ(parser.ChecksumMatches(), c.sumRight) << c.bytes;
  }
}

TEST(PmlrProduct, BrokenAnswersAreErrors) {
  const std::string cases[] = {"$PMLR,IDGPS,01,A\r\n", "$PMLR,IDGPS,01,A,B,C,D*G1\r\n", "$PMLR,IDGPS,01,A,B,C,D*11\n"};
  for (const std::string& bytes : cases) {
    ProductParser parser({});
    int errors = 0;
    for (const char ch : bytes) errors += parser.Feed(static_cast<uint8_t>(ch)) == ProductStep::Error ? 1 : 0;
    EXPECT_EQ(errors, 1) << bytes;
  }
}

TEST(PmlrFrames, TrackAndWaypointFramesOfEveryKind) {
  FrameParser track(kMlrTrackFrames);
  const std::string entries = PointBytes(1, 100, -5, 7, -10, 1) + PointBytes(2, 101, 0, 0, 0x7FFFFF, 0);
  Fed fed = FeedAll(
      track, "\x13junk" + Frame(250, "T\x01", "DEBUT") + Frame(251, "T\x01", std::string("\0\x02", 2) + entries));
  EXPECT_EQ(fed.frames, 2);
  EXPECT_EQ(track.Kind(), FrameKind::Data);
  EXPECT_EQ(track.Number(), 251);
  ASSERT_EQ(track.Count(), 2);
  const PointEntry first = DecodePointEntry(track.Entry(0));
  EXPECT_EQ(first.number, 1);
  EXPECT_EQ(first.time, 100u);
  EXPECT_EQ(first.lat, -5);
  EXPECT_EQ(first.lon, 7);
  EXPECT_EQ(first.altitude, -10);
  EXPECT_EQ(first.flags, 1);
  EXPECT_EQ(DecodePointEntry(track.Entry(1)).altitude, 0x7FFFFF);

  FrameParser waypoints(kMlrWaypointFrames);
  std::string entry = "ABC   " + std::string("\0\0\0\x05", 4) + std::string("\xFF\xFF\xFF\xFE", 4) +
                      std::string("\0\0\0\x09", 4) + "\xFF\xFF\xF6" + std::string(1, '\0');
  fed = FeedAll(waypoints, Frame(0, "W\x02", std::string("\0\x01", 2) + entry) + Frame(1, "W\x02", "FIN"));
  EXPECT_EQ(fed.frames, 2);
  EXPECT_EQ(waypoints.Kind(), FrameKind::End);
  FeedAll(waypoints, Frame(0, "W\x02", std::string("\0\x01", 2) + entry));
  const WaypointEntry w = DecodeWaypointEntry(waypoints.Entry(0));
  EXPECT_EQ(w.name, "ABC   ");
  EXPECT_EQ(w.time, 5u);
  EXPECT_EQ(w.lat, -2);
  EXPECT_EQ(w.lon, 9);
  EXPECT_EQ(w.altitude, -10);

  FrameParser logit(kLogItTrackFrames);
  fed = FeedAll(logit, Frame(3, "T\x01", "RESTART"));
  EXPECT_EQ(fed.frames, 1);
  EXPECT_EQ(logit.Kind(), FrameKind::Restart);
}

TEST(PmlrFrames, EachFaultInTheOrderOfTheBytes) {
  struct Case {
    const FrameDialect* dialect;
    std::string bytes;
    FrameFault fault;
  };
  std::string badSum = Frame(1, "T\x01", "FIN");
  badSum[badSum.size() - 3] = static_cast<char>(badSum[badSum.size() - 3] + 1);
  std::string noCr = Frame(1, "T\x01", "FIN");
  noCr[noCr.size() - 2] = 'x';
  std::string noLf = Frame(1, "T\x01", "FIN");
  noLf.back() = 'x';
  const Case cases[] = {
      {&kMlrTrackFrames, "\x8B\x01W", FrameFault::KindLetter},
      {&kMlrWaypointFrames, "\x8B\x01W\x01", FrameFault::KindByte},
      {&kMlrTrackFrames, "\x8B\x01T\x01R", FrameFault::Type},
      {&kLogItTrackFrames, "\x8B\x01T\x01X", FrameFault::Type},
      {&kLogItTrackFrames,
       "\x8B\x01T\x01"
       "DEBIT",
       FrameFault::StartWord},
      {&kLogItTrackFrames,
       "\x8B\x01T\x01"
       "FIX",
       FrameFault::EndWord},
      {&kLogItTrackFrames,
       "\x8B\x01T\x01"
       "RESTORE",
       FrameFault::RestartWord},
      {&kMlrTrackFrames, std::string("\x8B\x01T\x01\0\x1C", 6), FrameFault::Count},
      {&kLogItTrackFrames, std::string("\x8B\x01T\x01\0\x11", 6), FrameFault::Count},
      {&kMlrWaypointFrames, std::string("\x8B\x01W\x02\0\x18", 6), FrameFault::Count},
      {&kMlrTrackFrames, std::string("\x8B\x01T\x01\0\x00", 6), FrameFault::Count},
      {&kMlrTrackFrames, badSum, FrameFault::Checksum},
      {&kMlrTrackFrames, noCr, FrameFault::Cr},
      {&kMlrTrackFrames, noLf, FrameFault::Lf},
  };
  for (const Case& c : cases) {
    FrameParser parser(*c.dialect);
    const Fed fed = FeedAll(parser, c.bytes);
    EXPECT_EQ(fed.frames, 0);
    ASSERT_EQ(fed.faults.size(), 1u) << c.bytes;
    EXPECT_EQ(fed.faults[0], c.fault) << c.bytes;
  }
}

}  // namespace
}  // namespace trelvik::pmlr
