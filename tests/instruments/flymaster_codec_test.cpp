// The Flymaster codec from bytes: sentences, the flight list, the block frame
// and the decoding of flights, waypoint sentences and acknowledgements.
#include <gtest/gtest.h>

#include "access/nmea.hpp"
#include "geo/angles.hpp"
#include "instruments/flymaster/codec.hpp"
#include "instruments/flymaster/settings_input.hpp"
#include "instruments/flytec_fixtures.hpp"

namespace trelvik::flymaster {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> bytes;
  for (const int v : values) bytes.push_back(static_cast<uint8_t>(v));
  return bytes;
}

void Put32(std::vector<uint8_t>& d, int64_t v) {
  for (int i = 0; i < 4; ++i) d.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A key block's data: latitude and longitude in 1/60000 degree (west positive).
std::vector<uint8_t> Key(int32_t lat, int32_t lon, int16_t alt = 1000, int16_t pressure = 9000, uint32_t time = 1000) {
  std::vector<uint8_t> d(1, 0);
  Put32(d, lat);
  Put32(d, lon);
  d.push_back(static_cast<uint8_t>(alt));
  d.push_back(static_cast<uint8_t>(alt >> 8));
  d.push_back(static_cast<uint8_t>(pressure));
  d.push_back(static_cast<uint8_t>(pressure >> 8));
  Put32(d, time);
  return d;
}

std::vector<uint8_t> Info() {
  std::vector<uint8_t> d(63, 0);
  d[0] = 2;
  d[1] = 7;
  d[4] = 0x39;
  d[5] = 0x30;  // 12345
  const std::string pilot = "Jo Pilot";
  std::copy(pilot.begin(), pilot.end(), d.begin() + 16);
  const std::string glider = "Glider Long Name";
  std::copy(glider.begin(), glider.begin() + 15, d.begin() + 46);
  return d;
}

TEST(FlymasterSentences, FixedRequestsCarryTheirOwnChecksums) {
  for (const std::string_view request : {kPBRSNP, kPFMDNLLST, kPFMWPL, kPFMOFF}) {
    const std::string_view body = request.substr(1, request.find('*') - 1);
    EXPECT_EQ(PfmSentence(body), request);
  }
  EXPECT_EQ(NmeaChecksum("PFMDNL,LST,"), 0x56);
  EXPECT_EQ(PFMDNL(TrackTimeFromDate({2024, 7, 0, 15, 10, 0, 5, 0})), PfmSentence("PFMDNL,240715100005,"));
  std::string upper = PfmSentence("PFMWPR,y", true);
  std::string lower = PfmSentence("PFMWPR,y");
  EXPECT_EQ(upper.substr(upper.size() - 5), "*5B\r\n");
  EXPECT_EQ(lower.substr(lower.size() - 5), "*5b\r\n");
}

TEST(FlymasterSentences, UserTextsCannotBreakASentence) {
  EXPECT_EQ(SentenceText("a,b*c$d\re\nf", 40), "a b c d e f");
  EXPECT_EQ(SentenceText("Fifteen letters!", 14), "Fifteen letter");
  EXPECT_EQ(SettingsSentence(SettingsCommand::PilotData, {"Jo,", "12", "", "M"}), PfmSentence("PFMPLT,Jo ,12,,M,"));
  EXPECT_EQ(SettingsSentence(SettingsCommand::AltitudeAlarm, {"11000"}), PfmSentence("PFMALT,11000,"));
  EXPECT_EQ(SettingsSentence(SettingsCommand::AltitudeAlarm, {"11001"}), "");
  EXPECT_EQ(SettingsSentence(SettingsCommand::AltitudeAlarm, {"-1"}), "");
  EXPECT_EQ(SettingsSentence(SettingsCommand::Identifiers, {"7", "", "A*B"}), PfmSentence("PFMIDS,7,,A B"));
}

TEST(FlymasterProduct, NeedsFiveFieldsAndAGoodChecksum) {
  const auto product = ParseProductLine("$PBRSNP,B1NAV,Jo,4711,1.14*" + std::string());
  EXPECT_FALSE(product.has_value());  // no checksum digits
  std::string line = testing::Sentence("PBRSNP,B1NAV,Jo,4711,1.14");
  line.resize(line.size() - 2);
  const auto good = ParseProductLine(line);
  ASSERT_TRUE(good.has_value());
  EXPECT_TRUE(IsB1Nav(*good));
  EXPECT_TRUE(HasOldWaypointAck(*good));
  EXPECT_EQ(good->serial, "4711");
  std::string four = testing::Sentence("PBRSNP,B1NAV,Jo,4711");
  four.resize(four.size() - 2);
  EXPECT_FALSE(ParseProductLine(four).has_value());
}

TEST(FlymasterTrackList, LinesAndTheirErrors) {
  const auto line = [](std::string_view body) {
    std::string text = testing::Sentence(body);
    text.resize(text.size() - 2);
    return text;
  };
  TrackListLine entry;
  ASSERT_EQ(ParseTrackListLine(line("PFMLST,002,001,29.02.24,10:00:05,1:02:03"), entry), TrackListError::None);
  EXPECT_EQ(entry.index, 1);
  EXPECT_EQ(entry.start, TrackTimeFromDate({2024, 2, 0, 29, 10, 0, 5, 0}));
  EXPECT_EQ(entry.duration, 3723u);
  std::string badSum = line("PFMLST,002,001,29.02.24,10:00:05,1:02:03");
  badSum.back() = badSum.back() == '0' ? '1' : '0';
  const std::pair<std::string, TrackListError> cases[] = {
      {badSum, TrackListError::TooFew},
      {line("PFMLST,002,001,29.02.24,10:00:05"), TrackListError::TooFew},
      {line("PFMLSX,002,001,29.02.24,10:00:05,1:02:03"), TrackListError::Identifier},
      {line("PFMLST,x,001,29.02.24,10:00:05,1:02:03"), TrackListError::Count},
      {line("PFMLST,2,-1,29.02.24,10:00:05,1:02:03"), TrackListError::Index},
      {line("PFMLST,2,1,29.02.23,10:00:05,1:02:03"), TrackListError::Date},
      {line("PFMLST,2,1,28.02.23,10-00:05,1:02:03"), TrackListError::Time},
      {line("PFMLST,2,1,28.02.23,10:00:05,1:0x:03"), TrackListError::Duration},
  };
  for (const auto& [text, error] : cases) EXPECT_EQ(ParseTrackListLine(text, entry), error) << text;
  EXPECT_EQ(TrackListErrorText(TrackListError::TooFew), "Too few parameters");
}

TEST(FlymasterBlocks, FrameStatesAndChecksum) {
  BlockReader reader;
  std::vector<BlockReader::Event> events;
  // A1 A2 A2: the second byte restarts the type; then length 6, data, XOR.
  const std::vector<uint8_t> stream =
      Bytes({0x00, 0xA1, 0xA2, 0xA2, 6, 1, 2, 3, 4, 5, 6, 6 ^ 1 ^ 2 ^ 3 ^ 4 ^ 5 ^ 6, 0xA2, 0xA2, 1, 9, 0, 0xA3, 0xA3});
  for (const uint8_t c : stream) {
    const auto event = reader.Feed(c);
    if (event != BlockReader::Event::None) events.push_back(event);
    if (event == BlockReader::Event::Good) {
      EXPECT_EQ(reader.Type(), 0xA2);
    }
  }
  EXPECT_EQ(events, (std::vector<BlockReader::Event>{BlockReader::Event::Good, BlockReader::Event::Bad,
                                                     BlockReader::Event::End}));
}

TEST(FlymasterFlight, KeyAndDeltasBecomePoints) {
  std::vector<TrackPoint> points;
  FlightDecoder decoder;
  decoder.Start(points, false);
  ASSERT_EQ(decoder.Take(kFlightInfoBlock, Info()), FlightError::None);
  EXPECT_EQ(decoder.Info().serial, 12345u);
  EXPECT_EQ(decoder.Info().pilot, "Jo Pilot");
  EXPECT_EQ(decoder.Info().glider, "Glider Long Na");
  ASSERT_EQ(decoder.Take(kKeyBlock, Key(2760000, 600000, 1000, 8987, 86400)), FlightError::None);
  ASSERT_EQ(decoder.Take(kPositionsBlock, Bytes({0, 0xFF, 1, 0xFF, 0, 0xFF, 0, 2, 0, 0, 0, 1})), FlightError::None);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].flags, kNewSegment);
  EXPECT_EQ(points[0].time, 86400u + 315619200u);
  EXPECT_EQ(points[0].lat, RadiansToSemicircle(46.0 * 3.14159265358979323846 / 180.0));
  EXPECT_EQ(points[0].lon, -RadiansToSemicircle(10.0 * 3.14159265358979323846 / 180.0));  // 10 degrees west
  EXPECT_EQ(points[0].gpsAlt, 10000);
  EXPECT_EQ(points[0].baroAlt, 1000);  // 898.7 hPa
  EXPECT_EQ(points[1].flags, 0);
  EXPECT_EQ(points[1].gpsAlt, 9990);                // 0xFF: one metre less
  EXPECT_EQ(points[1].time, points[0].time + 255);  // time deltas are unsigned
  EXPECT_EQ(points[2].lat - points[1].lat, 2 * 199);
  EXPECT_EQ(decoder.Finish(), FlightError::None);
  EXPECT_EQ(PressureAltitude(10132), 0);
}

