#include "records/date_time_parsers.hpp"

#include <gtest/gtest.h>

#include <string>

#include "records/case_printing.hpp"

namespace trelvik {
namespace {

const CalendarDate kDateSentinel{1111, 11, 11};

struct DateCase {
  std::string text;
  int rc;
  CalendarDate date;  // the sentinel when nothing may be written
};

void PrintTo(const DateCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

void ExpectDate(const CalendarDate& actual, const CalendarDate& expected, const std::string& text) {
  EXPECT_EQ(actual.year, expected.year) << '"' << text << '"';
  EXPECT_EQ(actual.month, expected.month) << '"' << text << '"';
  EXPECT_EQ(actual.day, expected.day) << '"' << text << '"';
}

class DateDmyTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateDmyTest, ParsesOrLeavesOutputAlone) {
  const DateCase& c = GetParam();
  CalendarDate date = kDateSentinel;
  EXPECT_EQ(ParseDateDMY(c.text, date), c.rc) << '"' << c.text << '"';
  ExpectDate(date, c.date, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateDmyTest,
    ::testing::Values(DateCase{"24.07.12", 0, {12, 7, 24}}, DateCase{"29.02.12", 0, {12, 2, 29}},
                      DateCase{"29.02.00", 0, {0, 2, 29}}, DateCase{"31.12.99", 0, {99, 12, 31}},
                      DateCase{"31.04.12", kDateTimeNoSuchDay, kDateSentinel},
                      DateCase{"31.06.12", kDateTimeNoSuchDay, kDateSentinel},
                      DateCase{"31.09.12", kDateTimeNoSuchDay, kDateSentinel},
                      DateCase{"31.11.12", kDateTimeNoSuchDay, kDateSentinel},
                      DateCase{"29.02.13", kDateTimeNoSuchDay, kDateSentinel},
                      DateCase{"30.02.12", kDateTimeNoSuchDay, kDateSentinel},
                      DateCase{"00.01.12", kDateTimeOutOfRange, kDateSentinel},
                      DateCase{"01.13.12", kDateTimeOutOfRange, kDateSentinel},
                      DateCase{"01.00.12", kDateTimeOutOfRange, kDateSentinel},
                      DateCase{"32.01.12", kDateTimeOutOfRange, kDateSentinel},
                      DateCase{"1.07.12", kDateTimeBadText, kDateSentinel},
                      DateCase{" 24.07.12", kDateTimeBadText, kDateSentinel},
                      DateCase{"24.07.12 ", kDateTimeBadText, kDateSentinel},
                      DateCase{"24-07-12", kDateTimeBadText, kDateSentinel},
                      DateCase{"24.0a.12", kDateTimeBadText, kDateSentinel},
                      DateCase{"24.07.2012", kDateTimeBadText, kDateSentinel}));

struct YmdCase {
  std::string text;
  char separator;
  int rc;
  CalendarDate date;
};

void PrintTo(const YmdCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class DateYmdTest : public ::testing::TestWithParam<YmdCase> {};

TEST_P(DateYmdTest, ParsesOrLeavesOutputAlone) {
  const YmdCase& c = GetParam();
  CalendarDate date = kDateSentinel;
  EXPECT_EQ(ParseDateYMD(c.text, c.separator, date), c.rc) << '"' << c.text << '"';
  ExpectDate(date, c.date, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateYmdTest,
    ::testing::Values(YmdCase{"2012-02-29", '-', 0, {2012, 2, 29}}, YmdCase{" 2012 / 7 / 4 ", '/', 0, {2012, 7, 4}},
                      YmdCase{"2999-12-31", '-', 0, {2999, 12, 31}}, YmdCase{"2012 02 29", ' ', 0, {2012, 2, 29}},
                      YmdCase{"2013-02-29", '-', kDateTimeNoSuchDay, kDateSentinel},
                      YmdCase{"2012-04-31", '-', kDateTimeNoSuchDay, kDateSentinel},
                      YmdCase{"3000-01-01", '-', kDateTimeOutOfRange, kDateSentinel},
                      YmdCase{"2012-13-01", '-', kDateTimeOutOfRange, kDateSentinel},
                      YmdCase{"2012-1-0", '-', kDateTimeOutOfRange, kDateSentinel},
                      YmdCase{"2012-100-01", '-', kDateTimeOutOfRange, kDateSentinel},
                      YmdCase{"2012-01", '-', kDateTimeBadText, kDateSentinel},
                      YmdCase{"2012-01-01x", '-', kDateTimeBadText, kDateSentinel},
                      YmdCase{"2012/01/01", '-', kDateTimeBadText, kDateSentinel},
                      YmdCase{"2012--01", '-', kDateTimeBadText, kDateSentinel},
                      YmdCase{"", '-', kDateTimeBadText, kDateSentinel}));

struct HmsCase {
  std::string text;
  char separator;
  int rc;
  int32_t secondsOfDay;  // -1 when nothing may be written
};

void PrintTo(const HmsCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class TimeHmsTest : public ::testing::TestWithParam<HmsCase> {};

TEST_P(TimeHmsTest, ParsesOrLeavesOutputAlone) {
  const HmsCase& c = GetParam();
  ClockTime time{99, 99, 99};
  EXPECT_EQ(ParseTimeHMS(c.text, c.separator, time), c.rc) << '"' << c.text << '"';
  if (c.secondsOfDay < 0) {
    EXPECT_EQ(time.hour, 99);
    EXPECT_EQ(time.minute, 99);
    EXPECT_EQ(time.second, 99);
  } else {
    EXPECT_EQ(time.SecondsOfDay(), c.secondsOfDay) << '"' << c.text << '"';
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeHmsTest,
                         ::testing::Values(HmsCase{"12:34:56", ':', 0, 45296}, HmsCase{" 0 : 0 : 0 ", ':', 0, 0},
                                           HmsCase{"23:59:59", ':', 0, 86399},
                                           HmsCase{"24:00:00", ':', kDateTimeOutOfRange, -1},
                                           HmsCase{"12:60:00", ':', kDateTimeOutOfRange, -1},
                                           HmsCase{"12:00:60", ':', kDateTimeOutOfRange, -1},
                                           HmsCase{"12:00", ':', kDateTimeBadText, -1},
                                           HmsCase{"12.00.00", ':', kDateTimeBadText, -1},
                                           HmsCase{"12:00:00:00", ':', kDateTimeBadText, -1}));

struct HhmmssCase {
  std::string text;
  int rc;
  uint32_t secondsOfDay;
  double fraction;
};

void PrintTo(const HhmmssCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class HhmmssTest : public ::testing::TestWithParam<HhmmssCase> {};

TEST_P(HhmmssTest, ParsesOrLeavesOutputAlone) {
  const HhmmssCase& c = GetParam();
  TimeOfDay time{777, 0.75};
  EXPECT_EQ(ParseHhmmss(c.text, time), c.rc) << '"' << c.text << '"';
  EXPECT_EQ(time.secondsOfDay, c.secondsOfDay) << '"' << c.text << '"';
  EXPECT_NEAR(time.fraction, c.fraction, 1e-12) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Cases, HhmmssTest,
                         ::testing::Values(HhmmssCase{"123456", 0, 45296, 0.0}, HhmmssCase{" 235959.5 ", 0, 86399, 0.5},
                                           HhmmssCase{"000000.25", 0, 0, 0.25}, HhmmssCase{"0130", 0, 90, 0.0},
                                           HhmmssCase{"240000", kDateTimeOutOfRange, 777, 0.75},
                                           HhmmssCase{"001260", kDateTimeOutOfRange, 777, 0.75},
                                           HhmmssCase{"006000", kDateTimeOutOfRange, 777, 0.75},
                                           HhmmssCase{"1234567", kDateTimeOutOfRange, 777, 0.75},
                                           HhmmssCase{"", kDateTimeBadText, 777, 0.75},
                                           HhmmssCase{"12:34:56", kDateTimeBadText, 777, 0.75},
                                           HhmmssCase{"123456.5x", kDateTimeBadText, 777, 0.75}));

}  // namespace
}  // namespace trelvik
