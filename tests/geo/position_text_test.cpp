#include "geo/position_text.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "records/case_printing.hpp"

namespace trelvik {
namespace {

constexpr double kSentinel = 77.0;
constexpr double kRoundedDegree = 0.01745329251994;

struct LatLonCase {
  std::string text;
  bool isLatitude;
  bool ok;
  double degrees;
};

void PrintTo(const LatLonCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class ParseLatLonTextTest : public ::testing::TestWithParam<LatLonCase> {};

TEST_P(ParseLatLonTextTest, ParsesOrLeavesOutputAlone) {
  const LatLonCase& c = GetParam();
  double radians = kSentinel;
  const int rc = ParseLatLonText(c.text, c.isLatitude, radians);
  if (!c.ok) {
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(radians, kSentinel);
    return;
  }
  EXPECT_EQ(rc, 0);
  EXPECT_NEAR(radians, c.degrees * kRoundedDegree, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseLatLonTextTest,
    ::testing::Values(
        LatLonCase{"N 59 54 12.5", true, true, 59.903472222222222}, LatLonCase{"59.9034722", true, true, 59.9034722},
        LatLonCase{"  s 12 30", true, true, -12.5}, LatLonCase{"-12,5", true, true, -12.5},
        LatLonCase{"+ 47 30,5", true, true, 47.508333333333333}, LatLonCase{"W 122 15 0", false, true, -122.25},
        LatLonCase{"e179 59 59.99 ", false, true, 179 + 59 / 60.0 + 59.99 / 3600},
        LatLonCase{"N 0", true, true, 0.0}, LatLonCase{"89 59 59", true, true, 89.999722222222222},
        LatLonCase{"47 ", true, true, 47.0}, LatLonCase{"47 30 ", true, true, 47.5},
        LatLonCase{"N 90", true, false, 0}, LatLonCase{"S 12 60", true, false, 0},
        LatLonCase{"S 12 30 60", true, false, 0}, LatLonCase{"E 180", false, false, 0},
        LatLonCase{"N 8 15", false, false, 0}, LatLonCase{"E 47", true, false, 0},
        LatLonCase{"", true, false, 0}, LatLonCase{"N", true, false, 0}, LatLonCase{"N 47x", true, false, 0},
        LatLonCase{"47.5 10", true, false, 0}, LatLonCase{"47 30 15 5", true, false, 0},
        LatLonCase{"100", false, true, 100.0}));

TEST(ParseLatLonTextTest, DegreeMinuteSecondAndDecimalFormsAgree) {
  double dms = 0, decimal = 0;
  ASSERT_EQ(ParseLatLonText("N 59 54 12.5", true, dms), 0);
  ASSERT_EQ(ParseLatLonText("59.9034722", true, decimal), 0);
  EXPECT_NEAR(dms, decimal, 1e-9);
}

struct FormatCase {
  int32_t centiArcSeconds;
  bool isLatitude;
  std::string text;
};

void PrintTo(const FormatCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class FormatLatLonTextTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatLatLonTextTest, Formats) {
  EXPECT_EQ(FormatLatLonText(GetParam().centiArcSeconds, GetParam().isLatitude), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatLatLonTextTest,
                         ::testing::Values(FormatCase{(59 * 3600 + 54 * 60 + 12) * 100 + 34, true, "N 59  54  12.34"},
                                           FormatCase{-((12 * 3600 + 30 * 60) * 100), true, "S 12  30  00.00"},
                                           FormatCase{(8 * 3600 + 5 * 60 + 7) * 100 + 5, false, "E 008  05  07.05"},
                                           FormatCase{-((122 * 3600 + 15 * 60) * 100), false, "W 122  15  00.00"},
                                           FormatCase{0, true, "N 00  00  00.00"}));

struct ZoneCase {
  std::string text;
  int rc;
  int32_t zone;
  char band;
};

void PrintTo(const ZoneCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class ParseUtmZoneTest : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(ParseUtmZoneTest, ParsesOrLeavesOutputAlone) {
  const ZoneCase& c = GetParam();
  UtmZone zone{99, '?'};
  EXPECT_EQ(ParseUtmZone(c.text, zone), c.rc);
  EXPECT_EQ(zone.zone, c.zone);
  EXPECT_EQ(zone.band, c.band);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseUtmZoneTest,
    ::testing::Values(ZoneCase{"32V", 0, 32, 'V'}, ZoneCase{" 1 c ", 0, 1, 'C'}, ZoneCase{"60x", 0, 60, 'X'},
                      ZoneCase{"05 N", 0, 5, 'N'}, ZoneCase{"61V", kZoneAboveSixty, 99, '?'},
                      ZoneCase{"99V", kZoneAboveSixty, 99, '?'}, ZoneCase{"0V", kZoneMissing, 99, '?'},
                      ZoneCase{"V", kZoneMissing, 99, '?'}, ZoneCase{"", kZoneMissing, 99, '?'},
                      ZoneCase{"32", kZoneBadLetter, 99, '?'}, ZoneCase{"32I", kZoneBadLetter, 99, '?'},
                      ZoneCase{"32O", kZoneBadLetter, 99, '?'}, ZoneCase{"32Y", kZoneBadLetter, 99, '?'},
                      ZoneCase{"32B", kZoneBadLetter, 99, '?'}, ZoneCase{"320V", kZoneBadLetter, 99, '?'},
                      ZoneCase{"32VV", kZoneTrailingText, 99, '?'}, ZoneCase{"32V 1", kZoneTrailingText, 99, '?'}));

struct DecimalCase {
  std::string text;
  int rc;
  double value;
};

void PrintTo(const DecimalCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class ParseDecimalTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ParseDecimalTest, ParsesOrLeavesOutputAlone) {
  const DecimalCase& c = GetParam();
  double value = kSentinel;
  EXPECT_EQ(ParseDecimal(c.text, value), c.rc);
  EXPECT_NEAR(value, c.value, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseDecimalTest,
    ::testing::Values(DecimalCase{"611280", 0, 611280.0}, DecimalCase{" 5150696,3462 ", 0, 5150696.3462},
                      DecimalCase{"-12.5", 0, -12.5}, DecimalCase{"+7", 0, 7.0},
                      DecimalCase{"2147483649", 0, 2147483649.0},
                      DecimalCase{"21474836490", kDecimalOverflow, kSentinel},
                      DecimalCase{"", kDecimalBadText, kSentinel}, DecimalCase{"-", kDecimalBadText, kSentinel},
                      DecimalCase{"x1", kDecimalBadText, kSentinel}, DecimalCase{"12x", kDecimalTrailingText, kSentinel},
                      DecimalCase{"1 2", kDecimalTrailingText, kSentinel}));

struct DmsCase {
  double arcSeconds;  // signed
  bool isLatitude;
  std::string text;
};

void PrintTo(const DmsCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class FormatDegMinSecTest : public ::testing::TestWithParam<DmsCase> {};

TEST_P(FormatDegMinSecTest, Formats) {
  const DmsCase& c = GetParam();
  EXPECT_EQ(FormatDegMinSec(c.arcSeconds / 206264.8062471, c.isLatitude), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatDegMinSecTest,
    ::testing::Values(DmsCase{47 * 3600 + 30 * 60 + 15.25, true, "N 47 30 15.25000"},
                      DmsCase{-(33 * 3600 + 51 * 60 + 24.48), true, "S 33 51 24.48000"},
                      DmsCase{8 * 3600 + 5 * 60 + 7.5, false, "E 008 05 07.50000"},
                      DmsCase{-(122 * 3600 + 15 * 60), false, "W 122 15 00.00000"},
                      // The fraction rounds up to 100000: next whole second, ".00000".
                      DmsCase{47 * 3600 + 12.999996, true, "N 47 00 13.00000"},
                      DmsCase{47 * 3600 + 59 * 60 + 59.999999, true, "N 48 00 00.00000"}));

TEST(UtmZoneTextTest, FormatsTwoDigitsAndTheLetter) {
  EXPECT_EQ(FormatUtmZone(32, 'V'), "32V");
  EXPECT_EQ(FormatUtmZone(5, 'N'), "05N");
}

TEST(MetresTextTest, WholeMetresAndConverterForm) {
  EXPECT_EQ(FormatWholeMetres(611280.6509), "0611281");
  EXPECT_EQ(FormatWholeMetres(0.4), "0000000");
  EXPECT_EQ(FormatConverterMetres(611280.6509), "0611280.6509");
  EXPECT_EQ(FormatConverterMetres(5150696.34624), "5150696.3462");
}

TEST(MetresTextTest, IgnoresACommaDecimalLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE")) {
    GTEST_SKIP() << "no comma-decimal locale installed";
  }
  EXPECT_EQ(FormatConverterMetres(611280.6509), "0611280.6509");
  EXPECT_EQ(FormatDegMinSec(0.5, true), "N 28 38 52.40312");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace trelvik