TEST(FlymasterFlight, FaultsOfTheStream) {
  struct Case {
    std::vector<std::pair<uint8_t, std::vector<uint8_t>>> blocks;
    FlightError error;
  };
  const std::vector<uint8_t> delta = Bytes({0, 1, 1, 1, 1, 1});
  const Case cases[] = {
      {{{kPositionsBlock, delta}}, FlightError::MissingKey},
      {{{kKeyBlock, Key(0, 0)}, {kPositionsBlock, Bytes({0, 1, 1, 1, 1, 1, 0})}}, FlightError::PositionsLength},
      {{{kKeyBlock, Key(0, 0)}, {kPositionsBlock, {}}}, FlightError::PositionsLength},
      {{{kKeyBlock, Key(5400001, 0)}}, FlightError::Latitude},
      {{{kKeyBlock, Key(-5400001, 0)}}, FlightError::Latitude},
      {{{kKeyBlock, Key(0, 10800001)}}, FlightError::Longitude},
      {{{kKeyBlock, Key(5400000, 0)}, {kPositionsBlock, delta}}, FlightError::Latitude},  // walked off the pole
      {{{kKeyBlock, std::vector<uint8_t>(16, 0)}}, FlightError::KeyLength},
      {{{kFlightInfoBlock, std::vector<uint8_t>(62, 0)}}, FlightError::InfoLength},
  };
  for (const Case& c : cases) {
    std::vector<TrackPoint> points;
    FlightDecoder decoder;
    decoder.Start(points, false);
    FlightError error = FlightError::None;
    for (const auto& [type, data] : c.blocks) {
      error = decoder.Take(type, data);
      if (error != FlightError::None) break;
    }
    EXPECT_EQ(error, c.error) << FlightErrorText(c.error);
  }
  std::vector<TrackPoint> points;
  FlightDecoder decoder;
  decoder.Start(points, true);
  EXPECT_EQ(decoder.Finish(), FlightError::MissingInfo);
  ASSERT_EQ(decoder.Take(kFlightInfoBlock, Info()), FlightError::None);
  EXPECT_EQ(decoder.Info().glider, "Glider");  // a B1 NAV keeps seven characters, trailing blank cut
  EXPECT_EQ(FlightErrorText(FlightError::Longitude), "E205 Longitude value outside valid range");
}

