// The Flytec/Braeuniger sentences from bytes: requests, product and track-list
// lines, the waypoint state table, the reply framer.
#include <gtest/gtest.h>

#include <cmath>

#include "access/nmea.hpp"
#include "geo/angles.hpp"
#include "instruments/flytec/codec.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "records/names.hpp"

namespace trelvik::flytec {
namespace {

using testing::MakeWaypoint;
using testing::Sentence;

std::string WithoutEnd(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

TEST(FlytecRequests, AreSentencesWithTheirChecksums) {
  EXPECT_EQ(kPBRSNP, "\x11$PBRSNP,*21\r\n");
  EXPECT_EQ(PBRTR(5), "\x11$PBRTR,05*6F\r\n");
  EXPECT_EQ(PBRTR(0), "\x11$PBRTR,00*6A\r\n");
  for (std::string_view request : {kPBRSNP, kPBRTL, kPBRIGC, kPBRWPS, kPBRCTR}) {
    ASSERT_EQ(request[0], '\x11');
    std::string line = WithoutEnd(std::string(request.substr(1)));
    int offsets[2];
    EXPECT_GE(CheckNmeaSentence(line, offsets), 1) << request.substr(1);
    EXPECT_TRUE(request.ends_with("\r\n"));
  }
}

TEST(FlytecLineCollector, KeepsTheLimitAndRestartsAtDollar) {
  LineCollector collector(10);
  std::string completed;
  for (char c : std::string("junk$AB$PBRSNP,0123456789\r\n")) {
    if (collector.Feed(static_cast<uint8_t>(c))) completed = collector.Line();
  }
  EXPECT_EQ(completed, "$PBRSNP,01");
}

struct ProductCase {
  std::string line;
  ProductLine result;
  std::string model, pilot, serial, software;
};

TEST(FlytecProductLine, IsParsedCollapsedAndCut) {
  const ProductCase cases[] = {
      {Sentence("PBRSNP,Compeo,Jo  Pilot ,4711,2.19"), ProductLine::Product, "COMPEO", "Jo Pilot", "4711", "2.19"},
      {Sentence("PBRSNP,flytec   6030 competition edition,X,1234567890,1.234567"), ProductLine::Product,
       "FLYTEC 6030 COMP", "X", "1234567", "1.2345"},
      {Sentence("PBRSNP,Compeo,   ,4711,2.19"), ProductLine::NoPilot, "", "", "", ""},
      {Sentence("PBRSNP,Compeo,Jo,4711"), ProductLine::OtherLine, "", "", "", ""},
      {Sentence("GPRMC,Compeo,Jo,4711,2.19"), ProductLine::OtherLine, "", "", "", ""},
      {"$PBRSNP,Compeo,Jo,4711,2.19*00", ProductLine::OtherLine, "", "", "", ""},
  };
  for (const ProductCase& c : cases) {
    ProductData product;
    EXPECT_EQ(ParseProductLine(WithoutEnd(c.line), product), c.result) << c.line;
    if (c.result != ProductLine::Product) continue;
    EXPECT_EQ(product.model, c.model);
    EXPECT_EQ(product.pilot, c.pilot);
    EXPECT_EQ(product.serial, c.serial);
    EXPECT_EQ(product.software, c.software);
  }
}

TEST(FlytecModelTable, FirstSubstringFoundNamesTheModel) {
  const std::pair<std::string, std::string> cases[] = {
      {"FLYTEC 5020", "5020"},    {"5030", "5030"},         {"6020", "6020"},
      {"6030 COMPEO", "6030"},    {"COMPEO+", "Compeo+"},   {"BRAEUNIGER COMPEO", "Compeo"},
      {"COMPETINO+", "Competino+"}, {"COMPETINO", "Competino"}, {"GALILEO", "Galileo"},
      {"IQ-ONE", "Unknown"},       {"", "Unknown"},
  };
  for (const auto& [model, name] : cases) EXPECT_EQ(ModelName(model), name) << model;
}

TEST(FlytecTrackListCapability, FollowsModelAndVersionText) {
  struct Case {
    const char* model;
    const char* software;
    bool lists;
  };
  const Case cases[] = {
      {"COMPETINO", "1.13", false}, {"COMPETINO", "1.14", true}, {"5020", "1.2", true},
      {"COMPEO", "2.19", false},    {"COMPEO", "2.20", true},    {"5030", "3.0", true},
      {"GALILEO", "10.0", false},  // compared as text: "1" < "2"
      {"COMPEO+", "0", true},       {"6020", "", true},          {"6030", "1.0", true},
      {"COMPETINO+", "1", true},    {"Compeo", "9", false},      {"FLYTEC 5020", "9", false},
  };
  for (const Case& c : cases) EXPECT_EQ(CanListTracks(c.model, c.software), c.lists) << c.model << " " << c.software;
}

TEST(FlytecTrackList, LineGivesStartAndDuration) {
  TrackListLine line;
  ASSERT_EQ(ParseTrackListLine(WithoutEnd(Sentence("PBRTL,02,01,15.07.24,10:00:05,25:00:00")), line),
            TrackListError::Duration);  // durations are times of day
  ASSERT_EQ(ParseTrackListLine(WithoutEnd(Sentence("PBRTL,02,01,15.07.24,10:00:05,01:02:03")), line),
            TrackListError::None);
  EXPECT_EQ(line.count, 2);
  EXPECT_EQ(line.index, 1);
  SystemTime start;
  start.year = 2024;
  start.month = 7;
  start.day = 15;
  start.hour = 10;
  start.second = 5;
  EXPECT_EQ(line.start, TrackTimeFromDate(start));
  EXPECT_EQ(line.duration, 3723u);
}

TEST(FlytecTrackList, EveryFaultHasItsText) {
  const std::pair<std::string, std::string> cases[] = {
      {Sentence("PBRTL,02,01,15.07.24,10:00:00"), "NMEA line parse error"},
      {"$PBRTL,02,01,15.07.24,10:00:00,00:10:00*00", "NMEA line parse error"},
      {Sentence("PBRTX,02,01,15.07.24,10:00:00,00:10:00"), "Bad NMEA identifier"},
      {Sentence("PBRTL,x,01,15.07.24,10:00:00,00:10:00"), "Bad track count parameter"},
      {Sentence("PBRTL,02,-1,15.07.24,10:00:00,00:10:00"), "Bad track index parameter"},
      {Sentence("PBRTL,02,01,15.7.24,10:00:00,00:10:00"), "Bad track date parameter"},
      {Sentence("PBRTL,02,01,15.07.24,24:00:00,00:10:00"), "Bad track time parameter"},
      {Sentence("PBRTL,02,01,15.07.24,10:00:00,00:60:00"), "Bad track duration parameter"},
  };
  for (const auto& [line, text] : cases) {
    TrackListLine entry;
    EXPECT_EQ(TrackListErrorText(ParseTrackListLine(WithoutEnd(line), entry)), text) << line;
  }
}

// Feeds `text` and returns the first non-zero result (0 when none).
int FeedWaypoint(WaypointSentenceParser& parser, std::string_view text) {
  for (char c : text) {
    const int rc = parser.Feed(static_cast<uint8_t>(c));
    if (rc != 0) return rc;
  }
  return 0;
}

TEST(FlytecWaypointParser, EveryStateRejectsWithItsCode) {
  const std::string head = "$PBRWPS,4625.4,N,00808.1,E,";
  std::string badSum = Sentence("PBRWPS,4625.4,N,00808.1,E,ID,NAME,12");
  badSum[badSum.size() - 3] = badSum[badSum.size() - 3] == '0' ? '1' : '0';
  const std::pair<std::string, int> cases[] = {
      {"$PBRWPS,8960", -1},
      {"$PBRWPS,46x", -2},
      {"$PBRWPS,4625.4x", -3},
      {"$PBRWPS,4625.4,X", -4},
      {"$PBRWPS,4625.4,NX", -5},
      {"$PBRWPS,4625.4,N,17960", -6},
      {"$PBRWPS,4625.4,N,008x", -7},
      {"$PBRWPS,4625.4,N,00808.1x", -8},
      {"$PBRWPS,4625.4,N,00808.1,X", -9},
      {"$PBRWPS,4625.4,N,00808.1,EX", -10},
      {head + "ID\r", -11},
      {head + "ABCDEFG", -12},
      {head + "ID,NAME\n", -13},
      {head + "ID,ABCDEFGHIJKLMNOPQR", -14},
      {head + "ID,NAME,12x", -15},
      {head + "ID,NAME,1-", -15},
      {head + "ID,NAME,123456", -16},
      {head + "ID,NAME,-12345", -16},
      {head + "ID,NAME,12*G", -17},
      {head + "ID,NAME,12*1G", -18},
      {head + "ID,NAME,12*12X", -19},
      {head + "ID,NAME,12*12\rX", -21},
      {badSum, -20},
  };
  for (const auto& [text, code] : cases) {
    WaypointSentenceParser parser;
    EXPECT_EQ(FeedWaypoint(parser, text), code) << text;
  }
}

TEST(FlytecWaypointParser, AcceptsShortFormsAndSkipsNoise) {
  const std::string accepted[] = {
      Sentence("PBRWPS,4624,N,00809.000,E,LAND,Fiesch landing,1050"),  // no latitude fraction
      Sentence("PBRWPS,4624.000,N,00809.000,E,LAND"),                  // id then checksum
      Sentence("PBRWPS,4624.000,,00809.000,,LAND,Name,-12"),          // hemispheres left out
      "$PBRWPX,1*00\r\n\x01 $PB" + Sentence("PBRWPS,4624.000,N,00809.000,E,LAND,Name,5"),
  };
  for (const std::string& text : accepted) {
    WaypointSentenceParser parser;
    EXPECT_EQ(FeedWaypoint(parser, text), 1) << text;
  }
  WaypointSentenceParser parser;
  ASSERT_EQ(FeedWaypoint(parser, Sentence("PBRWPS,4624.000,N,00809.000,E,LAND")), 1);
  EXPECT_EQ(parser.Sentence().name, "");
  EXPECT_EQ(parser.Sentence().alt, 0);
  ASSERT_EQ(FeedWaypoint(parser, Sentence("PBRWPS,4624.000,,00809.000,,LAND,Name,-12")), 1);
  EXPECT_EQ(parser.Sentence().alt, -12);
  EXPECT_GT(parser.Sentence().lat, 0);
  EXPECT_GT(parser.Sentence().lon, 0);
}

double Degrees(Semicircle s) { return SemicircleToRadians(s) * 180.0 / 3.14159265358979323846; }

TEST(FlytecWaypointParser, SentencesBecomeWaypoints) {
  struct Case {
    std::string body;
    double lat, lon;
    const char* name;
    const char* description;
    int32_t alt;
  };
  const Case cases[] = {
      {"PBRWPS,4625.460,N,00808.100,E,FIESCH,Fiesch Launch,2240", 46 + 25.46 / 60, 8 + 8.1 / 60, "FIESCH",
       "FIESCH LAUNCH", 2240},
      {"PBRWPS,3350.500,S,15112.250,W,,South West,0012", -(33 + 50.5 / 60), -(151 + 12.25 / 60), "SOUTH", "SOUTH WEST",
       12},
      {"PBRWPS,4700.000,N,00800.000,E,EMPTY ,  Two  Blanks ,-0005", 47, 8, "EMPTY", "TWO BLANKS", -5},
      {"PBRWPS,4700.000,N,00800.000,E,ab cd,,5", 47, 8, "AB", "", 5},
      {"PBRWPS,4700.000,N,00800.000,E,,,5", 47, 8, "Z", "", 5},
  };
  for (const Case& c : cases) {
    WaypointSentenceParser parser;
    ASSERT_EQ(FeedWaypoint(parser, Sentence(c.body)), 1) << c.body;
    const Waypoint w = WaypointFromSentence(parser.Sentence(), 777);
    EXPECT_NEAR(Degrees(w.lat), c.lat, 1e-7) << c.body;
    EXPECT_NEAR(Degrees(w.lon), c.lon, 1e-7) << c.body;
    EXPECT_STREQ(w.name, c.name);
    EXPECT_STREQ(w.description, c.description);
    EXPECT_EQ(w.alt, c.alt);
    EXPECT_EQ(w.time, 777u);
    EXPECT_EQ(w.airport, 0);
  }
}

TEST(FlytecWaypointUpload, SentencesCarryFixedWidthNamesAndClampedAltitudes) {
  const std::pair<Waypoint, std::string> cases[] = {
      {MakeWaypoint(46 + 25.46 / 60, 8 + 8.1 / 60, "FIE", "ABCDEFGHIJKLMNOPQRST", 2240),
       "PBRWPR,4625.460,N,00808.100,E,,ABCDEFGHIJKLMNOPQ,2240"},
      {MakeWaypoint(-(33 + 50.5 / 60), -(151 + 12.25 / 60), "SW", "ABC", -5),
       "PBRWPR,3350.500,S,15112.250,W,,ABC              ,0000"},
      {MakeWaypoint(1.0 / 60000, 179 + 59.999 / 60, "X", "", 12000),
       "PBRWPR,0000.001,N,17959.999,E,,                 ,9999"},
      // The sentence's own separators cannot stand in a name.
      {MakeWaypoint(0, 0, "T", "Ta,ke*off$x\ty", 100),
       "PBRWPR,0000.000,N,00000.000,E,,Ta ke off x y    ,0100"},
  };
  for (const auto& [waypoint, body] : cases) EXPECT_EQ(PBRWPR(waypoint), Sentence(body));
}

TEST(FlytecWaypointUpload, NamingRulesFillTheDescription) {
  std::vector<Waypoint> base = {MakeWaypoint(46, 8, "LAUNCH", "Fiesch top", 0), MakeWaypoint(46, 8, "LAND", "", 0)};
  const std::tuple<WaypointNaming, std::string, std::string> cases[] = {
      {WaypointNaming::OnlyName, "Fiesch top", "LAND"},
      {WaypointNaming::OnlyId, "LAUNCH", "LAND"},
      {WaypointNaming::IdAndName, "LAUNCH Fiesch top", "LAND "},
  };
  for (const auto& [naming, first, second] : cases) {
    std::vector<Waypoint> list = base;
    ApplyWaypointNaming(list, naming);
    EXPECT_STREQ(list[0].description, first.c_str());
    EXPECT_STREQ(list[1].description, second.c_str());
  }
  std::vector<Waypoint> longOne = {MakeWaypoint(46, 8, "ABCDEF", std::string(40, 'x').c_str(), 0)};
  ApplyWaypointNaming(longOne, WaypointNaming::IdAndName);
  EXPECT_EQ(std::string(longOne[0].description), "ABCDEF " + std::string(33, 'x'));
}

TEST(FlytecSentenceFramer, FramingFaultsHaveTheirCodes) {
  std::string badSum = Sentence("PBRANS,1");
  badSum[badSum.size() - 3] = '7';
  const std::pair<std::string, int> cases[] = {
      {"$" + std::string(81, 'A') + "B", -1},
      {"$PBRANS,1*G1\r\n", -2},
      {"$PBRANS,1*0G\r\n", -3},
      {"$PBRANS,1*01X", -4},
      {"$PBRANS,1*01\rX", -6},
      {badSum, -5},
      {"noise" + Sentence("PBRANS,1"), 1},
      {"$" + std::string(80, 'A') + "*" + Sentence(std::string(80, 'A')).substr(82), 1},
  };
  for (const auto& [text, code] : cases) {
    SentenceFramer framer;
    int result = 0;
    for (char c : text) {
      if ((result = framer.Feed(static_cast<uint8_t>(c))) != 0) break;
    }
    EXPECT_EQ(result, code) << text;
  }
}

TEST(FlytecAck, StatusCharactersAndTexts) {
  SentenceFramer framer;
  for (char c : Sentence("PBRANS,3")) {
    if (framer.Feed(static_cast<uint8_t>(c)) == 1) break;
  }
  EXPECT_EQ(AckStatus(framer.Sentence()), '3');
  EXPECT_EQ(AckStatus("$PBRCTR,1"), 0);
  EXPECT_EQ(AckStatus("$PBRANS,"), 0);
  const std::pair<char, std::string> texts[] = {
      {'1', "CTR transfer ok"},         {'2', "Plausibility error"}, {'3', "No further memory"},
      {'4', "No more writing allowed"}, {'5', "NMEA syntax error"},  {'9', "Unknown ack. status"},
  };
  for (const auto& [status, text] : texts) EXPECT_EQ(AckStatusText(status), text);
}

TEST(FlytecFixedWidth, CutsAndPadsWithoutSplittingCharacters) {
  EXPECT_EQ(FixedWidth("ABC", 5), "ABC  ");
  EXPECT_EQ(FixedWidth("ABCDEFG", 5), "ABCDE");
  EXPECT_EQ(FixedWidth("ABCD\xC3\xA9", 5), "ABCD ");  // the two-byte e-acute does not fit
}

}  // namespace
}  // namespace trelvik::flytec
