#include "records/angle_parsers.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "records/case_printing.hpp"

namespace trelvik {
namespace {

constexpr double kSentinel = 123.0;

double DegreesToRadians(double degrees) { return degrees * M_PI / 180; }

struct NmeaCase {
  std::string text;
  bool isLatitude;
  int rc;
  double degrees;  // expected; ignored when rc < 0 (the sentinel must stay)
};

void PrintTo(const NmeaCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class NmeaAngleTest : public ::testing::TestWithParam<NmeaCase> {};

TEST_P(NmeaAngleTest, ParsesOrLeavesOutputAlone) {
  const NmeaCase& c = GetParam();
  double radians = kSentinel;
  EXPECT_EQ(ParseNmeaAngle(c.text, c.isLatitude, radians), c.rc) << '"' << c.text << '"';
  if (c.rc < 0) {
    EXPECT_EQ(radians, kSentinel) << '"' << c.text << '"';
  } else {
    EXPECT_NEAR(radians, DegreesToRadians(c.degrees), 1e-12) << '"' << c.text << '"';
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NmeaAngleTest,
    ::testing::Values(NmeaCase{"4730.5N", true, 0, 47.508333333333333}, NmeaCase{"4730.5n", true, 0, 47.508333333333333},
                      NmeaCase{" 4730.500S ", true, 0, -47.508333333333333},
                      NmeaCase{"00815.25E", false, 0, 8.2541666666666667},
                      NmeaCase{"12200.0w", false, 0, -122.0}, NmeaCase{"8959.999N", true, 0, 89.99998333333333},
                      NmeaCase{"9000.0N", true, kAngleOutOfRange, 0}, NmeaCase{"18000.0E", false, kAngleOutOfRange, 0},
                      NmeaCase{"4760.0N", true, kAngleOutOfRange, 0}, NmeaCase{"4730N", true, kAngleBadText, 0},
                      NmeaCase{"4730.5E", true, kAngleBadText, 0}, NmeaCase{"4730.5 N", true, kAngleBadText, 0},
                      NmeaCase{"4730.5", true, kAngleBadText, 0}, NmeaCase{"4730.5NX", true, kAngleBadText, 0},
                      NmeaCase{"-4730.5N", true, kAngleBadText, 0}, NmeaCase{"", true, kAngleBadText, 0}));

TEST(NmeaAngleTest, FortySevenAndAHalfMinutesNorthInRadians) {
  double radians = 0;
  ASSERT_EQ(ParseNmeaAngle("4730.5N", true, radians), 0);
  EXPECT_NEAR(radians * 180 / M_PI, 47.508333, 1e-6);
}

struct UnsignedCase {
  std::string text;
  int rc;
  double degrees;
};

void PrintTo(const UnsignedCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class NmeaAngleUnsignedTest : public ::testing::TestWithParam<UnsignedCase> {};

TEST_P(NmeaAngleUnsignedTest, ParsesOrLeavesOutputAlone) {
  const UnsignedCase& c = GetParam();
  double radians = kSentinel;
  EXPECT_EQ(ParseNmeaAngleUnsigned(c.text, radians), c.rc) << '"' << c.text << '"';
  if (c.rc < 0) {
    EXPECT_EQ(radians, kSentinel) << '"' << c.text << '"';
  } else {
    EXPECT_NEAR(radians, DegreesToRadians(c.degrees), 1e-12) << '"' << c.text << '"';
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, NmeaAngleUnsignedTest,
                         ::testing::Values(UnsignedCase{"4730.5", 0, 47.508333333333333},
                                           UnsignedCase{"17959", 0, 179.98333333333333},
                                           UnsignedCase{" 00815.25 ", 0, 8.2541666666666667},
                                           UnsignedCase{"18000", kAngleOutOfRange, 0},
                                           UnsignedCase{"4730.5N", kAngleBadText, 0},
                                           UnsignedCase{".5", kAngleBadText, 0}));

struct HemisphereCase {
  std::string text;
  bool isLatitude;
  bool ok;
  double degrees;
  std::size_t end;
};

void PrintTo(const HemisphereCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class HemisphereFirstAngleTest : public ::testing::TestWithParam<HemisphereCase> {};

TEST_P(HemisphereFirstAngleTest, Parses) {
  const HemisphereCase& c = GetParam();
  const auto angle = ParseHemisphereFirstAngle(c.text, c.isLatitude);
  ASSERT_EQ(angle.has_value(), c.ok) << '"' << c.text << '"';
  if (!c.ok) return;
  EXPECT_NEAR(angle->degrees, c.degrees, 1e-12) << '"' << c.text << '"';
  EXPECT_EQ(angle->end, c.end) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HemisphereFirstAngleTest,
    ::testing::Values(HemisphereCase{"N 47 30 15.5", true, true, 47 + 30 / 60.0 + 15.5 / 3600, 12},
                      HemisphereCase{"S47 30,5", true, true, -(47 + 30.5 / 60), 8},
                      HemisphereCase{"n 47.25", true, true, 47.25, 7},
                      HemisphereCase{"W 122 15.5 rest", false, true, -(122 + 15.5 / 60), 10},
                      HemisphereCase{"E 8 15.2 N 47", false, true, 8 + 15.2 / 60, 8},
                      HemisphereCase{"N 90 0.0", true, false, 0, 0}, HemisphereCase{"E 180.0", false, false, 0, 0},
                      HemisphereCase{"N 47 60.0", true, false, 0, 0}, HemisphereCase{"N 47 30 60.0", true, false, 0, 0},
                      HemisphereCase{"E 47.5", true, false, 0, 0}, HemisphereCase{"47.5", true, false, 0, 0},
                      HemisphereCase{"N", true, false, 0, 0}));

}  // namespace
}  // namespace trelvik