TEST(FlymasterWaypoints, LinesAndTheirFormatErrors) {
  const auto line = [](std::string_view body) {
    std::string text = testing::Sentence(body);
    text.resize(text.size() - 2);
    return text;
  };
  WaypointLine w;
  ASSERT_EQ(ParseWaypointLine(line("PFMWPL,46.5,N,8.25,W,12.6,  Two   Blanks , 1 "), w), 0);
  EXPECT_EQ(w.name, "Two Blanks");
  EXPECT_TRUE(w.landing);
  const Waypoint stored = WaypointFromLine(w, 77);
  EXPECT_STREQ(stored.name, "TWO");
  EXPECT_STREQ(stored.description, "Two Blanks");
  EXPECT_EQ(stored.alt, 13);
  EXPECT_EQ(stored.airport, 1);
  EXPECT_LT(stored.lon, 0);
  std::string badHex = line("PFMWPL,46,N,8,E,1,X");
  badHex[badHex.size() - 1] = 'G';
  std::string mismatch = line("PFMWPL,46,N,8,E,1,X");
  mismatch[mismatch.size() - 1] = mismatch.back() == '0' ? '1' : '0';
  const std::pair<std::string, int> cases[] = {
      {badHex, 1},
      {line("PFMWPL,46,N,8,E,1,X") + "Z", 2},
      {mismatch, 3},
      {"$PFMWPL,46,N,8,E,1,X", 4},
      {line("PFMWPL,46,N,8,E,1"), 5},
      {line("PFMWPL,x,N,8,E,1,X"), 6},
      {line("PFMWPL,46,Q,8,E,1,X"), 7},
      {line("PFMWPL,46,N,y,E,1,X"), 8},
      {line("PFMWPL,46,N,8,Q,1,X"), 9},
      {line("PFMWPL,46,N,8,E,z,X"), 10},
      {line("PFMWPL,46,N,8,E,1,   "), 11},
  };
  for (const auto& [text, code] : cases) EXPECT_EQ(ParseWaypointLine(text, w), code) << text;
}

