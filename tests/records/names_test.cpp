#include "records/names.hpp"

#include <gtest/gtest.h>

#include <string>

#include "records/waypoint.hpp"

#include "records/case_printing.hpp"

namespace trelvik {
namespace {

struct CollapseCase {
  std::string text;
  std::string expected;
};

void PrintTo(const CollapseCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class CollapseBlanksTest : public ::testing::TestWithParam<CollapseCase> {};

TEST_P(CollapseBlanksTest, TrimsAndJoins) {
  std::string text = GetParam().text;
  EXPECT_EQ(CollapseBlanks(text), GetParam().expected.size());
  EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CollapseBlanksTest,
                         ::testing::Values(CollapseCase{"", ""}, CollapseCase{"    ", ""},
                                           CollapseCase{"  a  b   c  ", "a b c"}, CollapseCase{"abc", "abc"},
                                           CollapseCase{"a b", "a b"}));

struct NameCase {
  std::string text;
  std::string lenient;    // "!" = refused
  std::string strict;     // "!" = refused
  std::string raising;    // StrictWaypointName; "!" = refused
};

void PrintTo(const NameCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class WaypointNameTest : public ::testing::TestWithParam<NameCase> {};

void ExpectName(int rc, const std::string& name, const std::string& expected, const std::string& text) {
  if (expected == "!") {
    EXPECT_EQ(rc, -1) << '"' << text << '"';
    EXPECT_EQ(name, "untouched") << '"' << text << '"';
  } else {
    EXPECT_EQ(rc, static_cast<int>(expected.size())) << '"' << text << '"';
    EXPECT_EQ(name, expected) << '"' << text << '"';
  }
}

TEST_P(WaypointNameTest, CleansInEveryMode) {
  const NameCase& c = GetParam();
  std::string name = "untouched";
  int rc = CleanWaypointName(c.text, true, name);
  ExpectName(rc, name, c.lenient, c.text);
  name = "untouched";
  rc = CleanWaypointName(c.text, false, name);
  ExpectName(rc, name, c.strict, c.text);
  name = "untouched";
  rc = StrictWaypointName(c.text, name);
  ExpectName(rc, name, c.raising, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WaypointNameTest,
    ::testing::Values(NameCase{"  ab c", "AB", "!", "!"}, NameCase{"TAKEOF", "TAKEOF", "TAKEOF", "TAKEOF"},
                      NameCase{" A-1  ", "A-1", "A-1", "A-1"}, NameCase{"abc", "ABC", "!", "ABC"},
                      NameCase{"TAKEOFF", "TAKEOF", "!", "!"}, NameCase{"A.B", "A-B", "!", "!"},
                      NameCase{"Zürich", "Z-RICH", "!", "!"}, NameCase{"", "!", "!", "!"},
                      NameCase{"     ", "!", "!", "!"}, NameCase{"LZ 2", "LZ", "!", "!"}));

TEST(CleanDescriptionTest, KeepsFortyCharactersOfAFortyFiveCharacterText) {
  const std::string text = "Launch above the village, south facing slope";
  ASSERT_EQ(text.size(), 44u);
  EXPECT_EQ(CleanDescription(text + "X"), "Launch above the village- south facing s");
}

TEST(CleanDescriptionTest, CutsTrailingBlanksInsideTheFortyCharacters) {
  // Characters 36..40 are blanks and the text goes on after them.
  const std::string text = std::string(35, 'a') + "     bbbbb";
  EXPECT_EQ(CleanDescription(text), std::string(35, 'a'));
}

struct DescriptionCase {
  std::string text;
  std::string expected;
};

void PrintTo(const DescriptionCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class CleanDescriptionCases : public ::testing::TestWithParam<DescriptionCase> {};

TEST_P(CleanDescriptionCases, Cleans) { EXPECT_EQ(CleanDescription(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Cases, CleanDescriptionCases,
                         ::testing::Values(DescriptionCase{"   Landing (LZ)  ", "Landing -LZ-"},
                                           DescriptionCase{"", ""}, DescriptionCase{"    ", ""},
                                           DescriptionCase{"Col de l'Iseran", "Col de l-Iseran"},
                                           DescriptionCase{"Zürich 2", "Z-rich 2"}));

TEST(CopyToFieldTest, CutsToTheRecordFieldAndTerminates) {
  Waypoint waypoint;
  CopyToField("ABCDEFGH", waypoint.name);
  EXPECT_STREQ(waypoint.name, "ABCDEF");
  CopyToField("AB", waypoint.name);
  EXPECT_STREQ(waypoint.name, "AB");
  EXPECT_EQ(waypoint.name[3], '\0');
}

}  // namespace
}  // namespace trelvik
