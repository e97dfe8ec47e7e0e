#include "airspace/openair_parser.hpp"

#include <gtest/gtest.h>

#include <string>

#include "airspace_fixtures.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik {
namespace {

using testing::MustParse;
using testing::MustParseOne;
using testing::RecordedBox;
using testing::ScriptedUserInterface;

constexpr const char* kP1 = "DP 45:00:00 N 006:00:00 E\n";
constexpr const char* kCentre = "V X=45:00:00 N 006:00:00 E\n";
constexpr const char* kArc = "DB 45:05:00 N 006:00:00 E, 45:00:00 N 006:07:00 E\n";

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line;
  return text;
}

TEST(ParseOpenAir, EveryRecordOfTheTable) {
  const std::string text =
      "* national export\n"
      "AC D\n"  // before the first AN: ignored
      "AN Test Area\n"
      "AC ctr\n"
      "AY CTR\n"
      "AI 6a1b2c\n"
      "AF 123.455\n"
      "AG Tower\n"
      "AR 1\n"
      "AA NONE\n"
      "AH FL 95\n"
      "AL 2500 ft AMSL\n"
      "AT 45:00:00 N 006:00:00 E\n"
      "SP 0,1,0,0,255\n"
      "SB -1,-1,-1\n"
      "V T=45N 6E\n"
      "V W=2.5\n"
      "V Z=100\n"
      "DP 45:00:00 N 006:00:00 E\n"
      "V D=-\n"
      "V X=45:10:00 N 006:10:00 E\n"
      "DA 2, 90, 180\n"
      "V X=45:20:00 N 006:20:00 E\n"
      "DB 45:21:00 N 006:20:00 E, 45:20:00 N 006:21:00 E\n"
      "V X=45:30:00 N 006:30:00 E\n"
      "DC 1.5km\n";
  const CtrArea area = MustParseOne(text);
  EXPECT_EQ(area.name, "Test Area");
  EXPECT_EQ(area.line, 3);
  EXPECT_EQ(area.classText, "ctr");
  EXPECT_EQ(area.classCode, kClassCtr);
  EXPECT_EQ(area.ceilingRemark, "FL 95");
  EXPECT_EQ(area.ceilingValue, 9500);
  EXPECT_EQ(area.floorRemark, "2500 ft AMSL");
  EXPECT_EQ(area.floorValue, 2500);
  EXPECT_EQ(area.warningDistance, 200);
  EXPECT_FALSE(area.selected);
  ASSERT_EQ(area.segments.size(), 4u);

  EXPECT_EQ(area.segments[0].type, CtrSegmentType::Point);
  EXPECT_EQ(area.segments[0].position, (LatLonDegrees{45, 6}));

  const CtrSegment& da = area.segments[1];
  EXPECT_EQ(da.type, CtrSegmentType::ArcByAngles);
  EXPECT_NEAR(da.position.lat, 45 + 10 / 60.0, 1e-12);
  EXPECT_EQ(da.radius, 3704);
  EXPECT_EQ(da.startBearing, 90);
  EXPECT_EQ(da.endBearing, 180);
  EXPECT_EQ(da.direction, '-');

  const CtrSegment& db = area.segments[2];
  EXPECT_EQ(db.type, CtrSegmentType::ArcByPoints);
  EXPECT_NEAR(db.position.lon, 6 + 20 / 60.0, 1e-12);
  EXPECT_NEAR(db.start.lat, 45 + 21 / 60.0, 1e-12);
  EXPECT_NEAR(db.end.lon, 6 + 21 / 60.0, 1e-12);
  EXPECT_EQ(db.direction, '-');

  EXPECT_EQ(area.segments[3].type, CtrSegmentType::Circle);
  EXPECT_EQ(area.segments[3].radius, 1500);
  EXPECT_NEAR(area.segments[3].position.lat, 45.5, 1e-12);
}

