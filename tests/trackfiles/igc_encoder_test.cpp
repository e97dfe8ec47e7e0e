#include "trackfiles/igc_encoder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "geo/angles.hpp"
#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/igc_verify.hpp"

namespace trelvik {
namespace {

Semicircle Degrees(double degrees) { return RadiansToSemicircle(degrees * M_PI / 180.0); }

TrackTime At(int year, int month, int day, int hour, int minute, int second) {
  SystemTime t;
  t.year = static_cast<uint16_t>(year);
  t.month = static_cast<uint16_t>(month);
  t.day = static_cast<uint16_t>(day);
  t.hour = static_cast<uint16_t>(hour);
  t.minute = static_cast<uint16_t>(minute);
  t.second = static_cast<uint16_t>(second);
  return TrackTimeFromDate(t);
}

// The example fix: 47° 30.5' N, 8° 15.25' W at 10:05:09.
TrackPoint ExamplePoint() {
  TrackPoint p;
  p.flags = kNewSegment;
  p.time = At(2012, 7, 14, 10, 5, 9);
  p.lat = Degrees(47.0 + 30.5 / 60.0);
  p.lon = Degrees(-(8.0 + 15.25 / 60.0));
  p.baroAlt = 1234;
  p.gpsAlt = 12345;
  return p;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no line end>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string BLine(const TrackPoint& point, bool addEnl = false) {
  std::vector<TrackPoint> points{point};
  IgcEncoderInput input;
  input.points = points;
  input.addEnl = addEnl;
  for (const std::string& line : Lines(EncodeIgc(input).text)) {
    if (line.starts_with('B')) return line;
  }
  return {};
}

TEST(IgcEncoder, ExampleFixGivesTheDocumentedBRecord) {
  EXPECT_EQ(BLine(ExamplePoint()), "B1005094730500N00815250WA0123401235");
}

TEST(IgcEncoder, AltitudeFields) {
  struct Case {
    int32_t baroAlt;
    int32_t gpsAlt;  // decimetres
    const char* fields;
  };
  const Case cases[] = {
      {0, -3, "0000000000"},    // negative GPS altitude is written as 0
      {-12, 0, "-001200000"},   // negative pressure altitude keeps its sign
      {100, 15, "0010000002"},  // half a metre rounds up
      {100, 14, "0010000001"}, {100, 4, "0010000000"}, {0, -15, "0000000000"},
  };
  for (const Case& c : cases) {
    TrackPoint p = ExamplePoint();
    p.baroAlt = c.baroAlt;
    p.gpsAlt = c.gpsAlt;
    EXPECT_EQ(BLine(p).substr(25), c.fields) << c.baroAlt << " " << c.gpsAlt;
  }
}

TEST(IgcEncoder, EnlField) {
  struct Case {
    float aux;
    const char* enl;
  };
  const Case cases[] = {{0.0f, "000"},  {10.0f, "033"},  {400.0f, "999"},
                        {-1.0f, "000"}, {304.0f, "997"}, {std::numeric_limits<float>::quiet_NaN(), "000"},
                        {1e30f, "999"}};
  for (const Case& c : cases) {
    TrackPoint p = ExamplePoint();
    p.aux = c.aux;
    const std::string line = BLine(p, true);
    ASSERT_EQ(line.size(), 38u);
    EXPECT_EQ(line.substr(35), c.enl) << c.aux;
  }
}

TEST(IgcEncoder, HemispheresAndTheDateLineWhereLongitudesMeet) {
  TrackPoint p = ExamplePoint();
  p.lat = Degrees(-33.5);
  p.lon = std::numeric_limits<int32_t>::min();  // 180 degrees
  EXPECT_EQ(BLine(p).substr(7, 17), "3330000S18000000W");
  p.lat = 0;
  p.lon = Degrees(151.25);
  EXPECT_EQ(BLine(p).substr(7, 17), "0000000N15115000E");
}

// Positions that round to the pole or the date line must still read back.
TEST(IgcEncoder, PoleAndDateLineReadBack) {
  std::vector<TrackPoint> points{ExamplePoint(), ExamplePoint()};
  points[0].lat = 1 << 30;
  points[0].lon = std::numeric_limits<int32_t>::max();  // rounds to 180 degrees east
  points[1].lat = -(1 << 30);
  points[1].lon = std::numeric_limits<int32_t>::min();
  IgcEncoderInput input;
  input.points = points;
  const IgcDecodeResult decoded = DecodeIgc(EncodeIgc(input).text);
  ASSERT_TRUE(decoded.Ok()) << decoded.error;
  EXPECT_EQ(decoded.points[0].lat, 1 << 30);
  EXPECT_EQ(decoded.points[0].lon, std::numeric_limits<int32_t>::min());
  EXPECT_EQ(decoded.points[1].lat, -(1 << 30));
  EXPECT_EQ(decoded.points[1].lon, std::numeric_limits<int32_t>::min());
}

TEST(IgcEncoder, WholeFileLineByLine) {
  std::vector<TrackPoint> points{ExamplePoint()};
  TrackPoint second = ExamplePoint();
  second.time += 3;
  second.aux = 10.0f;
  points.push_back(second);
  IgcEncoderInput input;
  input.points = points;
  input.signable = 1;
  input.pilot = "Anna Muster";
  input.competitionId = "42";
  input.gliderType = "Alpina 4";
  input.gliderId = "D-1234";
  input.competitionClass = "Serial";
  input.site = "Fiesch";
  input.description = "Flytec 6030";
  input.serial = "7QZ";
  input.downloadTime = DateFromTrackTime(At(2012, 7, 15, 8, 0, 1));
  input.wantSecurity = true;
  input.addEnl = true;
  const EncodedIgc encoded = EncodeIgc(input);
  EXPECT_EQ(encoded.length, static_cast<int32_t>(encoded.text.size()));
  EXPECT_TRUE(encoded.isSigned);
  const std::vector<std::string> lines = Lines(encoded.text);
  ASSERT_EQ(lines.size(), 15u);
  const std::vector<std::string> expected = {
      "AXTV7QZ Flytec 6030",
      "HFDTE140712",
      "HOPLTPILOT: Anna Muster",
      "HOGTYGLIDERTYPE: Alpina 4",
      "HOGIDGLIDERID: D-1234",
      "HODTM100GPSDATUM: WGS-84",
      "HOCIDCOMPETITIONID: 42",
      "HOCCLCOMPETITION CLASS: Serial",
      "HOSITSite: Fiesch",
      "I013638ENL",
      "B1005094730500N00815250WA0123401235000",
      "B1005124730500N00815250WA0123401235033",
      "LXTV Trelvik version 4.72",
      "LXTV Downloaded 2012-07-15  08:00:01",
  };
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << i;
  ASSERT_EQ(lines[14].size(), 17u);
  EXPECT_EQ(lines[14][0], 'G');
  EXPECT_TRUE(encoded.text.ends_with(lines[14] + "\r\n"));  // nothing follows the G record
}

TEST(IgcEncoder, EmptyTextsLeaveTheirPlacesEmpty) {
  std::vector<TrackPoint> points{ExamplePoint()};
  IgcEncoderInput input;
  input.points = points;
  input.downloadTime = DateFromTrackTime(At(2013, 1, 2, 3, 4, 5));
  const std::vector<std::string> lines = Lines(EncodeIgc(input).text);
  const std::vector<std::string> expected = {
      "AXTV ",
      "HFDTE140712",
      "HOPLTPILOT: ",
      "HOGTYGLIDERTYPE: ",
      "HOGIDGLIDERID: ",
      "HODTM100GPSDATUM: WGS-84",
      "HOCIDCOMPETITIONID: ",
      "HOCCLCOMPETITION CLASS: ",
      "HOSITSite: ",
      "B1005094730500N00815250WA0123401235",
      "LXTV Trelvik version 4.72",
      "LXTV Downloaded 2013-01-02  03:04:05",
  };
  EXPECT_EQ(lines, expected);
}

TEST(IgcEncoder, MemoryFailuresGiveNoText) {
  std::vector<TrackPoint> points(400, ExamplePoint());
  IgcEncoderInput input;
  input.points = points;
  input.signable = 1;
  input.wantSecurity = true;
  input.textLimit = 5000;  // not even the first block
  EncodedIgc encoded = EncodeIgc(input);
  EXPECT_EQ(encoded.length, 0);
  EXPECT_TRUE(encoded.text.empty());
  input.textLimit = 10000;  // the first block, but 400 B records need more
  encoded = EncodeIgc(input);
  EXPECT_EQ(encoded.length, -1);
  EXPECT_TRUE(encoded.text.empty());
  EXPECT_FALSE(encoded.isSigned);
  input.textLimit = 40000;
  EXPECT_GT(EncodeIgc(input).length, 10000);
}

TEST(IgcEncoder, VersionPrintsMajorDotTwoDigitMinor) {
  std::vector<TrackPoint> points{ExamplePoint()};
  IgcEncoderInput input;
  input.points = points;
  input.programVersion = 405;
  EXPECT_NE(EncodeIgc(input).text.find("\r\nLXTV Trelvik version 4.05\r\n"), std::string::npos);
}

TEST(IgcEncoder, SecurityRecordOnlyForSignableLogsThatAskForIt) {
  std::vector<TrackPoint> points{ExamplePoint()};
  struct Case {
    int32_t signable;
    bool wantSecurity;
    bool isSigned;
  };
  const Case cases[] = {{0, true, false}, {1, true, true}, {1, false, false}, {2, true, false}};
  for (const Case& c : cases) {
    IgcEncoderInput input;
    input.points = points;
    input.signable = c.signable;
    input.wantSecurity = c.wantSecurity;
    const EncodedIgc encoded = EncodeIgc(input);
    EXPECT_EQ(encoded.isSigned, c.isSigned);
    const std::vector<std::string> lines = Lines(encoded.text);
    if (c.isSigned) {
      EXPECT_EQ(lines.back().size(), 17u);
      EXPECT_EQ(lines.back()[0], 'G');
      EXPECT_TRUE(lines[lines.size() - 2].starts_with("LXTV Downloaded"));
    } else {
      EXPECT_TRUE(lines.back().starts_with("LXTV Downloaded")) << c.signable;
    }
  }
}

TEST(IgcEncoder, HeaderTextsStopAtALineBreak) {
  std::vector<TrackPoint> points{ExamplePoint()};
  IgcEncoderInput input;
  input.points = points;
  input.pilot = "Anna\r\nB0000004700000N00800000EA0000000000";
  input.description = "6030\nI013638ENL";
  const std::vector<std::string> lines = Lines(EncodeIgc(input).text);
  EXPECT_EQ(lines[0], "AXTV 6030");
  EXPECT_EQ(lines[2], "HOPLTPILOT: Anna");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l[0] == 'B'; }), 1);
}

