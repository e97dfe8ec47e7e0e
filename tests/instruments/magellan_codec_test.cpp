// The Magellan sentences from bytes: reception codes, the version answer, the
// track and waypoint sentences with every format code, and the upload sentence.
#include <gtest/gtest.h>

#include <cmath>

#include "geo/angles.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "instruments/magellan/codec.hpp"
#include "records/track_time.hpp"

namespace trelvik::magellan {
namespace {

using testing::Sentence;

// Feeds `bytes`; the last non-zero result (0 when none).
int FeedAll(SentenceReceiver& receiver, std::string_view bytes) {
  int last = 0;
  for (const char c : bytes) {
    const int rc = receiver.Feed(static_cast<uint8_t>(c));
    if (rc != 0) last = rc;
  }
  return last;
}

TEST(MagellanCodec, FixedCommandsCarryTheirChecksums) {
  for (const std::string_view command : {kVersionCommand, kTrackCommand, kWaypointCommand, kStopCommand, kEndCommand}) {
    const std::string body(command.substr(1, command.find('*') - 1));
    EXPECT_EQ(Sentence(body), command);
  }
}

TEST(MagellanCodec, ReceiverTakesSentencesAndIgnoresNoise) {
  SentenceReceiver receiver;
  EXPECT_EQ(FeedAll(receiver, "noise\r\n" + Sentence("PMGNVER,24,3.13,GPS 315")), 1);
  EXPECT_EQ(receiver.Sentence(), "$PMGNVER,24,3.13,GPS 315");
  // A "$" starts again; lower-case hex digits are hex digits.
  EXPECT_EQ(FeedAll(receiver, "$PMG$PMGNCMD,END*3d\r\n"), 1);
  EXPECT_EQ(receiver.Sentence(), "$PMGNCMD,END");
  EXPECT_TRUE(IsEndMark(receiver.Sentence()));
}

TEST(MagellanCodec, ReceptionErrorCodes) {
  const struct {
    const char* bytes;
    int code;
  } cases[] = {
      {"$PMGNCMD,END*3G\r\n", kBadChecksumDigit},
      {"$PMGNCMD,END*3E\r\n", kBadCrOrChecksum},
      {"$PMGNCMD,END*3D\n", kBadCrOrChecksum},
      {"$PMGNCMD,END*3D\r\r", kNoLf},
  };
  for (const auto& c : cases) {
    SentenceReceiver receiver;
    EXPECT_EQ(FeedAll(receiver, c.bytes), c.code) << c.bytes;
  }
}

TEST(MagellanCodec, OverlongSentenceIsDroppedAsNoise) {
  SentenceReceiver receiver;
  EXPECT_EQ(FeedAll(receiver, Sentence("PMGNTRK," + std::string(120, 'X'))), 0);
  EXPECT_EQ(FeedAll(receiver, Sentence("PMGNCMD,END")), 1);
}

TEST(MagellanCodec, VersionAnswer) {
  MagellanVersion version;
  ASSERT_TRUE(ParseVersion("$PMGNVER,24,3.13,GPS 315/320", version));
  EXPECT_EQ(version.model, 24);
  EXPECT_EQ(version.software, "3.13");
  EXPECT_EQ(version.softwareX100, 313);
  EXPECT_EQ(version.product, "GPS 315/320");
  EXPECT_EQ(ProductDescription(version), "GPS 315/320, SW 3.13");
  EXPECT_EQ(TrackRefusal(version), "E200 Model does not support time in track log");
  ASSERT_TRUE(ParseVersion("$PMGNVER,30,V2,Meridian", version));
  EXPECT_EQ(version.softwareX100, 0);  // not a number
  EXPECT_EQ(TrackRefusal(version), "E200 Model does not support date in track log");
  ASSERT_TRUE(ParseVersion("$PMGNVER,30,2.01,Meridian", version));
  EXPECT_EQ(TrackRefusal(version), "");
  ASSERT_TRUE(ParseVersion("$PMGNVER,24,3.14,GPS 315", version));
  EXPECT_EQ(TrackRefusal(version), "");
  EXPECT_FALSE(ParseVersion("$PMGNVER,24,3.14", version));
  EXPECT_FALSE(ParseVersion("$PMGNTRK,24,3.14,X", version));
}

TEST(MagellanCodec, TrackSentenceBecomesAPoint) {
  TrackPoint point;
  ASSERT_EQ(ParseTrackSentence("$PMGNTRK,4630.500,N,00815.250,W,01000,F,123456.50,A,,150724", point), 0);
  SystemTime date;
  date.year = 2024;
  date.month = 7;
  date.day = 15;
  EXPECT_EQ(point.time, TrackTimeFromDate(date) + 12 * 3600 + 34 * 60 + 57);  // .50 rounds up
  EXPECT_EQ(point.lat, RadiansToSemicircle((46 * 60 + 30.5) * 0.0002908882086657));
  EXPECT_EQ(point.lon, RadiansToSemicircle(-(8 * 60 + 15.25) * 0.0002908882086657));
  EXPECT_EQ(point.gpsAlt, 3048);  // 1000 ft in tenths of a metre
  EXPECT_EQ(point.baroAlt, 0);
  ASSERT_EQ(ParseTrackSentence("$PMGNTRK,3350.000,S,15112.000,E,-12,M,000000,A,name,311299", point), 0);
  EXPECT_EQ(point.gpsAlt, -120);
  EXPECT_LT(point.lat, 0);
}

TEST(MagellanCodec, TrackSentenceWithoutFixIsSkipped) {
  TrackPoint point;
  EXPECT_EQ(ParseTrackSentence("$PMGNTRK,4630.500,N,00815.250,E,01000,M,123456,V,,150724", point), kNoFix);
  EXPECT_EQ(ParseTrackSentence("$PMGNTRK,,,,,,,,V,,", point), kNoFix);
}

TEST(MagellanCodec, TrackSentenceFormatCodes) {
  const struct {
    const char* sentence;
    int code;
  } cases[] = {
      {"$PMGNTRK", 1},
      {"$PMGNTRK,46X0.5", 2},
      {"$PMGNTRK,9000.000", 3},
      {"$PMGNTRK,4630.500", 4},
      {"$PMGNTRK,4630.500,Q", 5},
      {"$PMGNTRK,4630.500,N", 6},
      {"$PMGNTRK,4630.500,N,abc", 7},
      {"$PMGNTRK,4630.500,N,18000.000", 7},
      {"$PMGNTRK,4630.500,N,00815.250", 9},
      {"$PMGNTRK,4630.500,N,00815.250,N", 10},
      {"$PMGNTRK,4630.500,N,00815.250,E", 11},
      {"$PMGNTRK,4630.500,N,00815.250,E,12.5", 12},
      {"$PMGNTRK,4630.500,N,00815.250,E,100", 13},
      {"$PMGNTRK,4630.500,N,00815.250,E,100,K", 14},
      {"$PMGNTRK,4630.500,N,00815.250,E,100,M", 15},
      {"$PMGNTRK,4630.500,N,00815.250,E,100,M,246000", 16},
      {"$PMGNTRK,4630.500,N,00815.250,E,100,M,120000", 17},
      {"$PMGNTRK,4630.500,N,00815.250,E,100,M,120000,A", 18},
      {"$PMGNTRK,4630.500,N,00815.250,E,100,M,120000,A,", 19},
      {"$PMGNTRK,4630.500,N,00815.250,E,100,M,120000,A,,3107x4", 20},
      {"$PMGNTRK,4630.500,N,00815.250,E,100,M,120000,A,,310224", 20},
      {"$PMGNTRK,4630.500,N,00815.250,E,100,M,120000,A,,1507241", 21},
  };
  for (const auto& c : cases) {
    TrackPoint point;
    EXPECT_EQ(ParseTrackSentence(c.sentence, point), c.code) << c.sentence;
  }
}

TEST(MagellanCodec, WaypointSentence) {
  Waypoint w;
  ASSERT_EQ(ParseWaypointSentence("$PMGNWPL,4625.460,N,00808.100,E,1000,F, fiesch ,Fiesch: Launch! ", w), 0);
  EXPECT_STREQ(w.name, "FIESCH");
  EXPECT_STREQ(w.description, "Fiesch- Launch-");
  EXPECT_EQ(w.alt, 305);  // 1000 ft
  ASSERT_EQ(ParseWaypointSentence("$PMGNWPL,4625.460,S,00808.100,W,-20,M,LAND", w), 0);
  EXPECT_EQ(w.alt, -20);
  EXPECT_STREQ(w.description, "");
  EXPECT_LT(w.lat, 0);
  EXPECT_LT(w.lon, 0);
}

TEST(MagellanCodec, WaypointSentenceFormatCodes) {
  const struct {
    const char* sentence;
    int code;
  } cases[] = {
      {"$PMGNWPL", 1},
      {"$PMGNWPL,4625.460,X", 5},
      {"$PMGNWPL,4625.460,N,00808.100,E", 11},
      {"$PMGNWPL,4625.460,N,00808.100,E,high,M,A", 12},
      {"$PMGNWPL,4625.460,N,00808.100,E,100,Y,A", 14},
      {"$PMGNWPL,4625.460,N,00808.100,E,100,M", 15},
      {"$PMGNWPL,4625.460,N,00808.100,E,100,M,AB CD,x", 16},
      {"$PMGNWPL,4625.460,N,00808.100,E,100,M,ABCDEFG,x", 16},
      {"$PMGNWPL,4625.460,N,00808.100,E,100,M,AB_C,x", 16},
  };
  for (const auto& c : cases) {
    Waypoint w;
    EXPECT_EQ(ParseWaypointSentence(c.sentence, w), c.code) << c.sentence;
  }
}

TEST(MagellanCodec, UploadSentence) {
  Waypoint w = testing::MakeWaypoint(46.424333, -8.135, "FIESCH", "Fiesch Launch", 2240);
  EXPECT_EQ(WaypointSentence(w), Sentence("PMGNWPL,4625.460,N,00808.100,W,2240,M,FIESCH,Fiesch Launch"));
  w = testing::MakeWaypoint(46.424333, -8.135, "FIESCH", "Launch, north*$side", 2240);
  EXPECT_EQ(WaypointSentence(w), Sentence("PMGNWPL,4625.460,N,00808.100,W,2240,M,FIESCH,Launch- north--side"));
  w = testing::MakeWaypoint(-33.5, 151.2, "SYD", "", -5);
  EXPECT_EQ(WaypointSentence(w), Sentence("PMGNWPL,3330.000,S,15112.000,E,0000,M,SYD,"));
}

}  // namespace
}  // namespace trelvik::magellan