TEST(ParseOpenAir, NewAirspaceStartsWithDefaults) {
  const CtrList list = MustParse(Lines({"AN One\n", "AC C\n", "AH 1000 m\n", "V D=-\n", kCentre, kArc,
                                        "AN Two\n", kCentre, kArc}));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].classText, "");
  EXPECT_EQ(list[1].classCode, kClassA);
  EXPECT_EQ(list[1].ceilingRemark, "");
  EXPECT_EQ(list[1].ceilingValue, 0);
  EXPECT_EQ(list[1].line, 7);
  EXPECT_EQ(list[0].segments[0].direction, '-');
  EXPECT_EQ(list[1].segments[0].direction, '+');  // direction resets with every airspace
}

TEST(ParseOpenAir, ClassAfterThePointsBelongsToThatAirspace) {
  const CtrArea area = MustParseOne(Lines({"AC A\n", "AN X\n", kP1, "AC R\n"}));
  EXPECT_EQ(area.classCode, kClassR);
}

struct ErrorCase {
  const char* name;
  std::string text;
  const char* message;
};

class ParseOpenAirError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ParseOpenAirError, ShowsTheMessageWithItsLineAndKeepsTheList) {
  for (const bool crlf : {false, true}) {
    std::string text = GetParam().text;
    if (crlf) {
      std::string converted;
      for (const char c : text) converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
      text = converted;
    }
    ScriptedUserInterface ui;
    CtrList list(1);
    list[0].name = "kept";
    EXPECT_EQ(ParseOpenAir(ui, text, list), -1);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], (RecordedBox{MessageKind::Error, GetParam().message, "Parsing CTR buffer"}));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, "kept");
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryError, ParseOpenAirError,
    ::testing::Values(
        ErrorCase{"AnWithoutSegments", Lines({"AN A\n", kP1, "AN B\n", "AN C\n"}), "No segments in airspace (line 4)"},
        ErrorCase{"EmptyName", "AN    \n", "Missing airspace name"},
        ErrorCase{"AnWithoutName", Lines({"AN A\n", kP1, "AN\n"}), "Missing airspace name"},
        ErrorCase{"TerrainOpenWithoutSegments", "AN A\nAC D\nTO\n", "No segments in airspace (line 3)"},
        ErrorCase{"TerrainClosedWithoutSegments", "AN A\nTC\n", "No segments in airspace (line 2)"},
        ErrorCase{"DirectionLetter", "AN A\nV D=x\n", "Bad direction format on line 2"},
        ErrorCase{"DirectionFollowedByText", "AN A\nV D=+x\n", "Bad direction format on line 2"},
        ErrorCase{"CentreOutOfRange", "AN A\nV X=90:00:00 N 006:00:00 E\n", "Bad position format on line 2"},
        ErrorCase{"TwoCentres", Lines({"AN A\n", kCentre, kCentre}), "Multiple V record types"},
        ErrorCase{"UnknownVariable", "AN A\nV Q=1\n", "Bad variable assignment format on line 2"},
        ErrorCase{"VariableWithoutEquals", "AN A\nV X 45N 6E\n", "Bad variable assignment format on line 2"},
        ErrorCase{"VariableWithoutValue", "AN A\nV X=\n", "Bad variable assignment format on line 2"},
        ErrorCase{"EmptyVariable", "AN A\nV\n", "Bad variable assignment format on line 2"},
        ErrorCase{"PointFormat", "AN A\nDP 45:00:00 N\n", "Bad position format on line 2"},
        ErrorCase{"PointAfterCentre", Lines({"AN A\n", kCentre, kP1}), "Expected a DB or DC record (line 3)"},
        ErrorCase{"PointAfterTwoArcs", Lines({"AN A\n", kCentre, kArc, kArc, kP1}),
                  "Expected a DB or DC record (line 5)"},
        ErrorCase{"ArcAnglesFormat", Lines({"AN A\n", kCentre, "DA 5,0,361\n"}), "Bad arc position format on line 3"},
        ErrorCase{"ArcAnglesWithoutCentre", "AN A\nDA 5,0,90\n", "Missing centre for DB record (line 2)"},
        ErrorCase{"ArcPointsFormat", Lines({"AN A\n", kCentre, "DB 45N 6E 45.1N 6E\n"}),
                  "Bad arc position format on line 3"},
        ErrorCase{"ArcPointsWithoutCentre", Lines({"AN A\n", kArc}), "Missing centre for DB record (line 2)"},
        ErrorCase{"RadiusFormat", Lines({"AN A\n", kCentre, "DC 5 Km\n"}), "Bad radius format on line 3"},
        ErrorCase{"CircleWithoutCentre", "AN A\nDC 5\n", "Missing centre for DC record (line 2)"},
        ErrorCase{"CircleOnAUsedCentre", Lines({"AN A\n", kCentre, kArc, "DC 5\n"}),
                  "Missing centre for DC record (line 4)"},
        ErrorCase{"CircleAfterACircle", Lines({"AN A\n", kCentre, "DC 5\n", "DC 5\n"}),
                  "Missing centre for DC record (line 4)"},
        ErrorCase{"UnknownRecord", Lines({"AN A\n", kP1, "XX 1\n"}), "Unknown record type on line 3"},
        ErrorCase{"LowerCaseRecord", Lines({"AN A\n", kP1, "dp 45N 6E\n"}), "Unknown record type on line 3"},
        ErrorCase{"EndWithoutSegments", "AN A\nAL GND\n", "No segments in airspace (line 3)"},
        ErrorCase{"EndWithoutSegmentsNoLineFeed", "AN A\nAL GND", "No segments in airspace (line 2)"},
        ErrorCase{"EndAfterCentre", Lines({"AN A\n", kP1, "V X=45N 6E"}), "Missing DB or DC segment (line 3)"},
        ErrorCase{"EndAfterTwoArcs", Lines({"AN A\n", kCentre, kArc, kArc}), "Missing DB or DC segment (line 5)"}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

TEST(ParseOpenAir, LinesBeforeTheFirstAirspaceAndAfterTerrainRecordsAreSkipped) {
  const CtrList list = MustParse(Lines({"garbage before\n", "DP nonsense\n", "AN A\n", kP1, "TO\n", "XX junk\n",
                                        "DP junk\n", "AN B\n", kP1, "TC\n", "V X=junk\n"}));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].segments.size(), 1u);
  EXPECT_EQ(list[1].name, "B");
}

