#include "trackfiles/igc_names.hpp"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

TrackTime Day(int year, int month, int day) {
  SystemTime t;
  t.year = static_cast<uint16_t>(year);
  t.month = static_cast<uint16_t>(month);
  t.day = static_cast<uint16_t>(day);
  t.hour = 13;
  return TrackTimeFromDate(t);
}

TEST(IgcNames, DigitsRunThroughTheAlphabet) {
  const std::pair<int, char> cases[] = {{0, '0'},  {9, '9'},  {10, 'A'}, {12, 'C'},
                                        {31, 'V'}, {35, 'Z'}, {36, '0'}, {-1, '0'}};
  for (const auto& [value, digit] : cases) EXPECT_EQ(IgcDigit(value), digit) << value;
}

TEST(IgcNames, EncodedFileNames) {
  struct Case {
    TrackTime firstFix;
    const char* serial;
    int flight;
    const char* longName;
    const char* shortName;
  };
  const Case cases[] = {
      {Day(2012, 7, 14), "7QZ", 1, "2012-07-14-XTV-7QZ-01.igc", "27EX7QZ1.igc"},
      {Day(2013, 12, 31), "ABC", 35, "2013-12-31-XTV-ABC-35.igc", "3CVXABCZ.igc"},
      {Day(2020, 1, 1), "000", 10, "2020-01-01-XTV-000-10.igc", "011X000A.igc"},
      {Day(2099, 10, 9), "a1b", 9, "2099-10-09-XTV-a1b-09.igc", "9A9Xa1b9.igc"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IgcLongName(c.firstFix, c.serial, c.flight), c.longName);
    EXPECT_EQ(IgcShortName(c.firstFix, c.serial, c.flight), c.shortName);
  }
}

TEST(IgcNames, RawFileNamesCarryTheRecordersMakerAndSerial) {
  EXPECT_EQ(IgcRawLongName(Day(2007, 4, 22), "FLY", "050", 1), "2007-04-22-FLY-050-01.igc");
  EXPECT_EQ(IgcRawLongName(Day(2007, 12, 31), "BRA", "003", 35), "2007-12-31-BRA-003-35.igc");
  EXPECT_EQ(IgcShortName(Day(2007, 12, 31), "003", 35), "7CVX003Z.igc");
}

TEST(IgcNames, BatchNamesAreLowerCase) {
  EXPECT_EQ(IgcBatchName(Day(2012, 7, 14), "000", 3, false), "2012-07-14-xtv-000-03.igc");
  EXPECT_EQ(IgcBatchName(Day(2012, 7, 14), "050", 12, true), "2012-07-14-xxx-050-12.igc");
}

}  // namespace
}  // namespace trelvik
