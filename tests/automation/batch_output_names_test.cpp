#include <gtest/gtest.h>

#include "automation/batch_test_support.hpp"
#include "automation/output_file_name.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::FlightStart;

struct DateCase {
  const char* name;
  size_t limit;
  const char* expected;
};

class ExpandDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(ExpandDate, ReplacesEveryDateAndCutsByCharacters) {
  EXPECT_EQ(ExpandDateInFileName(GetParam().name, FlightStart(), GetParam().limit), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Names, ExpandDate,
                         ::testing::Values(DateCase{"/out/$date.kml", 260, "/out/20240517.kml"},
                                           DateCase{"$date/$date-b.kml", 260, "20240517/20240517-b.kml"},
                                           DateCase{"/out/flight.kml", 260, "/out/flight.kml"},
                                           DateCase{"$dat.kml $DATE", 260, "$dat.kml $DATE"},
                                           DateCase{"ab$date", 6, "ab2024"},
                                           // Two-byte characters count once and are never cut in half.
                                           DateCase{"\xC3\xA9\xC3\xA9$date", 4,
                                                    "\xC3\xA9\xC3\xA9"
                                                    "20"}));

TEST(ExpandDate, SingleDigitMonthAndDayGetTheirZeros) {
  EXPECT_EQ(ExpandDateInFileName("$date", TrackTimeFromDate({2031, 1, 0, 2, 23, 59, 59, 0}), 260), "20310102");
}

TEST(CharacterCount, CountsCharactersNotBytes) {
  EXPECT_EQ(CharacterCount(""), 0u);
  EXPECT_EQ(CharacterCount("abc"), 3u);
  EXPECT_EQ(CharacterCount("\xC3\xA9t\xC3\xA9"), 3u);
}

TEST(IgcTarget, TrailingSlashNamesAFolder) {
  const IgcTarget target = IgcTargetOf("/flights/2024/");
  EXPECT_TRUE(target.NamesFolder());
  EXPECT_EQ(target.folder, "/flights/2024/");
}

TEST(IgcTarget, AnExistingFolderWithoutSlashIsAFolder) {
  testing::TempDir dir;
  const IgcTarget target = IgcTargetOf(dir.Path());
  EXPECT_TRUE(target.NamesFolder());
  EXPECT_EQ(target.folder, dir.Path() + "/");
}

TEST(IgcTarget, AnythingElseIsTheFileItself) {
  testing::TempDir dir;
  const IgcTarget target = IgcTargetOf(dir.File("mine.igc"));
  EXPECT_FALSE(target.NamesFolder());
  EXPECT_EQ(target.file, dir.File("mine.igc"));
}

}  // namespace
}  // namespace trelvik