// The G record must follow every signed line and ignore the HO lines.
TEST(IgcEncoder, SignedLinesDecideTheRecordAndHeaderTextsDoNot) {
  std::vector<TrackPoint> points{ExamplePoint(), ExamplePoint()};
  points[1].time += 4;
  auto base = [&points]() {
    IgcEncoderInput input;
    input.points = points;
    input.signable = 1;
    input.wantSecurity = true;
    input.pilot = "Anna";
    input.serial = "ABC";
    input.description = "Flytec";
    input.downloadTime = DateFromTrackTime(At(2012, 7, 15, 8, 0, 1));
    return input;
  };
  auto gRecord = [](const IgcEncoderInput& input) {
    const std::string text = EncodeIgc(input).text;
    return text.substr(text.rfind("\r\nG") + 2);
  };
  const std::string reference = gRecord(base());

  struct Change {
    const char* what;
    std::function<void(IgcEncoderInput&, std::vector<TrackPoint>&)> apply;
    bool changesRecord;
  };
  const Change changes[] = {
      {"A serial", [](IgcEncoderInput& in, auto&) { in.serial = "ABD"; }, true},
      {"A description", [](IgcEncoderInput& in, auto&) { in.description = "Flytes"; }, true},
      {"HF date",
       [](IgcEncoderInput&, auto& pts) {
         for (auto& p : pts) p.time += 86400;
       },
       true},
      {"I extension", [](IgcEncoderInput& in, auto&) { in.addEnl = true; }, true},
      {"B time", [](IgcEncoderInput&, auto& pts) { pts[1].time += 1; }, true},
      {"B latitude", [](IgcEncoderInput&, auto& pts) { pts[1].lat += 400; }, true},
      {"B longitude", [](IgcEncoderInput&, auto& pts) { pts[0].lon -= 400; }, true},
      {"B pressure altitude", [](IgcEncoderInput&, auto& pts) { pts[1].baroAlt += 1; }, true},
      {"B GPS altitude", [](IgcEncoderInput&, auto& pts) { pts[0].gpsAlt += 10; }, true},
      {"LX version", [](IgcEncoderInput& in, auto&) { in.programVersion = 473; }, true},
      {"LX download time", [](IgcEncoderInput& in, auto&) { in.downloadTime.second = 2; }, true},
      {"HO pilot", [](IgcEncoderInput& in, auto&) { in.pilot = "Berta"; }, false},
      {"HO glider type", [](IgcEncoderInput& in, auto&) { in.gliderType = "Omega"; }, false},
      {"HO glider id", [](IgcEncoderInput& in, auto&) { in.gliderId = "HB-1"; }, false},
      {"HO competition id", [](IgcEncoderInput& in, auto&) { in.competitionId = "7"; }, false},
      {"HO class", [](IgcEncoderInput& in, auto&) { in.competitionClass = "Open"; }, false},
      {"HO site", [](IgcEncoderInput& in, auto&) { in.site = "Annecy"; }, false},
  };
  const std::vector<TrackPoint> original = points;
  for (const Change& change : changes) {
    points = original;
    IgcEncoderInput input = base();
    change.apply(input, points);
    input.points = points;
    if (change.changesRecord) {
      EXPECT_NE(gRecord(input), reference) << change.what;
    } else {
      EXPECT_EQ(gRecord(input), reference) << change.what;
    }
    EXPECT_EQ(VerifyIgcText(EncodeIgc(input).text), IgcVerification::Passed) << change.what;
  }
}

}  // namespace
}  // namespace trelvik