TEST(ParseOpenAir, DyRecordsDropTheirAirspaceAfterOneNotice) {
  const std::string text = Lines({"AN A\n", kP1, "DY 1\n", "AN B\n", kP1, "AN C\n", kP1, "DY\n", "AN D\n", kP1});
  ScriptedUserInterface ui;
  std::vector<std::string> notices;
  CtrList list;
  const int count = ParseOpenAir(ui, text, list, [&](std::string_view notice) {
    notices.emplace_back(notice);
    return true;  // "Skip further notifications" checked
  });
  EXPECT_EQ(count, 2);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "B");
  EXPECT_EQ(list[1].name, "D");
  EXPECT_EQ(notices, (std::vector<std::string>{"CTR at line 1:  DY record (not implemented)"}));
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(ParseOpenAir, DyNoticeRepeatsUnlessSkippedAndFallsBackToWarnings) {
  const std::string text = Lines({"AN A\n", kP1, "DY 1\n", "AN B\n", kP1, "AN C\n", kP1, "DY\n"});
  ScriptedUserInterface ui;
  CtrList list;
  int notices = 0;
  EXPECT_EQ(ParseOpenAir(ui, text, list, [&](std::string_view) { return ++notices > 5; }), 1);
  EXPECT_EQ(notices, 2);
  EXPECT_EQ(ParseOpenAir(ui, text, list), 1);
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[1], (RecordedBox{MessageKind::Warning, "CTR at line 6:  DY record (not implemented)",
                                      "CTR error notification"}));
}

