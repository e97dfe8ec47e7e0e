#include "records/track_time.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace trelvik {
namespace {

SystemTime Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  SystemTime t;
  t.year = static_cast<uint16_t>(year);
  t.month = static_cast<uint16_t>(month);
  t.day = static_cast<uint16_t>(day);
  t.hour = static_cast<uint16_t>(hour);
  t.minute = static_cast<uint16_t>(minute);
  t.second = static_cast<uint16_t>(second);
  return t;
}

struct TimeCase {
  TrackTime time;
  SystemTime date;
};

void PrintTo(const TimeCase& c, std::ostream* os) { *os << c.time; }

class TrackTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TrackTimeTest, ConvertsBothWays) {
  const TimeCase& c = GetParam();
  EXPECT_EQ(TrackTimeFromDate(c.date), c.time);
  const SystemTime back = DateFromTrackTime(c.time);
  EXPECT_EQ(back.year, c.date.year);
  EXPECT_EQ(back.month, c.date.month);
  EXPECT_EQ(back.day, c.date.day);
  EXPECT_EQ(back.hour, c.date.hour);
  EXPECT_EQ(back.minute, c.date.minute);
  EXPECT_EQ(back.second, c.date.second);
  EXPECT_EQ(back.milliseconds, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrackTimeTest,
    ::testing::Values(TimeCase{0, Date(1989, 12, 31)}, TimeCase{86400, Date(1990, 1, 1)},
                      TimeCase{86399, Date(1989, 12, 31, 23, 59, 59)},
                      // 2012-02-29 12:00:00 UTC is Unix time 1330516800; our epoch is 631065600 later.
                      TimeCase{1330516800u - 631065600u, Date(2012, 2, 29, 12)},
                      TimeCase{1330560000u - 631065600u, Date(2012, 3, 1)},
                      TimeCase{1356998399u - 631065600u, Date(2012, 12, 31, 23, 59, 59)},
                      TimeCase{4102358400u - 631065600u, Date(2099, 12, 31)}));

TEST(TrackTimeTest, IgnoresMillisecondsAndDayOfWeek) {
  SystemTime date = Date(2012, 2, 29, 12);
  date.milliseconds = 999;
  date.dayOfWeek = 3;
  EXPECT_EQ(TrackTimeFromDate(date), 1330516800u - 631065600u);
}

TEST(TrackTimeTest, EveryDayOfACycleRoundTrips) {
  for (TrackTime day = 0; day < 1461 * 2; ++day) {
    const TrackTime time = day * 86400 + 12345;
    ASSERT_EQ(TrackTimeFromDate(DateFromTrackTime(time)), time) << "day " << day;
  }
}

TEST(TrackTimeTest, CurrentTimeIsAfterTheYear2020) {
  EXPECT_GT(CurrentTrackTime(), TrackTimeFromDate(Date(2020, 1, 1)));
  EXPECT_GE(CurrentUtcTime().year, 2020);
}

struct ClockCase {
  std::vector<uint32_t> secondsOfDay;
  std::vector<TrackTime> expected;  // offsets from the date
};

void PrintTo(const ClockCase& c, std::ostream* os) {
  for (const uint32_t s : c.secondsOfDay) *os << s << ' ';
}

class TimeOfDayClockTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(TimeOfDayClockTest, FollowsTheMidnightRule) {
  const TrackTime date = TrackTimeFromDate(Date(2009, 1, 10));
  TimeOfDayClock clock(date);
  const ClockCase& c = GetParam();
  for (size_t i = 0; i < c.secondsOfDay.size(); ++i) {
    EXPECT_EQ(clock.Next(c.secondsOfDay[i]), date + c.expected[i]) << "point " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimeOfDayClockTest,
    ::testing::Values(
        // Crossing midnight UTC: the log continues on the next day.
        ClockCase{{86390, 86399, 5, 10}, {86390, 86399, 86400 + 5, 86400 + 10}},
        // A small step back stays on the same day.
        ClockCase{{40000, 39000, 40010}, {40000, 39000, 40010}},
        // Exactly one hour back counts as a new day; just under an hour does not.
        ClockCase{{43200, 39600}, {43200, 86400 + 39600}}, ClockCase{{43200, 39601}, {43200, 39601}},
        // Two midnights.
        ClockCase{{80000, 100, 80000, 100}, {80000, 86400 + 100, 86400 + 80000, 2 * 86400 + 100}}));

}  // namespace
}  // namespace trelvik