TEST(FlymasterWaypoints, PrefixLinesRestartOnAMismatch) {
  PrefixLineCollector collector("$PFMWPL,", 20);
  std::vector<std::string> lines;
  for (const char c : std::string("$PF$PFMWPL,abc\r\n$PFMWPX,no\r\n$PFMWPL,0123456789012345678901\r\n")) {
    if (collector.Feed(static_cast<uint8_t>(c))) lines.push_back(collector.Line());
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"$PFMWPL,abc", "$PFMWPL,012345678901"}));
}

TEST(FlymasterWaypoints, UploadSentenceAndAcknowledgements) {
  Waypoint w = testing::MakeWaypoint(-46.5 - 0.0006 / 60, 8.25, "ID", "Launch, east", 12000);
  w.airport = 1;
  std::string name;
  const std::string sentence = PFMWPR(w, name);
  EXPECT_EQ(name, "Launch  east    ");
  EXPECT_EQ(sentence, PfmSentence("PFMWPR,4630.001,S,00815.000,E,,Launch  east    ,9999,1", true));
  w.alt = -5;
  w.airport = 0;
  EXPECT_TRUE(PFMWPR(w, name).find(",0000*") != std::string::npos);
  const auto line = [](std::string_view body) {
    std::string text = testing::Sentence(body);
    text.resize(text.size() - 2);
    return text;
  };
  EXPECT_EQ(CheckWaypointAck(line("PFMWPR,ACK,LAUNCH  EAST"), name, false), 0);
  EXPECT_EQ(CheckWaypointAck(line("PFMWPR,ACK,LAUNCH EAST"), name, false), 7);
  EXPECT_EQ(CheckWaypointAck(line("PFMWPR,NAK,LAUNCH  EAST"), name, false), 6);
  EXPECT_EQ(CheckWaypointAck(line("PFMWPR,ACK"), name, false), 5);
  EXPECT_EQ(CheckWaypointAck(line("PFMWPR,Launch  east    "), name, true), 0);
  EXPECT_EQ(CheckWaypointAck(line("PFMWPR,LAUNCH  EAST"), name, true), 7);
  EXPECT_EQ(CheckWaypointAck("$PFMWPR,ACK,X", name, false), 4);
}

}  // namespace
}  // namespace trelvik::flymaster

namespace trelvik::flymaster {
namespace {

TEST(FlymasterSettingsInput, TheDialogsRefuseWhatTheUnitCannotTake) {
  struct Case {
    SettingsCommand command;
    std::vector<std::string> typed;
    InputVerdict verdict;
    std::string refusal;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {SettingsCommand::PilotData, {"Jo", "12", "", "M"}, InputVerdict::Send, "", {"Jo", "12", "", "M"}},
      {SettingsCommand::PilotData, {"Jo", "1*", "", ""}, InputVerdict::Refused, "Comp. number contains '*'", {}},
      {SettingsCommand::PilotData, {"", "", "", "*"}, InputVerdict::Refused, "Glider model contains '*'", {}},
      {SettingsCommand::AltitudeAlarm, {""}, InputVerdict::Refused, "Missing input", {}},
      {SettingsCommand::AltitudeAlarm, {"12a"}, InputVerdict::Refused, "Bad input format", {}},
      {SettingsCommand::AltitudeAlarm, {"11001"}, InputVerdict::Refused, "Altitude too high", {}},
      {SettingsCommand::AltitudeAlarm, {"0"}, InputVerdict::Cancelled, "", {}},
      {SettingsCommand::AltitudeAlarm, {"2500"}, InputVerdict::Send, "", {"2500"}},
      {SettingsCommand::Identifiers, {"Jo*", "1", "2"}, InputVerdict::Refused, "Pilot name contains '*'", {}},
      {SettingsCommand::Identifiers, {"Jo", "1", "2"}, InputVerdict::Send, "", {"1", "2", "Jo"}},
  };
  for (const Case& c : cases) {
    const InputCheck check = CheckSettingsInput(c.command, c.typed);
    EXPECT_EQ(check.verdict, c.verdict) << c.typed[0];
    EXPECT_EQ(check.refusal, c.refusal) << c.typed[0];
    EXPECT_EQ(check.texts, c.texts) << c.typed[0];
  }
  EXPECT_STREQ(SettingsDialogOf(SettingsCommand::Identifiers).caption, "Set Flymaster IDs");
  EXPECT_EQ(SettingsDialogOf(SettingsCommand::PilotData).fields.size(), 4u);
}

}  // namespace
}  // namespace trelvik::flymaster