TEST(ParseOpenAir, LineEndsCrLfLfAndCrAlone) {
  // Line numbers count line feeds, so a CR LF pair is one line.
  const std::string text = "AN A\r\nDP 45N 6E\nAN B\r\rDP 45N 6E\r\nAN C\n";
  ScriptedUserInterface ui;
  CtrList list;
  EXPECT_EQ(ParseOpenAir(ui, text, list), -1);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "No segments in airspace (line 5)");
  EXPECT_EQ(MustParse("AN A\rDP 45N 6E\rAN B\rDP 46N 6E").size(), 2u);
}

TEST(ParseOpenAir, NamesAndRemarksBecomeUtf8) {
  const CtrList list = MustParse(
      "AN Z\xC3\xBCrich CTR\nAL Sol\nAH 3000 m\nDP 47N 8E\n"  // already UTF-8
      "AN Gen\xE8ve TMA\nAL S\xFC" "d\nAH FL 95\nAC D\xE9\nDP 46N 6E\n");  // Latin-1
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "Z\xC3\xBCrich CTR");
  EXPECT_EQ(list[1].name, "Gen\xC3\xA8ve TMA");
  EXPECT_EQ(list[1].floorRemark, "S\xC3\xBC" "d");
  EXPECT_EQ(list[1].classText, "D\xC3\xA9");
  EXPECT_EQ(list[1].classCode, kClassOther);
}

TEST(ParseOpenAir, NamesAreCutToFiftyCharacters) {
  std::string accented;
  for (int i = 0; i < 60; ++i) accented += "\xC3\xA9";
  const CtrList list = MustParse("AN " + std::string(60, 'x') + "\nDP 45N 6E\nAN " + accented +
                                 "\nDP 45N 6E\nAN " + std::string(49, 'y') + "   z\nDP 45N 6E\n");
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, std::string(50, 'x'));
  EXPECT_EQ(list[1].name.size(), 100u);  // 50 two-byte characters
  EXPECT_EQ(list[2].name, std::string(49, 'y'));  // no blank left at the cut
}

TEST(ParseOpenAir, BlanksTabsByteOrderMarkAndComments) {
  const CtrArea area = MustParseOne(
      "\xEF\xBB\xBF"
      "AN\tTabbed   \r\n"
      "   AL   GND   \r\n"
      "\t\r\n"
      "   * indented comment\r\n"
      "DP\t45:00:00 N\t006:00:00 E   \r\n"
      "V  D = - \r\n"
      "V X = 45N 6E\r\n"
      "DC 5 * five miles\r\n");
  EXPECT_EQ(area.name, "Tabbed");
  EXPECT_EQ(area.floorRemark, "GND");
  ASSERT_EQ(area.segments.size(), 2u);
  EXPECT_EQ(area.segments[1].radius, 9261);
}

TEST(ParseOpenAir, EmptyAndCommentOnlyTextsGiveNoAirspace) {
  for (const char* text : {"", "\n\n", "* only\r\n* comments\r\n", "AC D\nDP 45N 6E\n", "\xEF\xBB\xBF"}) {
    ScriptedUserInterface ui;
    CtrList list;
    EXPECT_EQ(ParseOpenAir(ui, text, list), 0) << text;
    EXPECT_TRUE(ui.boxes.empty());
  }
}

TEST(ParseOpenAir, SamePositionInDegreesAndMinutes) {
  const CtrList list = MustParse("AN A\nDP 45:30.5 N 006:15 E\nDP 45.508333N 6.25E\n");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_NEAR(list[0].segments[0].position.lat, list[0].segments[1].position.lat, 1e-6);
  EXPECT_DOUBLE_EQ(list[0].segments[0].position.lon, list[0].segments[1].position.lon);
}

TEST(ParseOpenAir, ZeroBytesAndBinaryNoiseAreJustBadCharacters) {
  ScriptedUserInterface ui;
  CtrList list;
  const std::string text("AN A\nDP 45N 6E\n\0\xFF\n", 18);
  EXPECT_EQ(ParseOpenAir(ui, text, list), -1);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Unknown record type on line 3");
}

}  // namespace
}  // namespace trelvik
