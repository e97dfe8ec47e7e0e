#include "records/number_parsers.hpp"

#include <gtest/gtest.h>

#include <string>

#include "records/case_printing.hpp"

namespace trelvik {
namespace {

constexpr int32_t kIntSentinel = 4711;
constexpr double kRealSentinel = -99.25;

struct IntCase {
  std::string text;
  int rc;
  int32_t value;  // expected output; the sentinel when nothing may be written
};

void PrintTo(const IntCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class SignedIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(SignedIntTest, ParsesOrLeavesOutputAlone) {
  const IntCase& c = GetParam();
  int32_t value = kIntSentinel;
  EXPECT_EQ(ParseSignedInt(c.text, value), c.rc) << '"' << c.text << '"';
  EXPECT_EQ(value, c.value) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SignedIntTest,
    ::testing::Values(IntCase{"", 0, 0}, IntCase{"   ", 0, 0}, IntCase{"42", 0, 42}, IntCase{"  -17  ", 0, -17},
                      IntCase{"+ 5", 0, 5}, IntCase{"-  5", 0, -5}, IntCase{"2147483647", 0, 2147483647},
                      IntCase{"-2147483647", 0, -2147483647},
                      // One digit past the limit: the value would no longer fit.
                      IntCase{"2147483648", kParseOverflow, kIntSentinel},
                      IntCase{"2147483649", kParseOverflow, kIntSentinel},
                      IntCase{"99999999999", kParseOverflow, kIntSentinel},
                      IntCase{"-", kParseBadText, kIntSentinel}, IntCase{"12a", kParseBadText, kIntSentinel},
                      IntCase{"1 2", kParseBadText, kIntSentinel}, IntCase{"--1", kParseBadText, kIntSentinel},
                      IntCase{"1.5", kParseBadText, kIntSentinel},
                      IntCase{std::string("1\0", 2), kParseBadText, kIntSentinel}));

class UnsignedIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(UnsignedIntTest, ParsesOrLeavesOutputAlone) {
  const IntCase& c = GetParam();
  int32_t value = kIntSentinel;
  EXPECT_EQ(ParseUnsignedInt(c.text, value), c.rc) << '"' << c.text << '"';
  EXPECT_EQ(value, c.value) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Cases, UnsignedIntTest,
                         ::testing::Values(IntCase{"", 0, 0}, IntCase{"    ", 0, 0}, IntCase{" 20 ", 0, 20},
                                           IntCase{"007", 0, 7}, IntCase{"2147483647", 0, 2147483647},
                                           IntCase{"2147483648", kParseOverflow, kIntSentinel},
                                           IntCase{"+1", kParseBadText, kIntSentinel},
                                           IntCase{"-1", kParseBadText, kIntSentinel},
                                           IntCase{"1x", kParseBadText, kIntSentinel}));

struct HexCase {
  std::string text;
  int rc;
  uint32_t value;
};

void PrintTo(const HexCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class HexNumberTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexNumberTest, ParsesOrLeavesOutputAlone) {
  const HexCase& c = GetParam();
  uint32_t value = 0xABCD;
  EXPECT_EQ(ParseHexNumber(c.text, value), c.rc) << '"' << c.text << '"';
  EXPECT_EQ(value, c.value) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Cases, HexNumberTest,
                         ::testing::Values(HexCase{"", 0, 0}, HexCase{" 1f ", 0, 0x1F}, HexCase{"Ff", 0, 0xFF},
                                           HexCase{"FFFFFFFF", 0, 0xFFFFFFFF},
                                           HexCase{"100000000", kParseOverflow, 0xABCD},
                                           HexCase{"0x10", kParseBadText, 0xABCD},
                                           HexCase{"1g", kParseBadText, 0xABCD}));

struct RealCase {
  std::string text;
  int rc;
  double value;
};

void PrintTo(const RealCase& c, std::ostream* os) { testing::PrintQuoted(c.text, os); }

class UnsignedRealTest : public ::testing::TestWithParam<RealCase> {};

TEST_P(UnsignedRealTest, ParsesOrLeavesOutputAlone) {
  const RealCase& c = GetParam();
  double value = kRealSentinel;
  EXPECT_EQ(ParseUnsignedReal(c.text, value), c.rc) << '"' << c.text << '"';
  EXPECT_NEAR(value, c.value, 1e-9) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Cases, UnsignedRealTest,
                         ::testing::Values(RealCase{"", 0, 0.0}, RealCase{"  ", 0, 0.0}, RealCase{"12", 0, 12.0},
                                           RealCase{" 12.5 ", 0, 12.5}, RealCase{"12,25", 0, 12.25},
                                           RealCase{".5", 0, 0.5}, RealCase{"3.", 0, 3.0},
                                           RealCase{".", kParseBadText, kRealSentinel},
                                           RealCase{"-1", kParseBadText, kRealSentinel},
                                           RealCase{"1.2.3", kParseBadText, kRealSentinel},
                                           RealCase{"1e5", kParseBadText, kRealSentinel},
                                           RealCase{std::string(400, '9'), kParseOverflow, kRealSentinel}));

class SignedRealTest : public ::testing::TestWithParam<RealCase> {};

TEST_P(SignedRealTest, ParsesOrLeavesOutputAlone) {
  const RealCase& c = GetParam();
  double value = kRealSentinel;
  EXPECT_EQ(ParseSignedReal(c.text, value), c.rc) << '"' << c.text << '"';
  EXPECT_NEAR(value, c.value, 1e-9) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Cases, SignedRealTest,
                         ::testing::Values(RealCase{"-12.5", 0, -12.5}, RealCase{" - 3,75 ", 0, -3.75},
                                           RealCase{"+0.125", 0, 0.125}, RealCase{"46.123456", 0, 46.123456},
                                           RealCase{"", kParseBadText, kRealSentinel},
                                           RealCase{"   ", kParseBadText, kRealSentinel},
                                           RealCase{"-", kParseBadText, kRealSentinel},
                                           RealCase{"1 .5", kParseBadText, kRealSentinel},
                                           RealCase{"12m", kParseBadText, kRealSentinel}));

}  // namespace
}  // namespace trelvik
