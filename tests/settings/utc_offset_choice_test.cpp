// The two lists of "Set UTC offset for TN" and the seconds they store.
#include <gtest/gtest.h>

#include "settings/utc_offset_choice.hpp"

namespace trelvik {
namespace {

TEST(UtcOffsetChoice, HalfHourFollowsTheHoursSignAndStoredValuesShowAgain) {
  struct Case {
    UtcOffsetChoice choice;
    int32_t seconds;
  } const cases[] = {
      {{2, false}, 7200},   {{5, true}, 19800},    {{-3, true}, -12600}, {{-12, false}, -43200},
      {{12, true}, 45000},  {{0, true}, 1800},     {{0, false}, 0},      {{-1, true}, -5400},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UtcOffsetSeconds(c.choice), c.seconds) << c.choice.hours;
    EXPECT_EQ(UtcOffsetChoiceOf(c.seconds), c.choice) << c.seconds;
  }
}

TEST(UtcOffsetChoice, OtherStoredValuesShowTheNearestEntries) {
  EXPECT_EQ(UtcOffsetChoiceOf(100000), (UtcOffsetChoice{12, true}));
  EXPECT_EQ(UtcOffsetChoiceOf(-100000), (UtcOffsetChoice{-12, true}));
  EXPECT_EQ(UtcOffsetChoiceOf(3601), (UtcOffsetChoice{1, false}));
  EXPECT_EQ(UtcOffsetChoiceOf(5000), (UtcOffsetChoice{1, true}));
  EXPECT_EQ(UtcOffsetChoiceOf(-800), (UtcOffsetChoice{0, false}));
}

}  // namespace
}  // namespace trelvik
